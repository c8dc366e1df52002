// The game window's icon: the white guard as the desktop's icons show it,
// painted by the picture generator when the game is built
// (quillmoor-assetgen --icon-source), so the game carries it wherever it runs.
#pragma once
#include <cstdint>

extern const int kWindowIconSize;     // pixels a side
extern const uint32_t kWindowIcon[];  // kWindowIconSize squared ARGB words, rows from the top
