// The stroke font: loading a font file, making it current, scaling and drawing
// text as line segments in the current colour.
#pragma once
#include <cstdint>

struct FontRecord;  // the name (58 bytes) followed by the file's bytes from offset 256 on

// Looks for the file in the working directory, then FONTS/, then FONTS/ under
// $TESK_ROOT. Returns nullptr and sets the error code (-14, -5, -13, -26) on failure.
FontRecord* loadFont(const char* name);
// The same checks on a file image already in memory (fuzzing, tests). Error
// codes as loadFont, without -14.
FontRecord* loadFontFromMemory(const void* bytes, long size);
void freeFont(FontRecord* font);
// A number no other font loaded in this run shares, even one that takes the
// freed memory of this one (0 for nullptr): what a cache of drawn text keys on.
unsigned fontSerial(const FontRecord* font);
// Makes the font current (direction left to right). nullptr: returns 1, changes nothing.
int setFont(FontRecord* font);
void setTextSize(int numerX, int denomX, int numerY, int denomY);
void setTextJustify(int horizontal, int vertical);
void setTextDirection(int direction);
void setCharSpacing(int pixels);
// Draws text at (x, y) relative to the viewport; nothing without a current font.
void drawText(int x, int y, const char* text);
// Width in pixels of the text with the current font and scale (0 without a font).
int textWidth(const char* text);
// Pixels from the top of a line of text to its baseline, with the current font
// and scale (0 without a font): what capitals and figures need.
int textAscent();
