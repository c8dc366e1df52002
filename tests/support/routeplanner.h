// The game's rules without drawing, for players simulated in tests
// (support/simplayer.h): the state the rules touch saved and restored, one
// frame's rules, one pass of a held key, and the script line of a key.
// Needs the level loaded first.
#pragma once
#include <cmath>
#include <cstring>
#include <deque>
#include <string>

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

// The rules of runFrame without drawing. A guard that takes its item back does
// so as in the game, and the frame reports kItemLost.
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
  Outcome outcome = kGoingOn;
  for (int k = 0; k < 4; ++k) {
    const Waypoint& at = guards[k].waypoints[guards[k].currentWaypoint];
    if (!guards[k].active || !reached(at.x, at.y, kReachLimit)) continue;
    if (k == 0) return kCaught;
    guards[k].active = 0;
    if (heldKeys & (1 << (k - 1))) heldKeys &= ~(1 << (k - 1)), keyItems[k - 1].active = 1;
    outcome = kItemLost;
  }
  for (int k = 0; k < 3; ++k) {
    if (!keyItems[k].active || !reached(keyItems[k].x, keyItems[k].y, kReachLimit)) continue;
    keyItems[k].active = 0;
    if (!(heldKeys & (1 << k))) heldKeys |= 1 << k, guards[k + 1].active = 1;
  }
  const MarkerPos exit = levelMaps[0].markers[kMarkD];
  if (outcome == kGoingOn && heldKeys == 7 && reached(exit.x - 0.5f, exit.y + 0.5f, kExitReachLimit))
    return kEscaped;
  return outcome;
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
