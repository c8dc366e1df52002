#include "world/levelcheck.h"

#include <cstdarg>
#include <cstdio>
#include <iterator>

#include "world/corridors.h"

namespace {

constexpr int kListLimit = 10;       // cells named one by one before the rest is summed up
constexpr int kWhiteGuardSteps = 8;  // closer than this, the white guard is on the player at once

// What the findings call the guards (by slot) and the items.
const char* const kGuardNames[kMaxGuards] = {"white guard", "red guard", "green guard", "blue guard"};
const char* const kItemNames[kItemCount] = {"red item", "green item", "blue item"};

struct Checker {
  const LevelMap& map;
  const LevelReport& report;
  std::vector<std::string> findings;
  CellSteps playerSteps;  // kNoWay: the player cannot get there
  int openCells;          // cells the player may stand on

  void add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    findings.emplace_back(line);
  }

  bool playerCanEnter(int x, int y) const { return ::playerCanEnter(map, x, y); }

  void checkLines() {
    if (report.truncated) add("the file is longer than %ld bytes; the rest is not read", kMaxLevelBytes);
    if (report.splitLines > 0)
      add("line %d holds 24 or more characters: the game reads it as two lines, so every later "
          "row moves down (%d such line%s)",
          report.firstSplitLine, report.splitLines, report.splitLines == 1 ? "" : "s");
    if (report.declaredHeight < 0 || report.declaredHeight > kLevelHeight)
      add("height %d is outside 0..%d: read as %d (rows above y %d are dropped)", report.declaredHeight,
          kLevelHeight, map.height, kLevelHeight - 1);
    else if (report.declaredHeight == 0)
      add("height is 0: the level is empty");
    if (report.declaredWidth < 0 || report.declaredWidth > kLevelWidth)
      add("width %d is outside 0..%d: read as %d", report.declaredWidth, kLevelWidth, map.width);
    else if (report.declaredWidth == 0)
      add("width is 0: the level is empty");
    if (map.width > kLevelWidth - 2)
      add("width %d: a grid line holds at most %d characters, a longer one is split", map.width,
          kLevelWidth - 2);
    const unsigned guards16 = static_cast<uint16_t>(report.declaredGuards);
    if (guards16 > kMaxGuards && static_cast<int>(guards16) != report.declaredGuards)
      add("guard count %d is %u in 16 bits, above %d: read as %d", report.declaredGuards, guards16,
          kMaxGuards, map.guardCount);
    else if (guards16 > kMaxGuards)
      add("guard count %d is above %d: read as %d", report.declaredGuards, kMaxGuards, map.guardCount);
    for (int y = map.height - 1; y >= 0; --y) {
      if (report.rowLine[y] == 0) {
        int low = y;  // one line for a run of missing rows
        while (low > 0 && report.rowLine[low - 1] == 0) --low;
        if (low == y)
          add("row y %d is missing from the file: it is read as open floor", y);
        else
          add("rows y %d down to %d are missing from the file: they are read as open floor", y, low);
        y = low;
      } else if (report.rowLength[y] < map.width)
        add("line %d (row y %d) has %d characters, width is %d: columns %d..%d are read as open floor",
            report.rowLine[y], y, report.rowLength[y], map.width, report.rowLength[y], map.width - 1);
    }
    if (report.ignoredRows > 0)
      add("%d line%s with text lie%s outside the level's rows and %s ignored", report.ignoredRows,
          report.ignoredRows == 1 ? "" : "s", report.ignoredRows == 1 ? "s" : "",
          report.ignoredRows == 1 ? "is" : "are");
  }

  void checkMarker(int slot, char ch, const char* name) {
    const int n = report.markerCount[slot];
    if (n == 0)
      add("no %s marker '%c'", name, ch);
    else if (n > 1)
      add("marker '%c' (%s) appears %d times: only the last one, at (%d, %d), counts", ch, name, n,
          map.markers[slot].x, map.markers[slot].y);
  }

