// Finds a winning route through the level for tests/replays/winning.txt: an A*
// search over the real movement and guard code, in steps from one cell centre
// to the next (turning to face the way, or sidestepping or backing where that
// is quicker), with the frame's rules run without drawing. The real game then
// checks the route: the replay test plays it.
// Needs the game loaded first (startGameWithoutLoop).
#pragma once
#include <cmath>
#include <cstring>
#include <deque>
#include <queue>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "game/controls.h"
#include "game/frame.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace routeplan {

struct Cell {
  int x, y;
};

// The state the rules read and write; the guards' route lists are empty between frames.
struct Snapshot {
  PlayerState player;
  int32_t score, timeBonus, bonusTick, heldKeys;
  int32_t itemActive[3], bodyPresent[3];
  Guard guards[4];
};

inline void save(Snapshot& s) {
  s = {player, score, timeBonus, bonusTick, heldKeys, {}, {}, {}};
  for (int k = 0; k < 3; ++k)
    s.itemActive[k] = keyItems[k].active, s.bodyPresent[k] = pointObjects[k].present;
  for (int k = 0; k < 4; ++k) s.guards[k] = guards[k];
}

inline void load(const Snapshot& s) {
  player = s.player, score = s.score, timeBonus = s.timeBonus, bonusTick = s.bonusTick, heldKeys = s.heldKeys;
  for (int k = 0; k < 3; ++k)
    keyItems[k].active = s.itemActive[k], pointObjects[k].present = s.bodyPresent[k];
  for (int k = 0; k < 4; ++k) guards[k] = s.guards[k];
}

enum Outcome { kGoingOn, kCaught, kItemLost, kEscaped };

// The rules of runFrame without drawing; any item taken back counts as a failure.
inline Outcome rulesOnlyFrame() {
  if (bonusTick == 10) {
    bonusTick = 0;
    if (timeBonus > 0) timeBonus -= 10;
  } else {
    ++bonusTick;
  }
  stepGuards(player);
  for (PointObject& b : pointObjects)
    if (b.present && reached(b.x, b.y, kReachLimit)) b.present = 0, score += 100;
  for (int k = 0; k < 4; ++k) {
    const Waypoint& at = guards[k].waypoints[guards[k].currentWaypoint];
    if (guards[k].active && reached(at.x, at.y, kReachLimit)) return k == 0 ? kCaught : kItemLost;
  }
  for (int k = 0; k < 3; ++k) {
    if (!keyItems[k].active || !reached(keyItems[k].x, keyItems[k].y, kReachLimit)) continue;
    keyItems[k].active = 0;
    if (!(heldKeys & (1 << k))) heldKeys |= 1 << k, guards[k + 1].active = 1;
  }
  const MarkerPos exit = levelMaps[0].markers[kMarkD];
  if (heldKeys == 7 && reached(exit.x - 0.5f, exit.y + 0.5f, kExitReachLimit)) return kEscaped;
  return kGoingOn;
}

// One pass of a held key: F forward, B back, L and R turn, l and r sidestep.
inline void applyKey(char k) {
  if (k == 'F') stepPlayer(player.heading, 0.3);
  if (k == 'B') stepPlayer(player.heading, -0.3);
  if (k == 'L') turnLeft();
  if (k == 'R') turnRight();
  if (k == 'l') stepPlayer(player.heading + 1.5707963, 0.3);
  if (k == 'r') stepPlayer(player.heading - 1.5707963, 0.3);
}

inline bool open(int x, int y) {
  const LevelMap& m = levelMaps[0];
  return x >= 0 && y >= 0 && x < m.width && y < m.height && m.codes[x][y] < kCodeBrick &&
         m.codes[x][y] != kCodeExit;
}

// Steps between two open cells, by breadth-first search.
inline int cellDistance(Cell a, Cell b) {
  static int dist[kLevelWidth][kLevelHeight];
  for (auto& column : dist)
    for (int& d : column) d = -1;
  std::deque<Cell> queue{a};
  dist[a.x][a.y] = 0;
  while (!queue.empty()) {
    const Cell c = queue.front();
    queue.pop_front();
    if (c.x == b.x && c.y == b.y) return dist[c.x][c.y];
    for (Cell n : {Cell{c.x + 1, c.y}, Cell{c.x - 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x, c.y - 1}}) {
      if (!open(n.x, n.y) || dist[n.x][n.y] >= 0) continue;
      dist[n.x][n.y] = dist[c.x][c.y] + 1;
      queue.push_back(n);
    }
  }
  return 1000;
}

