#include "sim/newcomer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace newcomer {

Mind mind;

bool inside(int x, int y) { return x >= 0 && y >= 0 && x < kLevelWidth && y < kLevelHeight; }

bool solid(int x, int y) {
  const int32_t code = levelMaps[0].codes[x][y];
  return code == kCodeBrick || code == kCodeExit;
}

bool knownOpen(int x, int y) { return inside(x, y) && mind.cell[x][y] == kOpen; }

bool maybeOpen(int x, int y) { return inside(x, y) && mind.cell[x][y] != kWall; }

void learn(int x, int y) {
  if (!inside(x, y) || mind.cell[x][y] != kUnknown) return;
  mind.cell[x][y] = solid(x, y) ? kWall : kOpen;
}

void look() {
  for (auto& column : mind.inViewNow)
    for (bool& b : column) b = false;
  const int px = static_cast<int>(player.x), py = static_cast<int>(player.y);
  learn(px, py);
  for (Cell n : {Cell{px + 1, py}, Cell{px - 1, py}, Cell{px, py + 1}, Cell{px, py - 1}}) learn(n.x, n.y);
  for (int r = 0; r < kRays; ++r) {
    const double a = player.heading + kHalfView * (1.0 - 2.0 * r / (kRays - 1));
    const double dx = std::cos(a), dy = std::sin(a);
    int cx = px, cy = py;
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const double tdx = std::fabs(dx) > 1e-12 ? std::fabs(1.0 / dx) : 1e30;
    const double tdy = std::fabs(dy) > 1e-12 ? std::fabs(1.0 / dy) : 1e30;
    double tx = std::fabs(dx) > 1e-12 ? ((sx > 0 ? cx + 1 - player.x : player.x - cx) * tdx) : 1e30;
    double ty = std::fabs(dy) > 1e-12 ? ((sy > 0 ? cy + 1 - player.y : player.y - cy) * tdy) : 1e30;
    while (inside(cx, cy)) {
      mind.inViewNow[cx][cy] = true;
      learn(cx, cy);
      if (solid(cx, cy)) {
        if (cx == levelMaps[0].markers[kMarkD].x && cy == levelMaps[0].markers[kMarkD].y && exitOpen)
          mind.exitKnown = true;
        break;
      }
      if (tx < ty)
        cx += sx, tx += tdx;
      else
        cy += sy, ty += tdy;
    }
  }
}

void notice(int pass) {
  const int px = static_cast<int>(player.x), py = static_cast<int>(player.y);
  for (int k = 0; k < guardCount && k < kMaxGuards; ++k) {
    if (!guards[k].active) continue;
    const Waypoint& at = guards[k].waypoints[guards[k].currentWaypoint];
    const int gx = static_cast<int>(at.x), gy = static_cast<int>(at.y);
    const bool seen = inside(gx, gy) && mind.inViewNow[gx][gy];
    const bool heard =
        corridorDistance(levelMaps[0], gx, gy, px, py, guardCanEnter, kHearingCells) < kHearingCells;
    if (seen && k == kWhiteGuard) mind.whiteLastInView = pass;
    if (seen || heard) mind.now.lastAt[k] = at, mind.now.lastNoticed[k] = pass;
  }
  mind.past[pass % simplay::kMemory] = mind.now;
}

simplay::Sight knownGuards(int pass, int delay) {
  simplay::Sight s{};
  const int then = pass - delay;
  if (then < 0) return s;
  const Recall& known = mind.past[then % simplay::kMemory];
  for (int k = 0; k < kMaxGuards; ++k) {
    const int n = known.lastNoticed[k];
    s.active[k] = n >= 0 && then - n < kGuardMemory;
    s.at[k] = known.lastAt[k];
  }
  return s;
}

void knownArrival(const simplay::Sight& s, double (&arrival)[kLevelWidth][kLevelHeight]) {
  static int steps[kLevelWidth][kLevelHeight];
  static Cell queue[kLevelWidth * kLevelHeight];
  for (auto& column : arrival)
    for (double& a : column) a = 1e9;
  for (int k = 0; k < kMaxGuards; ++k) {
    if (!s.active[k]) continue;
    for (auto& column : steps)
      for (int& v : column) v = -1;
    int head = 0, tail = 0;
    const Cell from{static_cast<int>(s.at[k].x), static_cast<int>(s.at[k].y)};
    if (!inside(from.x, from.y)) continue;
    steps[from.x][from.y] = 0;
    queue[tail++] = from;
    while (head < tail) {
      const Cell c = queue[head++];
      arrival[c.x][c.y] = std::min(arrival[c.x][c.y], simplay::kGuardPasses * steps[c.x][c.y]);
      for (Cell n : {Cell{c.x + 1, c.y}, Cell{c.x - 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x, c.y - 1}})
        if (maybeOpen(n.x, n.y) && steps[n.x][n.y] < 0)
          steps[n.x][n.y] = steps[c.x][c.y] + 1, queue[tail++] = n;
    }
  }
}

bool targetKnown(int t) {
  if (t == kExitTarget) return mind.exitKnown && heldKeys == kAllItemsHeld;
  const Cell c = simplay::targetCell(t);
  return knownOpen(c.x, c.y) && !simplay::targetDone(t);
}

bool frontier(int x, int y) {
  if (!knownOpen(x, y)) return false;
  for (Cell n : {Cell{x + 1, y}, Cell{x - 1, y}, Cell{x, y + 1}, Cell{x, y - 1}})
    if (inside(n.x, n.y) && mind.cell[n.x][n.y] == kUnknown) return true;
  return false;
}

