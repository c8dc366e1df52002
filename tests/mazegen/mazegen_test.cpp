// Seeded mazes: a seed gives the same maze everywhere, every maze offered is
// sound and fair by the shipped level's targets, and the front ends take a
// seed strictly and play or write the same maze.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "game/commandline.h"
#include "game/seedlevel.h"
#include "mazegen/certify.h"
#include "mazegen/generate.h"
#include "mazegen/seedfile.h"
#include "support/gamerun.h"
#include "support/testdata.h"
#include "world/levelcheck.h"

namespace {

uint64_t fnv1a(const std::string& text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

TEST(SeededMazes, ASeedAlwaysGivesTheSameMaze) {
  // Pinned: a change here changes the maze every player gets for a seed.
  EXPECT_EQ(fnv1a(generateLevel(42, 0)), 1788040671299965773ull);
  const CertifiedMaze m = certifiedMaze(42);
  EXPECT_EQ(fnv1a(m.text), 3534055648195116471ull);
  EXPECT_EQ(m.candidates, 2u) << "its first candidate is unfair: the second is the maze";
  EXPECT_NE(generateLevel(42, 1), generateLevel(42, 0));
  EXPECT_NE(generateLevel(43, 0), generateLevel(42, 0));
}

TEST(SeededMazes, OfferedMazesAreSoundAndFairAndTheTargetsAreTheShippedLevels) {
  static LevelMap map;
  for (uint64_t seed : {uint64_t{0}, uint64_t{1}, uint64_t{20261209}, kLargestSeed}) {
    const CertifiedMaze m = certifiedMaze(seed);
    ASSERT_FALSE(m.text.empty()) << seed;
    LevelReport report;
    parseLevelText(map, m.text.data(), static_cast<long>(m.text.size()), &report);
    EXPECT_TRUE(checkLevel(map, report, nullptr).empty()) << seed << "\n" << m.text;
  }
  const std::string shipped = readFile(QUILL_SOURCE_DIR "/data/Level1.txt");
  EXPECT_EQ(whyUnfair(shipped), nullptr);
  // The white guard ten steps along the start's row: sound, but a player who
  // stands still is caught in four seconds.
  std::string near = shipped;
  near[near.find('w')] = ' ';
  const size_t rowY1 = near.rfind('\n', near.rfind('\n', near.size() - 2) - 1) + 1;
  near[rowY1 + 12] = 'w';
  EXPECT_STREQ(whyUnfair(near), "standing still is caught too soon");
}

TEST(SeededMazes, SeedsAreReadStrictly) {
  uint64_t seed = 7;
  for (const char* bad :
       {"", "-1", "+1", " 1", "1 ", "1x", "0x10", "9223372036854775808", "18446744073709551616"})
    EXPECT_FALSE(parseSeed(bad, seed)) << '"' << bad << '"';
  EXPECT_EQ(seed, 7u) << "a refused seed leaves the value alone";
  EXPECT_TRUE(parseSeed("0042", seed));
  EXPECT_EQ(seed, 42u);
  EXPECT_TRUE(parseSeed("9223372036854775807", seed));
  EXPECT_EQ(seed, kLargestSeed);
  EXPECT_EQ(dailySeed(1796774400), 20261209u);  // 2026-12-09 00:00 UTC
  EXPECT_EQ(dailySeed(1796774400 + 86399), 20261209u);
}

TEST(SeededMazes, TheGameAndTheCheckerPlayAndWriteTheSameMaze) {
  const std::string dir = scratchDir("seeded_mazes");
  setenv("XDG_CACHE_HOME", dir.c_str(), 1);
  setSeedLevelMaker(writeSeedLevel);
  for (const char* bad : {"abc", "-3", "9223372036854775808"})
    EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--seed", bad}).exitCode, 2) << bad;
  EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--seed", "1", "--daily"}).exitCode, 2);
  EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--seed", "42"}).exitCode, 0);
  unsetenv("XDG_CACHE_HOME");
  const std::string maze = certifiedMaze(42).text;
  EXPECT_EQ(readFile(dir + "/quillmoor/seed-42.txt"), maze);

  const std::string tool = QUILL_BUILD_DIR "/tools/quillmoor-levelcheck";
  const int ok =
      std::system((tool + " generate --seed 42 --out " + dir + "/out.txt 2>" + dir + "/err.txt").c_str());
  EXPECT_EQ(WEXITSTATUS(ok), 0);
  EXPECT_EQ(readFile(dir + "/out.txt"), maze);
  EXPECT_NE(readFile(dir + "/err.txt").find("certified after"), std::string::npos);
  const int bad = std::system((tool + " generate --seed -1 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(bad), 2);
}

}  // namespace
