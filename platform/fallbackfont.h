// A small built-in pixel font (5x7 glyphs of printable ASCII) for the dialog
// text where no font file is at hand: the headless port always uses it, so
// tests get the same metrics on every machine; the SDL port falls back to it.
#pragma once
#include <cstdint>

#include "platform/display.h"

// Metrics at an em size of pixelSize: glyphs are drawn at an integer scale
// s = max(1, pixelSize / 11); a line is 13 s high with the baseline 10 s
// down, every character advances 6 s. Returns 0 for a pixelSize below 1.
int fallbackTextMetrics(int pixelSize, int bold, TextMetrics* out);
// As DisplayDriver::renderText. Bytes outside printable ASCII (the parts of
// a UTF-8 sequence included) each draw as one empty cell.
int fallbackRenderText(const char* utf8, int pixelSize, int bold, uint8_t* coverage, int pitch, int maxWidth,
                       int maxHeight);
