#include "mazegen/generate.h"

#include <cstdlib>

#include "mazegen/random.h"
#include "world/corridors.h"
#include "world/levelcheck.h"

namespace {

// The carving works on nodes, the cells with odd x and y; the cell between two
// neighbouring nodes is the passage that joins them, and the cells with even x
// and y are pillars.
constexpr int kNodesX = (kMazeWidth - 1) / 2, kNodesY = (kMazeHeight - 1) / 2;
static_assert(kMazeWidth <= kLevelWidth - 2 && kMazeHeight <= kLevelHeight, "the maze fits the level format");

// Found by trial against the certification: more walls or fewer open pillars
// cost the newcomer its way round the white guard, and more candidates fail.
constexpr int kWallCells = 20;      // wall cells raised in the hall (of its 178 passages)
constexpr int kWallAttempts = 400;  // runs tried before the hall is taken as it is
constexpr int kLongestRun = 2;      // passages a wall run crosses at most
constexpr int kPillarsTaken = 14;   // tries at taking a pillar out (one may hit the same twice)
constexpr int kItemSteps = 8;       // an item lies at least this far from the start
constexpr int kItemsApart = 6;      // cells (x plus y) between two items
constexpr int kGuardSteps = 12;     // a coloured guard starts at least this far away
// The white guard walks a cell in 10 passes (0.4 s): 32 to 55 steps reach a
// player who stands still after about 13 to 22 seconds.
constexpr int kWhiteNearest = 32, kWhiteFurthest = 55;

struct Maze {
  char cells[kMazeWidth][kMazeHeight];  // [x][y], y upward as the game reads it; the level's letters
};

struct Spot {
  int x, y;
};

bool inside(int x, int y) { return x > 0 && y > 0 && x < kMazeWidth - 1 && y < kMazeHeight - 1; }
bool isNode(int x, int y) { return x % 2 == 1 && y % 2 == 1; }

// Open passages out of node (x, y).
int waysOut(const Maze& m, int x, int y) {
  int ways = 0;
  for (const Spot d : {Spot{1, 0}, Spot{-1, 0}, Spot{0, 1}, Spot{0, -1}})
    ways += inside(x + d.x, y + d.y) && m.cells[x + d.x][y + d.y] == ' ';
  return ways;
}

// Every open cell reachable from the start cell.
bool connected(const Maze& m) {
  static bool seen[kMazeWidth][kMazeHeight];
  static Spot queue[kMazeWidth * kMazeHeight];
  int open = 0;
  for (int x = 0; x < kMazeWidth; ++x)
    for (int y = 0; y < kMazeHeight; ++y) seen[x][y] = false, open += m.cells[x][y] == ' ';
  int head = 0, tail = 0;
  queue[tail++] = {kStartCellX, kStartCellY};
  seen[kStartCellX][kStartCellY] = true;
  while (head < tail) {
    const Spot c = queue[head++];
    for (const Spot d : {Spot{1, 0}, Spot{-1, 0}, Spot{0, 1}, Spot{0, -1}}) {
      const Spot n{c.x + d.x, c.y + d.y};
      if (!inside(n.x, n.y) || seen[n.x][n.y] || m.cells[n.x][n.y] != ' ') continue;
      seen[n.x][n.y] = true;
      queue[tail++] = n;
    }
  }
  return tail == open;
}

bool fixedCell(int x, int y) {
  if (x == kStartCellX && y == kStartCellY) return true;
  for (const BodyCell& b : kBodyCells)
    if (b.x == x && b.y == y) return true;
  return false;
}

// A hall of pillars (every node and passage open, a pillar where four nodes
// meet), then straight wall runs raised from pillar to pillar. A run stands
// only where every node keeps two ways out (no dead end: a hunted player
// always has a way on) and every open cell stays reachable. Long straight
// lanes remain, where the player outruns the guards.
void carve(Maze& m, MazeRandom& rng) {
  for (int x = 0; x < kMazeWidth; ++x)
    for (int y = 0; y < kMazeHeight; ++y) m.cells[x][y] = inside(x, y) && (x % 2 || y % 2) ? ' ' : '*';
  // A few pillars taken out: open floor where the view reaches round corners.
  for (int k = 0; k < kPillarsTaken; ++k)
    m.cells[2 * (1 + rng.below(kNodesX - 1))][2 * (1 + rng.below(kNodesY - 1))] = ' ';
  int raised = 0;
  for (int attempt = 0; attempt < kWallAttempts && raised < kWallCells; ++attempt) {
    // From a pillar (even x and y) along a line of pillars, 1 to kLongestRun passages.
    const int px = 2 * (1 + static_cast<int>(rng.below(kNodesX - 1)));
    const int py = 2 * (1 + static_cast<int>(rng.below(kNodesY - 1)));
    const Spot dirs[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    const Spot d = dirs[rng.below(4)];
    const int run = 1 + static_cast<int>(rng.below(kLongestRun));
    Spot cells[2 * kLongestRun];
    int count = 0;
    bool fits = true;
    for (int k = 1; k <= 2 * run && fits; ++k) {
      const Spot c{px + k * d.x, py + k * d.y};
      fits = inside(c.x, c.y) && !fixedCell(c.x, c.y);
      if (fits && m.cells[c.x][c.y] == ' ') cells[count++] = c;
    }
    if (!fits || count == 0) continue;
    for (int k = 0; k < count; ++k) m.cells[cells[k].x][cells[k].y] = '*';
    bool keeps = true;
    for (int k = 0; k < count && keeps; ++k) {
      // The nodes on either side of the passage just shut.
      const Spot c = cells[k];
      if (isNode(c.x, c.y)) continue;
      const Spot a = c.x % 2 == 0 ? Spot{c.x - 1, c.y} : Spot{c.x, c.y - 1};
      const Spot b = c.x % 2 == 0 ? Spot{c.x + 1, c.y} : Spot{c.x, c.y + 1};
      keeps = waysOut(m, a.x, a.y) >= 2 && waysOut(m, b.x, b.y) >= 2;
    }
    if (keeps && connected(m)) {
      raised += count;
    } else {
      for (int k = 0; k < count; ++k) m.cells[cells[k].x][cells[k].y] = ' ';
    }
  }
}

std::string levelText(const Maze& m) {
  std::string text = std::to_string(kMazeHeight) + "\n" + std::to_string(kMazeWidth) + "\n" +
                     std::to_string(kMaxGuards) + "\n";
  for (int y = kMazeHeight - 1; y >= 0; --y) {  // the top row first
    for (int x = 0; x < kMazeWidth; ++x) text += m.cells[x][y];
    text += '\n';
  }
  return text;
}

struct Furnisher {
  Maze& maze;
  MazeRandom& rng;
  CellSteps steps;  // from the player's start
  bool taken[kMazeWidth][kMazeHeight];

  // A random free open cell whose distance from the start lies in [near, far]
  // and that keeps `apart` cells from every cell in `others`; {-1, -1} if none.
  Spot pick(int near, int far, const Spot* others = nullptr, int otherCount = 0, int apart = 0) {
    Spot found{-1, -1};
    uint32_t seen = 0;
    for (int x = 0; x < kMazeWidth; ++x)
      for (int y = 0; y < kMazeHeight; ++y) {
        if (taken[x][y] || maze.cells[x][y] != ' ' || steps[x][y] < near || steps[x][y] > far) continue;
        bool close = false;
        for (int k = 0; k < otherCount; ++k)
          close |= std::abs(others[k].x - x) + std::abs(others[k].y - y) < apart;
        if (close) continue;
        // Reservoir choice: each fitting cell is equally likely, in one pass.
        if (rng.below(++seen) == 0) found = {x, y};
      }
    return found;
  }

  // The cell furthest from the start, for a maze too small for the white guard's range.
  Spot furthest() {
    Spot best{-1, -1};
    for (int x = 0; x < kMazeWidth; ++x)
      for (int y = 0; y < kMazeHeight; ++y)
        if (!taken[x][y] && maze.cells[x][y] == ' ' && (best.x < 0 || steps[x][y] > steps[best.x][best.y]))
          best = {x, y};
    return best;
  }

  void place(Spot s, char letter) {
    if (s.x < 0) return;  // the checker then names the missing marker
    maze.cells[s.x][s.y] = letter;
    taken[s.x][s.y] = true;
  }
};

}  // namespace

std::string generateLevel(uint64_t seed, uint32_t candidate) {
  MazeRandom rng = mazeRandom(seed, candidate);
  static Maze maze;
  carve(maze, rng);
  // The exit in the east wall: the player leaves it from the node west of it.
  const int exitY = 1 + 2 * static_cast<int>(rng.below(kNodesY));
  maze.cells[kMazeWidth - 1][exitY] = markerLetter(kMarkD);

  // Distances along the corridors, as the checker and the guards count them.
  static LevelMap map;
  const std::string bare = levelText(maze);
  parseLevelText(map, bare.data(), static_cast<long>(bare.size()));
  Furnisher f{maze, rng, {}, {}};
  corridorSteps(map, kStartCellX, kStartCellY, playerCanEnter, kAnyLength, f.steps);
  for (auto& column : f.taken)
    for (bool& t : column) t = false;
  f.taken[kStartCellX][kStartCellY] = true;
  for (const BodyCell& b : kBodyCells) f.taken[b.x][b.y] = true;
  f.taken[kMazeWidth - 2][exitY] = true;  // the exit's doorstep stays clear

  Spot items[kItemCount];
  for (int k = 0; k < kItemCount; ++k) {
    items[k] = f.pick(kItemSteps, kAnyLength, items, k, kItemsApart);
    if (items[k].x < 0) items[k] = f.pick(kItemSteps, kAnyLength);
    f.place(items[k], markerLetter(kItemMarkers[k]));
  }
  Spot white = f.pick(kWhiteNearest, kWhiteFurthest);
  if (white.x < 0) white = f.furthest();
  f.place(white, markerLetter(kGuardStartMarkers[kWhiteGuard]));
  for (int k = 0; k < kItemCount; ++k)
    f.place(f.pick(kGuardSteps, kAnyLength), markerLetter(kGuardStartMarkers[itemGuardSlot(k)]));
  return levelText(maze);
}
