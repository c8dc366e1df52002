// Reads Hershey vector glyphs in the .jhf text layout: per glyph a 5-character
// id, a 3-character pair count, the left/right bounds pair, then coordinate
// pairs (character - 'R'), " R" lifting the pen. Records may wrap over lines.
#pragma once
#include <string>
#include <vector>

struct HersheyPoint {
  int x, y;   // Hershey units, y growing downward
  bool move;  // true: pen lifted before this point
};

struct HersheyGlyph {
  int id;
  int left, right;  // advance = right - left
  std::vector<HersheyPoint> points;
  int line;  // first source line, for messages
};

// Parses the whole text. On a malformed record returns false and fills `error`
// with a message naming the line.
bool parseHershey(const std::string& text, std::vector<HersheyGlyph>& glyphs, std::string& error);
