// Column tables, projection and the shade table.
#include <gtest/gtest.h>

#include "render/camera.h"
#include "world/gamestate.h"

namespace {

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool built = false;
    if (!built) buildShadeTable();
    built = true;
    viewRect = {0, 0, 639, 429, 640, 430};
    buildColumnTables(640);
  }
};

TEST_F(CameraTest, ColumnAnglesSpanAtanOfPlusMinusAHalf) {
  EXPECT_FLOAT_EQ(columnAngle[0], -0.4636476f);
  EXPECT_EQ(columnAngle[320], 0.0f);
  EXPECT_FLOAT_EQ(columnAngle[639], 0.4623968f);
  EXPECT_EQ(columnCos[320], 1.0f);
  EXPECT_FLOAT_EQ(columnCos[0], 0.8944272f);  // cos(atan(1/2)) = 2 / sqrt(5)
  for (int i = 1; i < 640; ++i) ASSERT_LT(columnAngle[i - 1], columnAngle[i]) << i;
}

TEST_F(CameraTest, OddWidthCentresOnTheTruncatedHalf) {
  buildColumnTables(639);
  EXPECT_EQ(columnAngle[319], 0.0f);
  for (int i = 0; i < 319; ++i) ASSERT_EQ(columnAngle[i], -columnAngle[638 - i]) << i;
}

TEST_F(CameraTest, WidthOutsideTheTablesIsHandled) {
  buildColumnTables(0);  // leaves the 640 tables alone
  EXPECT_FLOAT_EQ(columnAngle[0], -0.4636476f);
  buildColumnTables(-5);
  EXPECT_FLOAT_EQ(columnAngle[0], -0.4636476f);
  buildColumnTables(kMaxViewWidth);
  EXPECT_FLOAT_EQ(columnAngle[0], -0.4636476f);
  EXPECT_EQ(columnAngle[kMaxViewWidth / 2], 0.0f);
  buildColumnTables(kMaxViewWidth * 4);  // clipped to the tables, no write past them
  EXPECT_GT(columnAngle[kMaxViewWidth - 1], 0.0f);
}

TEST_F(CameraTest, ShadeTableReducesEachChannel) {
  EXPECT_EQ(shade(4, 0x4946), 0x38C2);  // 18, 10, 6 become 14, 6, 2
  EXPECT_EQ(shade(1, 0x1CE7), 0x18C6);
  for (int c = 0; c < 32768; ++c) {
    ASSERT_EQ(shade(0, static_cast<uint16_t>(c)), c) << c;
    ASSERT_EQ(shade(31, static_cast<uint16_t>(c)), 0) << c;
  }
  EXPECT_EQ(shade(5, 0x0421 * 5), 0);            // channels at the level floor at 0
  EXPECT_EQ(shade(0, 0x8000 | 0x1234), 0x1234);  // bit 15 never indexes past the table
}

TEST_F(CameraTest, ProjectionPlacesPointsOnTheView) {
  const PlayerState cam{0, 2.0f, 3.0f, 0.0f};
  Projection ahead = projectPoint(6.0f, 3.0f, 0.25f, cam);
  EXPECT_FLOAT_EQ(ahead.depth, 4.0f);
  EXPECT_FLOAT_EQ(ahead.screenX, 320.0f);
  // A wall top 2 units ahead sits height / (2 x 2) above the horizon row 214.
  Projection top = projectPoint(4.0f, 3.0f, 0.5f, cam);
  EXPECT_FLOAT_EQ(top.screenY, 429.0f - (107.5f + 215.0f));
  for (float d : {0.5f, 3.0f, 20.0f})
    EXPECT_FLOAT_EQ(projectPoint(2.0f + d, 3.7f, 0.0f, cam).screenY, 214.0f) << d;
  // Larger headings turn the view left: a point to the camera's left lands
  // left of the centre, by width / depth pixels per unit.
  Projection left = projectPoint(4.0f, 4.0f, 0.0f, cam);
  EXPECT_FLOAT_EQ(left.screenX, 320.0f - 320.0f);
  Projection behind = projectPoint(0.0f, 3.0f, 0.0f, cam);
  EXPECT_LT(behind.depth, 0.0f);
  // The same point seen after a quarter turn left lies straight ahead.
  const PlayerState turned{0, 2.0f, 3.0f, 1.5707963f};
  EXPECT_NEAR(projectPoint(2.0f, 7.0f, 0.0f, turned).screenX, 320.0f, 1e-3);
  EXPECT_NEAR(projectPoint(2.0f, 7.0f, 0.0f, turned).depth, 4.0f, 1e-5);
}

}  // namespace
