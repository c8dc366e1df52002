// The maze model: the walls raised around solid cells and the player's
// wall-contact test.
#include "world/level.h"

#include <cmath>
#include <cstring>

#include "world/gamestate.h"

LevelMap levelMaps[kMaxFloors];
MazeGrid mazeGrid;

namespace {

constexpr double kWallMargin = 0.15;  // cell units; contact when strictly closer

void raise(Edge& edge) { edge = {1, 0}; }

int clampTo(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

void buildWalls(MazeGrid& grid) {
  const int floors = clampTo(grid.floorCount, 0, kMaxFloors);
  for (int f = 0; f < floors; ++f) {
    const LevelMap& map = levelMaps[f];
    MazeFloor& floor = grid.floors[f];
    // The reader keeps the sizes inside the codes table; a map filled by other
    // means is held to it here as well.
    const int width = clampTo(map.width, 0, kLevelWidth);
    const int height = clampTo(map.height, 0, kLevelHeight);
    for (int x = 0; x < width; ++x) {
      for (int y = 0; y < height; ++y) {
        const int32_t code = map.codes[x][y];
        if (code != kCodeBrick && code != kCodeExit) continue;
        // Walls are only ever added; the exit keeps code 1 for the guards.
        raise(floor.cells[y][x].wallLowY);
        raise(floor.cells[y][x].wallLowX);
        raise(floor.cells[y][x + 1].wallLowX);
        raise(floor.cells[y + 1][x].wallLowY);
      }
    }
  }
}

void loadLevel(MazeGrid& grid, const char* path) {
  readLevelFile(levelMaps[0], path);
  buildWalls(grid);
}

bool touchesWall(float px, float py, const MazeFloor& floor) {
  const double x = px;
  const double y = py;
  // The four cells looked at are (cx, cy), (cx + 1, cy) and (cx, cy + 1) with
  // truncation toward zero; they lie on the grid exactly for -1 < x, y < 29.
  // Beyond that, NaN included, the grid's edge acts as a wall.
  if (!(x > -1.0 && x < kGridSize - 1 && y > -1.0 && y < kGridSize - 1)) return true;
  const int cx = static_cast<int>(x);
  const int cy = static_cast<int>(y);
  const int cx1 = static_cast<int>(x + 1.0);
  const int cy1 = static_cast<int>(y + 1.0);
  // Only the four sides of the position's own cell count; corners of the
  // neighbouring cells do not.
  bool contact = false;
  if (y - cy < kWallMargin && floor.cells[cy][cx].wallLowY.present) contact = true;
  if (x - cx < kWallMargin && floor.cells[cy][cx].wallLowX.present) contact = true;
  if (cy1 - y < kWallMargin && floor.cells[cy1][cx].wallLowY.present) contact = true;
  if (cx1 - x < kWallMargin && floor.cells[cy][cx1].wallLowX.present) contact = true;
  return contact;
}

bool touchesWall(const PlayerState& position, const MazeFloor& floor) {
  return touchesWall(position.x, position.y, floor);
}

void resetLevel() {
  std::memset(levelMaps, 0, sizeof levelMaps);
  std::memset(&mazeGrid, 0, sizeof mazeGrid);
}
