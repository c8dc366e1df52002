// A simulated player that measures how fair a level is (the fairness report,
// the replays' routes and the certification of generated mazes). It plays on the game's
// own movement, guard and rule code (rules only, nothing drawn) and knows the
// maze as a person who reads the overview map does. It plans a route through
// the crystals, the three items and the exit and re-plans as the guards move,
// but it is handicapped like a person: it sees the guards only `delay` passes
// late, turns in the game's 10-degree steps, and now and then runs past the
// junction where it meant to turn. Where its route doubles back it walks
// backwards, as fast as forwards, when a guard it knows of is within hearing
// or the way back is a cell or two (an overshoot, an item's bay); otherwise it
// turns round. Each run is decided by its seed alone.
// The stand-still and wandering players show how soon doing nothing, or
// walking about without a plan, is punished.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "framework/mainloop.h"
#include "game/reset.h"
#include "sim/routeplanner.h"
#include "world/angles.h"

namespace simplay {

using routeplan::Cell;
using routeplan::Outcome;

constexpr int kRunLimit = 120 * kPassesPerSecond;  // passes (two minutes) before a run counts as lost
constexpr double kCellPasses = 1.0 / kStepLength;  // a held forward key crosses a cell
// A quarter turn, and the pass and a half that lining up on the new way costs.
constexpr double kTurnPasses = static_cast<int>(kQuarterTurn / kTurnStep + 0.5) + 1.5;
constexpr double kGuardPasses = kStepsPerCell;  // a guard walks a cell
// A step is unsafe when a guard can stand in the new cell less than this many
// passes after the player enters it, or in the old one a pass less after.
// Found by trial: a wider margin has the player flee so often that it loses
// more runs than it saves.
constexpr double kSafetyPasses = 5.0;
constexpr unsigned kOvershootPercent = 20;  // at a junction where the route turns
constexpr int kShortWayBack = 2;            // cells walked backwards rather than turned for
constexpr int kMemory = 16;                 // passes of sight kept: the longest delay is one less

// How a route that doubles back is walked. The certification of seeded mazes
// keeps its first judges, who always turn round, so that a seed keeps its maze.
enum class WayBack { kBacksAway, kTurnsRound };

// Every module at its start, the level file read into floor 0 and the rules'
// start state set as the game's loading does, without pictures. Returns false
// when the file cannot be read.
bool loadLevelForPlay(const std::string& path);
// The same for a level's text held in memory (a maze not yet written anywhere),
// touching only the modules the rules use (resetRulesState), so that a game
// that is starting up can measure a maze before it opens its window.
void loadLevelTextForPlay(const std::string& text);
// The state the rules, the controls and the guards touch back to its start;
// the display, input, sound and settings are left alone.
void resetRulesState();

struct RunResult {
  Outcome outcome = routeplan::kGoingOn;  // kGoingOn: still playing at the run limit
  int passes = 0;
  int itemsLost = 0;
  int mostItems = 0;          // most items carried at once
  double closestWhite = 1e9;  // cells, over the whole run
  uint64_t trace = 0;         // a hash of every key pressed
};

// What the guards looked like in one pass.
struct Sight {
  int32_t active[kMaxGuards];
  Waypoint at[kMaxGuards];
};

struct Player {
  std::mt19937 rng;
  int delay;
  Sight seen[kMemory];
  int pass = 0;
  // Route state.
  std::vector<int> order;  // targets: the crystals, the items, the exit (kExitTarget)
  std::vector<Cell> path;
  Cell refuge{-1, -1};  // where it runs to while no target is safe
  int overshootLeft = 0;
  bool junctionRolled = false;
  bool onLoop[kLevelWidth][kLevelHeight];
  bool guardNear = false;  // a guard it knows of within hearing, as of its last plan
  WayBack wayBack = WayBack::kBacksAway;
};

// Within hearing (the footsteps' range) by the guards' arrival times.
bool guardWithinHearing(const double (&arrival)[kLevelWidth][kLevelHeight], Cell at);

bool openCell(int x, int y);

// Cells on a loop of the maze (not in a dead end): where a hunted player can go round.
void findLoops(bool (&onLoop)[kLevelWidth][kLevelHeight]);

// Targets 0.. are the crystals, then the items, then the cell in front of the exit.
constexpr int kFirstItemTarget = kBodyCount;
constexpr int kExitTarget = kBodyCount + kItemCount;
constexpr int kTargets = kExitTarget + 1;

Cell targetCell(int t);

bool targetDone(int t);

// Passes until the first active guard, as the player saw them, can stand in each cell.
void guardArrival(const Sight& s, double (&arrival)[kLevelWidth][kLevelHeight]);

// Quickest walk, in passes with turns counted, from the player's cell to every
// cell it takes for open; steps a guard could meet, by `margin` passes, are left out.
struct Walk {
  double passes[kLevelWidth][kLevelHeight];
  Cell parent[kLevelWidth][kLevelHeight];
};

void walkTimes(Cell from, int fromDir, const double (&arrival)[kLevelWidth][kLevelHeight], double margin,
               Walk& w, bool (*open)(int, int) = openCell);

std::vector<Cell> pathTo(const Walk& w, Cell from, Cell to);

// The shortest order of the crystals and items by walking steps, the exit last.
std::vector<int> bestOrder();

int headingDirection();

// A new route from the player's cell: to the next target in the planned order
// that can be reached before the guards, else to whichever cell keeps furthest
// ahead of them.
void plan(Player& p);

// The key for this pass that walks the path: onto the line of the next step,
// then turned towards the next cell's centre, then forward; backwards where
// the path doubles back and a guard is near or the way back is short.
char steer(Player& p);

void remember(Player& p);

void track(RunResult& r, uint64_t key);

// One run of the planning player from the start state; `delay` in passes.
// `keys`, when given, receives the key of every pass (routeplan::applyKey's letters).
RunResult playPlanned(const routeplan::Snapshot& start, int delay, uint32_t seed, std::string* keys = nullptr,
                      WayBack wayBack = WayBack::kBacksAway);

// A player who never touches a key: the passes until the white guard arrives.
RunResult standStill(const routeplan::Snapshot& start);

// A player without a plan: from cell to cell, at every fork a random way on
// (never straight back unless the way ends), blind to the guards.
RunResult wander(const routeplan::Snapshot& start, uint32_t seed, WayBack wayBack = WayBack::kBacksAway);

struct DelayFigures {
  int delay = 0, runs = 0, wins = 0, caught = 0;
  double medianWinSeconds = 0, closestWhite = 0;  // closestWhite: median over the wins, cells
  double itemsLostPerRun = 0;
};

struct Report {
  std::vector<DelayFigures> delays;
  double standStillSeconds = 0;
  int wanderRuns = 0, wanderCaughtEarly = 0;  // caught before ever carrying all three items
  double wanderMedianCatchSeconds = 0;
};

double median(std::vector<double> v);

// The whole report for the level loaded now, seeds 1..runs at each delay.
Report measure(const std::vector<int>& delays, int runs);

std::string describe(const Report& rep);

}  // namespace simplay
