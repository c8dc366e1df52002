// The dialog font of the SDL port: DejaVu Sans through SDL2_ttf, with the
// built-in pixel font standing in when the library or the font file is
// missing. Same contracts as DisplayDriver::textMetrics and renderText.
#pragma once
#include <cstdint>

#include "platform/display.h"

int ttfTextMetrics(int pixelSize, int bold, TextMetrics* out);
int ttfRenderText(const char* utf8, int pixelSize, int bold, uint8_t* coverage, int pitch, int maxWidth,
                  int maxHeight);
// Closes the fonts opened so far (the next call opens them again).
void ttfCloseFonts();
