// The desktop icons: the white guard painted at each size a desktop's icon
// theme asks for, written as PNGs with an alpha channel.
#pragma once
#include <string>

// Pixels a side; the sizes of the hicolor theme's application icons.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// Writes DIR/NxN/apps/NAME.png for every size; false (with a message on
// standard error) when one of them cannot be written.
bool writeIcons(const std::string& dir, const char* name);
