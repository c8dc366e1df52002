#include "sim/simplayer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <queue>

#include "game/cues.h"
#include "game/sounds.h"

namespace simplay {

bool loadLevelForPlay(const std::string& path) {
  resetAllModules();
  if (std::FILE* f = std::fopen(path.c_str(), "rb"))
    std::fclose(f);
  else
    return false;
  mazeGrid.floorCount = 1;
  loadLevel(mazeGrid, path.c_str());
  startRules();
  return true;
}

void resetRulesState() {
  resetGameState();
  resetLevel();
  resetGuards();
  resetCues();
}

void loadLevelTextForPlay(const std::string& text) {
  resetRulesState();
  mazeGrid.floorCount = 1;
  parseLevelText(levelMaps[0], text.data(), static_cast<long>(text.size()));
  buildWalls(mazeGrid);
  startRules();
}

bool openCell(int x, int y) { return routeplan::open(x, y); }

void findLoops(bool (&onLoop)[kLevelWidth][kLevelHeight]) {
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y) onLoop[x][y] = openCell(x, y);
  for (bool pruned = true; pruned;) {
    pruned = false;
    for (int x = 0; x < kLevelWidth; ++x)
      for (int y = 0; y < kLevelHeight; ++y) {
        if (!onLoop[x][y]) continue;
        int ways = 0;
        for (Cell n : {Cell{x + 1, y}, Cell{x - 1, y}, Cell{x, y + 1}, Cell{x, y - 1}})
          ways += n.x >= 0 && n.y >= 0 && n.x < kLevelWidth && n.y < kLevelHeight && onLoop[n.x][n.y];
        if (ways < 2) onLoop[x][y] = false, pruned = true;
      }
  }
}

Cell targetCell(int t) {
  if (t < kFirstItemTarget) return {static_cast<int>(pointObjects[t].x), static_cast<int>(pointObjects[t].y)};
  if (t < kExitTarget) {
    const KeyItem& item = keyItems[t - kFirstItemTarget];
    return {static_cast<int>(item.x), static_cast<int>(item.y)};
  }
  return {levelMaps[0].markers[kMarkD].x - 1, levelMaps[0].markers[kMarkD].y};
}

bool targetDone(int t) {
  if (t < kFirstItemTarget) return !pointObjects[t].present;
  if (t < kExitTarget) return heldKeys & kItemBits[t - kFirstItemTarget];
  return false;
}

void guardArrival(const Sight& s, double (&arrival)[kLevelWidth][kLevelHeight]) {
  static CellSteps steps;
  for (auto& column : arrival)
    for (double& a : column) a = 1e9;
  for (int k = 0; k < guardCount && k < kMaxGuards; ++k) {
    if (!s.active[k]) continue;
    corridorSteps(levelMaps[0], static_cast<int>(s.at[k].x), static_cast<int>(s.at[k].y), guardCanEnter,
                  kAnyLength, steps);
    for (int x = 0; x < kLevelWidth; ++x)
      for (int y = 0; y < kLevelHeight; ++y)
        if (steps[x][y] != kNoWay) arrival[x][y] = std::min(arrival[x][y], kGuardPasses * steps[x][y]);
  }
}

void walkTimes(Cell from, int fromDir, const double (&arrival)[kLevelWidth][kLevelHeight], double margin,
               Walk& w, bool (*open)(int, int)) {
  static double best[kLevelWidth][kLevelHeight][4];
  static Cell parentOf[kLevelWidth][kLevelHeight][4];
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y) {
      w.passes[x][y] = 1e9;
      w.parent[x][y] = {-1, -1};
      for (int d = 0; d < 4; ++d) best[x][y][d] = 1e9;
    }
  using Entry = std::pair<double, int>;  // passes, cell * 4 + direction
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  best[from.x][from.y][fromDir] = 0;
  queue.push({0.0, (from.x * kLevelHeight + from.y) * 4 + fromDir});
  const int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
  while (!queue.empty()) {
    const auto [t, key] = queue.top();
    queue.pop();
    const int dir = key % 4, x = key / 4 / kLevelHeight, y = key / 4 % kLevelHeight;
    if (t > best[x][y][dir]) continue;
    if (t < w.passes[x][y]) w.passes[x][y] = t, w.parent[x][y] = parentOf[x][y][dir];
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dx[d], ny = y + dy[d];
      if (!open(nx, ny)) continue;
      const int quarterTurns = (d - dir + 4) % 4 == 3 ? 1 : (d - dir + 4) % 4;
      const double at = t + quarterTurns * kTurnPasses + kCellPasses;
      // Unsafe when a guard can stand in the new cell before the player is
      // through it, or in the old cell while the player is still near it.
      if (arrival[nx][ny] < at + margin || arrival[x][y] < at + margin - 1) continue;
      if (at >= best[nx][ny][d]) continue;
      best[nx][ny][d] = at;
      parentOf[nx][ny][d] = {x, y};
      queue.push({at, (nx * kLevelHeight + ny) * 4 + d});
    }
  }
}

