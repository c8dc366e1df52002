// The frame cycle's rules on the real level and data: bonus, bodies, items
// and their guards, capture, the exit, and where the texts stand.
#include <gtest/gtest.h>

#include "framework/surface.h"
#include "game/frame.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "support/gamerun.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

class Rules : public testing::Test {
 protected:
  void SetUp() override { startGameWithoutLoop(QUILL_GAME_DIR, 640, 480); }

  // Parks the white guard far away so it cannot end the test's run.
  static void parkWhiteGuard() { guards[0].active = 0; }

  static void standAt(float x, float y) {
    player.x = x;
    player.y = y;
  }

  // Pixels of colour c inside the rectangle [x0, x1) x [y0, y1).
  static int countColour(uint16_t c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += surfacePixel(x, y) == c;
    return n;
  }
};

TEST_F(Rules, TheBonusDropsByTenEveryEleventhFrame) {
  parkWhiteGuard();
  for (int i = 0; i < 10; ++i) runFrame();
  EXPECT_EQ(timeBonus, 1000);
  runFrame();
  EXPECT_EQ(timeBonus, 990);
  for (int i = 11; i < 1100; ++i) runFrame();
  EXPECT_EQ(timeBonus, 0);
  for (int i = 0; i < 30; ++i) runFrame();
  EXPECT_EQ(timeBonus, 0);
}

TEST_F(Rules, ABodyIsCollectedStrictlyInsideItsReachAndOnlyOnce) {
  parkWhiteGuard();
  const PointObject& body = pointObjects[1];
  // d^2 = 0.8 exactly is not a touch.
  standAt(body.x + 0.894427191f, body.y);
  const double dx = static_cast<double>(player.x) - body.x;
  if (dx * dx >= 0.8) {
    runFrame();
    EXPECT_EQ(pointObjects[1].present, 1);
    EXPECT_EQ(score, 0);
  }
  standAt(body.x + 0.89f, body.y);
  runFrame();
  EXPECT_EQ(pointObjects[1].present, 0);
  EXPECT_EQ(score, 100);
  runFrame();
  EXPECT_EQ(score, 100);
}

TEST_F(Rules, AnItemReleasesItsGuardWhoTakesItBack) {
  parkWhiteGuard();
  KeyItem& red = keyItems[0];
  standAt(red.x, red.y);
  runFrame();
  EXPECT_EQ(heldKeys, 1);
  EXPECT_EQ(red.active, 0);
  EXPECT_EQ(guards[1].active, 1);

  // The red guard reaches the player far from the item: the item goes back.
  standAt(10.5f, 5.5f);
  guards[1].waypoints[guards[1].currentWaypoint] = {10.6f, 5.5f};
  guards[1].lastWaypoint = guards[1].currentWaypoint;
  guards[1].replanCounter = 0;
  runFrame();
  EXPECT_EQ(guards[1].active, 0);
  EXPECT_EQ(heldKeys, 0);
  EXPECT_EQ(red.active, 1);

  // Caught back within reach of the item's place: the same frame picks it up
  // again and releases the guard at once.
  standAt(red.x, red.y);
  runFrame();
  EXPECT_EQ(heldKeys, 1);
  guards[1].waypoints[guards[1].currentWaypoint] = {red.x, red.y};
  guards[1].lastWaypoint = guards[1].currentWaypoint;
  guards[1].replanCounter = 0;
  runFrame();
  EXPECT_EQ(heldKeys, 1);
  EXPECT_EQ(red.active, 0);
  EXPECT_EQ(guards[1].active, 1);
}

TEST_F(Rules, TheExitOpensOnlyWithAllThreeItems) {
  parkWhiteGuard();
  for (KeyItem& k : keyItems) k.active = 0;
  const MarkerPos d = levelMaps[0].markers[kMarkD];
  standAt(d.x - 1 + 0.5f, d.y + 0.5f);
  heldKeys = 3;
  runFrame();
  EXPECT_EQ(exitOpen, 0);
  EXPECT_EQ(score, 0);

  heldKeys = 7;
  const int bonus = timeBonus;
  runFrame();
  EXPECT_EQ(exitOpen, 1);
  EXPECT_GE(score, bonus - 10);
  // The win screen: the message in white at (127, 339) and the score in 0x4E20 at (127, 379).
  EXPECT_GT(countColour(0x4E20, 127, 379, 400, 410), 20);
  EXPECT_GT(countColour(0x7FFF, 127, 339, 400, 365), 20);
}

TEST_F(Rules, TheWhiteGuardCatchesAndTheMessageStandsInRed) {
  Guard& white = guards[0];
  standAt(white.waypoints[white.currentWaypoint].x + 0.3f, white.waypoints[white.currentWaypoint].y);
  runFrame();
  EXPECT_GT(countColour(0x7C00, 127, 239, 500, 270), 20);
}

TEST_F(Rules, TheHudLineStandsUnderTheView) {
  parkWhiteGuard();
  runFrame();
  // "0 +" from x = 319 and "1000 Punkte" from x = 426, baseline area below y = 439.
  EXPECT_GT(countColour(0x7FFF, 319, 439, 360, 470), 5);
  EXPECT_GT(countColour(0x7FFF, 426, 439, 560, 470), 20);
  EXPECT_EQ(countColour(0x7FFF, 200, 439, 310, 470), 0);
}

}  // namespace
