// What the renderer costs on the real level and pictures: the wall pass, the
// backdrop copy and a whole view (single and stereo) at three surface sizes.
// Each reports "xFloor", its time over the floor measured in the same run:
// clearing one back buffer of that size and copying it once (BM_Floor), and
// "us", its processor time per pass. Both use the thread's processor time, so
// other programs on a busy machine disturb them less than wall time.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/framework.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "game/frame.h"
#include "game/sounds.h"
#include "game/startup.h"
#include "guards/guards.h"
#include "platform/audio.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/pixelconvert.h"
#include "render/backdrop.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "render/view.h"
#include "render/walls.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

struct Size {
  int width, height;
};
// The surface sizes measured: the smallest common mode, a middle one and the
// largest 4:3 one the mode list offers.
constexpr Size kSizes[] = {{640, 480}, {1024, 768}, {1600, 1200}};
constexpr int kSizeCount = sizeof kSizes / sizeof kSizes[0];
static_assert(kSizeCount == 3, "three sizes, indexed by the benchmarks' argument");

constexpr int kPoseCount = 16;
PlayerState poses[kPoseCount];  // cameras spread over the level's open cells

// Loads the game's data once, as the start-up does, from the assembled game folder.
bool loadGameData() {
  static const bool loaded = [] {
    if (chdir(QUILL_GAME_DIR) != 0) {
      std::fprintf(stderr, "frame_bench: no game folder at %s\n", QUILL_GAME_DIR);
      return false;
    }
    mazeGrid.floorCount = 1;
    for (int n = 1; n <= kLoadingStages; ++n) runLoadingStage(n);
    // The start position first, then open cells taken evenly over the level,
    // each looking another way.
    const LevelMap& map = levelMaps[0];
    std::vector<PlayerState> open;
    for (int y = 0; y < map.height; ++y)
      for (int x = 0; x < map.width; ++x)
        if (map.codes[x][y] < kCodeBrick) open.push_back({0, x + 0.5f, y + 0.5f, 0.0f});
    poses[0] = kStartPose;
    for (int k = 1; k < kPoseCount; ++k) {
      poses[k] = open.empty() ? poses[0] : open[(k * open.size()) / kPoseCount];
      poses[k].heading = 0.1f + 0.4f * static_cast<float>(k);
    }
    return true;
  }();
  return loaded;
}

double threadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// A back buffer of one size with the view set up for it, as the game does.
Surface* setUpSurface(int sizeIndex) {
  static Surface* surfaces[kSizeCount] = {};
  const Size size = kSizes[sizeIndex];
  Surface*& s = surfaces[sizeIndex];
  if (!s) s = createSurface(size.width, size.height);
  makeCurrentSurface(s);
  viewRect = {0, 0, size.width - 1, size.height - 51, size.width, size.height - 50};
  buildColumnTables(viewRect.width);
  buildBackdrop();
  return s;
}

// The floor: clear the back buffer and copy it once, as a frame at the very least must.
void floorPass(Surface* s, std::vector<uint8_t>& front) {
  const size_t bytes = static_cast<size_t>(s->bytesPerLine) * s->height;
  std::memset(s->pixels, 0, bytes);
  benchmark::ClobberMemory();
  std::memcpy(front.data(), s->pixels, bytes);
  benchmark::ClobberMemory();
}

// The floor's time per pass in seconds for one size, measured once per run:
// the best of several batches, so that a stray interruption does not count.
double floorSeconds(int sizeIndex) {
  static double measured[kSizeCount] = {};
  if (measured[sizeIndex] > 0) return measured[sizeIndex];
  Surface* s = setUpSurface(sizeIndex);
  std::vector<uint8_t> front(static_cast<size_t>(s->bytesPerLine) * s->height);
  double best = 1e9;
  for (int batch = 0; batch < 7; ++batch) {
    const double t0 = threadSeconds();
    constexpr int kPasses = 50;
    for (int i = 0; i < kPasses; ++i) floorPass(s, front);
    best = std::min(best, (threadSeconds() - t0) / kPasses);
  }
  measured[sizeIndex] = best;
  return best;
}

