// The object pass and the sprite drawers: picture choice, placement, depth
// cut-off, range, draw order.
#include "render/objects.h"

#include <gtest/gtest.h>

#include "support/surfaces.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "framework/surface.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

constexpr uint16_t kBackground = 0x1234;

// A 640 x 480 surface with the standard 640 x 430 view, no walls in range,
// no objects in play, and a camera at (2.5, 5.5) looking along +x.
class ObjectPass : public RenderSurfaceTest {
 protected:
  ObjectPass() : RenderSurfaceTest(kBackground) {}
  void SetUp() override {
    RenderSurfaceTest::SetUp();
    for (float& d : columnDepth) d = 100.0f;
    resetGameState();
    for (Guard& g : guards) g = Guard{};
    for (PointObject& o : pointObjects) o = PointObject{};
    cam = {0, 2.5f, 5.5f, 0.0f};
  }
  bool drawn(int x, int y) const { return at(x, y) != kBackground; }

  // Puts guard `slot` at (x, y) facing `facing` degrees; its 16 pictures are solid `colour`.
  void placeGuard(int slot, float x, float y, float facing, uint16_t colour) {
    Guard& g = guards[slot];
    g.active = g.present = 1;
    g.currentWaypoint = 3;
    g.waypoints[3] = {x, y};
    g.facing[3] = facing;
    for (SpritePicture& p : figureSprites[slot])
      for (uint16_t& px : p.pixels) px = colour;
  }

  PlayerState cam{};
  MazeFloor cells{};
};

TEST(GuardPicture, PictureZeroFacesTheCameraAndEachCovers22AndAHalfDegrees) {
  // The camera stands on the guard's +x side; a guard facing +x looks at it.
  // rel is then a hair below zero and wraps to just below 6.2831852.
  EXPECT_EQ(guardPictureIndex(0.0f, 5.0f, 5.0f, 6.0f, 5.0f), 0);
  // Just above zero.
  EXPECT_EQ(guardPictureIndex(0.00001f, 5.0f, 5.0f, 6.0f, 5.0f), 0);
  // rel = 0.4 rad: 0.5 + 0.4 * 2.546 = 1.52 -> picture 1.
  EXPECT_EQ(guardPictureIndex(static_cast<float>(0.4 / 0.017453292222222222), 5.0f, 5.0f, 6.0f, 5.0f), 1);
  // The change from picture 0 to 1 lies at 11.25 degrees.
  EXPECT_EQ(guardPictureIndex(11.0f, 5.0f, 5.0f, 6.0f, 5.0f), 0);
  EXPECT_EQ(guardPictureIndex(11.5f, 5.0f, 5.0f, 6.0f, 5.0f), 1);
  // A quarter turn away from the camera is picture 4; turned the other way, 12.
  EXPECT_EQ(guardPictureIndex(90.0f, 5.0f, 5.0f, 6.0f, 5.0f), 4);
  EXPECT_EQ(guardPictureIndex(-90.0f, 5.0f, 5.0f, 6.0f, 5.0f), 12);
  // The back is picture 8.
  EXPECT_EQ(guardPictureIndex(180.0f, 5.0f, 5.0f, 6.0f, 5.0f), 8);
}

TEST(GuardPicture, AbsurdFacingsEndWithAValidPicture) {
  EXPECT_EQ(guardPictureIndex(NAN, 5.0f, 5.0f, 6.0f, 5.0f), 0);
  EXPECT_EQ(guardPictureIndex(INFINITY, 5.0f, 5.0f, 6.0f, 5.0f), 0);
  const int far = guardPictureIndex(1.0e30f, 5.0f, 5.0f, 6.0f, 5.0f);
  EXPECT_GE(far, 0);
  EXPECT_LT(far, 16);
}

