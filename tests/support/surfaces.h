// Helpers for tests that draw into a surface of their own.
#pragma once
#include <cstdint>

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
