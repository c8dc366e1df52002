// Reading the level text: row order, the 24-character line read, sizes and
// markers, and input that is short, oversized or not text at all.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/testdata.h"
#include "world/level.h"

namespace {

struct Parsed {
  LevelMap map;
  LevelReport report;
};

Parsed parse(const std::string& text) {
  Parsed p;
  std::memset(&p, 0, sizeof p);
  parseLevelText(p.map, text.data(), static_cast<long>(text.size()), &p.report);
  return p;
}

TEST(LevelFile, FirstGridLineIsTheTopRow) {
  const Parsed p = parse("3\n4\n2\n*R**\n* G \nwD*B\n");
  EXPECT_EQ(p.map.height, 3);
  EXPECT_EQ(p.map.width, 4);
  EXPECT_EQ(p.map.guardCount, 2);
  EXPECT_EQ(p.map.codes[0][2], kCodeBrick);
  EXPECT_EQ(p.map.codes[1][2], 2);  // R
  EXPECT_EQ(p.map.codes[2][1], 3);  // G
  EXPECT_EQ(p.map.codes[3][1], kCodeOpen);
  EXPECT_EQ(p.map.codes[0][0], 8);  // w
  EXPECT_EQ(p.map.codes[1][0], kCodeExit);
  EXPECT_EQ(p.map.markers[kMarkR].x, 1);
  EXPECT_EQ(p.map.markers[kMarkR].y, 2);
  EXPECT_EQ(p.map.markers[kMarkD].x, 1);
  EXPECT_EQ(p.map.markers[kMarkD].y, 0);
  EXPECT_EQ(p.map.markers[kMarkB].x, 3);
  EXPECT_EQ(p.map.markers[kMarkB].y, 0);
  EXPECT_EQ(p.report.physicalLines, 6);
  EXPECT_EQ(p.report.storedRows, 3);
}

TEST(LevelFile, EveryCharacterHasItsCodeAndMarkerSlot) {
  const Parsed p = parse("1\n25\n4\n*DRGBrgbw1234TC.x\n");
  const int32_t codes[] = {18, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 0};
  for (int x = 0; x < 17; ++x) EXPECT_EQ(p.map.codes[x][0], codes[x]) << x;
  const int slots[] = {kMarkD,  kMarkR, kMarkG, kMarkB, kMark_r, kMark_g, kMark_b,
                       kMark_w, kMark1, kMark2, kMark3, kMark4,  kMarkT,  kMarkC};
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(p.map.markers[slots[i]].x, i + 1) << i;
    EXPECT_EQ(p.report.markerCount[slots[i]], 1) << i;
  }
}

TEST(LevelFile, LinesOf24OrMoreCharactersAreReadAsTwo) {
  // 24 characters: the line feed left behind makes an extra empty row.
  const std::string line24(24, '*');
  Parsed p = parse("4\n5\n0\n" + line24 + "\nR\n");
  EXPECT_EQ(p.map.codes[0][3], kCodeBrick);
  EXPECT_EQ(p.map.codes[0][2], kCodeOpen);
  EXPECT_EQ(p.map.markers[kMarkR].y, 1);
  EXPECT_EQ(p.report.splitLines, 1);
  EXPECT_EQ(p.report.firstSplitLine, 4);

  // 23 characters, even with CR LF, stay one row.
  p = parse("2\n5\n0\r\n" + std::string(23, '*') + "\r\nR\r\n");
  EXPECT_EQ(p.map.markers[kMarkR].y, 0);
  EXPECT_EQ(p.report.splitLines, 0);

  // A 30-character line: its last six characters become the next row.
  p = parse("3\n5\n0\n" + std::string(24, '*') + "R*****\n");
  EXPECT_EQ(p.map.codes[0][1], 2);
  EXPECT_EQ(p.map.codes[1][1], kCodeBrick);
  EXPECT_EQ(p.report.splitLines, 1);
}

TEST(LevelFile, ColumnsBeyondTheWidthAreOutsideAndShortLinesAreOpen) {
  const Parsed p = parse("2\n10\n0\n*************\n**\n");
  for (int x = 0; x < 10; ++x) EXPECT_EQ(p.map.codes[x][1], kCodeBrick) << x;
  for (int x = 10; x < kLevelWidth; ++x) {
    EXPECT_EQ(p.map.codes[x][1], kCodeOutside) << x;
    EXPECT_EQ(p.map.codes[x][0], kCodeOutside) << x;
  }
  // The longer line before must not show through the short one.
  for (int x = 2; x < 10; ++x) EXPECT_EQ(p.map.codes[x][0], kCodeOpen) << x;
  EXPECT_EQ(p.report.rowLength[0], 2);
  EXPECT_EQ(p.report.rowLine[0], 5);
}