void reportAgainstFloor(benchmark::State& state, int sizeIndex, double seconds, long passes) {
  if (passes <= 0) return;
  const double perPass = seconds / passes;
  state.counters["xFloor"] = perPass / floorSeconds(sizeIndex);
  state.counters["us"] = perPass * 1e6;
  state.SetLabel(std::to_string(kSizes[sizeIndex].width) + "x" + std::to_string(kSizes[sizeIndex].height));
}

// Runs body once per iteration over the cycling poses and reports it against the floor.
template <typename Body>
void measure(benchmark::State& state, Body body) {
  const int sizeIndex = static_cast<int>(state.range(0));
  if (!loadGameData()) {
    state.SkipWithError("the game folder is missing");
    return;
  }
  floorSeconds(sizeIndex);
  Surface* s = setUpSurface(sizeIndex);
  int pose = 0;
  long passes = 0;
  const double t0 = threadSeconds();
  for (auto _ : state) {
    PlayerState& p = poses[pose];
    pose = (pose + 1) % kPoseCount;
    body(s, p);
    benchmark::ClobberMemory();
    ++passes;
  }
  reportAgainstFloor(state, sizeIndex, threadSeconds() - t0, passes);
  stereoView = 0;
}

void BM_Floor(benchmark::State& state) {
  const int sizeIndex = static_cast<int>(state.range(0));
  Surface* s = setUpSurface(sizeIndex);
  std::vector<uint8_t> front(static_cast<size_t>(s->bytesPerLine) * s->height);
  for (auto _ : state) floorPass(s, front);
  state.SetLabel(std::to_string(kSizes[sizeIndex].width) + "x" + std::to_string(kSizes[sizeIndex].height));
}

// Presenting: the back buffer turned into the screen's 32-bit pixels, once a
// frame, from a picture of the level (the table's cache traffic depends on it).
template <typename Convert>
void measureConvert(benchmark::State& state, Convert convert) {
  const int sizeIndex = static_cast<int>(state.range(0));
  if (!loadGameData()) {
    state.SkipWithError("the game folder is missing");
    return;
  }
  floorSeconds(sizeIndex);
  Surface* s = setUpSurface(sizeIndex);
  stereoView = 0;
  clearSurface();
  drawView(poses[0], mazeGrid.floors[0], s);
  const int pitch = s->width * 4;
  std::vector<uint8_t> out(static_cast<size_t>(pitch) * s->height);
  long passes = 0;
  const double t0 = threadSeconds();
  for (auto _ : state) {
    convert(s, out.data(), pitch);
    benchmark::ClobberMemory();
    ++passes;
  }
  reportAgainstFloor(state, sizeIndex, threadSeconds() - t0, passes);
}

// Through the 32768-entry table, as the 8-bit look still presents.
void BM_ConvertTable(benchmark::State& state) {
  static std::vector<uint32_t> lut;
  if (lut.empty()) {
    lut.resize(kColourLutSize);
    buildColourLut(lut.data());
  }
  measureConvert(state, [](const Surface* s, uint8_t* out, int pitch) {
    convertThroughLut(s->pixels, s->bytesPerLine, s->width, s->height, out, pitch, lut.data());
  });
}

// Computed, eight pixels at a time where the processor allows: what the
// screen's presents use.
void BM_Convert(benchmark::State& state) {
  measureConvert(state, [](const Surface* s, uint8_t* out, int pitch) {
    convertToArgb(s->pixels, s->bytesPerLine, s->width, s->height, out, pitch);
  });
}

// The same in SSE2 alone, as processors without AVX take it.
void BM_ConvertSse2(benchmark::State& state) {
  measureConvert(state, [](const Surface* s, uint8_t* out, int pitch) {
    convertToArgbSse2(s->pixels, s->bytesPerLine, s->width, s->height, out, pitch);
  });
}

void BM_Walls(benchmark::State& state) {
  measure(state, [](Surface* s, PlayerState& p) { castWalls(p, mazeGrid.floors[0], s); });
}

