// The shipped level, read by the game's own reader: the start, the view along
// the first corridor, the exit on the right-hand wall and the guard slots.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

}  // namespace
