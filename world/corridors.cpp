#include "world/corridors.h"

namespace {

bool inTable(int x, int y) { return x >= 0 && y >= 0 && x < kLevelWidth && y < kLevelHeight; }

// Static, so neither a footstep nor a simulated pass allocates.
int g_queue[kLevelWidth * kLevelHeight][2];
CellSteps g_scratch;

}  // namespace

bool guardCanEnter(const LevelMap& map, int x, int y) {
  return inTable(x, y) && map.codes[x][y] < kCodeBrick;
}

bool playerCanEnter(const LevelMap& map, int x, int y) {
  return x < map.width && y < map.height && guardCanEnter(map, x, y) && map.codes[x][y] != kCodeExit;
}

void corridorSteps(const LevelMap& map, int fromX, int fromY, CanEnter canEnter, int limit,
                   CellSteps& steps) {
  for (auto& column : steps)
    for (int& s : column) s = kNoWay;
  if (!canEnter(map, fromX, fromY)) return;
  int head = 0, tail = 0;
  steps[fromX][fromY] = 0;
  g_queue[tail][0] = fromX;
  g_queue[tail++][1] = fromY;
  static constexpr int kStep[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  while (head < tail) {
    const int x = g_queue[head][0], y = g_queue[head++][1];
    const int d = steps[x][y];
    if (d >= limit) continue;
    for (const auto& s : kStep) {
      const int nx = x + s[0], ny = y + s[1];
      if (!canEnter(map, nx, ny) || steps[nx][ny] != kNoWay) continue;
      steps[nx][ny] = d + 1;
      g_queue[tail][0] = nx;
      g_queue[tail++][1] = ny;
    }
  }
}

int corridorDistance(const LevelMap& map, int fromX, int fromY, int toX, int toY, CanEnter canEnter,
                     int limit) {
  if (!inTable(toX, toY)) return kNoWay;
  corridorSteps(map, fromX, fromY, canEnter, limit, g_scratch);
  return g_scratch[toX][toY];
}
