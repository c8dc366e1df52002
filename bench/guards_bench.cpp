// What a guard's re-plan costs on the real level, in its worst case: guard and
// player on the two open cells farthest apart. Beside it, a floor measured in
// the same run: clearing and copying one 640 x 480 16-bit frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "guards/guards.h"
#include "world/level.h"

namespace {

struct FarPair {
  int fromX, fromY, toX, toY, steps;
};

// Breadth-first step counts from every open cell; the pair with the most steps wins.
FarPair farthestOpenCells(const LevelMap& map) {
  auto open = [&](int x, int y) {
    return x >= 0 && x < kLevelWidth && y >= 0 && y < kLevelHeight && map.codes[x][y] < kCodeBrick;
  };
  FarPair best{0, 0, 0, 0, -1};
  std::vector<int> dist(kLevelWidth * kLevelHeight), queue;
  for (int sx = 0; sx < kLevelWidth; ++sx)
    for (int sy = 0; sy < kLevelHeight; ++sy) {
      if (!open(sx, sy)) continue;
      std::fill(dist.begin(), dist.end(), -1);
      queue.assign(1, sx * kLevelHeight + sy);
      dist[queue[0]] = 0;
      for (size_t i = 0; i < queue.size(); ++i) {
        const int x = queue[i] / kLevelHeight, y = queue[i] % kLevelHeight;
        if (dist[queue[i]] > best.steps) best = {sx, sy, x, y, dist[queue[i]]};
        const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& n : next) {
          if (!open(n[0], n[1]) || dist[n[0] * kLevelHeight + n[1]] >= 0) continue;
          dist[n[0] * kLevelHeight + n[1]] = dist[queue[i]] + 1;
          queue.push_back(n[0] * kLevelHeight + n[1]);
        }
      }
    }
  return best;
}

// The game's own level file from the assembled game folder, read once.
const LevelMap& realLevel() {
  static LevelMap map{};
  static const bool loaded = (readLevelFile(map, QUILL_GAME_DIR "/Level1.txt"), true);
  (void)loaded;
  return map;
}

void BM_GuardPlanFarCorner(benchmark::State& state) {
  const LevelMap& map = realLevel();
  const FarPair far = farthestOpenCells(map);
  if (far.steps < 0) {
    state.SkipWithError("the level has no open cell");
    return;
  }
  Guard guard{};
  guard.stepsPerCell = 10;
  guard.replanPeriod = 49;  // the blue guard's: the longest plan
  for (auto _ : state) {
    guard.currentWaypoint = 0;
    guard.lastWaypoint = 0;
    guard.waypoints[0] = {far.fromX + 0.5f, far.fromY + 0.5f};
    planGuardRoute(guard, map, far.toX + 0.5f, far.toY + 0.5f);
    benchmark::DoNotOptimize(guard.lastWaypoint);
  }
  state.counters["routeSteps"] = far.steps;
}
BENCHMARK(BM_GuardPlanFarCorner);

void BM_GuardPlanFloorFrameCopy(benchmark::State& state) {
  static std::vector<uint16_t> back(640 * 480), front(640 * 480);
  for (auto _ : state) {
    std::memset(back.data(), 0, back.size() * sizeof(uint16_t));
    benchmark::ClobberMemory();
    std::memcpy(front.data(), back.data(), back.size() * sizeof(uint16_t));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GuardPlanFloorFrameCopy);

}  // namespace
