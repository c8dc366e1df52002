// A long run of the frame cycle with the player wandering and the guards
// re-planning all the time: resident memory stays flat and no path node leaks.
// QUILL_SOAK_FRAMES sets the length (default 5000; the release check runs 1,000,000).
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include "game/frame.h"
#include "guards/guards.h"
#include "guards/pathsearch.h"
#include "support/gamerun.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

long residentKiB() {
  long pages = 0, resident = 0;
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

TEST(Soak, FramesRunFlatInMemoryWithGuardsReplanning) {
  long frames = 5000;
  if (const char* env = std::getenv("QUILL_SOAK_FRAMES")) frames = std::atol(env);
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  const LevelMap& map = levelMaps[0];
  for (int k = 1; k < 4; ++k) guards[k].active = 1;  // every guard hunts

  // The player hops between open cells in a fixed, level-wide pattern, so the
  // guards keep re-planning across the whole maze.
  unsigned walk = 12345;
  long before = 0;
  int plansSeen = 0;
  int lastCounter[4] = {0, 0, 0, 0};
  for (long f = 0; f < frames; ++f) {
    if (f % 97 == 0) {
      for (int tries = 0; tries < 50; ++tries) {
        walk = walk * 1103515245u + 12345u;
        const int x = static_cast<int>((walk >> 8) % static_cast<unsigned>(map.width));
        const int y = static_cast<int>((walk >> 20) % static_cast<unsigned>(map.height));
        if (map.codes[x][y] < 18 && map.codes[x][y] != kCodeExit) {
          player.x = x + 0.5f;
          player.y = y + 0.5f;
          break;
        }
      }
      player.heading = static_cast<float>((walk >> 4) % 628) / 100.0f;
    }
    guards[0].active = 1;  // a capture only ends the program's loop; the soak goes on
    for (int k = 0; k < 4; ++k) {
      if (guards[k].replanCounter < lastCounter[k]) ++plansSeen;
      lastCounter[k] = guards[k].replanCounter;
    }
    runFrame();
    ASSERT_EQ(nodesInUse(), 0) << "frame " << f;
    if (f == frames / 10) before = residentKiB();
  }
  const long after = residentKiB();
  std::printf("soak: %ld frames, %d plans, resident %ld KiB -> %ld KiB\n", frames, plansSeen, before, after);
  EXPECT_GT(plansSeen, frames / 60);
  EXPECT_LT(after - before, 1024) << "resident memory grew";
}
