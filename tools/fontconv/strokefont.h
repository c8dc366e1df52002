// Turns Hershey glyphs into the game's stroke-font file: flips y so that it
// grows upward, puts capitals on the baseline, scales to font units and packs
// each glyph into 16-bit stroke words with the metrics that bound them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/fontconv/hershey.h"

// The Hershey row that becomes the baseline: capitals stand on it.
constexpr int kHersheyBaseline = 9;
// Hershey units to font units. At 1:1 capitals are 21 units tall, which the
// game's 640 x 480 text scale (430/480 vertically) turns into 18 pixels.
constexpr int kScaleNum = 1;
constexpr int kScaleDen = 1;
// The first character code that the first Hershey record stands for.
constexpr int kFirstCode = 32;

// Builds the file bytes for glyphs that stand for codes kFirstCode upward.
// Returns false with a message when a glyph does not fit the format.
bool buildStrokeFont(const std::vector<HersheyGlyph>& glyphs, const std::string& name,
                     std::vector<uint8_t>& out, std::string& error);
