// Walking, turning and the toggles, on hand-made mazes and on the real level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "framework/mainloop.h"
#include "game/controls.h"
#include "game/options.h"
#include "game/screenshot.h"
#include "game/settings.h"
#include "platform/headless.h"
#include "support/gamerun.h"
#include "support/testdata.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

void openMaze() {
  resetLevel();
  resetGameState();
  mazeGrid.floorCount = 1;
}

// A wall along x = 5 (the low-x edge of cells (5, y)) for every row.
void wallAtX5() {
  for (int y = 0; y < kGridSize; ++y) mazeGrid.floors[0].cells[y][5].wallLowX.present = 1;
}

Event keyEvent(int character) {
  Event e{};
  e.what = kEventKeyDown;
  e.message = character;
  return e;
}

}  // namespace

TEST(Turning, WrapsAtTheFullTurn) {
  openMaze();
  player.heading = 6.2f;
  turnLeft();
  EXPECT_NEAR(player.heading, 0.0913, 1e-4);

  player.heading = 0.1f;
  turnRight();
  EXPECT_NEAR(player.heading, 6.2087, 1e-4);

  player.heading = 0.17453292f;
  turnRight();
  EXPECT_EQ(player.heading, 0.0f);
  turnLeft();
  turnRight();
  EXPECT_GE(player.heading, 0.0f);
}

TEST(Walking, ForwardAndBackCancel) {
  openMaze();
  player = {0, 10.3f, 10.5f, 0.7f};
  stepPlayer(player.heading, 0.3);
  stepPlayer(player.heading, -0.3);
  EXPECT_NEAR(player.x, 10.3f, 1e-5);
  EXPECT_NEAR(player.y, 10.5f, 1e-5);
}

TEST(Walking, StopsAtAWallAndSlidesAlongIt) {
  openMaze();
  wallAtX5();
  // Straight at the wall: x never gets within the margin of x = 5.
  player = {0, 4.0f, 3.5f, 0.0f};
  for (int i = 0; i < 20; ++i) stepPlayer(player.heading, 0.3);
  EXPECT_LT(player.x, 5.0f - 0.15f);
  EXPECT_GT(player.x, 4.5f);
  EXPECT_NEAR(player.y, 3.5f, 1e-5);

  // At an angle: the x part is undone, the y part goes on.
  const float yBefore = player.y;
  for (int i = 0; i < 5; ++i) stepPlayer(0.5, 0.3);
  EXPECT_LT(player.x, 5.0f - 0.15f);
  EXPECT_NEAR(player.y, yBefore + 5 * 0.3 * std::sin(0.5), 1e-4);
}

