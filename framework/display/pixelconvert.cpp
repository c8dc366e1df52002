// Colour conversion and letterboxing for presenting the back buffer.
#include "framework/display/pixelconvert.h"

void buildColourLut(uint32_t* lut) {
  for (uint32_t v = 0; v < kColourLutSize; ++v) {
    const uint32_t r5 = (v >> 10) & 0x1F, g5 = (v >> 5) & 0x1F, b5 = v & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2), g = (g5 << 3) | (g5 >> 2), b = (b5 << 3) | (b5 >> 2);
    lut[v] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
}

void buildVgaColourLut(uint32_t* lut) {
  for (uint32_t v = 0; v < kColourLutSize; ++v) {
    const uint32_t r3 = ((v >> 10) & 0x1F) >> 2, g3 = ((v >> 5) & 0x1F) >> 2, b2 = (v & 0x1F) >> 3;
    const uint32_t r = r3 * 255 / 7, g = g3 * 255 / 7, b = b2 * 255 / 3;
    lut[v] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
}

void convertToArgb(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch,
                   const uint32_t* lut) {
  for (int y = 0; y < height; ++y) {
    const uint16_t* in = reinterpret_cast<const uint16_t*>(src + static_cast<long>(y) * srcPitch);
    uint32_t* out = reinterpret_cast<uint32_t*>(dst + static_cast<long>(y) * dstPitch);
    for (int x = 0; x < width; ++x) out[x] = lut[in[x] & 0x7FFF];
  }
}

Rect letterboxRect(int srcWidth, int srcHeight, int outWidth, int outHeight) {
  if (srcWidth <= 0 || srcHeight <= 0 || outWidth <= 0 || outHeight <= 0) return {0, 0, 0, 0};
  long long w, h;
  // Compare the proportions in integers so equal shapes fill exactly.
  if (static_cast<long long>(outWidth) * srcHeight <= static_cast<long long>(outHeight) * srcWidth) {
    w = outWidth;
    h = static_cast<long long>(outWidth) * srcHeight / srcWidth;
  } else {
    h = outHeight;
    w = static_cast<long long>(outHeight) * srcWidth / srcHeight;
  }
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  const int left = static_cast<int>((outWidth - w) / 2);
  const int top = static_cast<int>((outHeight - h) / 2);
  return {left, top, left + static_cast<int>(w), top + static_cast<int>(h)};
}
