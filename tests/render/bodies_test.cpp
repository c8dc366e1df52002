// The turning bodies: model and spin, the column fill of a face, and the
// depth rules of a whole body.
#include "render/bodies.h"

#include <gtest/gtest.h>

#include "support/surfaces.h"

#include <chrono>
#include <cmath>
#include <vector>

#include "framework/surface.h"
#include "render/camera.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

constexpr uint16_t kBackground = 0x1234;

class Bodies : public RenderSurfaceTest {
 protected:
  Bodies() : RenderSurfaceTest(kBackground) {}
  void SetUp() override {
    RenderSurfaceTest::SetUp();
    for (float& d : columnDepth) d = 100.0f;
    spinAngle = 0.0f;
    initPointObjects();
  }
  bool drawn(int x, int y) const { return at(x, y) != kBackground; }
  bool columnDrawn(int x) const {
    for (int y = 0; y < surface->height; ++y)
      if (drawn(x, y)) return true;
    return false;
  }
  int drawnCount() const {
    int n = 0;
    for (int y = 0; y < surface->height; ++y)
      for (int x = 0; x < surface->width; ++x) n += drawn(x, y);
    return n;
  }

  MazeFloor cells{};
};

TEST_F(Bodies, SpinTurnsTheSquareAndWrapsAfterSixtyThreeFrames) {
  spinPointObjects();
  for (const PointObject& o : pointObjects) {
    EXPECT_FLOAT_EQ(o.vertices[1].x, 0.1f);
    EXPECT_NEAR(o.vertices[1].y, 0.0f, 1e-7);
    EXPECT_NEAR(o.vertices[2].x, 0.0f, 1e-7);
    EXPECT_FLOAT_EQ(o.vertices[2].y, 0.1f);
    EXPECT_FLOAT_EQ(o.vertices[3].x, -0.1f);
    EXPECT_FLOAT_EQ(o.vertices[4].y, -0.1f);
    EXPECT_EQ(o.vertices[4].z, -0.3f);
  }
  EXPECT_FLOAT_EQ(spinAngle, 0.1f);
  for (int i = 1; i < 62; ++i) spinPointObjects();
  EXPECT_GT(spinAngle, 6.1f);  // 62 steps: not yet wrapped
  spinPointObjects();
  EXPECT_NEAR(spinAngle, 0.0168f, 2e-4);
}

TEST_F(Bodies, FillTriangleCoversItsColumnsWithTheSharedMiddleColumn) {
  // Corner order must not matter.
  const int corners[3][3] = {{100, 100, 1000}, {150, 200, 1000}, {200, 100, 1000}};
  const int orders[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
  for (const auto& o : orders) {
    fill();
    const int* a = corners[o[0]];
    const int* b = corners[o[1]];
    const int* c = corners[o[2]];
    fillTriangle(a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2], 0x3DFF, surface);
    const uint16_t col = shade(2, 0x3DFF);  // depth 1 unit
    EXPECT_EQ(at(100, 100), col);
    EXPECT_FALSE(drawn(100, 101));
    EXPECT_FALSE(drawn(99, 100));
    EXPECT_EQ(at(125, 150), col);
    EXPECT_FALSE(drawn(125, 151));
    EXPECT_EQ(at(150, 100), col);
    EXPECT_EQ(at(150, 200), col);
    EXPECT_FALSE(drawn(150, 201));
    EXPECT_EQ(at(175, 150), col);
    EXPECT_FALSE(drawn(175, 151));
    EXPECT_EQ(at(200, 100), col);
    EXPECT_FALSE(drawn(201, 100));
    EXPECT_EQ(drawnCount(), 2601 + 2601 - 101);  // two halves of 2601 pixels share column 150
  }
}

TEST_F(Bodies, EdgeOnFacesAreDropped) {
  fillTriangle(100, 100, 1000, 100, 200, 1000, 200, 150, 1000, 0x3DFF, surface);
  fillTriangle(100, 100, 1000, 200, 200, 1000, 200, 150, 1000, 0x3DFF, surface);
  fillTriangle(300, 100, 1000, 300, 200, 1000, 300, 150, 1000, 0x3DFF, surface);
  EXPECT_EQ(drawnCount(), 0);
}

TEST_F(Bodies, ColumnColourFollowsDepthAlongTheLongEdge) {
  // Corner B's depth plays no part: depth runs from A to C only.
  fillTriangle(100, 100, 1000, 150, 200, 90000, 200, 100, 3000, 0x3DFF, surface);
  EXPECT_EQ(at(100, 100), shade(2, 0x3DFF));
  EXPECT_EQ(at(150, 150), shade(4, 0x3DFF));
  EXPECT_EQ(at(200, 100), shade(6, 0x3DFF));

  // Behind the eye plane the colour is the face's own; at 15.5 units and beyond, black.
  fillTriangle(300, 100, -1000, 350, 200, -1000, 400, 100, -1000, 0x3DFF, surface);
  EXPECT_EQ(at(350, 150), 0x3DFF);
  fillTriangle(300, 250, 15500, 350, 350, 15500, 400, 250, 15500, 0x3DFF, surface);
  EXPECT_EQ(at(350, 300), 0);
  fillTriangle(450, 250, 15400, 500, 350, 15400, 550, 250, 15400, 0x3DFF, surface);
  EXPECT_EQ(at(500, 300), shade(30, 0x3DFF));
}

