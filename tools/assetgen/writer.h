// Turns a painted canvas into the game's raw picture format: x1R5G5B5 words,
// big-endian, no header, rows in the order the game's loader and renderer expect.
// Optionally also writes a PPM of every picture as a person sees it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/raster.h"

// How the stored rows relate to the upright canvas (row 0 at the top).
enum class Layout {
  TopDown,   // stored row 0 is the top row
  BottomUp,  // stored row 0 is the bottom row
  Turned,    // the whole picture turned by 180 degrees (pixel order reversed)
};

// Whether coverage below one half becomes the transparent value 0.
enum class Cutout { Opaque, Transparent };

// Packs one colour with a 4x4 ordered dither at (x, y). Never returns 0 (a black
// pixel becomes 0x0421, a very dark grey) and never sets bit 15.
uint16_t packColour(Rgb c, int x, int y);
// The canvas as stored words, in file order.
std::vector<uint16_t> storedWords(const Canvas& upright, Layout layout, Cutout cutout);

void setOutputFolders(const std::string& dir, const std::string& previewDir);
// Writes <dir>/<name>.16B (and <previewDir>/<name>.ppm when previews are on).
// Reports a failure on standard error; anyWriteFailed() remembers it.
void savePicture(const char* name, const Canvas& upright, Layout layout, Cutout cutout);
bool anyWriteFailed();
