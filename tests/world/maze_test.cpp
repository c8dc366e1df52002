// The maze model: walls raised around solid cells, and the wall-contact test
// the player's movement is checked against.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "support/testdata.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

class Maze : public testing::Test {
 protected:
  void SetUp() override { resetLevel(); }
  void TearDown() override { resetLevel(); }

  static void load(const std::string& text) {
    parseLevelText(levelMaps[0], text.data(), static_cast<long>(text.size()));
    mazeGrid.floorCount = 1;
    buildWalls(mazeGrid);
  }
  static const Cell& cell(int x, int y) { return mazeGrid.floors[0].cells[y][x]; }
};

TEST_F(Maze, BricksAndTheExitRaiseFourWallsEach) {
  load("3\n4\n0\n    \n *D \n    \n");
  // Brick at (1, 1): its own two edges and the near edges of (2, 1) and (1, 2).
  EXPECT_EQ(cell(1, 1).wallLowY.present, 1);
  EXPECT_EQ(cell(1, 1).wallLowX.present, 1);
  EXPECT_EQ(cell(1, 2).wallLowY.present, 1);
  EXPECT_EQ(cell(1, 1).wallLowY.seen, 0);
  // The exit at (2, 1) gets walls as well, yet keeps code 1 for the guards.
  EXPECT_EQ(cell(2, 1).wallLowX.present, 1);
  EXPECT_EQ(cell(3, 1).wallLowX.present, 1);
  EXPECT_EQ(cell(2, 2).wallLowY.present, 1);
  EXPECT_EQ(cell(2, 1).wallLowY.present, 1);
  EXPECT_EQ(levelMaps[0].codes[2][1], kCodeExit);
  // Nothing else.
  EXPECT_EQ(cell(0, 1).wallLowX.present, 0);
  EXPECT_EQ(cell(1, 0).wallLowY.present, 0);
  EXPECT_EQ(cell(1, 3).wallLowY.present, 0);
}

TEST_F(Maze, OutsideColumnsAndUnusedFloorsRaiseNothing) {
  load("1\n2\n0\n**\n");
  EXPECT_EQ(levelMaps[0].codes[5][0], kCodeOutside);
  for (int x = 3; x < kGridSize; ++x) EXPECT_EQ(cell(x, 0).wallLowX.present, 0) << x;
  levelMaps[1] = levelMaps[0];
  buildWalls(mazeGrid);
  EXPECT_EQ(mazeGrid.floors[1].cells[0][0].wallLowX.present, 0);
}

TEST_F(Maze, AFullSizeLevelStaysInsideTheGrid) {
  std::string text = "19\n25\n0\n";
  for (int r = 0; r < 19; ++r) text += std::string(23, '*') + "\n";
  load(text);
  EXPECT_EQ(cell(23, 18).wallLowX.present, 1);
  EXPECT_EQ(cell(22, 19).wallLowY.present, 1);
  EXPECT_EQ(cell(24, 0).wallLowX.present, 0);  // column 24 never holds a brick
}

TEST_F(Maze, TouchesOnlyTheFourSidesOfItsOwnCellWithinTheMargin) {
  load(
      "10\n8\n0\n        \n     *  \n        \n        \n        \n        \n        \n        \n        \n  "
      "      \n");
  // Brick at (5, 8): cell (5, 7) has it above, cell (6, 8) has its wall on the low-x side.
  EXPECT_TRUE(touchesWall(5.5f, 7.90f, mazeGrid.floors[0]));
  EXPECT_FALSE(touchesWall(5.5f, 7.80f, mazeGrid.floors[0]));
  EXPECT_TRUE(touchesWall(6.10f, 8.50f, mazeGrid.floors[0]));
  EXPECT_FALSE(touchesWall(6.15f, 8.50f, mazeGrid.floors[0]));
  EXPECT_TRUE(touchesWall(4.90f, 8.50f, mazeGrid.floors[0]));
  // Diagonally next to the brick's corner: not one of the cell's own sides.
  EXPECT_FALSE(touchesWall(6.05f, 7.95f, mazeGrid.floors[0]));
  PlayerState p = {0, 6.10f, 8.5f, 0.0f};
  EXPECT_TRUE(touchesWall(p, mazeGrid.floors[0]));
}

TEST_F(Maze, PositionsOffTheGridTouchWithoutReadingOutside) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float far[][2] = {{-1.0f, 5.0f}, {-1e30f, 5.0f}, {5.0f, 29.0f}, {1e30f, 1e30f},
                          {nan, 5.0f},   {5.0f, nan},    {inf, 1.0f},   {1.0f, -inf}};
  for (const auto& p : far) EXPECT_TRUE(touchesWall(p[0], p[1], mazeGrid.floors[0])) << p[0] << " " << p[1];
  // Just inside the edges of an empty grid nothing is touched.
  EXPECT_FALSE(touchesWall(-0.5f, -0.5f, mazeGrid.floors[0]));
  EXPECT_FALSE(touchesWall(28.5f, 28.5f, mazeGrid.floors[0]));
}

TEST_F(Maze, LoadLevelReadsLevel1FromTheWorkingDirectory) {
  const std::string dir = scratchDir("maze_loadlevel");
  mazeGrid.floorCount = 1;
  inDirectory(dir, [] { loadLevel(mazeGrid); });
  EXPECT_FALSE(std::filesystem::exists(dir + "/Level1.txt"));
  EXPECT_EQ(levelMaps[0].height, 0);

  writeFile(dir + "/Level1.txt", "1\n1\n0\n*\n");
  inDirectory(dir, [] { loadLevel(mazeGrid); });
  EXPECT_EQ(cell(1, 0).wallLowX.present, 1);
}

}  // namespace