void BM_Backdrop(benchmark::State& state) {
  measure(state, [](Surface* s, PlayerState& p) {
    drawBackdrop(s);
    drawStars(p, s);
  });
}

// A frame's drawing up to the HUD: clearing the surface, then the view.
void BM_ViewSingle(benchmark::State& state) {
  stereoView = 0;
  measure(state, [](Surface* s, PlayerState& p) {
    clearSurface();
    drawView(p, mazeGrid.floors[0], s);
  });
}

// The stereo pair in its steady state (the view four fifths tall after the
// first stereo frame).
void BM_ViewStereo(benchmark::State& state) {
  stereoView = 1;
  measure(state, [](Surface* s, PlayerState& p) {
    clearSurface();
    drawView(p, mazeGrid.floors[0], s);
  });
}

// A fixed number of single-view frames at 640 x 480 (four rounds of the
// poses), for counting instructions per frame:
//   valgrind --tool=callgrind --toggle-collect='drawView*'
//            quill_bench --benchmark_filter=BM_CallgrindFrames
// (one command line), then divide the instructions collected by 64.
void BM_CallgrindFrames(benchmark::State& state) {
  stereoView = 0;
  measure(state, [](Surface* s, PlayerState& p) {
    clearSurface();
    drawView(p, mazeGrid.floors[0], s);
  });
}

// A presented picture: the whole frame, then its conversion to the screen's
// 32-bit pixels. Kept out of line so that callgrind can count it by name.
__attribute__((noinline)) void presentPicture(std::vector<uint8_t>& screen) {
  runFrame();
  const Surface* s = gameSurface();
  convertToArgb(s->pixels, s->bytesPerLine, s->width, s->height, screen.data(), 4 * s->width);
}

// The game's whole frame callback: bonus, guards, view, help text, rules,
// tiles, spin, HUD line and the presentation through the headless port (the
// same x1R5G5B5 copy the screen gets), at each size in a window of that size;
// with `present`, also the conversion the screen's presents add.
void runFrames(benchmark::State& state, int stereo, bool busy = false, bool present = false) {
  const int sizeIndex = static_cast<int>(state.range(0));
  if (!loadGameData()) {
    state.SkipWithError("the game folder is missing");
    return;
  }
  floorSeconds(sizeIndex);
  static bool framework = false;
  if (!framework) {
    selectDisplay(headlessDisplayDriver());
    HeadlessMode modes[kSizeCount];
    for (int k = 0; k < kSizeCount; ++k) {
      modes[k] = {};
      modes[k].mode = {k, kSizes[k].width, kSizes[k].height, 15, 2, 0x400, kModePlain, "DirectDraw"};
      modes[k].driverWord = 1;
    }
    headlessSetModes(modes, kSizeCount);
    headlessSetDesktop(2560, 1600, 32);
    setGameSurfaceSlot(initFramework("Quillmoor!!!"));
    initTimer();
    timerStart();
    // Sound open as in play: the frame makes its sound decisions, the headless port records them.
    selectAudio(headlessAudioDriver());
    startSounds(1);
    framework = true;
  }
  const Size size = kSizes[sizeIndex];
  ModeInfo mode{};
  for (int i = 0; i < modeCount(); ++i)
    if (modeAt(i).xRes == size.width && modeAt(i).yRes == size.height && modeAt(i).bitsPerPixel == 15)
      mode = modeAt(i);
  mode.windowStretch = 0;
  if (!setMode(&mode, 1, 2, 1)) {
    state.SkipWithError("no window of that size");
    return;
  }
  setupTextAndView();
  buildBackdrop();
  stereoView = stereo;
  // No capture: its five-second pause is not drawing (the busy scene keeps
  // the white guard out of reach instead).
  if (!busy) guards[0].active = 0;
  std::vector<uint8_t> screen(static_cast<size_t>(size.width) * 4 * size.height);
  int pose = 0;
  long passes = 0;
  const double t0 = threadSeconds();
  for (auto _ : state) {
    player = poses[pose];
    pose = (pose + 1) % kPoseCount;
    if (present)
      presentPicture(screen);
    else
      runFrame();
    benchmark::ClobberMemory();
    ++passes;
  }
  reportAgainstFloor(state, sizeIndex, threadSeconds() - t0, passes);
  stereoView = 0;
  guards[0].active = 1;
}

