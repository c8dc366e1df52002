// Helpers for tests that draw into a surface of their own.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/surface.h"
#include "render/camera.h"

// The shade table, built once per test program.
inline void ensureShadeTable() {
  static bool built = false;
  if (!built) buildShadeTable();
  built = true;
}

// Every pixel of the surface set to c (a colour no drawing of the test uses).
inline void fillSurface(Surface* s, uint16_t c) {
  for (int y = 0; y < s->height; ++y)
    for (int x = 0; x < s->width; ++x) pixelRow(s, y)[x] = c;
}

// Runs draw on s filled with c, once with the gathering wall and sprite
// passes (where the processor has them) and once with the plain ones, and
// expects the same pixels from both.
template <typename Draw>
void expectGatheredAsPlain(Surface* s, uint16_t c, Draw draw) {
  const bool gather = gatherTexels;
  std::vector<uint16_t> pictures[2];
  for (int plain = 0; plain < 2; ++plain) {
    gatherTexels = gather && !plain;
    fillSurface(s, c);
    draw();
    for (int y = 0; y < s->height; ++y)
      pictures[plain].insert(pictures[plain].end(), pixelRow(s, y), pixelRow(s, y) + s->width);
  }
  gatherTexels = gather;
  EXPECT_TRUE(pictures[0] == pictures[1]);
}

// A 640 x 480 surface of the test's own, current and filled with the
// fixture's background colour, the standard 640 x 430 view and the shade table.
class RenderSurfaceTest : public ::testing::Test {
 protected:
  explicit RenderSurfaceTest(uint16_t background) : background(background) {}
  void SetUp() override {
    ensureShadeTable();
    surface = createSurface(640, 480);
    ASSERT_NE(surface, nullptr);
    makeCurrentSurface(surface);
    fill();
    setView(640, 430);
  }
  void TearDown() override {
    makeCurrentSurface(nullptr);
    destroySurface(surface);
  }
  static void setView(int w, int h) {
    viewRect = {0, 0, w - 1, h - 1, w, h};
    buildColumnTables(w);
  }
  void fill(uint16_t c) { fillSurface(surface, c); }
  void fill() { fill(background); }
  uint16_t at(int x, int y) const { return pixelRow(surface, y)[x]; }

  Surface* surface = nullptr;
  const uint16_t background;
};
