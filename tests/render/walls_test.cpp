// The wall ray caster against small hand-built mazes.
#include <gtest/gtest.h>

#include "support/surfaces.h"

#include <cstring>
#include <vector>

#include "framework/surface.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "render/walls.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

namespace {

constexpr uint16_t kMarker = 0x1234;  // what every untouched pixel keeps

MazeFloor maze;

// Texture row r as a colour that stays distinct after darkening by up to 8
// levels: red 8 + r / 24, green 8 + r % 24, blue 31.
uint16_t rowColour(int r) { return static_cast<uint16_t>((8 + r / 24) << 10 | (8 + r % 24) << 5 | 31); }
int rowOf(uint16_t c) { return (((c >> 10) & 31) - 8) * 24 + (((c >> 5) & 31) - 8); }

class WallsTest : public RenderSurfaceTest {
 protected:
  WallsTest() : RenderSurfaceTest(kMarker) {}
  void SetUp() override {
    RenderSurfaceTest::SetUp();
    resetGameState();
    showFloorPoints = 0;
    std::memset(&maze, 0, sizeof maze);
    for (int k = 0; k < 8; ++k)
      for (int r = 0; r < 480; ++r)
        for (int c = 0; c < 640; ++c) brickTextures[k].pixels[r * 640 + c] = rowColour(r);
    for (float& d : columnDepth) d = -1.0f;
  }
  bool columnUntouched(int x) const {
    for (int y = 0; y < surface->height; ++y)
      if (at(x, y) != kMarker) return false;
    return true;
  }
  void cast(float x, float y, float heading) {
    PlayerState p{0, x, y, heading};
    castWalls(p, maze, surface);
  }
  // A box of walls around cells x0..x1, y0..y1.
  static void box(int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x) {
      maze.cells[y0][x].wallLowY.present = 1;
      maze.cells[y1 + 1][x].wallLowY.present = 1;
    }
    for (int y = y0; y <= y1; ++y) {
      maze.cells[y][x0].wallLowX.present = 1;
      maze.cells[y][x1 + 1].wallLowX.present = 1;
    }
  }
};

// The centre column's ray is almost exactly along +x with this heading.
constexpr float kNearlyEast = 1e-6f;

TEST_F(WallsTest, WallRangeEndsAtFifteenAndAHalfUnits) {
  maze.cells[5][17].wallLowX.present = 1;
  cast(1.5f, 5.5f, kNearlyEast);  // 15.5 units: drawn, at the darkest level
  EXPECT_FLOAT_EQ(columnDepth[320], 15.5f);
  for (int y = 202; y <= 227; ++y) EXPECT_EQ(at(320, y), 0) << y;
  EXPECT_EQ(at(320, 201), kMarker);
  EXPECT_EQ(at(320, 228), kMarker);
  EXPECT_EQ(maze.cells[5][17].wallLowX.seen, 1);

  fill(kMarker);
  maze.cells[5][17].wallLowX.seen = 0;
  cast(1.49f, 5.5f, kNearlyEast);  // 15.51 units: not drawn, yet seen and recorded
  EXPECT_TRUE(columnUntouched(320));
  EXPECT_NEAR(columnDepth[320], 15.51f, 1e-5);
  EXPECT_EQ(maze.cells[5][17].wallLowX.seen, 1);
}

TEST_F(WallsTest, TexturedSliceIsMirroredAboutTheHorizonAndDarkensWithDistance) {
  box(1, 1, 20, 10);
  cast(2.5f, 5.5f, kNearlyEast);  // wall 18.5 away: beyond range
  EXPECT_TRUE(columnUntouched(320));
  fill(kMarker);
  cast(17.0f, 5.5f, kNearlyEast);  // 4 units: level 8, slice 107 rows
  const int yTop = 215 - 53, yBottom = 429 - yTop;
  EXPECT_EQ(at(320, yTop - 1), kMarker);
  EXPECT_EQ(at(320, yBottom + 1), kMarker);
  for (int k = 0; k <= 53; ++k) {
    EXPECT_EQ(at(320, yTop + k), at(320, yBottom - k)) << k;
    EXPECT_NE(at(320, yTop + k), kMarker);
  }
  // The slice's top edge shows texture row 0; the horizon row, written last
  // by the 54th pair, shows row trunc(53 x 480 / 107).
  EXPECT_EQ(at(320, yTop), shade(8, rowColour(0)));
  EXPECT_EQ(at(320, 214), shade(8, rowColour((53 * 480) / 107)));
}

