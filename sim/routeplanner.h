// The game's own rules (game/rules.h) for the simulated
// players (sim/simplayer.h): the state the rules touch saved and restored, one
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

void save(Snapshot& s);

void load(const Snapshot& s);

enum Outcome { kGoingOn, kCaught, kItemLost, kEscaped };

// One pass of the game's rules, nothing drawn.
Outcome rulesPass();

// The keys a simulated player holds, one a pass, as letters: F forward, B
// back, L and R turn, l and r sidestep, '.' none.
unsigned moveOf(char key);

// One pass of a held key, through the game's own controls.
void applyKey(char key);

bool open(int x, int y);

// Steps between two open cells along the corridors; 1000 when there is no way.
int cellDistance(Cell a, Cell b);

// The script text of a key: its scan code in hexadecimal, after a space.
std::string scanCodeOf(char key);

}  // namespace routeplan