TEST_F(ObjectPass, TheDrawnPictureFollowsTheGuardsTurnAndTheCamerasPlace) {
  // Each view picture in its own colour: red channel 8 + f (16 + f after shading would not fit).
  for (int f = 0; f < 16; ++f)
    for (uint16_t& px : figureSprites[1][f].pixels) px = static_cast<uint16_t>((8 + f) << 10);
  guards[1].active = guards[1].present = 1;
  guards[1].currentWaypoint = 0;

  // Guard 2 units ahead; turning it by n steps of 22.5 degrees from facing the camera shows picture n.
  guards[1].waypoints[0] = {4.5f, 5.5f};
  for (int n = 0; n < 16; ++n) {
    guards[1].facing[0] = 180.0f + 22.5f * n;
    drawGuardFigure(cam, cells, 1, surface);
    EXPECT_EQ(at(320, 200), shade(4, static_cast<uint16_t>((8 + n) << 10))) << "turned by " << n;
  }

  // The guard faces +x; the camera walks round it counter-clockwise, always looking at it.
  // Seen from 22.5 n degrees round, the guard shows picture (16 - n) mod 16.
  guards[1].waypoints[0] = {10.5f, 10.5f};
  guards[1].facing[0] = 0.0f;
  for (int n = 0; n < 16; ++n) {
    const double phi = n * 22.5 * M_PI / 180.0;
    PlayerState eye = {0, static_cast<float>(10.5 + 2.2 * std::cos(phi)),
                       static_cast<float>(10.5 + 2.2 * std::sin(phi)),
                       static_cast<float>(std::fmod(phi + M_PI, 2 * M_PI))};
    fill(kBackground);
    drawGuardFigure(eye, cells, 1, surface);
    EXPECT_EQ(at(320, 200), shade(4, static_cast<uint16_t>((8 + (16 - n) % 16) << 10)))
        << "camera at step " << n;
  }
}

TEST_F(ObjectPass, GuardCoversWallTopToFloorHalfAWallWideTopRowFirst) {
  // Upper half of every picture red, lower half blue.
  for (SpritePicture& p : figureSprites[0])
    for (int i = 0; i < 200 * 400; ++i) p.pixels[i] = i < 200 * 200 ? 0x7C00 : 0x001F;
  Guard& g = guards[0];
  g.active = g.present = 1;
  g.waypoints[0] = {4.5f, 5.5f};  // depth 2: X0 = 320 - 430/8, width 107.5, rows 106.5 .. 321.5
  drawGuardFigure(cam, cells, 0, surface);

  EXPECT_FALSE(drawn(265, 200));
  EXPECT_TRUE(drawn(266, 200));
  EXPECT_TRUE(drawn(373, 200));
  EXPECT_FALSE(drawn(374, 200));
  EXPECT_FALSE(drawn(320, 105));
  EXPECT_EQ(at(320, 106), shade(4, 0x7C00));
  EXPECT_EQ(at(320, 320), shade(4, 0x001F));
  EXPECT_FALSE(drawn(320, 321));  // the last row is left out: rows run while j < cY1 - 1
}

TEST_F(ObjectPass, ItemStandsOnTheFloorWithPictureRowZeroAtTheBottom) {
  KeyItem& item = keyItems[0];
  for (int i = 0; i < 320 * 240; ++i) item.picture.pixels[i] = i < 320 ? 0x03E0 : 0x7C00;  // row 0 green
  item.x = 4.5f;
  item.y = 5.5f;
  item.active = 1;
  // Depth 2: X0 = 320 - 430/12, X1 = X0 + 430/6, 72 rows placed from row trunc(429 - 106.5) up.
  drawKeyItem(cam, cells, item, surface);
  EXPECT_EQ(at(320, 322), shade(4, 0x03E0));
  EXPECT_EQ(at(320, 321), shade(4, 0x7C00));
  EXPECT_FALSE(drawn(320, 323));
  EXPECT_TRUE(drawn(320, 251));
  EXPECT_FALSE(drawn(320, 250));
  EXPECT_FALSE(drawn(283, 300));
  EXPECT_TRUE(drawn(284, 300));
  EXPECT_TRUE(drawn(355, 300));
  EXPECT_FALSE(drawn(356, 300));

  fill(kBackground);
  item.active = 0;
  drawKeyItem(cam, cells, item, surface);
  EXPECT_FALSE(drawn(320, 300));
}