TEST_F(WallsTest, WallNearerThanOneUnitStaysCentredOnTheHorizon) {
  maze.cells[5][2].wallLowX.present = 1;
  cast(1.7f, 5.5f, kNearlyEast);  // 0.3 units: level 0, slice far taller than the view
  // The top and bottom view rows show the same texel, the one 501 slice rows
  // into the picture; the horizon shows the end of its upper half, row 240.
  EXPECT_EQ(at(320, 0), at(320, 429));
  EXPECT_EQ(rowOf(at(320, 0)), 167);  // trunc(501 x 480 / 1433)
  EXPECT_NEAR(rowOf(at(320, 214)), 240, 1.5);
  EXPECT_EQ(at(320, 430), kMarker);  // the rows under the view are the HUD's
}

TEST_F(WallsTest, GridCornerGrazeTakesTheHorizontalCrossing) {
  // Column 320 runs at 45 degrees from (1.5, 1.5) through the corner (2, 2).
  maze.cells[2][2].wallLowY.present = 1;
  maze.cells[2][2].wallLowX.present = 1;
  // Every other column stops at these two before it reaches the corner.
  maze.cells[2][1].wallLowY.present = 1;
  maze.cells[1][2].wallLowX.present = 1;
  cast(1.5f, 1.5f, 0.785398185f);
  EXPECT_EQ(maze.cells[2][2].wallLowY.seen, 1);
  EXPECT_EQ(maze.cells[2][2].wallLowX.seen, 0);
  EXPECT_NEAR(columnDepth[320], 0.70710678f, 1e-6);
}

TEST_F(WallsTest, ColumnWhoseRayAngleIsExactlyZeroStaysUndrawn) {
  box(1, 1, 10, 10);
  pointObjects[0].visible = pointObjects[2].visible = 0;
  cast(5.5f, 5.5f, columnAngle[400]);
  EXPECT_TRUE(columnUntouched(400));
  EXPECT_EQ(columnDepth[400], -1.0f);
  EXPECT_FALSE(columnUntouched(399));
  EXPECT_FALSE(columnUntouched(401));
  EXPECT_EQ(pointObjects[0].visible, 1);
  EXPECT_EQ(pointObjects[2].visible, 1);
  EXPECT_EQ(surface->accessDepth, -1);  // every direct-access stretch was closed
}

TEST_F(WallsTest, HeldKeysChooseTheBrickPicture) {
  box(1, 1, 10, 10);
  for (int k = 0; k < 8; ++k)
    for (uint16_t& p : brickTextures[k].pixels) p = static_cast<uint16_t>(0x0421 * (k + 20) & 0x7FFF);
  heldKeys = 5;
  cast(9.0f, 5.5f, kNearlyEast);  // 2 units: level 4
  EXPECT_EQ(at(320, 214), shade(4, brickTextures[5].pixels[0]));
  EXPECT_NE(brickTextures[5].pixels[0], brickTextures[4].pixels[0]);
}

