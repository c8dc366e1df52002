// The guards: start cells, one waypoint per frame, and re-planning toward the
// player's cell with ten waypoints per cell step and animated quarter turns.
#include "guards/guards.h"

#include <cmath>

#include "world/gamestate.h"
#include "world/level.h"

Guard guards[kMaxGuards];
int32_t guardCount = 0;

namespace {

constexpr int kFirstPeriod = 28;  // frames between plans of the white guard
constexpr int kPeriodStride = 7;  // each further slot waits 7 frames longer
constexpr float kDegreesPerHeading = 22.5f;

int slotsInPlay() { return guardCount < 0 ? 0 : (guardCount > kMaxGuards ? kMaxGuards : guardCount); }

// A cell coordinate from a position; anything far outside the level (or NaN)
// becomes -1, which the path search treats as outside the grid.
int cellOf(double v, bool useFloor) {
  if (!(v > -1000.0 && v < 1000.0)) return -1;
  return static_cast<int>(useFloor ? std::floor(v) : v);
}

int sign(int v) { return (v > 0) - (v < 0); }

void setHeading(Guard& g, int dirX, int dirY, int headingIndex) {
  g.moveDirX = dirX;
  g.moveDirY = dirY;
  g.headingIndex = headingIndex;
}

void releaseRoute(NodeList& list) {
  while (PathNode* node = popFront(list)) releaseNode(node);
}

// The quarter turn from one step direction to the next: +1 turns toward +y
// from +x (counter-clockwise), -1 the other way, 0 straight on, 2 a reversal.
int turnBetween(int fromX, int fromY, int toX, int toY) {
  if (fromX == toX && fromY == toY) return 0;
  const int cross = fromX * toY - fromY * toX;
  return cross != 0 ? cross : 2;
}

}  // namespace

void initGuards(const LevelMap& map) {
  guardCount = map.guardCount > kMaxGuards ? kMaxGuards : map.guardCount;
  for (int k = 0; k < kMaxGuards; ++k) {
    Guard& g = guards[k];
    releaseRoute(g.routeList);
    g = Guard{};
    if (k >= guardCount) continue;
    const MarkerPos start = map.markers[kGuardStartMarkers[k]];
    g.active = 1;
    g.present = 1;
    g.waypoints[0] = {start.x + 0.5f, start.y + 0.5f};
    g.stepsPerCell = kStepsPerCell;
    // Past the arrays on purpose: the guard plans on its first frame, before it
    // takes a step, and stepping never goes beyond the last array entry anyway.
    g.lastWaypoint = kWaypointCount;
    g.currentWaypoint = 0;
    g.replanPeriod = g.replanCounter = kFirstPeriod + kPeriodStride * k;
  }
}

GuardSteps stepGuards(const PlayerState& player) {
  const int floor = player.floor >= 0 && player.floor < kMaxFloors ? player.floor : 0;
  const int slots = slotsInPlay();
  GuardSteps report{};
  for (int k = 0; k < slots; ++k) {
    Guard& g = guards[k];
    if (g.active != 1) continue;
    const Waypoint before = g.waypoints[g.currentWaypoint];
    if (g.replanCounter >= g.replanPeriod) {
      g.replanCounter = 0;
      planGuardRoute(g, levelMaps[floor], player.x, player.y);
    }
    ++g.replanCounter;
    if (g.currentWaypoint < g.lastWaypoint && g.currentWaypoint < kWaypointCount - 1) ++g.currentWaypoint;

    // A step is the waypoint that lands on a cell centre (every tenth); the
    // cell left lies against the way the last waypoint moved.
    const Waypoint& at = g.waypoints[g.currentWaypoint];
    if (g.stepsPerCell <= 0 || g.currentWaypoint % g.stepsPerCell != 0) continue;
    if (at.x == before.x && at.y == before.y) continue;
    const int toX = cellOf(at.x, true), toY = cellOf(at.y, true);
    const int dx = at.x > before.x ? 1 : at.x < before.x ? -1 : 0;
    const int dy = at.y > before.y ? 1 : at.y < before.y ? -1 : 0;
    report.steps[report.count++] = {k, toX - dx, toY - dy, toX, toY, at.x, at.y};
  }
  return report;
}