void BM_RunFrameSingle(benchmark::State& state) { runFrames(state, 0); }
void BM_RunFrameStereo(benchmark::State& state) { runFrames(state, 1); }

// A fixed number of whole frames at 640 x 480, for counting instructions:
//   valgrind --tool=callgrind --toggle-collect='runFrame*'
//            quill_bench --benchmark_filter=BM_CallgrindRunFrame
// then divide the instructions collected by 64.
void BM_CallgrindRunFrame(benchmark::State& state) { runFrames(state, 0); }

// Instructions per presented picture (whole frame and conversion) at each
// size, four rounds of the poses:
//   valgrind --tool=callgrind --toggle-collect='*presentPicture*'
//            quill_bench --benchmark_filter=BM_CallgrindPresent/1   (divide by 64)
void BM_CallgrindPresent(benchmark::State& state) { runFrames(state, 0, false, true); }

// A busy whole frame at 640 x 480: all four guards, the three items and the
// three bodies stand in the first corridor, in front of the player.
//   valgrind --tool=callgrind --toggle-collect='runFrame*'
//            quill_bench --benchmark_filter=BM_BusyFrame   (divide by 64)
void BM_BusyFrame(benchmark::State& state) {
  if (!loadGameData()) {
    state.SkipWithError("the game folder is missing");
    return;
  }
  const Waypoint guardSpots[4] = {{4.5f, 1.5f}, {6.0f, 1.3f}, {8.0f, 1.7f}, {10.0f, 1.5f}};
  for (int k = 0; k < 4; ++k) {
    Guard& g = guards[k];
    g.active = g.present = 1;
    g.waypoints[0] = guardSpots[k];
    g.facing[0] = 90.0f * k;
    g.currentWaypoint = g.lastWaypoint = 0;
    g.replanCounter = 0;
    g.replanPeriod = 1 << 30;  // they stand and pose
  }
  const float itemSpots[3] = {3.6f, 5.5f, 9.0f};
  for (int k = 0; k < 3; ++k) keyItems[k] = {itemSpots[k], 1.5f, 1, keyItems[k].picture};
  pointObjects[1].x = 5.0f;
  pointObjects[1].y = 1.5f;
  pointObjects[2].x = 9.5f;
  pointObjects[2].y = 1.5f;
  for (int k = 0; k < kPoseCount; ++k) poses[k] = kStartPose;
  runFrames(state, 0, true);
}

BENCHMARK(BM_Floor)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_Convert)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_ConvertSse2)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_ConvertTable)->DenseRange(0, kSizeCount - 1);
// A fixed number of conversions at 640 x 480, for counting instructions:
//   valgrind --tool=callgrind --toggle-collect='convertToArgb*'
//            quill_bench --benchmark_filter='BM_CallgrindConvert/'   (or ...Sse2)
// then divide the instructions collected by 16 x 307200 pixels.
BENCHMARK(BM_Convert)->Name("BM_CallgrindConvert")->Arg(0)->Iterations(16);
BENCHMARK(BM_ConvertSse2)->Name("BM_CallgrindConvertSse2")->Arg(0)->Iterations(16);
BENCHMARK(BM_RunFrameSingle)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_RunFrameStereo)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_CallgrindRunFrame)->Arg(0)->Iterations(kPoseCount * 4);
BENCHMARK(BM_BusyFrame)->Arg(0)->Iterations(kPoseCount * 4);
BENCHMARK(BM_CallgrindPresent)->DenseRange(0, kSizeCount - 1)->Iterations(kPoseCount * 4);
BENCHMARK(BM_Walls)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_Backdrop)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_ViewSingle)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_ViewStereo)->DenseRange(0, kSizeCount - 1);
BENCHMARK(BM_CallgrindFrames)->Arg(0)->Iterations(kPoseCount * 4);

}  // namespace