TEST_F(WallsTest, FlatWallsAreOneColourPerColumn) {
  box(1, 1, 10, 10);
  showTextures = 0;
  cast(9.0f, 5.5f, kNearlyEast);  // 2 units: level 4, 215 rows around the horizon
  const uint16_t flat = shade(4, 0x4946);
  EXPECT_EQ(flat, 0x38C2);
  for (int y = 107; y <= 321; ++y) EXPECT_EQ(at(320, y), flat) << y;
  EXPECT_EQ(at(320, 106), kMarker);
  EXPECT_EQ(at(320, 322), kMarker);

  fill(kMarker);
  cast(10.7f, 5.5f, kNearlyEast);  // 0.3 units: clamped to the view
  for (int y = 0; y <= 429; ++y) EXPECT_EQ(at(320, y), 0x4946) << y;
  EXPECT_EQ(at(320, 430), kMarker);
}

TEST_F(WallsTest, FloorPointsTraceTheGridAndMirrorOntoTheCeiling) {
  showFloorPoints = 1;
  maze.cells[5][12].wallLowX.present = 1;
  cast(1.5f, 5.5f, kNearlyEast);
  // Crossing x = 3 lies 1.5 units ahead: row 429 - trunc(215 - 143.3) = 358.
  EXPECT_EQ(at(320, 358), shade(1, 0x1CE7));
  EXPECT_EQ(at(320, 430 - 358), shade(1, 0x1CE7));
  // Crossing x = 2 lies under the view (0.5 units), so no point there.
  for (int y = 359; y <= 429; ++y) EXPECT_EQ(at(320, y), kMarker) << y;

  fill(kMarker);
  showSkyAndFloor = 0;
  cast(1.5f, 5.5f, kNearlyEast);
  EXPECT_EQ(at(320, 358), shade(1, 0x1CE7));
  EXPECT_EQ(at(320, 72), kMarker);
}

TEST_F(WallsTest, RayLeavingTheGridEndsWithoutDrawing) {
  cast(28.5f, 5.5f, kNearlyEast);  // an open floor: every ray runs off the grid
  for (int x = 0; x < 640; ++x) ASSERT_TRUE(columnUntouched(x)) << x;
  for (int i = 0; i < 640; ++i) ASSERT_EQ(columnDepth[i], -1.0f) << i;
  cast(-3.0f, 40.0f, 2.0f);  // a camera off the grid altogether
  for (int x = 0; x < 640; ++x) ASSERT_TRUE(columnUntouched(x)) << x;
}

// A surface smaller than the view, inside guard bytes: nothing may be written
// past its rows or its pitch, whatever the view rectangle says.
TEST_F(WallsTest, NoWriteLeavesTheSurface) {
  box(1, 1, 10, 10);
  showFloorPoints = 1;
  const int w = 200, h = 100, pitch = 2 * w + 64, guard = 4096;
  std::vector<uint8_t> memory(static_cast<size_t>(guard * 2 + pitch * h), 0xAB);
  Surface small = *surface;
  small.width = w;
  small.height = h;
  small.bytesPerLine = pitch;
  small.pixels = memory.data() + guard;
  small.size = small.clip = small.activeClip = {0, 0, w, h};
  makeCurrentSurface(&small);
  for (int flat = 0; flat < 2; ++flat) {
    showTextures = flat;
    cast(1.2f, 5.5f, 3.0f);  // a wall 0.2 units away: slices taller than the view
    cast(5.5f, 5.5f, 2.0f);
  }
  viewRect = {150, 50, 789, 479, 640, 430};  // hanging off the surface's corner
  cast(1.2f, 5.5f, 3.0f);
  makeCurrentSurface(surface);
  for (int i = 0; i < guard; ++i) ASSERT_EQ(memory[i], 0xAB) << i;
  for (int i = 0; i < guard; ++i) ASSERT_EQ(memory[guard + pitch * h + i], 0xAB) << i;
  for (int y = 0; y < h; ++y)
    for (int b = 2 * w; b < pitch; ++b) ASSERT_EQ(memory[guard + y * pitch + b], 0xAB) << y;
}

