// Guard start-up, stepping and re-planning: waypoints, facings, the step under
// way, unreachable players, and a long soak for leaks and smooth movement.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "guards/guards.h"
#include "world/gamestate.h"
#include "world/level.h"

LevelMap mapFrom(std::initializer_list<const char*> rows, int guards);  // in pathsearch_test.cpp

namespace {

struct GuardTest : ::testing::Test {
  void SetUp() override { resetGuards(); }
  void TearDown() override {
    resetGuards();
    levelMaps[0] = LevelMap{};
    EXPECT_EQ(nodesInUse(), 0);
  }
};

// Open floor at x 1..5, y 1..3.
const LevelMap room = mapFrom({"*******", "*.....*", "*.....*", "*.....*", "*******"}, 0);

Guard guardAt(int x, int y) {
  Guard g{};
  g.stepsPerCell = 10;
  g.replanPeriod = 28;
  g.waypoints[0] = {x + 0.5f, y + 0.5f};
  return g;
}

void expectAt(const Guard& g, int index, float x, float y) {
  EXPECT_FLOAT_EQ(g.waypoints[index].x, x) << "waypoint " << index;
  EXPECT_FLOAT_EQ(g.waypoints[index].y, y) << "waypoint " << index;
}

TEST_F(GuardTest, InitPlacesSlotsAndClipsTheCount) {
  LevelMap map = mapFrom({"*******", "*..w..*", "*.....*", "*.r...*", "*.....*", "*******"}, 2);
  initGuards(map);
  EXPECT_EQ(guardCount, 2);
  expectAt(guards[0], 0, 3.5f, 4.5f);
  expectAt(guards[1], 0, 2.5f, 2.5f);
  EXPECT_EQ(guards[1].replanPeriod, 35);
  EXPECT_EQ(guards[1].replanCounter, 35);
  EXPECT_EQ(guards[0].lastWaypoint, 102);
  EXPECT_EQ(guards[2].present + guards[2].active + guards[3].present, 0);
  expectAt(guards[3], 0, 0.0f, 0.0f);

  // The white guard plans on its first frame and takes its first tenth of a cell.
  levelMaps[0] = map;
  stepGuards(PlayerState{0, 5.5f, 4.5f, 0.0f});
  EXPECT_EQ(guards[0].replanCounter, 1);
  EXPECT_EQ(guards[0].currentWaypoint, 1);
  EXPECT_EQ(guards[0].lastWaypoint, 20);
  expectAt(guards[0], 1, 3.6f, 4.5f);

  // Walking the other way, the tenth pass lands on the next cell's centre: one
  // step reported, from the cell it left.
  initGuards(map);
  guards[1].active = 0;
  GuardSteps last{};
  int reported = 0;
  for (int pass = 0; pass < 10; ++pass)
    reported += (last = stepGuards(PlayerState{0, 1.5f, 4.5f, 0.0f})).count;
  EXPECT_EQ(reported, 1);
  ASSERT_EQ(last.count, 1);
  const GuardStep& step = last.steps[0];
  EXPECT_EQ(std::vector<int>({step.slot, step.fromX, step.fromY, step.toX, step.toY}),
            std::vector<int>({0, 3, 4, 2, 4}));
  EXPECT_FLOAT_EQ(step.x, 2.5f);

  map.guardCount = 9;
  initGuards(map);
  EXPECT_EQ(guardCount, 4);
  guardCount = -3;
  stepGuards(PlayerState{0, 5.5f, 4.5f, 0.0f});
  EXPECT_EQ(guards[0].currentWaypoint, 0);
}

TEST_F(GuardTest, PlansAreStaggeredAndSteppingStaysInTheArrays) {
  levelMaps[0] = mapFrom({"*******", "*w.r..*", "*.....*", "*g...b*", "*******"}, 4);
  initGuards(levelMaps[0]);
  for (int frame = 0; frame < 150; ++frame) {
    stepGuards(PlayerState{0, 3.5f, 2.5f, 0.0f});
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(guards[k].replanCounter == 1, frame % (28 + 7 * k) == 0)
          << "slot " << k << " frame " << frame;
  }
  // A guard that never planned must not walk past its arrays.
  Guard& g = guards[0];
  g.lastWaypoint = 102;
  g.currentWaypoint = 99;
  g.replanCounter = 0;
  g.replanPeriod = 1000;
  for (int frame = 0; frame < 5; ++frame) stepGuards(PlayerState{0, 3.5f, 2.5f, 0.0f});
  EXPECT_EQ(g.currentWaypoint, kWaypointCount - 1);
}

TEST_F(GuardTest, TurnsAndReplansFromTheStepUnderWay) {
  Guard g = guardAt(1, 1);
  // Route (1,1) +x (2,1) +y (2,2) +y (2,3): the turn spreads over four waypoints.
  planGuardRoute(g, room, 2.5f, 3.5f);
  EXPECT_EQ(g.lastWaypoint, 30);
  expectAt(g, 5, 2.0f, 1.5f);
  expectAt(g, 13, 2.5f, 1.8f);
  expectAt(g, 30, 2.5f, 3.5f);
  const float facings[] = {0, 0, 0, 22.5f, 45, 67.5f, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90};
  for (int i = 0; i < 17; ++i) EXPECT_EQ(g.facing[8 + i], facings[i]) << "facing " << 8 + i;
  EXPECT_EQ(g.facing[30], 90.0f);

  // At its last waypoint it re-plans from its own cell; the new first step snaps the heading.
  g.currentWaypoint = 30;
  planGuardRoute(g, room, 5.5f, 3.5f);
  EXPECT_EQ(g.currentWaypoint, 0);
  expectAt(g, 0, 2.5f, 3.5f);
  EXPECT_EQ(g.facing[1], 0.0f);
  EXPECT_EQ(g.lastWaypoint, 30);

  // On a cell centre, reversing: e = 0 and the heading snaps to -x.
  g.currentWaypoint = 20;
  planGuardRoute(g, room, 1.2f, 3.9f);
  EXPECT_EQ(g.currentWaypoint, 0);
  EXPECT_EQ(g.headingIndex, 8);
  EXPECT_EQ(g.facing[1], 180.0f);
  expectAt(g, 1, 4.4f, 3.5f);

  // Mid-step: the step (3,3) -> (2,3) is finished first, the new route starts at index 10.
  g.currentWaypoint = 13;
  planGuardRoute(g, room, 2.3f, 1.7f);
  EXPECT_EQ(g.currentWaypoint, 3);
  expectAt(g, 3, 3.2f, 3.5f);
  expectAt(g, 10, 2.5f, 3.5f);
  EXPECT_EQ(g.lastWaypoint, 30);
  EXPECT_EQ(g.facing[11], 270.0f);

  // Player in the cell the step ends in: finish the step and stand on its centre.
  g.currentWaypoint = 13;
  planGuardRoute(g, room, 2.9f, 2.1f);
  EXPECT_EQ(g.lastWaypoint, 10);
  expectAt(g, 10, 2.5f, 2.5f);
  EXPECT_EQ(g.facing[10], g.facing[9]);
}

TEST_F(GuardTest, UnreachablePlayerKeepsTheStepUnderWay) {
  const LevelMap split = mapFrom({"*******", "*...*.*", "*******"}, 0);
  const float places[][2] = {{5.5f, 1.5f}, {-1e9f, 1.5f}, {1e30f, 1e30f},
                             {NAN, 1.5f},  {30.0f, 1.5f}, {1.5f, -7.0f}};
  for (const auto& place : places) {
    Guard g = guardAt(1, 1);
    planGuardRoute(g, split, 3.5f, 1.5f);
    g.currentWaypoint = 4;
    planGuardRoute(g, split, place[0], place[1]);
    EXPECT_EQ(g.currentWaypoint, 4);
    EXPECT_EQ(g.lastWaypoint, 10);
    expectAt(g, 10, 2.5f, 1.5f);
    EXPECT_EQ(nodesInUse(), 0);
  }
  // A long plan stops at index 100, whatever the period.
  Guard g = guardAt(0, 0);
  g.replanPeriod = 1000;
  planGuardRoute(g, LevelMap{}, 24.5f, 18.5f);
  EXPECT_EQ(g.lastWaypoint, 100);
}

TEST_F(GuardTest, LongChaseNeitherLeaksNorJumps) {
  levelMaps[0] = mapFrom({"*************", "*w....*.....*", "*.***.*.***.*", "*.*r..D...*.*", "*.*.*****.*.*",
                          "*...*g...b*.*", "*************"},
                         4);
  initGuards(levelMaps[0]);
  uint32_t seed = 12345;
  PlayerState p{0, 1.5f, 1.5f, 0.0f};
  Waypoint before[4];
  for (int frame = 0; frame < 30000; ++frame) {
    // The player hops about every 13 frames, mostly onto open floor, sometimes off the level.
    while (frame % 13 == 0) {
      seed = seed * 1664525u + 1013904223u;
      p.x = static_cast<float>(seed >> 20) / 4096.0f * 16.0f - 1.5f;
      p.y = static_cast<float>((seed >> 8) & 0xFFF) / 4096.0f * 9.0f - 1.0f;
      const bool open = p.x >= 0 && p.y >= 0 && levelMaps[0].codes[int(p.x)][int(p.y)] < kCodeBrick;
      if (open || seed % 8 == 0) break;
    }
    for (int k = 0; k < 4; ++k) before[k] = guards[k].waypoints[guards[k].currentWaypoint];
    stepGuards(p);
    ASSERT_EQ(nodesInUse(), 0);
    for (int k = 0; k < 4; ++k) {
      const Guard& g = guards[k];
      ASSERT_TRUE(g.currentWaypoint >= 0 && g.currentWaypoint <= g.lastWaypoint && g.lastWaypoint <= 100);
      ASSERT_EQ(g.lastWaypoint % 10, 0);
      const Waypoint now = g.waypoints[g.currentWaypoint];
      ASSERT_LT(levelMaps[0].codes[static_cast<int>(now.x)][static_cast<int>(now.y)], kCodeBrick);
      ASSERT_LE(std::fabs(now.x - before[k].x) + std::fabs(now.y - before[k].y), 0.1001f)
          << "slot " << k << " jumped at frame " << frame;
    }
  }
}

}  // namespace
