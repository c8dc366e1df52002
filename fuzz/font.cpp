// Fuzzes the font loader and the glyph walk: any bytes that load as a font
// are drawn, every code 1..255, at a few scales, justifications and directions.
#include <cstddef>
#include <cstdint>

#include "framework/font.h"
#include "framework/surface.h"

namespace {

// Every code from 1 to 255 once, then the terminating 0.
struct AllCodes {
  char text[256];
  AllCodes() {
    for (int i = 1; i < 256; ++i) text[i - 1] = static_cast<char>(i);
    text[255] = 0;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Surface* surface = createSurface(64, 48);
  static const AllCodes codes;
  makeCurrentSurface(surface);

  FontRecord* font = loadFontFromMemory(data, static_cast<long>(size));
  getError();
  if (!font) return 0;
  if (setFont(font) == 1) {
    setTextSize(1, 1, 1, 1);
    setTextJustify(0, 0);
    drawText(0, 0, codes.text);
    setTextSize(800, 640, 550, 480);
    setTextJustify(1, 1);
    drawText(32, 24, codes.text);
    setTextDirection(1);
    setTextJustify(2, 2);
    drawText(-10, 60, codes.text);
    setTextDirection(3);
    setCharSpacing(-3);
    drawText(70, -5, codes.text);
    setCharSpacing(0);
    textWidth(codes.text);
  }
  freeFont(font);
  return 0;
}
