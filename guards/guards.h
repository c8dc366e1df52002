// The four guards: waypoint movement, turning and re-planning toward the player.
#pragma once
#include <cstdint>

#include "guards/pathsearch.h"

struct LevelMap;
struct PlayerState;

constexpr int kWaypointCount = 102;

struct Waypoint {
  float x, y;
};

// The guard's sprites are the catalogue's figureSprites[slot] (world/image16.h).
struct Guard {
  int32_t active;
  int32_t present;
  int32_t stepsPerCell;  // always 10
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

extern Guard guards[4];  // white, red, green, blue
extern int32_t guardCount;

void initGuards(const LevelMap& map);
void stepGuards(const PlayerState& player);
void planGuardRoute(Guard& guard, const LevelMap& map, float playerX, float playerY);
void resetGuards();  // tests only
