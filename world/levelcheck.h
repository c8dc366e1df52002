// The level checker's findings: what the level reader accepts without a word
// but a player would meet as a fault (cut rows, missing markers, cells that
// cannot be reached, an exit that cannot be used).
#pragma once
#include <string>
#include <vector>

#include "world/gamestate.h"
#include "world/level.h"

// The player's start cell and the three bodies' cells, fixed by the game.
constexpr int kStartCellX = static_cast<int>(kStartPose.x), kStartCellY = static_cast<int>(kStartPose.y);
struct BodyCell {
  int x, y;
};
constexpr BodyCell kBodyCells[3] = {{7, 1}, {10, 5}, {20, 13}};

// One line per finding; empty when the level is sound. openCells receives the
// number of cells the player may stand on.
std::vector<std::string> checkLevel(const LevelMap& map, const LevelReport& report, int* openCells);
