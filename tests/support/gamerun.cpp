#include "support/gamerun.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "framework/framework.h"
#include "framework/surface.h"
#include "framework/timer.h"
#include "game/reset.h"
#include "game/startup.h"
#include "platform/audio.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "support/testdata.h"
#include "world/level.h"

std::string scratchForThisTest(const std::string& what) {
  std::string name = what;
  if (const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info())
    name += std::string("-") + t->test_suite_name() + "." + t->name();
  for (char& c : name)
    if (c == '/') c = '_';
  return scratchDir(name);
}

void resetEverything() {
  resetAllModules();
  // Settings and records of a run of its own, never the player's or another test's.
  const std::string home = scratchForThisTest("xdg");
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  selectDisplay(headlessDisplayDriver());
  selectAudio(headlessAudioDriver());
}

namespace {

// Runs gameMain in gameDir on the script already loaded into the headless port.
GameRun runLoadedScript(const std::string& gameDir, const std::vector<std::string>& args) {
  GameRun run;
  std::vector<std::string> words = {"quillmoor"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  inDirectory(gameDir, [&] {
    testing::internal::CaptureStdout();
    run.exitCode = gameMain(static_cast<int>(words.size()), argv.data());
    run.stdoutText = testing::internal::GetCapturedStdout();
  });
  run.passes = headlessPassCount();
  run.presents = headlessPresentCount();
  int w = 0, h = 0;
  const uint16_t* frame = headlessLastFrame(&w, &h);
  if (frame) {
    run.lastFrame.assign(frame, frame + static_cast<size_t>(w) * h);
    run.width = w;
    run.height = h;
  }
  return run;
}

}  // namespace

GameRun runGame(const std::string& gameDir, const std::vector<std::string>& script,
                const std::vector<std::string>& args) {
  resetEverything();
  const std::string scriptPath = scratchForThisTest("gamerun") + "/input.txt";
  {
    std::ofstream f(scriptPath);
    // The mode dialog reads the first line: two lines down is 640 x 480 at
    // 15 bits in the headless port's default list; Enter runs it in a window.
    f << kDialogChoose640 << '\n';
    for (const std::string& line : script) f << line << '\n';
  }
  headlessLoadScript(scriptPath.c_str());
  return runLoadedScript(gameDir, args);
}

GameRun runGameFromFile(const std::string& gameDir, const std::string& scriptPath,
                        const std::vector<std::string>& args) {
  resetEverything();
  if (!headlessLoadScript(scriptPath.c_str())) ADD_FAILURE() << "cannot read the script " << scriptPath;
  return runLoadedScript(gameDir, args);
}

std::vector<std::string> replayLines(const std::string& name) {
  std::ifstream f(std::string(QUILL_SOURCE_DIR) + "/tests/replays/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(f, line);) lines.push_back(line);
  return lines;
}

void startGameWithoutLoop(const std::string& gameDir, int width, int height) {
  resetEverything();
  if (chdir(gameDir.c_str()) != 0) FAIL() << "no game folder " << gameDir;
  if (width > 1024) {  // beyond the default list: a display that has the size, and room for the window
    const HeadlessMode big = {{0, width, height, 15, 2, 0, kModePlain, "DirectDraw"}, kOptDirectDraw};
    headlessSetModes(&big, 1);
    headlessSetDesktop(width + 64, height + 64, 32);
  }
  Surface** slot = initFramework("Quillmoor!!!");
  ASSERT_NE(slot, nullptr);
  setGameSurfaceSlot(slot);
  int chosen = -1;
  for (int i = 0; i < modeCount(); ++i) {
    if (modeAt(i).xRes == width && modeAt(i).yRes == height && modeAt(i).bitsPerPixel == 15) chosen = i;
  }
  ASSERT_GE(chosen, 0) << "no " << width << "x" << height << " mode";
  ModeInfo mode = modeAt(chosen);
  mode.windowStretch = 0;
  ASSERT_EQ(setMode(&mode, 1, 2, 1), 1);
  initTimer();
  timerStart();
  mazeGrid.floorCount = 1;
  setupTextAndView();
  clearSurface();
  runLoadingStages();
  setClipMode(1);
}

uint16_t surfacePixel(int x, int y) { return pixelRow(currentSurface(), y)[x]; }
