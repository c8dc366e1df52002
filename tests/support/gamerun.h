// Runs the real game in-process on the headless display: start-up, main loop
// and frame callback, fed by a script of per-pass input.
#pragma once
#include <string>
#include <vector>

struct GameRun {
  int exitCode = -1;
  std::string stdoutText;
  int passes = 0;
  int presents = 0;
  // The last picture the screen showed (x1R5G5B5, no padding).
  std::vector<uint16_t> lastFrame;
  int width = 0, height = 0;
};

// The dialog line that runGame puts before a script.
constexpr const char* kDialogChoose640 = "key 50 50; chars 13";

// A fresh scratch folder named for `what` and the running test, so that tests
// run side by side (ctest -j) never share one.
std::string scratchForThisTest(const std::string& what);

// Every module's state back to the start of a process (resetAllModules),
// with the headless display and audio chosen.
void resetEverything();

// Runs gameMain in `gameDir` with the given script lines (one per pass, in the
// headless script format) and extra arguments; the chosen mode is the dialog's
// default. The game's clock is virtual, so the five-second endings cost nothing.
GameRun runGame(const std::string& gameDir, const std::vector<std::string>& script,
                const std::vector<std::string>& args = {});

// Runs gameMain like runGame, but the script file is fed exactly as written:
// its own lines answer the mode dialog (nothing is put before them).
GameRun runGameFromFile(const std::string& gameDir, const std::string& scriptPath,
                        const std::vector<std::string>& args = {});

// The lines of tests/replays/<name>, one a pass.
std::vector<std::string> replayLines(const std::string& name);

// Start-up up to the main loop, in gameDir, on a headless w x h window: the
// level, pictures, font and tables loaded, the items placed. Tests then call
// runFrame themselves and read the surface.
void startGameWithoutLoop(const std::string& gameDir, int width, int height);
// The current surface's pixel at (x, y).
uint16_t surfacePixel(int x, int y);

inline uint16_t pixelAt(const GameRun& r, int x, int y) {
  return r.lastFrame[static_cast<size_t>(y) * r.width + x];
}