std::vector<Cell> pathTo(const Walk& w, Cell from, Cell to) {
  std::vector<Cell> cells;
  for (Cell c = to; c.x >= 0; c = w.parent[c.x][c.y]) {
    cells.push_back(c);
    if (c.x == from.x && c.y == from.y) break;
  }
  std::reverse(cells.begin(), cells.end());
  return cells;
}

std::vector<int> bestOrder() {
  std::vector<int> order, best;
  for (int t = 0; t < kExitTarget; ++t) order.push_back(t);
  const Cell start{static_cast<int>(player.x), static_cast<int>(player.y)};
  int dist[kTargets][kTargets] = {}, fromStart[kTargets] = {};
  for (int a = 0; a < kTargets; ++a) {
    fromStart[a] = routeplan::cellDistance(start, targetCell(a));
    for (int b = 0; b < kTargets; ++b) dist[a][b] = routeplan::cellDistance(targetCell(a), targetCell(b));
  }
  int bestLength = 1 << 30;
  do {
    int length = fromStart[order.front()] + dist[order.back()][kExitTarget];
    for (size_t i = 0; i + 1 < order.size(); ++i) length += dist[order[i]][order[i + 1]];
    if (length < bestLength) bestLength = length, best = order;
  } while (std::next_permutation(order.begin(), order.end()));
  best.push_back(kExitTarget);
  return best;
}

bool guardWithinHearing(const double (&arrival)[kLevelWidth][kLevelHeight], Cell at) {
  return arrival[at.x][at.y] <= kHearingCells * kGuardPasses;
}

int headingDirection() { return static_cast<int>(std::lround(player.heading / kQuarterTurn)) % 4; }

void plan(Player& p) {
  static double arrival[kLevelWidth][kLevelHeight];
  static Walk safeWalk;
  const Cell at{static_cast<int>(player.x), static_cast<int>(player.y)};
  const Sight& s = p.seen[(p.pass - std::min({p.pass, p.delay, kMemory - 1})) % kMemory];
  guardArrival(s, arrival);
  walkTimes(at, headingDirection(), arrival, kSafetyPasses, safeWalk);
  p.guardNear = guardWithinHearing(arrival, at);
  for (int t : p.order) {
    if (targetDone(t) || (t == kExitTarget && heldKeys != kAllItemsHeld)) continue;
    const Cell goal = targetCell(t);
    if (safeWalk.passes[goal.x][goal.y] < 1e8) {
      p.path = pathTo(safeWalk, at, goal);
      p.refuge = {-1, -1};
      return;
    }
  }
  // No target is safe: away from the guards to where they will be longest
  // in coming, by the safe ways, else by any way that does not meet them.
  static Walk closeWalk;
  const Walk* walk = &safeWalk;
  bool anySafe = false;
  for (int x = 0; x < kLevelWidth && !anySafe; ++x)
    for (int y = 0; y < kLevelHeight && !anySafe; ++y)
      anySafe = (x != at.x || y != at.y) && safeWalk.passes[x][y] < 1e8;
  if (!anySafe) {
    walkTimes(at, headingDirection(), arrival, 0.0, closeWalk);
    walk = &closeWalk;
  }
  // A refuge once chosen is kept while the way there stays open: turning back
  // and forth costs more than any better choice gains.
  const Cell r = p.refuge;
  if (r.x >= 0 && (r.x != at.x || r.y != at.y) && walk->passes[r.x][r.y] < 1e8) {
    p.path = pathTo(*walk, at, r);
    return;
  }
  Cell best = at;
  double lead = -1e9;
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y) {
      if (walk->passes[x][y] > 1e8 || walk->passes[x][y] < 4 * kCellPasses || !p.onLoop[x][y]) continue;
      const double l = std::min(arrival[x][y], 250.0) - 0.3 * walk->passes[x][y];
      if (l > lead) lead = l, best = {x, y};
    }
  p.refuge = best;
  p.path = pathTo(*walk, at, best);
}