  void checkMarkers() {
    checkMarker(kMarkD, markerLetter(kMarkD), "exit");
    for (int k = 0; k < kItemCount; ++k)
      checkMarker(kItemMarkers[k], markerLetter(kItemMarkers[k]), kItemNames[k]);
    for (int k = 0; k < kMaxGuards; ++k) {
      const int slot = kGuardStartMarkers[k];
      if (k < map.guardCount)
        checkMarker(slot, markerLetter(slot), kGuardNames[k]);
      else if (report.markerCount[slot] > 0)
        add("marker '%c' (%s) is in the level, but the guard count %d leaves slot %d out of play",
            markerLetter(slot), kGuardNames[k], map.guardCount, k);
    }
  }

  void checkReach() {
    corridorSteps(map, kStartCellX, kStartCellY, ::playerCanEnter, kAnyLength, playerSteps);
    if (!playerCanEnter(kStartCellX, kStartCellY)) {
      add("the player's start cell (%d, %d) is blocked", kStartCellX, kStartCellY);
      return;
    }

    // No walls stand beyond the level's edge: an open edge cell lets the player walk out.
    int open = 0, unreached = 0, leaks = 0;
    for (int y = map.height - 1; y >= 0; --y) {
      for (int x = 0; x < map.width; ++x) {
        if (!playerCanEnter(x, y)) continue;
        ++open;
        const bool edge = x == 0 || y == 0 || x == map.width - 1 || y == map.height - 1;
        if (playerSteps[x][y] < 0) {
          if (++unreached <= kListLimit) add("open cell (%d, %d) cannot be reached from the start", x, y);
        } else if (edge) {
          if (++leaks <= kListLimit)
            add("open cell (%d, %d) on the level's edge: the player can walk out of the maze", x, y);
        }
      }
    }
    if (unreached > kListLimit)
      add("... and %d more open cells that cannot be reached", unreached - kListLimit);
    if (leaks > kListLimit) add("... and %d more open cells on the level's edge", leaks - kListLimit);
    openCells = open;

    for (int k = 0; k < static_cast<int>(std::size(kBodyCells)); ++k) {
      const BodyCell& b = kBodyCells[k];
      if (!playerCanEnter(b.x, b.y))
        add("body %d at (%d, %d) stands in a blocked cell", k, b.x, b.y);
      else if (playerSteps[b.x][b.y] < 0)
        add("body %d at (%d, %d) cannot be reached", k, b.x, b.y);
    }
    for (int k = 0; k < kItemCount; ++k) {
      if (report.markerCount[kItemMarkers[k]] == 0) continue;
      const MarkerPos p = map.markers[kItemMarkers[k]];
      if (playerSteps[p.x][p.y] < 0) add("the %s at (%d, %d) cannot be reached", kItemNames[k], p.x, p.y);
    }
    if (report.markerCount[kMarkD] > 0) {
      const MarkerPos d = map.markers[kMarkD];
      const int fx = d.x - 1, fy = d.y;
      if (fx < 0)
        add("the exit at (%d, %d) has no cell in front of it (the player leaves from x - 1)", d.x, d.y);
      else if (!playerCanEnter(fx, fy))
        add("the cell in front of the exit, (%d, %d), is blocked", fx, fy);
      else if (playerSteps[fx][fy] < 0)
        add("the cell in front of the exit, (%d, %d), cannot be reached", fx, fy);
    }
    checkGuards();
  }

  void checkGuards() {
    static CellSteps guardSteps;
    for (int k = 0; k < map.guardCount && k < kMaxGuards; ++k) {
      const int slot = kGuardStartMarkers[k];
      if (report.markerCount[slot] == 0) continue;
      const MarkerPos p = map.markers[slot];
      corridorSteps(map, p.x, p.y, guardCanEnter, kAnyLength, guardSteps);
      const int steps = guardSteps[kStartCellX][kStartCellY];
      if (steps < 0)
        add("the %s at (%d, %d) cannot reach the player's start", kGuardNames[k], p.x, p.y);
      else if (k == kWhiteGuard && steps < kWhiteGuardSteps)
        add("the white guard starts only %d step%s from the player's start", steps, steps == 1 ? "" : "s");
    }
  }
};

}  // namespace

std::vector<std::string> checkLevel(const LevelMap& map, const LevelReport& report, int* openCells) {
  Checker c{map, report, {}, {}, 0};
  c.checkLines();
  c.checkMarkers();
  c.checkReach();
  if (openCells) *openCells = c.openCells;
  return c.findings;
}
