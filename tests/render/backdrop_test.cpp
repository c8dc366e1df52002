// Sky and floor bands and the star field.
#include <gtest/gtest.h>

#include "support/surfaces.h"

#include <cmath>

#include "framework/surface.h"
#include "render/backdrop.h"
#include "render/camera.h"
#include "world/gamestate.h"
#include "world/image16.h"

namespace {

constexpr uint16_t kMarker = 0x1234;
constexpr uint16_t kYellow = 0x7FE0;

class BackdropTest : public RenderSurfaceTest {
 protected:
  BackdropTest() : RenderSurfaceTest(kMarker) {}
  void SetUp() override {
    RenderSurfaceTest::SetUp();
    resetGameState();
    // The sky holds its row number, the floor its column number (plus one).
    for (int r = 0; r < 384; ++r)
      for (int c = 0; c < 1024; ++c) {
        skyPicture.pixels[r * 1024 + c] = static_cast<uint16_t>(r + 1);
        floorPicture.pixels[r * 1024 + c] = static_cast<uint16_t>(c + 1);
      }
  }
  int countColour(uint16_t c, int y0, int y1) const {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = 0; x < surface->width; ++x) n += at(x, y) == c;
    return n;
  }
};

TEST_F(BackdropTest, BandsStretchThePicturesAndLeaveAStripAtTheHorizon) {
  buildBackdrop();
  drawBackdrop(surface);
  EXPECT_EQ(surface->accessDepth, -1);
  for (int i = 0; i < 194; ++i) {
    ASSERT_EQ(at(5, i), (i * 384) / 215 + 1) << i;       // sky from the top down
    ASSERT_EQ(at(5, 429 - i), 5 * 1024 / 640 + 1) << i;  // floor from the bottom up
  }
  for (int x : {0, 1, 2, 3, 319, 639}) EXPECT_EQ(at(x, 429), (x * 1024) / 640 + 1) << x;
  for (int y = 194; y <= 235; ++y) ASSERT_EQ(at(100, y), kMarker) << y;
  for (int y = 430; y < 480; ++y) ASSERT_EQ(at(100, y), kMarker) << y;
}

TEST_F(BackdropTest, BandsFollowTheViewTheyWereBuiltFor) {
  buildBackdrop();  // for 640 x 430
  // A smaller view (as after the stereo frame) copies fewer rows of the same bands.
  setView(640, 384);
  drawBackdrop(surface);
  EXPECT_EQ(at(7, 172), (172 * 384) / 215 + 1);
  EXPECT_EQ(at(7, 173), kMarker);
  EXPECT_EQ(at(7, 383), 7 * 1024 / 640 + 1);
  EXPECT_EQ(at(7, 384), kMarker);

  // A view larger than the bands copies only what the bands hold.
  fill(kMarker);
  setView(320, 200);
  buildBackdrop();
  setView(640, 430);
  drawBackdrop(surface);
  EXPECT_EQ(at(319, 0), 1);
  EXPECT_EQ(at(320, 0), kMarker);
  EXPECT_EQ(at(0, 99), (99 * 384) / 100 + 1);
  EXPECT_EQ(at(0, 100), kMarker);

  // Rebuilt for the view in force, the bands match it again.
  buildBackdrop();
  drawBackdrop(surface);
  EXPECT_EQ(at(639, 0), 1);
  EXPECT_EQ(at(639, 429), 639 * 1024 / 640 + 1);
}

TEST_F(BackdropTest, LargestViewFitsAndEmptyViewsDoNothing) {
  Surface* big = createSurface(1600, 1200);
  makeCurrentSurface(big);
  setView(1600, 1150);
  buildBackdrop();
  drawBackdrop(big);
  EXPECT_EQ(pixelRow(big, 0)[1599], 1);
  EXPECT_EQ(pixelRow(big, 1149)[1599], 1599 * 1024 / 1600 + 1);
  EXPECT_EQ(pixelRow(big, 1150)[0], 0);
  makeCurrentSurface(surface);
  destroySurface(big);

  setView(640, 1);  // halfHeight 0: nothing to build or draw
  buildBackdrop();
  drawBackdrop(surface);
  EXPECT_EQ(countColour(kMarker, 0, 479), 640 * 480);
}