void planGuardRoute(Guard& g, const LevelMap& map, float playerX, float playerY) {
  const int steps = g.stepsPerCell > 0 && g.stepsPerCell <= kStepsPerCell ? g.stepsPerCell : kStepsPerCell;
  releaseRoute(g.routeList);  // empty between plans; never trust it blindly
  if (g.currentWaypoint < 0 || g.currentWaypoint >= kWaypointCount) g.currentWaypoint = 0;

  // Finish the cell step under way: move its remaining waypoints down to the
  // same offset within the first ten, ending on the next cell centre.
  const int a = g.currentWaypoint % kStepsPerCell;
  int e = a;
  for (int src = g.currentWaypoint, dst = a; src < kWaypointCount; ++src, ++dst) {
    g.waypoints[dst] = g.waypoints[src];
    g.facing[dst] = g.facing[src];
    e = dst;
    if (src % kStepsPerCell == 0 || src == g.lastWaypoint) break;
  }
  g.currentWaypoint = a;

  findPath(map, cellOf(g.waypoints[e].x, true), cellOf(g.waypoints[e].y, true), cellOf(playerX, false),
           cellOf(playerY, false), g.routeList);
  const float inverse = 1.0f / static_cast<float>(steps);

  PathNode* from = popFront(g.routeList);
  if (!from) {
    // No way to the player: finish the step under way and wait on its cell centre.
    g.lastWaypoint = e;
    return;
  }
  PathNode* to = popFront(g.routeList);
  if (to) {
    // The first step of a plan sets the heading outright, without a turn.
    if (to->x > from->x)
      setHeading(g, 1, 0, 0);
    else if (to->x < from->x)
      setHeading(g, -1, 0, 8);
    else if (to->y > from->y)
      setHeading(g, 0, 1, 4);
    else if (to->y < from->y)
      setHeading(g, 0, -1, 12);
  }

  // Up to index 92 the ten waypoints of a step and the facing after them fit in
  // the arrays; the period bound keeps a plan just longer than its use.
  int w = e;
  while (to && w < kWaypointCount - steps && w < g.replanPeriod + steps + 2) {
    const int gx = sign(to->x - from->x);
    const int gy = sign(to->y - from->y);
    const int turn = turnBetween(g.moveDirX, g.moveDirY, gx, gy);
    int turnSteps = turn == 0 ? 0 : turn == 2 ? 8 : 4;
    const int turnSign = turn == -1 ? -1 : 1;
    for (int i = 0; i < steps; ++i) {
      if (turnSteps > 0) {
        g.headingIndex = (g.headingIndex + turnSign + 16) % 16;
        --turnSteps;
      }
      g.waypoints[w] = {static_cast<float>(from->x + gx * static_cast<double>(inverse) * i + 0.5),
                        static_cast<float>(from->y + gy * static_cast<double>(inverse) * i + 0.5)};
      g.facing[w + 1] = static_cast<float>(g.headingIndex * static_cast<double>(kDegreesPerHeading));
      ++w;
    }
    g.moveDirX = gx;
    g.moveDirY = gy;
    releaseNode(from);
    from = to;
    to = popFront(g.routeList);
  }

  g.waypoints[w] = {from->x + 0.5f, from->y + 0.5f};
  if (w > 0) g.facing[w] = g.facing[w - 1];
  g.lastWaypoint = w;

  releaseNode(to);
  releaseRoute(g.routeList);
  releaseNode(from);
}

void resetGuards() {
  for (Guard& g : guards) {
    releaseRoute(g.routeList);
    g = Guard{};
  }
  guardCount = 0;
}
