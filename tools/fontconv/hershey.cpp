#include "tools/fontconv/hershey.h"

#include <cstddef>

namespace {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else if (c != '\r') {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

bool isBlank(const std::string& s, size_t from) {
  for (size_t i = from; i < s.size(); ++i)
    if (s[i] != ' ' && s[i] != '\t') return false;
  return true;
}

// A right-aligned decimal field padded with blanks; -1 when it holds no number.
int fieldNumber(const std::string& s, size_t from, size_t len) {
  int value = 0;
  bool digits = false;
  for (size_t i = from; i < from + len; ++i) {
    char c = s[i];
    if (c == ' ') {
      if (digits) return -1;  // a blank inside the number
      continue;
    }
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
    digits = true;
  }
  return digits ? value : -1;
}

std::string where(int line) { return "line " + std::to_string(line) + ": "; }

}  // namespace

bool parseHershey(const std::string& text, std::vector<HersheyGlyph>& glyphs, std::string& error) {
  glyphs.clear();
  const std::vector<std::string> lines = splitLines(text);
  size_t li = 0;
  while (li < lines.size()) {
    const std::string& head = lines[li];
    const int lineNo = static_cast<int>(li) + 1;
    if (isBlank(head, 0)) {
      ++li;
      continue;
    }
    if (head.size() < 8) {
      error = where(lineNo) + "glyph record shorter than its 8-character id and count";
      return false;
    }
    const int id = fieldNumber(head, 0, 5);
    const int count = fieldNumber(head, 5, 3);
    if (id < 0) {
      error = where(lineNo) + "glyph id is not a number";
      return false;
    }
    if (count < 1) {
      error = where(lineNo) + "pair count is not a positive number";
      return false;
    }

    // Gather 2 * count characters, following the record onto the next lines.
    const size_t need = static_cast<size_t>(count) * 2;
    std::string data = head.substr(8);
    ++li;
    while (data.size() < need && li < lines.size()) data += lines[li++];
    if (data.size() < need) {
      error = where(lineNo) + "glyph " + std::to_string(id) + " ends before its " + std::to_string(count) +
              " pairs";
      return false;
    }
    if (!isBlank(data, need)) {
      error = where(lineNo) + "glyph " + std::to_string(id) + " has more data than its pair count says";
      return false;
    }

    HersheyGlyph g{};
    g.id = id;
    g.line = lineNo;
    bool penUp = true;
    for (size_t p = 0; p < need; p += 2) {
      const char cx = data[p], cy = data[p + 1];
      const bool liftPen = cx == ' ' && cy == 'R';
      if (p == 0 && liftPen) {
        error = where(lineNo) + "glyph " + std::to_string(id) + " has a pen-up where its bounds belong";
        return false;
      }
      if (liftPen) {
        penUp = true;
        continue;
      }
      if (cx < '!' || cx > '~' || cy < '!' || cy > '~') {
        error = where(lineNo) + "glyph " + std::to_string(id) +
                " has a coordinate that is not a printable character";
        return false;
      }
      const int x = cx - 'R', y = cy - 'R';
      if (p == 0) {
        g.left = x;
        g.right = y;
        continue;
      }
      g.points.push_back({x, y, penUp});
      penUp = false;
    }
    glyphs.push_back(std::move(g));
  }
  return true;
}
