// PNG output of x1R5G5B5 pictures, through libpng: the picture converter's
// export and the game's screenshots share it.
#pragma once
#include <cstdint>

// Writes w x h pixels, row r starting at pixels + r * pitch (in pixels).
// zeroIsTransparent: value 0 becomes a transparent pixel (sprites), else black.
// Returns false and fills `error` (at least 128 bytes) when the file cannot be written.
bool writePng555(const char* path, const uint16_t* pixels, int w, int h, int pitch, bool zeroIsTransparent,
                 char* error);

// Widens a 5-bit channel to 8 bits so that narrowing (>> 3) gives it back.
inline uint8_t expand5(int v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
