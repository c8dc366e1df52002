// Composition of a frame's view: the single view and the stereo pair.
#include <gtest/gtest.h>

#include "support/surfaces.h"

#include <cmath>
#include <cstring>

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/backdrop.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "render/view.h"
#include "render/walls.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

constexpr uint16_t kMarker = 0x1234;

MazeFloor room;

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameState();
    resetGuards();
    for (PointObject& o : pointObjects) o.present = 0;  // walls only, no figures
    showFloorPoints = 0;
    ensureShadeTable();
    for (int k = 0; k < 8; ++k)
      for (int i = 0; i < 640 * 480; ++i)
        brickTextures[k].pixels[i] = static_cast<uint16_t>(0x7C00 | (i % 640));
    for (uint16_t& p : skyPicture.pixels) p = 0x001F;
    for (uint16_t& p : floorPicture.pixels) p = 0x03E0;
    // One room, cells 1..12 x 1..8.
    std::memset(&room, 0, sizeof room);
    for (int x = 1; x <= 12; ++x) room.cells[1][x].wallLowY.present = room.cells[9][x].wallLowY.present = 1;
    for (int y = 1; y <= 8; ++y) room.cells[y][1].wallLowX.present = room.cells[y][13].wallLowX.present = 1;
    surface = createSurface(640, 480);
    makeCurrentSurface(surface);
    fill(surface, kMarker);
    viewRect = {0, 0, 639, 429, 640, 430};
    buildColumnTables(640);
    buildBackdrop();
  }
  void TearDown() override {
    makeCurrentSurface(nullptr);
    destroySurface(surface);
  }
  static void fill(Surface* s, uint16_t c) { fillSurface(s, c); }
  uint16_t at(int x, int y) const { return pixelRow(surface, y)[x]; }
  bool columnUntouched(int x) const {
    for (int y = 0; y < surface->height; ++y)
      if (at(x, y) != kMarker) return false;
    return true;
  }
  Surface* surface = nullptr;
};

TEST_F(ViewTest, SingleViewDrawsBackdropStarsAndWalls) {
  PlayerState p{0, 3.5f, 4.5f, 0.3f};
  drawView(p, room, surface);
  EXPECT_EQ(at(10, 0), 0x001F);    // sky at the top
  EXPECT_EQ(at(10, 429), 0x03E0);  // floor at the bottom
  EXPECT_EQ(at(10, 480 - 1), kMarker);
  EXPECT_NE(at(320, 214), kMarker);               // a wall across the horizon
  EXPECT_EQ(room.cells[7][13].wallLowX.seen, 1);  // the centre ray meets x = 13 at y 7.44
  EXPECT_EQ(viewRect.bottom, 429);

  fill(surface, kMarker);
  showSkyAndFloor = 0;
  drawView(p, room, surface);
  EXPECT_EQ(at(10, 0), kMarker);
  EXPECT_EQ(at(10, 429), kMarker);
}

TEST_F(ViewTest, StereoHalvesEachHaveTheirOwnCentre) {
  stereoView = 1;
  // Heading 0: in each 320-column half the centre column (160) has ray angle
  // exactly 0 and stays undrawn; every other column meets the room's walls.
  PlayerState p{0, 6.5f, 4.5f, 0.0f};
  drawView(p, room, surface);
  EXPECT_TRUE(columnUntouched(160));
  EXPECT_TRUE(columnUntouched(480));
  for (int x : {0, 159, 161, 319, 320, 479, 481, 639}) EXPECT_FALSE(columnUntouched(x)) << x;
  EXPECT_EQ(at(10, 0), kMarker);  // no sky in the stereo view
  EXPECT_FLOAT_EQ(p.x, 6.5f);
  EXPECT_FLOAT_EQ(p.y, 4.5f);
}

TEST_F(ViewTest, StereoLeftEyeStandsATenthToThePlayersRight) {
  stereoView = 1;
  PlayerState p{0, 6.5f, 4.5f, 0.7f};
  drawView(p, room, surface);

  // The same pictures cast by hand: the left half from 0.1 units to the
  // right of the player, the right half from the player's own place.
  Surface* expected = createSurface(640, 480);
  fill(expected, kMarker);
  makeCurrentSurface(expected);
  viewRect = {0, 0, 319, 429, 320, 430};
  buildColumnTables(320);
  const double side = 0.7f - kQuarterTurn;
  PlayerState eye{0, 6.5f + static_cast<float>(0.1 * std::cos(side)),
                  4.5f + static_cast<float>(0.1 * std::sin(side)), 0.7f};
  castWalls(eye, room, expected);
  viewRect = {320, 0, 639, 429, 320, 430};
  castWalls(p, room, expected);
  makeCurrentSurface(surface);
  int differing = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) differing += at(x, y) != pixelRow(expected, y)[x];
  EXPECT_EQ(differing, 0);
  destroySurface(expected);
}

TEST_F(ViewTest, StereoLeavesTheViewFourFifthsTall) {
  stereoView = 1;
  PlayerState p{0, 6.5f, 4.5f, 0.3f};
  drawView(p, room, surface);
  EXPECT_EQ(viewRect.left, 0);
  EXPECT_EQ(viewRect.top, 0);
  EXPECT_EQ(viewRect.right, 639);
  EXPECT_EQ(viewRect.bottom, 383);
  EXPECT_EQ(viewRect.width, 640);
  EXPECT_EQ(viewRect.height, 384);
  EXPECT_EQ(columnAngle[320], 0.0f);  // tables back at the full width
  EXPECT_FLOAT_EQ(columnAngle[639], 0.4623968f);

  // Switched back, the single view keeps the 384 rows: nothing reaches row 384.
  stereoView = 0;
  fill(surface, kMarker);
  drawView(p, room, surface);
  EXPECT_EQ(viewRect.bottom, 383);
  EXPECT_EQ(at(10, 383), 0x03E0);
  for (int y = 384; y < 480; ++y)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(at(x, y), kMarker) << x << ',' << y;
}

}  // namespace