TEST_F(BackdropTest, StarsGrowNearTheCamera) {
  // The star at (0.5, 0.5) straight ahead, 3 units deep: a five-pixel plus
  // at (320, trunc(429 - (215 / 3 + 215))).
  drawStars(PlayerState{0, -2.5f, 0.5f, 0.0f}, surface);
  EXPECT_EQ(at(320, 142), kYellow);
  for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, 1}, {0, -1}})
    EXPECT_EQ(at(320 + dx, 142 + dy), kYellow);
  for (auto [dx, dy] : {std::pair{1, 1}, {-1, -1}, {2, 0}, {-2, 0}})
    EXPECT_EQ(at(320 + dx, 142 + dy), kMarker);

  // 1.5 units deep: the eleven-pixel diamond at row 70.
  fill(kMarker);
  drawStars(PlayerState{0, -1.0f, 0.5f, 0.0f}, surface);
  int lit = 0;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -3; dx <= 3; ++dx) lit += at(320 + dx, 70 + dy) == kYellow;
  EXPECT_EQ(lit, 11);
  for (auto [dx, dy] : {std::pair{2, 0}, {-2, 0}, {1, 1}, {-1, -1}, {0, 1}})
    EXPECT_EQ(at(320 + dx, 70 + dy), kYellow);
  EXPECT_EQ(at(320, 72), kMarker);
}

TEST_F(BackdropTest, StarsBehindTheCameraAreNeverDrawn) {
  // Stars in front lie above the horizon (they are at wall-top height); a
  // star behind would project below it, here right into the view's middle.
  for (float heading : {0.0f, 0.7f, 1.5707963f, 3.1415927f, 4.5f, 6.2f}) {
    fill(kMarker);
    drawStars(PlayerState{0, 20.2f, 10.3f, heading}, surface);
    EXPECT_EQ(countColour(kYellow, 215, 479), 0) << heading;
    EXPECT_GT(countColour(kYellow, 0, 214), 0) << heading;
  }
}

// The star field uses projectPoint's arithmetic with the heading's sine and
// cosine hoisted out of the loop; its stars must sit on exactly the same
// pixels, and nothing may be lit away from them.
TEST_F(BackdropTest, StarsMatchProjectPoint) {
  for (const PlayerState& p : {kStartPose, PlayerState{0, 7.1f, 9.9f, 2.2f},
                               PlayerState{0, 19.0f, 4.2f, 5.9f}, PlayerState{0, 30.5f, 10.0f, 3.3f}}) {
    fill(kMarker);
    drawStars(p, surface);
    Surface* expected = createSurface(640, 480);
    makeCurrentSurface(expected);
    setColor(kYellow);
    for (int gx = 0; gx < 40; gx += 2)
      for (int gy = 0; gy < 20; ++gy) {
        const Projection q = projectPoint(static_cast<float>(gx + gy % 2) + 0.5f, gy + 0.5f, 0.5f, p);
        const int x = static_cast<int>(q.screenX), y = static_cast<int>(q.screenY);
        if (q.depth > 0 && x >= 0 && x <= 639 && y >= 0 && y <= 429) putPixel(x, y);
      }
    makeCurrentSurface(surface);
    auto nearStar = [&](int x, int y) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
          const int ex = x + dx, ey = y + dy;
          if (ex >= 0 && ex < 640 && ey >= 0 && ey < 480 && pixelRow(expected, ey)[ex] == kYellow)
            return true;
        }
      return false;
    };
    int stars = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        if (pixelRow(expected, y)[x] == kYellow) {
          ++stars;
          ASSERT_EQ(at(x, y), kYellow) << x << ',' << y;
        }
        if (at(x, y) == kYellow) {
          ASSERT_TRUE(nearStar(x, y)) << x << ',' << y;
        }
      }
    EXPECT_GT(stars, 0);
    destroySurface(expected);
  }
}

}  // namespace
