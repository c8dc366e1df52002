// The four guards: waypoint movement, turning and re-planning toward the player.
#pragma once
#include <cstdint>

#include "guards/pathsearch.h"
#include "world/level.h"

struct PlayerState;

constexpr int kWaypointCount = 102;

struct Waypoint {
  float x, y;
};

// The guard's sprites are the catalogue's figureSprites[slot] (world/image16.h).
struct Guard {
  int32_t active;
  int32_t present;
  int32_t stepsPerCell;  // always kStepsPerCell
  NodeList routeList;
  Waypoint waypoints[kWaypointCount];
  int32_t lastWaypoint;
  int32_t currentWaypoint;
  int32_t replanCounter;
  int32_t replanPeriod;          // 28, 35, 42, 49
  float facing[kWaypointCount];  // degrees, 0 = +x, 90 = +y
  int32_t moveDirX, moveDirY;
  int32_t headingIndex;  // 0..15 in 22.5-degree steps
};

// A guard walks a cell in this many passes, one waypoint a pass.
constexpr int kStepsPerCell = 10;

extern Guard guards[kMaxGuards];  // white, red, green, blue
extern int32_t guardCount;

// One guard's arrival on the centre of the next cell during a pass.
struct GuardStep {
  int slot;
  int fromX, fromY;  // the cell it left
  int toX, toY;      // the cell it reached
  float x, y;        // where it stands now: the reached cell's centre
};
// The steps of one pass, in slot order.
struct GuardSteps {
  int count;
  GuardStep steps[kMaxGuards];
};

void initGuards(const LevelMap& map);
// Moves each active guard one waypoint (re-planning when its period is up)
// and reports every guard that arrived on a cell centre; a guard waiting on
// its cell takes no step.
GuardSteps stepGuards(const PlayerState& player);
void planGuardRoute(Guard& guard, const LevelMap& map, float playerX, float playerY);
void resetGuards();  // tests only