TEST_F(ObjectPass, WithShapesAMarkFloatsOverTheItemAndEachColouredGuardOnly) {
  for (MarkPicture& m : shapeMarks) std::fill(std::begin(m.pixels), std::end(m.pixels), uint16_t{0x7FFF});
  KeyItem& item = keyItems[0];
  std::fill(std::begin(item.picture.pixels), std::end(item.picture.pixels), uint16_t{0x03E0});
  item.x = 4.5f, item.y = 5.5f, item.active = 1;
  placeGuard(0, 4.5f, 5.5f, 0.0f, 0x7C00);
  placeGuard(2, 4.5f, 5.5f, 0.0f, 0x7C00);
  showShapes = 1;
  // Depth 2: the crystals reach row 268, the hat row 106; a mark is 54 pixels square from column 293.
  for (const int topRow : {268, 106, -1}) {
    fill(kBackground);
    topRow == 268 ? drawKeyItem(cam, cells, item, surface)
                  : drawGuardFigure(cam, cells, topRow > 0 ? 2 : 0, surface);  // white: no item, no mark
    int rows = 0, lowest = -1;
    for (int y = 0; y < 430; ++y)
      if (at(320, y) == shade(4, 0x7FFF)) ++rows, lowest = y;
    EXPECT_EQ(rows > 0, topRow > 0);
    if (topRow < 0) continue;
    EXPECT_NEAR(rows, 54, 1) << topRow;
    EXPECT_LT(lowest, topRow - 5) << "a gap between the figure and its mark";
    EXPECT_TRUE(at(293, lowest) == at(346, lowest) && at(292, lowest) != at(293, lowest) &&
                at(347, lowest) != at(293, lowest));
  }
  guards[2].waypoints[3].x = 3.5f;  // depth 1: the hat at the view's top, so the mark comes down over it
  drawGuardFigure(cam, cells, 2, surface);
  EXPECT_TRUE(at(320, 1) == shade(2, 0x7FFF) && at(320, 106) == at(320, 1) && at(320, 108) != at(320, 1));
}

TEST_F(ObjectPass, TransparentPixelsLeaveTheViewAlone) {
  placeGuard(0, 4.5f, 5.5f, 0.0f, 0);
  drawGuardFigure(cam, cells, 0, surface);
  for (int x = 260; x < 380; ++x) ASSERT_FALSE(drawn(x, 200));
}

// Texels that differ in every column, transparent ones among them, behind
// walls in places: the gathered sprite pass draws what the plain one does.
TEST_F(ObjectPass, GatheredAndPlainSpritesDrawAlike) {
  placeGuard(0, 4.5f, 5.5f, 0.0f, 0);
  for (SpritePicture& p : figureSprites[0])
    for (int i = 0; i < 200 * 400; ++i) p.pixels[i] = static_cast<uint16_t>(i * 2654435761u >> 14);
  for (int i = 280; i < 330; i += 3) columnDepth[i] = 1.0f;
  for (const float d : {0.9f, 2.0f, 6.5f})  // wider than the view, middling, narrow
    expectGatheredAsPlain(surface, kBackground, [&] {
      drawGuardFigure({0, 4.5f - d, 5.7f, 0.02f * d}, cells, 0, surface);
    });
}

TEST_F(ObjectPass, NearerOrEqualWallsHideWholeColumns) {
  placeGuard(0, 4.5f, 5.5f, 0.0f, 0x7FFF);
  for (int i = 300; i < 310; ++i) columnDepth[i] = 1.0f;  // a nearer wall
  columnDepth[310] = 2.0f;                                // exactly at the guard's depth
  columnDepth[311] = 2.0001f;
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_TRUE(drawn(299, 200));
  for (int x = 300; x <= 310; ++x) {
    for (int y = 106; y <= 320; ++y) ASSERT_FALSE(drawn(x, y)) << x << "," << y;
  }
  EXPECT_TRUE(drawn(311, 200));
}

TEST_F(ObjectPass, GuardsReachFifteenAndAHalfUnits) {
  placeGuard(0, 2.5f + 15.5f, 5.5f, 0.0f, 0x7FFF);
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_EQ(at(320, 214), 0);  // drawn, darkened all the way to black

  fill(kBackground);
  guards[0].waypoints[3].x = 2.5f + 15.52f;
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_FALSE(drawn(320, 214));
}

TEST_F(ObjectPass, TooNearOrBehindIsNotDrawn) {
  placeGuard(0, 2.79f, 5.5f, 0.0f, 0x7FFF);  // depth 0.29
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_FALSE(drawn(320, 214));
  guards[0].waypoints[3].x = 2.81f;
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_TRUE(drawn(320, 214));
  fill(kBackground);
  guards[0].waypoints[3].x = 0.5f;  // behind the camera
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_FALSE(drawn(320, 214));
}

TEST_F(ObjectPass, ExitMeadowOnlyWhileTheExitIsOpen) {
  for (uint16_t& px : meadowPicture.pixels) px = 0x03E0;
  drawExitPicture(cam, cells, 4, 5, surface);  // anchor (4.5, 5.5), depth 2
  EXPECT_FALSE(drawn(320, 300));

  exitOpen = 1;
  drawExitPicture(cam, cells, 4, 5, surface);
  // Two walls wide (105 .. 535), one high, from the floor row 322 up.
  EXPECT_EQ(at(320, 300), shade(4, 0x03E0));
  EXPECT_TRUE(drawn(105, 322));
  EXPECT_FALSE(drawn(104, 300));
  EXPECT_TRUE(drawn(535, 300));
  EXPECT_FALSE(drawn(536, 300));
  EXPECT_FALSE(drawn(320, 323));

  // A nearer wall hides it like any sprite.
  fill(kBackground);
  for (int i = 0; i < 640; ++i) columnDepth[i] = 1.5f;
  drawExitPicture(cam, cells, 4, 5, surface);
  EXPECT_FALSE(drawn(320, 300));
}

