// The level text reader: three numbers, then one grid row per line, the top
// row first. Lines are read 24 characters at a time, as the format has always
// been read, so a longer physical line becomes two rows.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "world/level.h"

namespace {

constexpr int kLineChars = 24;  // a line read stores at most this many characters

// Each special character's cell code and marker slot; any other byte is open floor.
struct CellChar {
  char ch;
  int32_t code;
  int slot;
};
const CellChar kCellChars[] = {
    {'*', kCodeBrick, -1}, {'D', kCodeExit, kMarkD}, {'R', 2, kMarkR},  {'G', 3, kMarkG},  {'B', 4, kMarkB},
    {'r', 5, kMark_r},     {'g', 6, kMark_g},        {'b', 7, kMark_b}, {'w', 8, kMark_w}, {'1', 9, kMark1},
    {'2', 10, kMark2},     {'3', 11, kMark3},        {'4', 12, kMark4}, {'T', 13, kMarkT}, {'C', 14, kMarkC},
};
static_assert(std::size(kCellChars) == kMarkerCount + 1, "brick plus one per marker");

const CellChar* findCellChar(char c) {
  for (const CellChar& cc : kCellChars)
    if (cc.ch == c) return &cc;
  return nullptr;
}

// Decimal value the usual way: leading white space, optional sign, digits up
// to the first non-digit; no digits give 0. Saturates instead of overflowing.
int32_t parseDecimal(const char* s) {
  while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\v' || *s == '\f' || *s == '\r') ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = (*s++ == '-');
  long long v = 0;
  for (; *s >= '0' && *s <= '9'; ++s) {
    v = v * 10 + (*s - '0');
    if (v > 2147483648LL) v = 2147483648LL;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) v = 2147483647LL;
  return static_cast<int32_t>(v);
}

bool hasText(const char* s, int len) {
  for (int i = 0; i < len; ++i)
    if (s[i] != ' ' && s[i] != '\t' && s[i] != '\r' && s[i] != '\0') return true;
  return false;
}

// The level file's bytes, read whole before parsing; static, like the rest of the world.
char fileBytes[kMaxLevelBytes];

}  // namespace

char markerLetter(int slot) {
  for (const CellChar& cc : kCellChars)
    if (cc.slot >= 0 && cc.slot == slot) return cc.ch;
  return 0;
}

void parseLevelText(LevelMap& map, const char* data, long size, LevelReport* report) {
  LevelReport scratch{};
  LevelReport& rep = report ? *report : scratch;
  std::memset(&rep, 0, sizeof rep);
  if (!data || size < 0) size = 0;

  for (long i = 0; i < size; ++i)
    if (data[i] == '\n') ++rep.physicalLines;
  if (size > 0 && data[size - 1] != '\n') ++rep.physicalLines;

  // The rows keep the y the file declares: a level taller than 19 loses its
  // top rows, so the bottom rows, where the player starts, stay where they were.
  long long declaredHeight = map.height > 0 ? map.height : 0;

  // The line buffer is never cleared between lines, but everything after a
  // line's terminating NUL is read as NUL (open floor), so stale characters
  // of a longer earlier line never show through a short one.
  char buf[kLineChars + 1] = {};
  long pos = 0;
  int physicalLine = 1;
  int lastSplitLine = 0;
  long long lineNumber = 0;
  while (pos < size) {  // a read that meets the end of the file at once fails and ends the loop
    const int startLine = physicalLine;
    int len = 0;
    bool stoppedAtLimit = false;
    for (;;) {
      if (pos >= size) break;
      if (len == kLineChars) {
        // The read stops here without looking further: the rest of the
        // physical line, its line feed included, becomes the next line.
        stoppedAtLimit = true;
        break;
      }
      const char c = data[pos];
      if (c == '\r' && pos + 1 < size && data[pos + 1] == '\n') {
        ++pos;  // text mode drops the CR of a CR LF pair
        continue;
      }
      ++pos;
      if (c == '\n') {
        ++physicalLine;
        break;
      }
      buf[len++] = c;
    }
    buf[len] = '\0';
    if (stoppedAtLimit && lastSplitLine != startLine) {
      // each long physical line counts once, however many pieces it gives
      lastSplitLine = startLine;
      ++rep.splitLines;
      if (rep.firstSplitLine == 0) rep.firstSplitLine = startLine;
    }
    ++lineNumber;

    if (lineNumber == 1) {
      const int32_t v = parseDecimal(buf);
      rep.declaredHeight = v;
      declaredHeight = v > 0 ? v : 0;
      map.height = v < 0 ? 0 : (v > kLevelHeight ? kLevelHeight : v);
      if (map.height != v) rep.clipped = 1;
    } else if (lineNumber == 2) {
      const int32_t v = parseDecimal(buf);
      rep.declaredWidth = v;
      map.width = v < 0 ? 0 : (v > kLevelWidth ? kLevelWidth : v);
      if (map.width != v) rep.clipped = 1;
    } else if (lineNumber == 3) {
      const int32_t v = parseDecimal(buf);
      rep.declaredGuards = v;
      const uint16_t count = static_cast<uint16_t>(v);  // the count is a 16-bit field
      map.guardCount = count > kMaxGuards ? static_cast<uint16_t>(kMaxGuards) : count;
      if (map.guardCount != count) rep.clipped = 1;
    } else {
      const long long r = lineNumber - 4;
      const long long y = declaredHeight - 1 - r;
      if (y < 0 || y >= kLevelHeight) {
        if (hasText(buf, len)) ++rep.ignoredRows;
      } else {
        const int yy = static_cast<int>(y);
        ++rep.storedRows;
        rep.rowLine[yy] = startLine;
        rep.rowLength[yy] = len;
        for (int x = 0; x < kLevelWidth; ++x) {
          if (x >= map.width) {
            map.codes[x][yy] = kCodeOutside;
            continue;
          }
          const CellChar* cc = findCellChar(x < len ? buf[x] : '\0');
          map.codes[x][yy] = cc ? cc->code : kCodeOpen;
          if (cc && cc->slot >= 0) {
            map.markers[cc->slot] = {static_cast<uint16_t>(x), static_cast<uint16_t>(yy)};
            ++rep.markerCount[cc->slot];
          }
        }
      }
    }
  }
}

int readLevelFile(LevelMap& map, const char* name, LevelReport* report) {
  // Opened for reading only: a missing level stays missing and gives the empty level.
  FILE* f = name ? std::fopen(name, "rb") : nullptr;
  long size = 0;
  bool truncated = false;
  if (f) {
    size = static_cast<long>(std::fread(fileBytes, 1, sizeof fileBytes, f));
    truncated = size == static_cast<long>(sizeof fileBytes) && std::fgetc(f) != EOF;
    std::fclose(f);
  }
  parseLevelText(map, fileBytes, size, report);
  if (report) report->truncated = truncated ? 1 : 0;
  return 0;
}
