// Fuzzes the level reader and the maze built from it: any bytes must give
// sizes and markers inside the tables, walls inside the grid, and a contact
// test that never reads outside it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "world/level.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetLevel();
  LevelReport report;
  parseLevelText(levelMaps[0], reinterpret_cast<const char*>(data), static_cast<long>(size), &report);
  const LevelMap& map = levelMaps[0];
  if (map.width < 0 || map.width > kLevelWidth || map.height < 0 || map.height > kLevelHeight ||
      map.guardCount > kMaxGuards)
    __builtin_trap();
  for (const MarkerPos& m : map.markers)
    if (m.x >= kLevelWidth || m.y >= kLevelHeight) __builtin_trap();

  mazeGrid.floorCount = 1;
  buildWalls(mazeGrid);

  // Positions inside, on the edges of and far outside the grid, and from the input itself.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float probes[][2] = {{2.3f, 1.5f},  {0.0f, 0.0f}, {-0.99f, 28.99f}, {29.0f, 5.0f},
                             {-1e9f, 3.0f}, {3.0f, 1e9f}, {nan, 1.0f},      {24.9f, 18.9f}};
  for (const auto& p : probes) touchesWall(p[0], p[1], mazeGrid.floors[0]);
  if (size >= 8) {
    float x, y;
    std::memcpy(&x, data, 4);
    std::memcpy(&y, data + 4, 4);
    touchesWall(x, y, mazeGrid.floors[0]);
  }
  return 0;
}
