#include "game/ending.h"
#include "game/levelchoice.h"

#include <cstring>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "game/bests.h"
#include "game/hud.h"
#include "game/startup.h"
#include "platform/gamepad.h"
#include "platform/scancodes.h"
#include "render/bodies.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

constexpr int kEndingPauseMillis = 5000;
constexpr int kMillisPerPass = 1000 / kPassesPerSecond;
static_assert(kMillisPerPass * kPassesPerSecond == 1000, "a pass lasts whole milliseconds");

int g_passes = 0;
uint64_t g_mazeHash = 0;  // of the maze file as this run loaded it; 0 until the first ending

// The picture under the results: when the game ends, the last picture it
// shows is the message alone, as it always was.
std::vector<uint8_t> g_under;

void keepPicture(const Surface* s) {
  const uint8_t* from = s->pixels;
  g_under.assign(from, from + static_cast<size_t>(s->bytesPerLine) * s->height);
}

void restorePicture(Surface* s) {
  if (g_under.size() == static_cast<size_t>(s->bytesPerLine) * s->height)
    std::memcpy(s->pixels, g_under.data(), g_under.size());
}

RunResults resultsOf(bool won) {
  RunResults r{};
  r.timeMillis = runMillis();
  for (const PointObject& body : pointObjects) {
    ++r.crystalsAll;
    if (!body.present) ++r.crystals;
  }
  r.score = score;
  if (g_mazeHash == 0) g_mazeHash = mazeFileHash(levelPath());
  const BestsNow bests = recordRun(g_mazeHash, won, r.timeMillis, r.score);
  r.bestTimeMillis = bests.best.timeMillis;
  r.bestScore = bests.best.score;
  r.newTime = bests.newTime;
  r.newScore = bests.newScore;
  return r;
}

}  // namespace

void countRunPass() { ++g_passes; }
int runMillis() { return g_passes * kMillisPerPass; }

bool finishRun(bool won) {
  const RunResults results = resultsOf(won);
  // A won maze of the shipped set leads on to the next one; a next maze that
  // is missing or faulty leaves the player on this one.
  std::string next = won ? nextLevelInSet(levelPath()) : levelPath();
  if (next != levelPath() && !levelFaults(next).empty()) next = levelPath();
  Surface* s = gameSurface();
  keepPicture(s);
  drawResults(results);
  drawAgainHint(won, next != levelPath());
  swapBuffers(2);

  // The pad's A types whatever key the player's bindings give it.
  int keys[3] = {kScanEnter, kScanSpace, 0};
  const int padKey = padButtonKey(kPadA);
  int count = 2;
  if (padKey >= 0) keys[count++] = kPadKeyCodes[padKey].scanCode;
  if (waitMillisForKeys(kEndingPauseMillis, keys, count) != 0) {
    setLevelPath(next);
    restartRun();
    g_passes = 0;
    g_mazeHash = 0;  // the level was read again
    return true;
  }
  restorePicture(s);
  requestQuit();
  return false;
}

void resetEnding() {
  g_passes = 0;
  g_mazeHash = 0;
  resetBests();
  g_under.clear();
}