TEST(Toggles, DigitsFlipTheirSwitchAndOthersDoNothing) {
  openMaze();
  Event e = keyEvent('3');
  onKeyDown(&e);
  EXPECT_EQ(showFloorPoints, 0);
  onKeyDown(&e);
  EXPECT_EQ(showFloorPoints, 1);

  struct Case {
    int key;
    int32_t* toggle;
    int32_t before;
  } cases[] = {{'0', &stereoView, 0},     {'1', &showHelp, 1},    {'2', &showMap, 0},
               {'4', &showTextures, 1},   {'5', &showObjects, 1}, {'6', &showSkyAndFloor, 1},
               {'9', &showGuardsOnMap, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(*c.toggle, c.before) << char(c.key);
    Event k = keyEvent(c.key);
    onKeyDown(&k);
    EXPECT_EQ(*c.toggle, 1 - c.before) << char(c.key);
  }

  resetGameState();
  for (int key : {int('7'), int('8'), int('a'), 13}) {
    Event k = keyEvent(key);
    onKeyDown(&k);
  }
  EXPECT_EQ(showHelp, 1);
  EXPECT_EQ(showMap, 0);
  EXPECT_EQ(stereoView, 0);
  EXPECT_EQ(showGuardsOnMap, 0);
}

// Walks the real level in a fixed pattern of steps, turns and sidesteps and
// checks after every step that the player never stands inside a brick cell
// nor crosses a wall line.
TEST(Walking, ScriptedWalkThroughTheRealLevelNeverCrossesAWall) {
  openMaze();
  inDirectory(QUILL_GAME_DIR, [] { loadLevel(mazeGrid); });
  ASSERT_GT(levelMaps[0].width, 0);
  player = kStartPose;
  const MazeFloor& floor = mazeGrid.floors[0];
  for (int pass = 0; pass < 4000; ++pass) {
    const float oldX = player.x, oldY = player.y;
    const int phase = pass % 37;
    if (phase < 20) {
      stepPlayer(player.heading, 0.3);
    } else if (phase < 26) {
      turnLeft();
    } else if (phase < 30) {
      stepPlayer(player.heading + kQuarterTurn, 0.3);
    } else if (pass % 3 == 0) {
      turnRight();
    } else {
      stepPlayer(player.heading - kQuarterTurn, 0.3);
    }
    const int cx = static_cast<int>(player.x), cy = static_cast<int>(player.y);
    ASSERT_GE(cx, 0);
    ASSERT_GE(cy, 0);
    ASSERT_LT(levelMaps[0].codes[cx][cy], 18) << "inside a brick at pass " << pass;
    // A crossed vertical line with a wall on it, or a horizontal one.
    const int ox = static_cast<int>(oldX), oy = static_cast<int>(oldY);
    if (cx != ox) {
      const int line = cx > ox ? cx : ox;
      ASSERT_FALSE(floor.cells[oy][line].wallLowX.present) << "crossed x = " << line << " at pass " << pass;
    }
    if (cy != oy) {
      const int line = cy > oy ? cy : oy;
      ASSERT_FALSE(floor.cells[line][cx].wallLowY.present) << "crossed y = " << line << " at pass " << pass;
    }
  }
}

TEST(Bindings, AKeySteersOneActionAndTheGameKeepsItsOwnKeys) {
  openMaze();
  resetSettings();
  EXPECT_TRUE(bindKey(kActTurnRight, 0, kScanLetterRowQ + 1)) << "W, taken from forward";
  EXPECT_EQ(settings.keys[kActForward][1], 0);
  EXPECT_EQ(settings.keys[kActTurnRight][0], kScanLetterRowQ + 1);
  for (int kept : std::initializer_list<int>{kScanEsc, kScanDigit1, kScanEnter, kScreenshotScanCode,
                                             kOptionsScanCode, 0x7F})
    EXPECT_FALSE(bindKey(kActBack, 1, kept)) << kept;
  EXPECT_FALSE(bindKey(kActionCount, 0, kScanSpace));

  // While the options page is open, no key walks the player.
  Event f2 = keyEvent(0);
  f2.message = kOptionsScanCode << 8;
  onKeyDown(&f2);
  ASSERT_TRUE(optionsOpen());
  const PlayerState before = player;
  Event up = keyEvent(0);
  up.message = kScanDown << 8;
  onKeyDown(&up);
  EXPECT_EQ(optionsRow(), 1) << "the arrows move on the page";
  EXPECT_EQ(std::memcmp(&before, &player, sizeof player), 0);
  onKeyDown(&f2);
  EXPECT_FALSE(optionsOpen());
  resetSettings();
  resetOptions();
}

TEST(MouseTurning, TurnsByAnyAngleAPassAndNeverWalks) {
  // The whole path: the platform's motion, the main loop's sum, one turn a pass.
  const GameRun run = runGame(QUILL_GAME_DIR, {"mouse 30 0", "mouse 10 -400; mouse 5 0", "chars 27"});
  ASSERT_EQ(run.exitCode, 0);
  const double degrees =
      std::remainder((kStartPose.heading - player.heading) * 180 / 3.14159265358979, 360.0);
  EXPECT_NEAR(degrees, 45 * settings.mouseSpeed / 100.0, 1e-3) << "45 pixels right, vertical motion ignored";
  EXPECT_EQ(player.x, kStartPose.x);
  EXPECT_EQ(player.y, kStartPose.y);
  EXPECT_FALSE(headlessMouseHeld()) << "given back at the end";

  openMaze();
  turnByMouse(-1000000);
  EXPECT_NEAR(player.heading, kStartPose.heading + kHalfTurn, 1e-5) << "at most half a turn a pass";
}
