// The overview map and the colour tiles.
#include "render/overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "support/surfaces.h"

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/camera.h"
#include "render/shapemark.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

constexpr uint16_t kBackground = 0x1234;
constexpr uint16_t kWall = 0x1E0;
constexpr uint16_t kWhite = 0x7FFF;

class Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = createSurface(640, 480);
    ASSERT_NE(surface, nullptr);
    makeCurrentSurface(surface);
    fill();
    viewRect = {0, 0, 639, 429, 640, 430};
    resetGameState();
    for (Guard& g : guards) g = Guard{};
    cells = MazeFloor{};
    // A closed ring of walls round cells (1..8, 1..3), none seen yet.
    for (int x = 1; x <= 8; ++x) {
      cells.cells[1][x].wallLowY.present = 1;
      cells.cells[4][x].wallLowY.present = 1;
    }
    for (int y = 1; y <= 3; ++y) {
      cells.cells[y][1].wallLowX.present = 1;
      cells.cells[y][9].wallLowX.present = 1;
    }
  }
  void TearDown() override {
    makeCurrentSurface(nullptr);
    destroySurface(surface);
  }
  void fill() { fillSurface(surface, kBackground); }
  uint16_t at(int x, int y) const { return pixelRow(surface, y)[x]; }
  int count(uint16_t c) const {
    int n = 0;
    for (int y = 0; y < surface->height; ++y)
      for (int x = 0; x < surface->width; ++x) n += at(x, y) == c;
    return n;
  }

  Surface* surface = nullptr;
  MazeFloor cells{};
};

TEST_F(Overlay, UnseenWallsAreNotMappedOnlyThePlayer) {
  drawOverviewMap({0, 2.3f, 1.4f, 0.0f}, cells);
  EXPECT_EQ(count(kWall), 0);
  EXPECT_EQ(count(kWhite), 1);
  EXPECT_EQ(at(320, 214), kWhite);  // (halfWidth, bottom - halfHeight)
}

TEST_F(Overlay, SeenWallsAreDrawnHeadingUpTenPixelsPerUnit) {
  cells.cells[1][9].wallLowX.seen = 1;  // the wall x = 9, y 1..2, 6.7 units ahead
  cells.cells[2][9].wallLowX.seen = 1;  // and y 2..3
  // Looking along +x, the wall lies across the screen 67 rows above the player;
  // larger y is to the player's left.
  drawOverviewMap({0, 2.3f, 1.4f, 0.0f}, cells);
  for (int x = 304; x <= 324; ++x) EXPECT_EQ(at(x, 147), kWall) << x;
  EXPECT_EQ(at(303, 147), kBackground);
  EXPECT_EQ(at(325, 147), kBackground);
  EXPECT_EQ(count(kWall), 21);

  // Turned to look along +y, the same wall stands upright 67 columns to the right,
  // from 0.4 behind the player (row 218) forward.
  fill();
  drawOverviewMap({0, 2.3f, 1.4f, 1.5707963f}, cells);
  EXPECT_EQ(at(387, 218), kWall);
  EXPECT_EQ(at(387, 210), kWall);
  EXPECT_EQ(at(387, 219), kBackground);
  EXPECT_EQ(at(320, 214), kWhite);
  EXPECT_EQ(count(kWall), 21);
}

TEST_F(Overlay, GuardsOnlyWhenAskedAndOnlyActiveOnes) {
  guards[1].active = 1;
  guards[1].currentWaypoint = 2;
  guards[1].waypoints[2] = {5.3f, 1.4f};  // 3 ahead: 30 rows above the player
  guards[2].active = 0;
  guards[2].waypoints[0] = {2.3f, 2.4f};
  guards[3].active = 1;
  guards[3].present = 0;                    // drawn on the map whatever its present flag says
  guards[3].waypoints[0] = {2.35f, 0.85f};  // 0.55 to the right

  drawOverviewMap({0, 2.3f, 1.4f, 0.0f}, cells);
  EXPECT_EQ(count(kWhite), 1);

  fill();
  showGuardsOnMap = 1;
  drawOverviewMap({0, 2.3f, 1.4f, 0.0f}, cells);
  EXPECT_EQ(count(kWhite), 3);
  EXPECT_EQ(at(320, 184), kWhite);
  EXPECT_EQ(at(325, 214), kWhite);
}

TEST_F(Overlay, TilesShowTheItemsCarriedEveryPixelIncludingBlack) {
  const uint16_t colours[4] = {0x7C00, 0x03E0, 0x001F, 0x4210};
  for (int t = 0; t < 4; ++t)
    for (uint16_t& px : statusTiles[t].pixels) px = colours[t];
  statusTiles[1].pixels[0] = 0;  // drawn as black, not skipped

  heldKeys = 6;  // green and blue
  drawColourTiles();
  EXPECT_EQ(at(5, 434), colours[3]);
  EXPECT_EQ(at(44, 473), colours[3]);
  EXPECT_EQ(at(50, 434), 0);
  EXPECT_EQ(at(89, 473), colours[1]);
  EXPECT_EQ(at(95, 434), colours[2]);
  EXPECT_EQ(at(134, 473), colours[2]);
  EXPECT_EQ(at(4, 434), kBackground);
  EXPECT_EQ(at(45, 434), kBackground);
  EXPECT_EQ(at(135, 434), kBackground);
  EXPECT_EQ(at(20, 433), kBackground);
  EXPECT_EQ(at(20, 474), kBackground);
  EXPECT_EQ(count(kBackground), 640 * 480 - 3 * 1600);
}

TEST_F(Overlay, WithShapesAHeldItemShowsItsShapedTileAndAFlatMarkKeepsToItsSquare) {
  for (TilePicture& t : statusTiles) std::fill(std::begin(t.pixels), std::end(t.pixels), uint16_t{0x100});
  std::fill(std::begin(shapedTiles[0].pixels), std::end(shapedTiles[0].pixels), uint16_t{0x200});
  heldKeys = 1;
  for (int on : {0, 1, 0}) {
    showShapes = on;
    drawColourTiles();
    EXPECT_TRUE(at(20, 450) == (on ? 0x200 : 0x100) && count(0x200) == (on ? 1600 : 0)) << on;
  }
  fill();  // the flat ring, 16 pixels square: a dark rim, an open middle, nothing outside
  drawShapeMark(2, 200, 200, 16);
  int inside = 0;
  for (int y = 200; y < 216; ++y)
    for (int x = 200; x < 216; ++x) inside += at(x, y) != kBackground;
  EXPECT_EQ(inside, 640 * 480 - count(kBackground));
  EXPECT_TRUE(at(208, 208) == kBackground && at(208, 200) == 0x0421 && at(208, 201) == 0x155E);
}

TEST_F(Overlay, TilesAndMapCentreFollowAShorterView) {
  viewRect = {0, 0, 639, 383, 640, 384};  // as the stereo view leaves it
  for (uint16_t& px : statusTiles[0].pixels) px = 0x7C00;
  heldKeys = 1;
  drawColourTiles();
  EXPECT_EQ(at(5, 388), 0x7C00);
  EXPECT_EQ(at(44, 427), 0x7C00);
  EXPECT_EQ(at(5, 387), kBackground);
  EXPECT_EQ(at(5, 428), kBackground);

  drawOverviewMap({0, 2.3f, 1.4f, 0.0f}, cells);
  EXPECT_EQ(at(320, 191), kWhite);
}

}  // namespace