// The texture walk of one slice, pair by pair as the rule states it: the
// pixel that row y of the column must show, or kMarker outside the slice.
std::vector<uint16_t> expectedColumn(float dist, int top, int height) {
  const int bottom = top + height - 1;
  std::vector<uint16_t> column(static_cast<size_t>(bottom + 1), kMarker);
  const int level = static_cast<int>(2.0 * dist);
  const int slice = static_cast<int>(height / static_cast<double>(dist));
  const float step = static_cast<float>(480.0 / slice);
  int rows = slice, yTop = top + height / 2 - slice / 2;
  float texRow = 0.0f;
  if (slice > height) {
    rows = height;
    yTop = top;
    texRow = static_cast<float>((slice - height) / 2 * static_cast<double>(step));
  }
  const int yBottom = bottom + top - yTop;
  int row = static_cast<int>(texRow);
  float frac = texRow - static_cast<float>(row);
  for (int k = 0; k <= rows / 2; ++k) {
    const uint16_t c = shade(level, rowColour(row));
    frac += step;
    column[static_cast<size_t>(yTop + k)] = c;
    column[static_cast<size_t>(yBottom - k)] = c;
    while (frac >= 1.0f) {
      frac -= 1.0f;
      ++row;
    }
  }
  return column;
}

// Slices are planned and drawn in groups of columns; every column must still
// show exactly the rows of its own walk, near and far, in any view.
TEST_F(WallsTest, TexturedColumnsFollowTheTexelWalk) {
  box(1, 1, 12, 9);
  maze.cells[4][5].wallLowX.present = maze.cells[6][7].wallLowY.present = 1;
  for (const int h : {430, 201}) {
    const int w = h == 430 ? 640 : 333;
    viewRect = {0, 5, w - 1, 5 + h - 1, w, h};
    buildColumnTables(w);
    for (int n = 0; n < 24; ++n) {
      fill(kMarker);
      for (float& d : columnDepth) d = -1.0f;
      // Some cameras hug a wall so that slices outgrow the view.
      const float x = n % 3 == 0 ? 1.16f : 1.5f + static_cast<float>((n * 37) % 110) / 10.0f;
      const float y = 1.3f + static_cast<float>((n * 53) % 76) / 10.0f;
      cast(x, y, 0.27f * static_cast<float>(n));
      int drawn = 0;
      for (int i = 0; i < w; ++i) {
        if (columnDepth[i] < 0.0f || 2.0 * columnDepth[i] > 31.0) continue;
        ++drawn;
        const std::vector<uint16_t> want = expectedColumn(columnDepth[i], 5, h);
        for (int yy = 0; yy < static_cast<int>(want.size()); ++yy)
          ASSERT_EQ(at(i, yy), want[static_cast<size_t>(yy)])
              << "pose " << n << " column " << i << " row " << yy;
      }
      EXPECT_GT(drawn, w / 2) << n;
    }
  }
}

// Pictures whose texels differ in every column, with bit 15 set on some:
// the gathered pass picks each texel from its pair as the plain one does.
TEST_F(WallsTest, GatheredAndPlainPassesDrawAlike) {
  for (int i = 0; i < 640 * 480; ++i)
    brickTextures[0].pixels[i] = static_cast<uint16_t>(i * 2654435761u >> 13);
  box(1, 1, 12, 9);
  for (int n = 0; n < 12; ++n)
    expectGatheredAsPlain(surface, kMarker, [&] { cast(n % 3 ? 1.17f : 5.5f, 1.3f + 0.6f * n, 0.53f * n); });
}

TEST_F(WallsTest, TinyViewsDrawOnlyInsideThemselves) {
  box(1, 1, 25, 10);
  for (int h = 1; h <= 16; ++h) {
    fill(kMarker);
    viewRect = {10, 20, 19, 20 + h - 1, 10, h};
    buildColumnTables(10);
    cast(1.5f, 5.5f, 0.1f);  // walls up to 23 units away: slices 0 or 1 rows tall
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        if (y < 20 || y >= 20 + h || x < 10 || x > 19) {
          ASSERT_EQ(at(x, y), kMarker) << h << ' ' << x << ',' << y;
        }
      }
  }
}

}  // namespace