char steer(Player& p) {
  if (p.path.empty()) return '.';
  // A route of one cell: to its centre (the exit is reached only near it).
  const Cell here = p.path[0], next = p.path.size() > 1 ? p.path[1] : p.path[0];
  if (p.path.size() == 1 && std::hypot(here.x + 0.5 - player.x, here.y + 0.5 - player.y) < 0.2) return '.';
  const int sx = next.x - here.x;
  // Off the line from this cell's centre to the next: first back onto it.
  const double lateral = sx != 0 ? player.y - (here.y + 0.5) : player.x - (here.x + 0.5);
  double tx = next.x + 0.5, ty = next.y + 0.5;
  if (std::fabs(lateral) > 0.25) tx = here.x + 0.5, ty = here.y + 0.5;
  const double want = std::atan2(ty - player.y, tx - player.x);
  const double turn = std::remainder(want - player.heading, 6.283185307179586);
  if (std::fabs(turn) <= 0.1) return 'F';
  // Straight behind: backwards with a guard near, whose back would be turned
  // on it for the 0.7 s a half turn costs, or for a short way back.
  if (p.wayBack == WayBack::kBacksAway && std::fabs(turn) >= 3.14159265358979 - 0.1) {
    const int dx = next.x - here.x, dy = next.y - here.y;
    int run = 1;
    for (size_t i = 1; i + 1 < p.path.size() && run <= kShortWayBack; ++i, ++run)
      if (p.path[i + 1].x - p.path[i].x != dx || p.path[i + 1].y - p.path[i].y != dy) break;
    if (p.guardNear || run <= kShortWayBack) return 'B';
  }
  // At a junction where the route turns, a person sometimes runs on a little.
  if (!p.junctionRolled && std::fabs(turn) > 1.0) {
    p.junctionRolled = true;
    const int ahead = headingDirection();
    const int ax = ahead == 0 ? 1 : ahead == 2 ? -1 : 0, ay = ahead == 1 ? 1 : ahead == 3 ? -1 : 0;
    int exits = 0;
    for (Cell n : {Cell{here.x + 1, here.y}, Cell{here.x - 1, here.y}, Cell{here.x, here.y + 1},
                   Cell{here.x, here.y - 1}})
      exits += openCell(n.x, n.y);
    if (exits >= 3 && openCell(here.x + ax, here.y + ay) && p.rng() % 100 < kOvershootPercent)
      p.overshootLeft = 3 + static_cast<int>(p.rng() % 3);
  }
  if (p.overshootLeft > 0) {
    --p.overshootLeft;
    return 'F';
  }
  return turn > 0 ? 'L' : 'R';
}

void remember(Player& p) {
  Sight& s = p.seen[p.pass % kMemory];
  for (int k = 0; k < kMaxGuards; ++k)
    s.active[k] = guards[k].active, s.at[k] = guards[k].waypoints[guards[k].currentWaypoint];
}

void track(RunResult& r, uint64_t key) {
  const Waypoint& w = guards[0].waypoints[guards[0].currentWaypoint];
  r.closestWhite = std::min(r.closestWhite, std::hypot(double(player.x) - w.x, double(player.y) - w.y));
  r.trace = (r.trace ^ key) * 1099511628211ull;
  r.mostItems = std::max(r.mostItems, __builtin_popcount(static_cast<unsigned>(heldKeys)));
}

RunResult playPlanned(const routeplan::Snapshot& start, int delay, uint32_t seed, std::string* keys,
                      WayBack wayBack) {
  routeplan::load(start);
  Player p{std::mt19937(seed), delay, {}, 0, {}, {}, {-1, -1}, 0, false, {}};
  p.wayBack = wayBack;
  p.order = bestOrder();
  findLoops(p.onLoop);
  RunResult r;
  Cell lastCell{-1, -1};
  for (; r.passes < kRunLimit; ++r.passes, ++p.pass) {
    remember(p);
    const Cell at{static_cast<int>(player.x), static_cast<int>(player.y)};
    if (at.x != lastCell.x || at.y != lastCell.y || p.pass % 5 == 0) {
      if (at.x != lastCell.x || at.y != lastCell.y) p.junctionRolled = false;
      lastCell = at;
      plan(p);
    }
    const char key = steer(p);
    if (keys) *keys += key;
    routeplan::applyKey(key);
    const Outcome o = routeplan::rulesPass();
    track(r, static_cast<uint64_t>(key));
    if (o == routeplan::kItemLost) ++r.itemsLost;
    if (o == routeplan::kCaught || o == routeplan::kEscaped) {
      r.outcome = o;
      ++r.passes;
      break;
    }
  }
  return r;
}

