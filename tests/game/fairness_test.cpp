// How fair a level is, measured by the simulated players of sim/:
// the shipped level must be winnable by a person with ordinary reactions, yet
// punish standing still and walking about without a plan.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/levelchoice.h"
#include "sim/newcomer.h"
#include "sim/simplayer.h"

namespace {

// Seeds per reaction delay in the default suite; the sanitizer build plays fewer.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILL_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(QUILL_SANITIZED)
constexpr int kRuns = 20;
#else
constexpr int kRuns = 40;
#endif
constexpr int kReaction200ms = 200 * kPassesPerSecond / 1000, kReaction320ms = 320 * kPassesPerSecond / 1000;

const std::string kShippedLevel = QUILL_SOURCE_DIR "/data/Level1.txt";

TEST(Fairness, TheSimulatedPlayerIsDecidedByItsSeedAndSlowedByItsHandicap) {
  ASSERT_TRUE(simplay::loadLevelForPlay(kShippedLevel));
  routeplan::Snapshot start;
  routeplan::save(start);
  const simplay::RunResult a = simplay::playPlanned(start, kReaction320ms, 7);
  const simplay::RunResult b = simplay::playPlanned(start, kReaction320ms, 7);
  EXPECT_EQ(a.trace, b.trace);
  EXPECT_EQ(a.passes, b.passes);
  EXPECT_EQ(a.outcome, b.outcome);

  // Seeing the guards late costs wins, and so does turning round where a
  // route doubles back with a guard near, rather than backing away.
  int quick = 0, slow = 0, backing = 0, turning = 0, differ = 0;
  for (uint32_t seed = 1; seed <= kRuns; ++seed) {
    const auto won = [&](int delay, simplay::WayBack way) {
      return simplay::playPlanned(start, delay, seed, nullptr, way).outcome == routeplan::kEscaped;
    };
    const simplay::RunResult r = simplay::playPlanned(start, 0, seed);
    quick += r.outcome == routeplan::kEscaped;
    slow += won(simplay::kMemory - 1, simplay::WayBack::kBacksAway);
    backing += won(kReaction320ms, simplay::WayBack::kBacksAway);
    turning += won(kReaction320ms, simplay::WayBack::kTurnsRound);
    differ += r.trace != a.trace;
  }
  EXPECT_GT(quick, slow);
  EXPECT_GT(backing, turning);
  EXPECT_GT(differ, kRuns / 2) << "the seeds must make different runs";
}

TEST(Fairness, TheShippedLevelIsWinnableButNotIdle) {
  ASSERT_TRUE(simplay::loadLevelForPlay(kShippedLevel));
  const simplay::Report rep = simplay::measure({kReaction200ms, kReaction320ms}, kRuns);
  const std::string text = simplay::describe(rep);
  EXPECT_GE(rep.delays[0].wins * 100, 80 * kRuns) << text;
  EXPECT_GE(rep.delays[1].wins * 100, 80 * kRuns) << text;
  EXPECT_GE(rep.standStillSeconds, 12.0) << text;
  EXPECT_LE(rep.standStillSeconds, 25.0) << text;
  EXPECT_GE(rep.wanderCaughtEarly * 10, rep.wanderRuns * 9) << text;
}

// The installed set, followed in playing order until it comes back round:
// each maze passes the checker, can be won and punishes standing still.
TEST(Fairness, EveryShippedMazeIsSoundAndWinnable) {
  constexpr int kFewRuns = 20;
  std::string name = kLevelFileName;
  int mazes = 0;
  do {
    const std::string path = std::string(QUILL_GAME_DIR) + "/" + name;
    EXPECT_EQ(levelFaults(path), "");
    ASSERT_TRUE(simplay::loadLevelForPlay(path)) << path;
    const simplay::Report rep = simplay::measure({kReaction200ms}, kFewRuns);
    EXPECT_GE(rep.delays[0].wins * 2, kFewRuns) << path << "\n" << simplay::describe(rep);
    EXPECT_TRUE(rep.standStillSeconds >= 12.0 && rep.standStillSeconds <= 25.0) << path;
    name = nextLevelInSet(name);
  } while (name != kLevelFileName && ++mazes < 10);
  EXPECT_EQ(mazes, 5) << "six mazes, the last leading back to the first";
}

TEST(Fairness, TheNewcomerActsOnlyOnWhatItHasSeenAndIsDecidedByItsSeed) {
  ASSERT_TRUE(simplay::loadLevelForPlay(kShippedLevel));
  routeplan::Snapshot start;
  routeplan::save(start);
  const newcomer::RunResult a = newcomer::play(start, kReaction200ms, 3);
  EXPECT_EQ(a.trace, newcomer::play(start, kReaction200ms, 3).trace);
  int explored = 0;
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    const newcomer::RunResult r = newcomer::play(start, kReaction200ms, seed);
    EXPECT_FALSE(r.actedOnUnknown) << "seed " << seed;
    explored = std::max(explored, r.cellsExplored);
  }
  // It has to find its way: no run knows the whole maze from the start.
  newcomer::mind = {};
  routeplan::load(start);
  newcomer::look();
  int atStart = 0;
  for (const auto& column : newcomer::mind.cell)
    for (newcomer::Knowledge k : column) atStart += k == newcomer::kOpen;
  EXPECT_LT(atStart * 4, explored);

  // A guard heard pass after pass is still known a reaction delay later.
  const Guard& white = guards[kWhiteGuard];
  player.x = white.waypoints[white.currentWaypoint].x, player.y = white.waypoints[white.currentWaypoint].y;
  for (int pass = 0; pass < 10; ++pass) newcomer::notice(pass);
  EXPECT_TRUE(newcomer::knownGuards(9, kReaction200ms).active[kWhiteGuard]);
}

// The full report for any level, run by hand (see README, "The mazes"):
//   QUILL_LEVEL=FILE QUILL_FAIRNESS_RUNS=200 build/tests/test_game
//     --gtest_also_run_disabled_tests --gtest_filter='*FairnessReport'
TEST(Fairness, DISABLED_FairnessReport) {
  const char* level = std::getenv("QUILL_LEVEL");
  const char* runs = std::getenv("QUILL_FAIRNESS_RUNS");
  const std::string path = level ? level : kShippedLevel;
  ASSERT_TRUE(simplay::loadLevelForPlay(path)) << "cannot read " << path;
  const simplay::Report rep =
      simplay::measure({0, kReaction200ms, kReaction320ms}, runs ? std::atoi(runs) : 200);
  const std::vector<newcomer::Figures> fresh =
      newcomer::measure({0, kReaction200ms, kReaction320ms}, runs ? std::atoi(runs) : 200);
  std::printf("%s\n%s%s", path.c_str(), simplay::describe(rep).c_str(), newcomer::describe(fresh).c_str());
}

}  // namespace