Cell goalOn(const simplay::Walk& w) {
  Cell best{-1, -1};
  double bestPasses = 1e8;
  for (int t = 0; t < kTargets; ++t) {
    if (!targetKnown(t)) continue;
    const Cell c = simplay::targetCell(t);
    if (w.passes[c.x][c.y] < bestPasses) bestPasses = w.passes[c.x][c.y], best = c;
  }
  if (best.x >= 0) return best;
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y)
      if (frontier(x, y) && w.passes[x][y] < bestPasses) bestPasses = w.passes[x][y], best = {x, y};
  return best;
}

void planOnKnowledge(simplay::Player& p) {
  static double arrival[kLevelWidth][kLevelHeight];
  static simplay::Walk safe, close;
  const Cell at{static_cast<int>(player.x), static_cast<int>(player.y)};
  knownArrival(knownGuards(p.pass, std::min(p.delay, simplay::kMemory - 1)), arrival);
  simplay::walkTimes(at, simplay::headingDirection(), arrival, simplay::kSafetyPasses, safe, knownOpen);
  p.guardNear = simplay::guardWithinHearing(arrival, at);
  Cell goal = goalOn(safe);
  if (goal.x >= 0) {
    p.path = simplay::pathTo(safe, at, goal);
    return;
  }
  // Nothing is safe: to the known cell the guards are longest in coming to.
  simplay::walkTimes(at, simplay::headingDirection(), arrival, 0.0, close, knownOpen);
  double lead = -1e9;
  goal = at;
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y) {
      if (close.passes[x][y] > 1e8 || (x == at.x && y == at.y)) continue;
      const double l = std::min(arrival[x][y], 250.0) - 0.3 * close.passes[x][y];
      if (l > lead) lead = l, goal = {x, y};
    }
  p.path = simplay::pathTo(close, at, goal);
}

RunResult play(const routeplan::Snapshot& start, int delay, uint32_t seed, simplay::WayBack wayBack) {
  routeplan::load(start);
  mind = Mind{};
  for (int& n : mind.now.lastNoticed) n = -1;
  for (Recall& r : mind.past) r = mind.now;
  mind.whiteLastInView = -1;
  simplay::Player p{std::mt19937(seed), delay, {}, 0, {}, {}, {-1, -1}, 0, false, {}};
  p.wayBack = wayBack;
  RunResult r;
  Cell lastCell{-1, -1};
  for (; r.passes < simplay::kRunLimit; ++r.passes, ++p.pass) {
    look();
    notice(p.pass);
    const Cell at{static_cast<int>(player.x), static_cast<int>(player.y)};
    if (at.x != lastCell.x || at.y != lastCell.y || p.pass % 5 == 0) {
      if (at.x != lastCell.x || at.y != lastCell.y) p.junctionRolled = false;
      lastCell = at;
      planOnKnowledge(p);
      for (const Cell& c : p.path) r.actedOnUnknown |= !knownOpen(c.x, c.y);
    }
    const char key = simplay::steer(p);
    routeplan::applyKey(key);
    const routeplan::Outcome o = routeplan::rulesPass();
    r.trace = (r.trace ^ static_cast<uint64_t>(key)) * 1099511628211ull;
    if (o == routeplan::kCaught || o == routeplan::kEscaped) {
      r.outcome = o;
      ++r.passes;
      break;
    }
  }
  for (const auto& column : mind.cell)
    for (Knowledge k : column) r.cellsExplored += k == kOpen;
  r.caughtFromBehind = r.outcome == routeplan::kCaught &&
                       (mind.whiteLastInView < 0 || p.pass - mind.whiteLastInView > kBehindPasses);
  return r;
}

std::vector<Figures> measure(const std::vector<int>& delays, int runs) {
  routeplan::Snapshot start;
  routeplan::save(start);
  std::vector<Figures> all;
  for (int d : delays) {
    Figures f;
    f.delay = d;
    f.runs = runs;
    std::vector<double> times, cells;
    for (int s = 1; s <= runs; ++s) {
      const RunResult r = play(start, d, static_cast<uint32_t>(s));
      cells.push_back(r.cellsExplored);
      if (r.outcome == routeplan::kEscaped) ++f.wins, times.push_back(r.passes / double(kPassesPerSecond));
      if (r.outcome == routeplan::kCaught) ++(r.caughtFromBehind ? f.caughtBehind : f.caughtInView);
    }
    f.medianWinSeconds = simplay::median(times);
    f.medianCellsExplored = simplay::median(cells);
    all.push_back(f);
  }
  routeplan::load(start);
  return all;
}

std::string describe(const std::vector<Figures>& all) {
  std::string text;
  char line[240];
  for (const Figures& f : all) {
    std::snprintf(line, sizeof line,
                  "newcomer, reaction %3d ms: %3d of %d won (%.0f%%); median win %.1f s; median cells "
                  "explored %.0f; caught from behind %d, caught in view %d, out of time %d\n",
                  f.delay * 1000 / kPassesPerSecond, f.wins, f.runs, 100.0 * f.wins / std::max(f.runs, 1),
                  f.medianWinSeconds, f.medianCellsExplored, f.caughtBehind, f.caughtInView,
                  f.runs - f.wins - f.caughtBehind - f.caughtInView);
    text += line;
  }
  return text;
}

}  // namespace newcomer
