// A simulated newcomer: it plays like the planning player of simplayer.h, with
// the same reaction delay, turning and overshoot, but knows only what a person
// on a first visit could know. It learns the maze by looking: the cells the
// view's rays cross (the floor the full map shows as seen), the wall a ray
// stops at, and the four cells around it. Crystals and items are known once
// their cell was seen, the exit once it was seen open (shut, it looks like any
// wall). It notices a guard only in view or within hearing, and remembers
// where it last noticed each for two seconds. It explores the nearest edge of
// the unknown, collects what it knows of when the way is safe, and leaves when
// it holds all three items and knows the exit. Its memory of the maze is
// perfect: an upper bound on a careful person. Unlike the planning player it
// turns round wherever its route doubles back: its figures are the ones the
// shipped level was chosen by, and backing away would raise them on every maze.
#pragma once
#include <string>
#include <vector>

#include "game/sounds.h"
#include "sim/simplayer.h"

namespace newcomer {

using routeplan::Cell;
using simplay::kExitTarget;
using simplay::kTargets;

enum Knowledge : uint8_t { kUnknown, kOpen, kWall };

constexpr int kRays = 81;                          // across the view, every eighth column of a 640-wide one
constexpr double kHalfView = 0.46364760900080615;  // atan(1/2): the view's half width
constexpr int kGuardMemory = 2 * kPassesPerSecond;
constexpr int kBehindPasses = 2 * kPassesPerSecond;  // "from behind": the white guard unseen this long

// Where each guard was last noticed, as the player knew it after one pass.
struct Recall {
  Waypoint lastAt[kMaxGuards];
  int lastNoticed[kMaxGuards];  // the pass a guard was last in view or heard; -1 never
};

struct Mind {
  Knowledge cell[kLevelWidth][kLevelHeight];
  bool inViewNow[kLevelWidth][kLevelHeight];
  bool exitKnown;
  Recall now;
  // What it knew at the end of each of the last passes: the reaction delay
  // reads an earlier one, so a guard that stays in view is still acted on.
  Recall past[simplay::kMemory];
  int whiteLastInView;  // -1 never
};
extern Mind mind;

bool inside(int x, int y);
bool solid(int x, int y);
bool knownOpen(int x, int y);
bool maybeOpen(int x, int y);

void learn(int x, int y);

// One pass of looking: the rays of the view from where the player stands, and
// the cells around it.
void look();

// Which guards the player notices this pass: in a cell its view crosses, or
// close enough along the corridors to hear its steps.
void notice(int pass);

// What the player knew of the guards `delay` passes ago: each noticed within
// the memory before then, where it was last noticed.
simplay::Sight knownGuards(int pass, int delay);

// Passes until a known guard can stand in each cell, by the ways the player
// cannot rule out (unknown cells may be open).
void knownArrival(const simplay::Sight& s, double (&arrival)[kLevelWidth][kLevelHeight]);

bool targetKnown(int t);

bool frontier(int x, int y);

// The nearest known target, else the nearest edge of the unknown, by the
// given walk; {-1, -1} when none can be reached.
Cell goalOn(const simplay::Walk& w);

void planOnKnowledge(simplay::Player& p);

struct RunResult {
  routeplan::Outcome outcome = routeplan::kGoingOn;
  int passes = 0;
  int cellsExplored = 0;
  bool caughtFromBehind = false;
  uint64_t trace = 0;
  bool actedOnUnknown = false;  // a path through a cell it did not know: must never happen
};

RunResult play(const routeplan::Snapshot& start, int delay, uint32_t seed,
               simplay::WayBack wayBack = simplay::WayBack::kTurnsRound);

struct Figures {
  int delay = 0, runs = 0, wins = 0, caughtBehind = 0, caughtInView = 0;
  double medianWinSeconds = 0, medianCellsExplored = 0;
};

std::vector<Figures> measure(const std::vector<int>& delays, int runs);

std::string describe(const std::vector<Figures>& all);

}  // namespace newcomer
