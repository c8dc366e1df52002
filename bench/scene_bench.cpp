// The figures of a busy view at 640 x 480: four guards, three items and three
// turning bodies, plus the map and the colour tiles, against the floor cost of
// clearing and copying one frame.
//
// Instructions per frame, with every benchmark pinned to the same frame count:
//   QUILL_BENCH_FRAMES=200 valgrind --tool=callgrind --callgrind-out-file=scene.cg
//       build/bench/quill_bench --benchmark_filter='BM_Scene|BM_FloorClear'   (one command line)
//   callgrind_annotate --inclusive=yes scene.cg | grep -E 'sceneObjects|sceneOverlays|floorClearAndCopy'
// and divide each inclusive count by the frame count.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/overlay.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

// Figures placed in front of a camera at (2.5, 5.5) looking along +x, all inside the view.
constexpr float kGuardSpots[4][2] = {{4.5f, 5.0f}, {5.0f, 6.0f}, {6.5f, 5.5f}, {8.0f, 4.8f}};
constexpr float kItemSpots[3][2] = {{4.0f, 6.2f}, {5.5f, 4.7f}, {7.0f, 6.5f}};
constexpr float kBodySpots[3][2] = {{3.8f, 5.5f}, {5.8f, 5.9f}, {9.5f, 5.2f}};

struct Scene {
  Surface* surface = nullptr;
  PlayerState cam = {0, 2.5f, 5.5f, 0.0f};
  MazeFloor cells{};
};

// A figure-like picture: an opaque ellipse in a transparent frame, with a little texture.
template <typename Pic>
void paintFigure(Pic& p, uint16_t base) {
  for (int r = 0; r < p.height; ++r) {
    for (int c = 0; c < p.width; ++c) {
      const double u = (c - p.width / 2.0) / (p.width / 2.0), v = (r - p.height / 2.0) / (p.height / 2.0);
      p.pixels[r * p.width + c] = u * u + v * v < 1.0 ? static_cast<uint16_t>(base ^ ((r ^ c) & 0x0421)) : 0;
    }
  }
}

Scene& scene() {
  static Scene s = [] {
    Scene n;
    buildShadeTable();
    n.surface = createSurface(640, 480);
    makeCurrentSurface(n.surface);
    viewRect = {0, 0, 639, 429, 640, 430};
    buildColumnTables(640);
    for (float& d : columnDepth) d = 20.0f;

    const uint16_t guardColour[4] = {0x7FFF, 0x7C00, 0x03E0, 0x001F};
    for (int g = 0; g < 4; ++g) {
      for (SpritePicture& p : figureSprites[g]) paintFigure(p, guardColour[g]);
      Guard& guard = guards[g];
      guard.active = guard.present = 1;
      guard.currentWaypoint = 0;
      guard.waypoints[0] = {kGuardSpots[g][0], kGuardSpots[g][1]};
      guard.facing[0] = 45.0f * g;
    }
    for (int k = 0; k < 3; ++k) {
      paintFigure(keyItems[k].picture, guardColour[k + 1]);
      keyItems[k].x = kItemSpots[k][0];
      keyItems[k].y = kItemSpots[k][1];
      keyItems[k].active = 1;
    }
    initPointObjects();
    for (int k = 0; k < 3; ++k) {
      pointObjects[k].x = kBodySpots[k][0];
      pointObjects[k].y = kBodySpots[k][1];
      pointObjects[k].visible = 1;
    }
    for (int t = 0; t < 4; ++t) paintFigure(statusTiles[t], guardColour[t]);
    heldKeys = 5;
    // A walled room round the camera, all of it seen.
    for (int x = 1; x <= 12; ++x) {
      n.cells.cells[2][x].wallLowY = {1, 1};
      n.cells.cells[9][x].wallLowY = {1, 1};
    }
    for (int y = 2; y <= 8; ++y) {
      n.cells.cells[y][1].wallLowX = {1, 1};
      n.cells.cells[y][13].wallLowX = {1, 1};
    }
    showMap = 1;
    showGuardsOnMap = 1;
    return n;
  }();
  return s;
}

__attribute__((noinline)) void sceneObjects(Scene& s) {
  drawObjects(s.cam, s.cells, s.surface);
  spinPointObjects();
}

__attribute__((noinline)) void sceneOverlays(Scene& s) {
  drawOverviewMap(s.cam, s.cells);
  drawColourTiles();
}

// The least a frame can cost: clear the back buffer and copy it out once.
__attribute__((noinline)) void floorClearAndCopy(Surface* s, std::vector<uint8_t>& shown) {
  const size_t bytes = static_cast<size_t>(s->bytesPerLine) * static_cast<size_t>(s->height);
  std::memset(s->pixels, 0, bytes);
  std::memcpy(shown.data(), s->pixels, bytes);
  benchmark::ClobberMemory();
}

// Under callgrind every benchmark runs the same number of frames.
void pinFrames(benchmark::internal::Benchmark* b) {
  if (const char* f = std::getenv("QUILL_BENCH_FRAMES")) b->Iterations(std::atoi(f) > 0 ? std::atoi(f) : 1);
}

void BM_SceneObjects(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) sceneObjects(s);
  const ObjectEntry* list = nullptr;
  state.counters["objects"] = lastObjectList(&list);
}
BENCHMARK(BM_SceneObjects)->Apply(pinFrames);

void BM_SceneOverlays(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) sceneOverlays(s);
}
BENCHMARK(BM_SceneOverlays)->Apply(pinFrames);

void BM_FloorClearAndCopy(benchmark::State& state) {
  Scene& s = scene();
  std::vector<uint8_t> shown(static_cast<size_t>(s.surface->bytesPerLine) *
                             static_cast<size_t>(s.surface->height));
  for (auto _ : state) floorClearAndCopy(s.surface, shown);
}
BENCHMARK(BM_FloorClearAndCopy)->Apply(pinFrames);

}  // namespace