RunResult standStill(const routeplan::Snapshot& start) {
  routeplan::load(start);
  RunResult r;
  for (; r.passes < kRunLimit && r.outcome != routeplan::kCaught; ++r.passes) {
    r.outcome = routeplan::rulesPass();
    track(r, 0);
  }
  return r;
}

RunResult wander(const routeplan::Snapshot& start, uint32_t seed, WayBack wayBack) {
  routeplan::load(start);
  Player p{std::mt19937(seed), 0, {}, 0, {}, {}, {-1, -1}, 0, true, {}};
  p.wayBack = wayBack;
  RunResult r;
  Cell came{-1, -1};
  for (; r.passes < kRunLimit; ++r.passes) {
    const Cell at{static_cast<int>(player.x), static_cast<int>(player.y)};
    const bool arrived = p.path.size() < 2 || (at.x == p.path[1].x && at.y == p.path[1].y);
    if (arrived) {
      std::vector<Cell> ways;
      for (Cell n : {Cell{at.x + 1, at.y}, Cell{at.x - 1, at.y}, Cell{at.x, at.y + 1}, Cell{at.x, at.y - 1}})
        if (openCell(n.x, n.y) && (n.x != came.x || n.y != came.y)) ways.push_back(n);
      if (ways.empty()) ways.push_back(came);
      came = at;
      p.path = {at, ways[p.rng() % ways.size()]};
    }
    const char key = steer(p);
    routeplan::applyKey(key);
    const Outcome o = routeplan::rulesPass();
    track(r, static_cast<uint64_t>(key));
    if (o == routeplan::kCaught || o == routeplan::kEscaped) {
      r.outcome = o;
      ++r.passes;
      break;
    }
  }
  return r;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

Report measure(const std::vector<int>& delays, int runs) {
  routeplan::Snapshot start;
  routeplan::save(start);
  Report rep;
  for (int d : delays) {
    DelayFigures f;
    f.delay = d;
    f.runs = runs;
    std::vector<double> times, closest;
    int lost = 0;
    for (int s = 1; s <= runs; ++s) {
      const RunResult r = playPlanned(start, d, static_cast<uint32_t>(s));
      lost += r.itemsLost;
      if (r.outcome == routeplan::kEscaped)
        ++f.wins, times.push_back(r.passes / double(kPassesPerSecond)), closest.push_back(r.closestWhite);
      if (r.outcome == routeplan::kCaught) ++f.caught;
    }
    f.medianWinSeconds = median(times);
    f.closestWhite = median(closest);
    f.itemsLostPerRun = runs ? lost / double(runs) : 0;
    rep.delays.push_back(f);
  }
  rep.standStillSeconds = standStill(start).passes / double(kPassesPerSecond);
  std::vector<double> catches;
  rep.wanderRuns = runs;
  for (int s = 1; s <= runs; ++s) {
    const RunResult r = wander(start, static_cast<uint32_t>(s));
    if (r.outcome == routeplan::kCaught) {
      catches.push_back(r.passes / double(kPassesPerSecond));
      if (r.mostItems < 3) ++rep.wanderCaughtEarly;
    }
  }
  rep.wanderMedianCatchSeconds = median(catches);
  routeplan::load(start);
  return rep;
}

std::string describe(const Report& rep) {
  std::string text;
  char line[200];
  for (const DelayFigures& f : rep.delays) {
    std::snprintf(line, sizeof line,
                  "reaction %3d ms: %3d of %d won (%.0f%%), %d caught; median win %.1f s; white guard's "
                  "closest approach in a win %.2f cells (median); items taken back %.2f a run\n",
                  f.delay * 1000 / kPassesPerSecond, f.wins, f.runs, 100.0 * f.wins / std::max(f.runs, 1),
                  f.caught, f.medianWinSeconds, f.closestWhite, f.itemsLostPerRun);
    text += line;
  }
  std::snprintf(line, sizeof line, "standing still: caught after %.1f s\n", rep.standStillSeconds);
  text += line;
  std::snprintf(line, sizeof line,
                "wandering: %d of %d caught before carrying all three items (%.0f%%); median catch %.1f s\n",
                rep.wanderCaughtEarly, rep.wanderRuns,
                100.0 * rep.wanderCaughtEarly / std::max(rep.wanderRuns, 1), rep.wanderMedianCatchSeconds);
  text += line;
  return text;
}

}  // namespace simplay
