// The desktop icons: the white guard painted at each size a desktop's icon
// theme asks for, written as PNGs with an alpha channel.
#pragma once
#include <string>

// Pixels a side; the sizes of the hicolor theme's application icons.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// Writes DIR/NxN/apps/NAME.png for every size; false (with a message on
// standard error) when one of them cannot be written.
bool writeIcons(const std::string& dir, const char* name);
// Writes the icon at `size` pixels as C++ source for the game's window
// (game/windowicon.h: kWindowIconSize, kWindowIcon as ARGB words, rows from
// the top), so the game carries it built in. False, with a message, when the
// file cannot be written or the size is not one of kIconSizes.
bool writeIconSource(const std::string& path, int size);