TEST_F(ObjectPass, EqualDepthsKeepGatheringOrderSoTheHigherSlotCovers) {
  placeGuard(1, 4.5f, 5.4f, 0.0f, 0x7C00);
  placeGuard(2, 4.5f, 5.6f, 0.0f, 0x001F);
  drawObjects(cam, cells, surface);
  const ObjectEntry* list = nullptr;
  ASSERT_EQ(lastObjectList(&list), 2);
  EXPECT_EQ(list[0].index, 1);
  EXPECT_EQ(list[1].index, 2);
  EXPECT_EQ(at(320, 200), shade(4, 0x001F));  // both cover the centre column; slot 2 is drawn last
}

TEST_F(ObjectPass, ListRunsFarToNearOverAllKinds) {
  initPointObjects();
  for (PointObject& o : pointObjects) o.visible = 1;
  pointObjects[1].present = 0;  // collected: neither drawn nor sorted
  placeGuard(0, 6.0f, 5.5f, 0.0f, 0x7FFF);
  placeGuard(3, 9.0f, 5.5f, 0.0f, 0x7FFF);
  guards[2].active = 1;  // active but not in play
  keyItems[1] = KeyItem{};
  keyItems[1].x = 7.5f;
  keyItems[1].y = 5.5f;
  keyItems[1].active = 1;
  cam = {0, 2.5f, 1.5f, 0.0f};  // body 0 at (7.5, 1.5) is 5 ahead, body 2 far to the side

  showObjects = 0;  // bodies are still sorted, only not drawn
  drawObjects(cam, cells, surface);
  const ObjectEntry* list = nullptr;
  const int n = lastObjectList(&list);
  ASSERT_EQ(n, 5);
  for (int i = 1; i < n; ++i) EXPECT_GE(list[i - 1].depth, list[i].depth);
  // Body 0 and the item share depth 5: the body was gathered first and stays first.
  const int expectKind[5] = {1, 0, 1, 2, 0};
  const int expectIndex[5] = {2, 3, 0, 1, 0};
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(list[i].kind, expectKind[i]) << i;
    EXPECT_EQ(list[i].index, expectIndex[i]) << i;
  }
  // Of all these only body 0 lies within the view; it is drawn once bodies are switched on.
  EXPECT_FALSE(drawn(320, 250));
  showObjects = 1;
  drawObjects(cam, cells, surface);
  EXPECT_TRUE(drawn(320, 250));
}

TEST_F(ObjectPass, BadSlotsAndWaypointIndicesAreHarmless) {
  placeGuard(0, 4.5f, 5.5f, 0.0f, 0x7FFF);
  drawGuardFigure(cam, cells, -1, surface);
  drawGuardFigure(cam, cells, 4, surface);
  EXPECT_FALSE(drawn(320, 200));
  guards[0].currentWaypoint = kWaypointCount;  // one past the table: read as its last entry
  guards[0].waypoints[kWaypointCount - 1] = {4.5f, 5.5f};
  drawGuardFigure(cam, cells, 0, surface);
  EXPECT_TRUE(drawn(320, 200));
}

TEST_F(ObjectPass, AViewLargerThanTheSurfaceWritesOnlyInsideIt) {
  destroySurface(surface);
  surface = createSurface(200, 150);
  makeCurrentSurface(surface);
  fill(kBackground);
  // The view still claims 640 x 430; a near guard spans far beyond the surface.
  placeGuard(0, 3.5f, 5.5f, 0.0f, 0x7FFF);
  keyItems[0].x = 3.0f;
  keyItems[0].y = 5.5f;
  keyItems[0].active = 1;
  for (uint16_t& px : keyItems[0].picture.pixels) px = 0x7FFF;
  exitOpen = 1;
  for (uint16_t& px : meadowPicture.pixels) px = 0x7FFF;
  drawExitPicture(cam, cells, 3, 5, surface);  // depth 1: covers the whole surface
  drawObjects(cam, cells, surface);
  EXPECT_TRUE(drawn(199, 149));  // the writes went as far as the surface's edge and no farther
}

}  // namespace
