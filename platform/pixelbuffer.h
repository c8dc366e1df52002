// The platform's picture record: a block of x1R5G5B5 pixels in memory, what
// the back ends present and the headless port keeps. The framework's drawing
// surface is this record with its drawing state added, so it is shown as is.
#pragma once
#include <cstdint>

// left, top inclusive; right, bottom exclusive.
struct Rect {
  int left, top, right, bottom;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct PixelBuffer {
  int width, height;
  int bytesPerLine;  // never a power of two: column walks would thrash the cache
  uint8_t* pixels;   // pixel (x, y) is the uint16 at pixels + y * bytesPerLine + 2 * x; bit 15 unused
};

inline uint16_t* pixelRow(const PixelBuffer* b, int y) {
  return reinterpret_cast<uint16_t*>(b->pixels + static_cast<long>(y) * b->bytesPerLine);
}
