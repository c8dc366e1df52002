// Route finding over the level cells: shape of the route, tie order, blocked
// cells, the grid's edges and the node pool.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "guards/pathsearch.h"
#include "world/level.h"

// Rows as in the level file, top row first; everything around them is brick.
// Used by the guard tests too.
LevelMap mapFrom(std::initializer_list<const char*> rows, int guards) {
  LevelMap map{};
  for (auto& column : map.codes)
    for (int32_t& code : column) code = kCodeBrick;
  map.guardCount = static_cast<uint16_t>(guards);
  int y = static_cast<int>(rows.size()) - 1;
  for (const char* row : rows) {
    for (int x = 0; row[x] && x < kLevelWidth; ++x) {
      const char c = row[x];
      map.codes[x][y] = c == '*' ? kCodeBrick : c == 'D' ? kCodeExit : kCodeOpen;
      const MarkerSlot slot = c == 'w'   ? kMark_w
                              : c == 'r' ? kMark_r
                              : c == 'g' ? kMark_g
                              : c == 'b' ? kMark_b
                                         : kMarkerCount;
      if (slot != kMarkerCount) map.markers[slot] = {static_cast<uint16_t>(x), static_cast<uint16_t>(y)};
    }
    --y;
  }
  return map;
}

namespace {

using Cells = std::vector<std::pair<int, int>>;

// Runs a search and hands back the route's cells, releasing its nodes.
Cells route(const LevelMap& map, int sx, int sy, int gx, int gy) {
  NodeList out{};
  findPath(map, sx, sy, gx, gy, out);
  Cells cells;
  EXPECT_EQ(nodesInUse(), out.count);
  while (PathNode* node = popFront(out)) {
    cells.emplace_back(node->x, node->y);
    releaseNode(node);
  }
  EXPECT_EQ(nodesInUse(), 0);
  return cells;
}

TEST(PathSearch, InsertByCostKeepsHeadAndPutsNewcomersBeforeEqualCosts) {
  PathNode a{1, 0, 5, nullptr, nullptr}, b{2, 0, 5, nullptr, nullptr}, c{3, 0, 5, nullptr, nullptr},
      d{4, 0, 4, nullptr, nullptr};
  NodeList list{};
  insertByCost(list, &a);
  insertByCost(list, &b);  // equal to the head: goes behind it
  insertByCost(list, &c);  // behind the head, before the older b
  EXPECT_EQ(list.head, &a);
  EXPECT_EQ(a.next, &c);
  EXPECT_EQ(c.next, &b);
  insertByCost(list, &d);  // cheaper than the head: becomes it
  EXPECT_EQ(list.head, &d);
  EXPECT_EQ(list.count, 4);
  EXPECT_EQ(findCell(list, 2, 0), &b);
  EXPECT_EQ(findCell(list, 9, 9), nullptr);
}

TEST(PathSearch, RouteShapes) {
  const LevelMap room = mapFrom({"*****", "*...*", "*...*", "*...*", "*****"}, 0);
  // Start equals goal: just the start cell.
  EXPECT_EQ(route(room, 2, 2, 2, 2), (Cells{{2, 2}}));
  // Many equally short routes: the tie order decides, deepest newcomer first.
  EXPECT_EQ(route(room, 1, 1, 3, 3), (Cells{{1, 1}, {2, 1}, {2, 2}, {2, 3}, {3, 3}}));
  // Guards may walk through the exit block.
  const LevelMap corridor = mapFrom({"*****", "*.D.*", "*****"}, 0);
  EXPECT_EQ(route(corridor, 1, 1, 3, 1), (Cells{{1, 1}, {2, 1}, {3, 1}}));
}

TEST(PathSearch, NoRouteLeavesTheListAlone) {
  const LevelMap walled = mapFrom({"*****", "*.*.*", "*****"}, 0);
  EXPECT_TRUE(route(walled, 1, 1, 3, 1).empty());
  EXPECT_TRUE(route(walled, 1, 1, -1, 1).empty());
  EXPECT_TRUE(route(walled, 25, 1, 1, 1).empty());
  EXPECT_TRUE(route(walled, 1, 1, 1, 19).empty());

  // Column 25 and row 19 do not exist: the only ways around these walls would use them.
  LevelMap open{};
  for (int y = 0; y < kLevelHeight; ++y) open.codes[23][y] = kCodeBrick;
  open.codes[24][9] = kCodeBrick;
  for (int x = 0; x < kLevelWidth; ++x) open.codes[x][17] = kCodeBrick;
  open.codes[12][18] = kCodeBrick;
  EXPECT_TRUE(route(open, 24, 5, 24, 12).empty());
  EXPECT_TRUE(route(open, 5, 18, 20, 18).empty());
  EXPECT_EQ(route(open, 24, 0, 24, 8).size(), 9u);
}

TEST(PathSearch, ExhaustedPoolFailsCleanly) {
  NodeList held{};
  while (PathNode* node = newNode(0, 0)) pushFront(held, node);
  EXPECT_GT(held.count, 25 * 19 * 4);
  for (int i = 0; i < 6; ++i) releaseNode(popFront(held));
  const LevelMap open{};
  NodeList out{};
  findPath(open, 0, 0, 24, 18, out);
  EXPECT_EQ(out.head, nullptr);
  EXPECT_EQ(nodesInUse(), held.count);
  while (PathNode* node = popFront(held)) releaseNode(node);
  EXPECT_EQ(route(open, 0, 0, 24, 18).size(), 43u);
}

}  // namespace
