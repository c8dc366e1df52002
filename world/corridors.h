// Which cells the player and the guards may walk into, and how many cell steps
// apart two cells are along the corridors: one breadth-first search shared by
// the guards' footsteps, the level checker and the simulated players.
#pragma once

#include "world/level.h"

// Guards walk every code below kCodeBrick on the whole codes table, the exit block included.
bool guardCanEnter(const LevelMap& map, int x, int y);
// The player is stopped by bricks and by the exit block, whose walls stand all
// round it, and stays within the level's declared size.
bool playerCanEnter(const LevelMap& map, int x, int y);

using CanEnter = bool (*)(const LevelMap& map, int x, int y);
using CellSteps = int[kLevelWidth][kLevelHeight];
constexpr int kNoWay = -1;  // a cell the search did not reach
// Every cell of the codes table; no search of the level takes more steps.
constexpr int kAnyLength = kLevelWidth * kLevelHeight;

// Cell steps from (fromX, fromY) to every cell over the cells `canEnter`
// admits, up to `limit` steps; kNoWay elsewhere. A start the walker cannot
// enter reaches nothing. No allocation: the queue is static.
void corridorSteps(const LevelMap& map, int fromX, int fromY, CanEnter canEnter, int limit, CellSteps& steps);
// The length of the shortest route from one cell to another (the route a
// guard plans), or kNoWay when there is none of at most `limit` steps.
int corridorDistance(const LevelMap& map, int fromX, int fromY, int toX, int toY, CanEnter canEnter,
                     int limit = kAnyLength);
