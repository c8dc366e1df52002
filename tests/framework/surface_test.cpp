// Drawing operations on a system-memory surface: clipping, lines, clearing, errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/surface.h"

namespace {

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s = createSurface(32, 16);
    ASSERT_NE(s, nullptr);
    makeCurrentSurface(s);
    getError();
  }
  void TearDown() override { destroySurface(s); }
  uint16_t at(int x, int y) const { return pixelRow(s, y)[x]; }
  int countSet() const {
    int n = 0;
    for (int y = 0; y < s->height; ++y)
      for (int x = 0; x < s->width; ++x) n += at(x, y) != 0;
    return n;
  }
  // Padding bytes after each row must never be written.
  bool paddingUntouched() const {
    for (int y = 0; y < s->height; ++y) {
      const uint8_t* row = s->pixels + y * s->bytesPerLine;
      for (int b = 2 * s->width; b < s->bytesPerLine; ++b)
        if (row[b] != 0) return false;
    }
    return true;
  }
  Surface* s = nullptr;
};

TEST_F(SurfaceTest, NewSurfaceHasPaddedPitchAndInclusiveMaxima) {
  EXPECT_GE(s->bytesPerLine, 2 * s->width);
  for (int w = 1; w <= 2048; ++w) {
    const int bpl = paddedBytesPerLine(w);
    ASSERT_GE(bpl, 2 * w);
    ASSERT_NE(bpl & (bpl - 1), 0) << "width " << w << ": a power-of-two pitch";
  }
  EXPECT_EQ(getMaxX(s), 31);
  EXPECT_EQ(getMaxY(s), 15);
  Surface* big = createSurface(640, 480);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(getMaxX(big), 639);
  EXPECT_EQ(getMaxY(big), 479);
  destroySurface(big);
}

TEST_F(SurfaceTest, PutPixelOutsideTheClipChangesNothing) {
  setColor(0x7FFF);
  putPixel(getMaxX(s) + 1, 0);
  putPixel(-1, 0);
  putPixel(0, -1);
  putPixel(0, getMaxY(s) + 1);
  EXPECT_EQ(countSet(), 0);
  EXPECT_TRUE(paddingUntouched());
  putPixel(getMaxX(s), getMaxY(s));
  EXPECT_EQ(at(31, 15), 0x7FFF);
  EXPECT_EQ(countSet(), 1);
}

TEST_F(SurfaceTest, LineDrawnEitherWayGivesTheSamePixels) {
  setColor(0x7FE0);
  drawLine(10, 5, 3, 5);
  EXPECT_EQ(countSet(), 8);
  for (int x = 3; x <= 10; ++x) EXPECT_EQ(at(x, 5), 0x7FE0) << x;
  std::vector<uint8_t> first(s->pixels, s->pixels + s->bytesPerLine * s->height);

  clearSurface();
  drawLine(3, 5, 10, 5);
  EXPECT_EQ(0, std::memcmp(first.data(), s->pixels, first.size()));

  // Sloped lines, both directions, both end points drawn.
  const int lines[][4] = {{2, 1, 20, 9}, {5, 14, 9, 0}};
  for (const auto& l : lines) {
    clearSurface();
    drawLine(l[0], l[1], l[2], l[3]);
    std::vector<uint8_t> forward(s->pixels, s->pixels + s->bytesPerLine * s->height);
    clearSurface();
    drawLine(l[2], l[3], l[0], l[1]);
    EXPECT_EQ(0, std::memcmp(forward.data(), s->pixels, forward.size()));
    EXPECT_NE(at(l[0], l[1]), 0);
    EXPECT_NE(at(l[2], l[3]), 0);
    const int longer = std::max(std::abs(l[2] - l[0]), std::abs(l[3] - l[1]));
    EXPECT_EQ(countSet(), longer + 1);
  }
}

TEST_F(SurfaceTest, OnePixelLineAndClippedLines) {
  setColor(0x01E0);
  drawLine(4, 4, 4, 4);
  EXPECT_EQ(countSet(), 1);
  EXPECT_EQ(at(4, 4), 0x01E0);

  // Lines running far outside keep only their inside part and never touch padding.
  clearSurface();
  drawLine(-100, 3, 100, 3);
  EXPECT_EQ(countSet(), 32);
  drawLine(-50, -50, 80, 80);
  drawLine(31, -1000, 31, 1000);
  drawLine(-5, 20, 40, 20);  // wholly below
  EXPECT_TRUE(paddingUntouched());
  EXPECT_NE(at(0, 0), 0);
  EXPECT_NE(at(15, 15), 0);
  EXPECT_NE(at(31, 0), 0);
}

TEST_F(SurfaceTest, ClearKeepsTheColourAndSetClipModeRestoresTheWholeSurface) {
  setColor(0x7FFF);
  drawLine(0, 0, 31, 15);
  clearSurface();
  EXPECT_EQ(countSet(), 0);
  EXPECT_EQ(s->colour, 0x7FFFu);

  s->clip = {4, 4, 8, 8};
  setClipMode(1);
  putPixel(2, 2);
  putPixel(5, 5);
  EXPECT_EQ(countSet(), 1);
  setClipMode(0);  // the whole surface, the stored rectangle stays
  putPixel(2, 2);
  EXPECT_EQ(countSet(), 2);
  EXPECT_EQ(s->clip.left, 4);
}

// A row of pixels lands where putPixel would put each of them, under a clip
// rectangle and a viewport origin, whichever ends stick out.
TEST_F(SurfaceTest, PixelRowClipsAsPutPixelDoes) {
  uint16_t row[40];
  for (int i = 0; i < 40; ++i) row[i] = static_cast<uint16_t>(0x100 + i);
  Surface* plain = createSurface(32, 16);
  s->clip = plain->clip = {3, 2, 20, 12};
  for (Surface* t : {s, plain}) {
    makeCurrentSurface(t);
    setClipMode(1);
    t->originX = -5;
    t->originY = 1;
  }
  for (const int x : {-30, -4, 0, 6, 15, 25}) {
    for (const int y : {-2, 1, 2, 5, 11, 12, 15}) {
      makeCurrentSurface(s);
      putPixelRow(x, y, row, 40);
      makeCurrentSurface(plain);
      for (int i = 0; i < 40; ++i) {
        setColor(row[i]);
        putPixel(x + i, y);
      }
    }
  }
  EXPECT_GT(countSet(), 0);
  EXPECT_EQ(std::memcmp(s->pixels, plain->pixels, static_cast<size_t>(s->bytesPerLine) * s->height), 0);
  destroySurface(plain);
  makeCurrentSurface(s);
}

TEST(SurfaceErrors, MessagesAndReset) {
  EXPECT_STREQ(errorMessage(-14), "Couldn't find font file");
  EXPECT_STREQ(errorMessage(0), "No error");
  EXPECT_STREQ(errorMessage(-31), "Invalid pixel format for memory DC");
  EXPECT_STREQ(errorMessage(5), "NONE");
  EXPECT_STREQ(errorMessage(-40), "NONE");
  EXPECT_STREQ(errorMessage(-32), "NONE");

  getError();
  EXPECT_EQ(createSurface(0, 10), nullptr);
  EXPECT_EQ(getError(), -10);
  EXPECT_EQ(getError(), 0);
}

TEST(SurfaceErrors, DrawingWithoutASurfaceDoesNothing) {
  makeCurrentSurface(nullptr);
  setColor(1);
  putPixel(0, 0);
  drawLine(0, 0, 5, 5);
  clearSurface();
  setClipMode(1);
  EXPECT_EQ(getMaxX(nullptr), -1);
}

}  // namespace
