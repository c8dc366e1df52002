// The game's own rules (game/rules.h) for players simulated in tests
// (support/simplayer.h): the state the rules touch saved and restored, one
// pass of the rules as an outcome, one pass of a held key, and the script line
// of a key. Needs the level loaded first.
#pragma once
#include <cstdio>
#include <string>

#include "game/controls.h"
#include "game/rules.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "world/corridors.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace routeplan {

struct Cell {
  int x, y;
};

// The state the rules read and write; the guards' route lists are empty between passes.
struct Snapshot {
  PlayerState player;
  int32_t score, timeBonus, bonusTick, heldKeys, exitOpen;
  int32_t itemActive[kItemCount], bodyPresent[kBodyCount];
  Guard guards[kMaxGuards];
};

inline void save(Snapshot& s) {
  s = {player, score, timeBonus, bonusTick, heldKeys, exitOpen, {}, {}, {}};
  for (int k = 0; k < kItemCount; ++k) s.itemActive[k] = keyItems[k].active;
  for (int k = 0; k < kBodyCount; ++k) s.bodyPresent[k] = pointObjects[k].present;
  for (int k = 0; k < kMaxGuards; ++k) s.guards[k] = guards[k];
}

inline void load(const Snapshot& s) {
  player = s.player, score = s.score, timeBonus = s.timeBonus, bonusTick = s.bonusTick, heldKeys = s.heldKeys;
  exitOpen = s.exitOpen;
  for (int k = 0; k < kItemCount; ++k) keyItems[k].active = s.itemActive[k];
  for (int k = 0; k < kBodyCount; ++k) pointObjects[k].present = s.bodyPresent[k];
  for (int k = 0; k < kMaxGuards; ++k) guards[k] = s.guards[k];
}

enum Outcome { kGoingOn, kCaught, kItemLost, kEscaped };

// One pass of the game's rules, nothing drawn.
inline Outcome rulesPass() {
  const PassEvents ev = runRules();
  if (ev.caught) return kCaught;
  if (ev.escaped) return kEscaped;
  return ev.takenBack ? kItemLost : kGoingOn;
}

// The keys a simulated player holds, one a pass, as letters: F forward, B
// back, L and R turn, l and r sidestep, '.' none.
inline unsigned moveOf(char key) {
  switch (key) {
    case 'F': return kMoveForward;
    case 'B': return kMoveBack;
    case 'L': return kMoveTurnLeft;
    case 'R': return kMoveTurnRight;
    case 'l': return kMoveSideLeft;
    case 'r': return kMoveSideRight;
    default: return 0;
  }
}

// One pass of a held key, through the game's own controls.
inline void applyKey(char key) { applyMoves(moveOf(key)); }

inline bool open(int x, int y) { return playerCanEnter(levelMaps[0], x, y); }

// Steps between two open cells along the corridors; 1000 when there is no way.
inline int cellDistance(Cell a, Cell b) {
  const int d = corridorDistance(levelMaps[0], a.x, a.y, b.x, b.y, playerCanEnter);
  return d == kNoWay ? 1000 : d;
}

// The script text of a key: its scan code in hexadecimal, after a space.
inline std::string scanCodeOf(char key) {
  for (const Steering& s : kSteering) {
    if (s.move != moveOf(key)) continue;
    char text[8];
    std::snprintf(text, sizeof text, " %02X", static_cast<unsigned>(s.scanCode));
    return text;
  }
  return "";
}

}  // namespace routeplan