TEST(LevelFile, TheLastOccurrenceOfAMarkerWins) {
  const Parsed p = parse("2\n5\n1\nw  w\n  w\n");
  EXPECT_EQ(p.map.markers[kMark_w].x, 2);
  EXPECT_EQ(p.map.markers[kMark_w].y, 0);
  EXPECT_EQ(p.report.markerCount[kMark_w], 3);
}

TEST(LevelFile, NumbersAreReadTheUsualWay) {
  Parsed p = parse("  +3xyz\n\t7\nfour\n");
  EXPECT_EQ(p.map.height, 3);
  EXPECT_EQ(p.map.width, 7);
  EXPECT_EQ(p.map.guardCount, 0);
  EXPECT_EQ(p.report.clipped, 0);
  // A file that stops early leaves the rest as it was.
  p = parse("2\n");
  EXPECT_EQ(p.map.height, 2);
  EXPECT_EQ(p.map.width, 0);
}

TEST(LevelFile, SizesOutsideTheLimitsAreClipped) {
  // The guard count is a 16-bit field first: 65540 is 4, and -1 is 65535, clipped to 4.
  Parsed p = parse("-5\n40\n65540\n");
  EXPECT_EQ(p.map.height, 0);
  EXPECT_EQ(p.map.width, kLevelWidth);
  EXPECT_EQ(p.map.guardCount, 4);
  EXPECT_EQ(p.report.declaredHeight, -5);
  EXPECT_EQ(p.report.clipped, 1);
  p = parse("1\n-3\n-1\n***\n");
  EXPECT_EQ(p.map.width, 0);
  EXPECT_EQ(p.map.guardCount, 4);
  EXPECT_EQ(p.map.codes[0][0], kCodeOutside);
  p = parse("99999999999999999999\n3\n7\n");
  EXPECT_EQ(p.map.height, kLevelHeight);
  EXPECT_EQ(p.map.guardCount, 4);

  // A taller level keeps its rows' y: the rows above y 18 are dropped.
  std::string text = "21\n3\n0\n";
  for (int r = 0; r < 21; ++r) text += (r == 2 ? "R" : r == 20 ? "G" : "*") + std::string("\n");
  p = parse(text);
  EXPECT_EQ(p.map.height, kLevelHeight);
  EXPECT_EQ(p.map.markers[kMarkR].y, 18);
  EXPECT_EQ(p.map.markers[kMarkG].y, 0);
  EXPECT_EQ(p.report.ignoredRows, 2);
}

TEST(LevelFile, ArbitraryBytesStayInsideTheTables) {
  uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string text = std::to_string(round % 30 - 5) + "\n" + std::to_string(round % 40 - 5) + "\n9\n";
    for (int i = 0; i < 700; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const int pick = static_cast<int>(seed >> 24);
      text.push_back(pick < 40    ? '\n'
                     : pick < 140 ? "*DRGBrgbw1234TC\r "[pick % 17]
                                  : static_cast<char>(pick));
    }
    const Parsed p = parse(text);
    ASSERT_GE(p.map.height, 0);
    ASSERT_LE(p.map.height, kLevelHeight);
    ASSERT_LE(p.map.width, kLevelWidth);
    ASSERT_LE(p.map.guardCount, kMaxGuards);
    for (const MarkerPos& m : p.map.markers) {
      ASSERT_LT(m.x, kLevelWidth);
      ASSERT_LT(m.y, kLevelHeight);
    }
  }
  Parsed p = parse(std::string(100000, 'x'));  // one very long line
  EXPECT_GT(p.report.splitLines, 0);
  parseLevelText(p.map, nullptr, 10, &p.report);  // no bytes at all
  EXPECT_EQ(p.report.physicalLines, 0);
}

TEST(LevelFile, AMissingFileGivesTheEmptyLevelAndCreatesNothing) {
  const std::string dir = scratchDir("levelfile_missing");
  LevelMap map;
  std::memset(&map, 0, sizeof map);
  EXPECT_EQ(readLevelFile(map, (dir + "/Level1.txt").c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir + "/Level1.txt"));
  EXPECT_EQ(map.width, 0);
  EXPECT_EQ(map.height, 0);

  writeFile(dir + "/Level1.txt", "2\n3\n1\n*w*\n***");  // no final line feed
  LevelReport report;
  readLevelFile(map, (dir + "/Level1.txt").c_str(), &report);
  EXPECT_EQ(map.markers[kMark_w].x, 1);
  EXPECT_EQ(map.markers[kMark_w].y, 1);
  EXPECT_EQ(map.codes[2][0], kCodeBrick);
  EXPECT_EQ(report.physicalLines, 5);
  EXPECT_EQ(report.truncated, 0);
}

}  // namespace
