// The shipped level, read by the game's own reader: the start, the view along
// the first corridor, the exit on the right-hand wall and the guard slots.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/testdata.h"
#include "world/level.h"

namespace {

TEST(Level1, FitsTheGameItIsMadeFor) {
  const std::string text = readFile(QUILL_SOURCE_DIR "/data/Level1.txt");
  LevelMap map;
  LevelReport report;
  std::memset(&map, 0, sizeof map);
  parseLevelText(map, text.data(), static_cast<long>(text.size()), &report);
  EXPECT_EQ(report.splitLines, 0);
  EXPECT_EQ(report.clipped, 0);
  EXPECT_LE(map.width, 23);
  EXPECT_EQ(map.guardCount, 4);
  // Body 0 at (7, 1) is seen straight ahead from the start at (2.3, 1.5).
  for (int x = 2; x <= 7; ++x) EXPECT_LT(map.codes[x][1], kCodeBrick) << x;
  // The exit sits in the right-hand outer wall, its inside neighbour open.
  const MarkerPos d = map.markers[kMarkD];
  EXPECT_EQ(d.x, map.width - 1);
  EXPECT_EQ(map.codes[d.x - 1][d.y], kCodeOpen);
  // Each guard slot in play has exactly one start, each item exactly one place.
  for (int slot : {kMarkD, kMarkR, kMarkG, kMarkB, kMark_r, kMark_g, kMark_b, kMark_w})
    EXPECT_EQ(report.markerCount[slot], 1) << slot;
}

// The design's promises: halls and rooms with walls between them, not an
// open field; no item deep in a dead end, where a guard following the player
// in would close the only way out, nor in a corridor; and more than one way
// to the exit.
TEST(Level1, EveryItemAndTheExitHaveAWayRound) {
  const std::string text = readFile(QUILL_SOURCE_DIR "/data/Level1.txt");
  LevelMap map;
  std::memset(&map, 0, sizeof map);
  parseLevelText(map, text.data(), static_cast<long>(text.size()));
  auto open = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < map.width && y < map.height && map.codes[x][y] < kCodeBrick &&
           map.codes[x][y] != kCodeExit;
  };
  int openCells = 0;
  for (int x = 1; x + 1 < map.width; ++x)
    for (int y = 1; y + 1 < map.height; ++y) openCells += open(x, y);
  const int interior = (map.width - 2) * (map.height - 2);
  EXPECT_GE(openCells * 100, 45 * interior);
  EXPECT_LE(openCells * 100, 75 * interior);

  // Peel dead ends one cell at a time: a cell's depth is the round that
  // removes it; cells on a loop are never removed (depth 0).
  int depth[kLevelWidth][kLevelHeight] = {};
  bool left[kLevelWidth][kLevelHeight] = {};
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y) left[x][y] = open(x, y);
  for (int round = 1, peeled = 1; peeled; ++round) {
    std::vector<std::pair<int, int>> ends;
    for (int x = 0; x < map.width; ++x)
      for (int y = 0; y < map.height; ++y) {
        if (!left[x][y]) continue;
        int ways = 0;
        for (auto [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}})
          ways += nx >= 0 && ny >= 0 && nx < kLevelWidth && ny < kLevelHeight && left[nx][ny];
        if (ways < 2) ends.push_back({x, y});
      }
    for (auto [x, y] : ends) left[x][y] = false, depth[x][y] = round;
    peeled = !ends.empty();
  }
  for (int slot : {kMarkR, kMarkG, kMarkB}) {
    const MarkerPos p = map.markers[slot];
    EXPECT_LE(depth[p.x][p.y], 2) << "item marker " << slot << " at " << p.x << ", " << p.y;
    // In a room or at a crossing, never a corridor cell walked through on the
    // way elsewhere, where the item would be taken by accident.
    const int x = p.x, y = p.y;
    const int ways = open(x + 1, y) + open(x - 1, y) + open(x, y + 1) + open(x, y - 1);
    EXPECT_GE(ways, 3) << "item marker " << slot << " at " << p.x << ", " << p.y;
  }
  const MarkerPos d = map.markers[kMarkD];
  EXPECT_TRUE(left[d.x - 1][d.y]) << "the cell in front of the exit lies on a loop";
}

}  // namespace