TEST_F(Bodies, WallDepthHidesStrictlyNearerColumnsOnly) {
  columnDepth[140] = 1.0f;    // exactly the face's depth: drawn
  columnDepth[141] = 0.999f;  // nearer: hidden
  fillTriangle(100, 100, 1000, 150, 200, 1000, 200, 100, 1000, 0x3DFF, surface);
  EXPECT_TRUE(columnDrawn(139));
  EXPECT_TRUE(columnDrawn(140));
  EXPECT_FALSE(columnDrawn(141));
  EXPECT_TRUE(columnDrawn(142));

  // In a view that starts at column 320 the columns are relative to it.
  fill();
  for (float& d : columnDepth) d = 100.0f;
  viewRect = {320, 0, 639, 429, 320, 430};
  columnDepth[20] = 0.5f;
  fillTriangle(0, 100, 1000, 30, 200, 1000, 60, 100, 1000, 0x3DFF, surface);
  EXPECT_FALSE(columnDrawn(319));
  EXPECT_TRUE(columnDrawn(320));
  EXPECT_TRUE(columnDrawn(339));
  EXPECT_FALSE(columnDrawn(340));
  EXPECT_TRUE(columnDrawn(380));
  EXPECT_FALSE(columnDrawn(381));
}

TEST_F(Bodies, FarOffScreenCornersCostOnlyTheViewsColumns) {
  const auto start = std::chrono::steady_clock::now();
  for (int k = 0; k < 20; ++k) {
    fillTriangle(-2000000000, 100, 1000, 320, 200, 1000, 2000000000, 300, 1000, 0x3DFF, surface);
    fillTriangle(100, 100, 1000, 300, 300, 1000, 1000000000, 100, 1000, 0x5EFF, surface);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 0.5);  // walking a billion columns would take seconds per call
  EXPECT_TRUE(columnDrawn(0));
  EXPECT_TRUE(columnDrawn(639));
}

TEST_F(Bodies, HiddenOrCollectedBodiesDrawNothing) {
  const PlayerState cam = {0, 4.5f, 1.5f, 0.0f};
  drawPointObject(cam, cells, pointObjects[0], surface);  // not yet seen by the wall pass
  EXPECT_EQ(drawnCount(), 0);
  pointObjects[0].visible = 1;
  pointObjects[0].present = 0;
  drawPointObject(cam, cells, pointObjects[0], surface);
  EXPECT_EQ(drawnCount(), 0);
}

TEST_F(Bodies, AWallEdgeHidesOnlyTheColumnsItCovers) {
  const PlayerState cam = {0, 4.5f, 1.5f, 0.0f};  // body 0 three units ahead
  PointObject& o = pointObjects[0];
  o.visible = 1;
  drawPointObject(cam, cells, o, surface);
  std::vector<uint16_t> open(static_cast<size_t>(640 * 480));
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) open[static_cast<size_t>(y * 640 + x)] = at(x, y);
  ASSERT_TRUE(columnDrawn(310));
  ASSERT_TRUE(columnDrawn(330));

  fill();
  for (int i = 320; i < 640; ++i) columnDepth[i] = 2.0f;  // a wall edge in front of the right half
  drawPointObject(cam, cells, o, surface);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (x < 320) {
        ASSERT_EQ(at(x, y), open[static_cast<size_t>(y * 640 + x)]) << x << "," << y;
      } else {
        ASSERT_FALSE(drawn(x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(Bodies, FacesAveragingHalfAUnitOrLessAreDropped) {
  // Lift the body to eye level so that it stays in view this close.
  PointObject& o = pointObjects[0];
  o.visible = 1;
  for (int v = 0; v < 6; ++v) o.vertices[v].z += 0.4f;

  // Centre 0.4 ahead: even the far faces average below 0.5.
  drawPointObject({0, 7.1f, 1.5f, 0.0f}, cells, o, surface);
  EXPECT_EQ(drawnCount(), 0);

  // Centre 0.5 ahead: only the two faces on the far side remain; they reach
  // no farther right than the far corners (column 426).
  drawPointObject({0, 7.0f, 1.5f, 0.0f}, cells, o, surface);
  EXPECT_GT(drawnCount(), 0);
  EXPECT_TRUE(columnDrawn(420));
  EXPECT_FALSE(columnDrawn(435));

  // Centre 0.6 ahead: every face averages above 0.5; the side faces reach column 448.
  fill();
  drawPointObject({0, 6.9f, 1.5f, 0.0f}, cells, o, surface);
  EXPECT_TRUE(columnDrawn(435));
}

TEST_F(Bodies, BrokenModelsAreHarmless) {
  PointObject& o = pointObjects[0];
  o.visible = 1;
  o.vertexCount = 1000;
  o.faceCount = -3;
  drawPointObject({0, 4.5f, 1.5f, 0.0f}, cells, o, surface);
  EXPECT_EQ(drawnCount(), 0);
  o.vertexCount = 6;
  o.faceCount = 1000;
  o.faces[0] = {0, 7, 99};
  drawPointObject({0, 4.5f, 1.5f, 0.0f}, cells, o, surface);
  SUCCEED();
  // A corner exactly in the eye plane projects to infinity: the face is still handled.
  drawPointObject({0, 7.5f, 1.5f, 0.0f}, cells, o, surface);
}

}  // namespace
