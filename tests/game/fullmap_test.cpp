// The full map: the floor seen apart from unknown space, the game standing
// still under it, and the keys that close it.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/mainloop.h"
#include "framework/sound.h"
#include "game/controls.h"
#include "game/frame.h"
#include "game/fullmap.h"
#include "guards/guards.h"
#include "platform/headlessaudio.h"
#include "platform/scancodes.h"
#include "render/fullmap.h"
#include "support/gamerun.h"
#include "world/gamestate.h"
#include "world/level.h"

TEST(FullMap, ShowsTheFloorSeenApartFromUnknownSpaceAndTheGameStandsStillUnderIt) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  runFrame();  // the view marks the cells its rays cross
  const MazeFloor& floor = mazeGrid.floors[0];
  EXPECT_TRUE(floor.cells[1][5].floorSeen) << "ahead, along the first corridor";
  EXPECT_FALSE(floor.cells[10][10].floorSeen) << "behind the corridor's walls";

  Event tab{};
  tab.message = kScanTab << 8 | '\t';
  onKeyDown(&tab);
  ASSERT_TRUE(fullMapOpen());
  Guard guardsBefore[kMaxGuards];
  std::memcpy(guardsBefore, guards, sizeof guards);
  const PlayerState playerBefore = player;
  const int bonusBefore = timeBonus;
  for (int i = 0; i < 30; ++i) runFrame();
  EXPECT_EQ(std::memcmp(guardsBefore, guards, sizeof guards), 0);
  EXPECT_EQ(std::memcmp(&playerBefore, &player, sizeof player), 0);
  EXPECT_EQ(timeBonus, bonusBefore);
  if (soundIsOpen()) {
    EXPECT_EQ(headlessAudioIsPaused(), 1);
  }

  const int rows = levelMaps[0].height;
  const MapFrame m = fitFullMap(levelMaps[0].width, rows, 640, 480, 480 / 16);
  EXPECT_GE(m.cell, 12);
  const auto centre = [&](int x, int y) {
    return surfacePixel(m.left + x * m.cell + m.cell / 2, m.top + (rows - 1 - y) * m.cell + m.cell / 2);
  };
  EXPECT_NE(centre(5, 1), centre(10, 10));
  EXPECT_EQ(centre(10, 10), centre(11, 12)) << "all unknown space looks alike";

  onKeyDown(&tab);
  EXPECT_FALSE(fullMapOpen());
  if (soundIsOpen()) {
    EXPECT_EQ(headlessAudioIsPaused(), 0);
  }
}

TEST(FullMap, EscClosesTheMapWithoutQuitting) {
  const int quitAtOnce = runGame(QUILL_GAME_DIR, {"chars 27"}).passes;
  const GameRun r = runGame(QUILL_GAME_DIR, {"key 0F", "key 01", "", "chars 27"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.passes, quitAtOnce + 3) << "the first Esc only closed the map";
}