// Targets: "b0".."b2" the bodies, "R", "G", "B" the items, "X" the exit, in the
// order the estimate visits them. Returns the route as one key per pass ('.'
// for none), or "" when the node budget runs out first.
inline std::string planWinningRoute(const std::vector<std::string>& targets, size_t nodeLimit) {
  std::vector<Cell> cells;
  std::vector<int> bodyOrItem;  // 0..2 body, 3..5 item, 6 exit
  for (const std::string& t : targets) {
    const int kind = t[0] == 'b' ? t[1] - '0' : t == "R" ? 3 : t == "G" ? 4 : t == "B" ? 5 : 6;
    bodyOrItem.push_back(kind);
    if (kind < 3)
      cells.push_back({static_cast<int>(pointObjects[kind].x), static_cast<int>(pointObjects[kind].y)});
    else if (kind < 6)
      cells.push_back({static_cast<int>(keyItems[kind - 3].x), static_cast<int>(keyItems[kind - 3].y)});
    else
      cells.push_back({levelMaps[0].markers[kMarkD].x - 1, levelMaps[0].markers[kMarkD].y});
  }
  // Passes still needed at best: 10/3 passes per cell through the targets not yet done.
  auto estimate = [&](Cell at) {
    int steps = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
      const int k = bodyOrItem[i];
      if ((k < 3 && !pointObjects[k].present) || (k >= 3 && k < 6 && (heldKeys & (1 << (k - 3))))) continue;
      steps += cellDistance(at, cells[i]);
      at = cells[i];
    }
    return 3.34 * steps;
  };

  struct Node {
    Snapshot state;
    Cell cell;
    int passes;
    double cost;  // passes, plus a little for each sidestep so that facing the way wins a tie
    int parent;
    std::string keys;
  };
  std::vector<Node> nodes;
  nodes.reserve(nodeLimit + 16);
  nodes.push_back(Node{{}, {static_cast<int>(player.x), static_cast<int>(player.y)}, 0, 0, -1, ""});
  save(nodes[0].state);
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> frontier;
  frontier.push({estimate(nodes[0].cell), 0});
  std::set<std::tuple<int, int, int, int, int, int>> seen;
  while (!frontier.empty() && nodes.size() < nodeLimit) {
    const int at = frontier.top().second;
    frontier.pop();
    load(nodes[at].state);
    const Waypoint& white = guards[0].waypoints[guards[0].currentWaypoint];
    const int facing = static_cast<int>(std::lround(player.heading * 36 / 6.283185)) % 36;
    const int taken =
        heldKeys | pointObjects[0].present << 3 | pointObjects[1].present << 4 | pointObjects[2].present << 5;
    if (!seen.insert({nodes[at].cell.x * 100 + nodes[at].cell.y, facing, taken,
                      static_cast<int>(white.x) * 100 + static_cast<int>(white.y), nodes[at].passes / 6, 0})
             .second)
      continue;
    // Each neighbour, facing it or not, and a short wait.
    const Cell from = nodes[at].cell;
    for (int option = 0; option < 9; ++option) {
      const int dir = option / 2, face = option % 2 == 0;
      const Cell to =
          dir == 4 ? from : Cell{from.x + (dir == 0) - (dir == 1), from.y + (dir == 2) - (dir == 3)};
      if (dir < 4 && !open(to.x, to.y)) continue;
      load(nodes[at].state);
      std::string keys;
      Outcome outcome = kGoingOn;
      const double want = std::atan2(to.y - from.y, to.x - from.x);
      for (int pass = 0; pass < 60 && outcome == kGoingOn; ++pass) {
        char key = '.';
        if (dir == 4) {
          if (pass == 5) break;
        } else {
          const double along =
              (to.x - from.x) * (to.x + 0.5 - player.x) + (to.y - from.y) * (to.y + 0.5 - player.y);
          if (along <= 0.15) break;
          const double turn = std::remainder(want - player.heading, 6.283185307179586);
          if (face && std::fabs(turn) > 0.09)
            key = turn > 0 ? 'L' : 'R';
          else if (std::fabs(turn) < 0.5)
            key = 'F';
          else if (std::fabs(turn) > 2.6)
            key = 'B';
          else
            key = turn > 0 ? 'l' : 'r';
        }
        applyKey(key);
        keys += key;
        outcome = rulesOnlyFrame();
      }
      if (outcome == kCaught || outcome == kItemLost) continue;
      Node next{{}, to, nodes[at].passes + static_cast<int>(keys.size()), 0, at, keys};
      next.cost = nodes[at].cost + static_cast<double>(keys.size()) +
                  (keys.find_first_of("Blr") != std::string::npos ? 3 : 0);
      save(next.state);
      nodes.push_back(next);
      if (outcome == kEscaped) {
        std::string route;
        for (int n = static_cast<int>(nodes.size()) - 1; n >= 0; n = nodes[n].parent)
          route = nodes[n].keys + route;
        return route;
      }
      frontier.push({next.cost + estimate(to), static_cast<int>(nodes.size()) - 1});
    }
  }
  return "";
}

// The script lines of a route, one per pass.
inline std::string scanCodeOf(char key) {
  switch (key) {
    case 'F': return " 48";
    case 'B': return " 50";
    case 'L': return " 4B";
    case 'R': return " 4D";
    case 'l': return " 4F";
    case 'r': return " 51";
    default: return "";
  }
}

}  // namespace routeplan
