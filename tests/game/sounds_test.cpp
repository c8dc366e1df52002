// What the game chooses to play: footstep fall-off along the corridors, the
// side a sound comes from, one bump per wall contact, the mix of the worst pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/sound.h"
#include "game/sounds.h"
#include "guards/guards.h"
#include "platform/headlessaudio.h"
#include "support/gamerun.h"
#include "support/testdata.h"
#include "world/corridors.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

// A level of bricks with the open cells given as rows of text, row 0 = y 0.
LevelMap levelOf(std::initializer_list<const char*> rows) {
  LevelMap map{};
  map.width = kLevelWidth;
  map.height = kLevelHeight;
  for (auto& column : map.codes)
    for (int32_t& c : column) c = kCodeBrick;
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; row[x]; ++x)
      if (row[x] == '.') map.codes[x][y] = kCodeOpen;
    ++y;
  }
  return map;
}

}  // namespace

TEST(Sounds, FootstepsCarryAlongTheCorridorsNotThroughWalls) {
  // A U-shaped corridor: its two ends are two cells apart as the crow flies, ten along it.
  LevelMap u = levelOf({".....", "####.", "....."});
  const auto heard = [](const LevelMap& m, int x, int y) {
    return corridorDistance(m, 0, 0, x, y, guardCanEnter, kHearingCells);
  };
  EXPECT_EQ(heard(u, 0, 0), 0);
  EXPECT_EQ(heard(u, 3, 0), 3);
  EXPECT_EQ(heard(u, 0, 2), 10);
  EXPECT_EQ(heard(u, 7, 7), kNoWay) << "a brick cell has no way to it";
  u.codes[4][1] = kCodeExit;
  EXPECT_EQ(heard(u, 0, 2), 10) << "guards walk through the exit block";
  EXPECT_EQ(corridorDistance(u, 0, 0, 0, 2, playerCanEnter), kNoWay) << "the player does not";
  const LevelMap line = levelOf({"........................."});
  EXPECT_EQ(heard(line, 11, 0), 11);
  EXPECT_EQ(heard(line, 20, 0), kNoWay) << "beyond hearing";

  EXPECT_EQ(footstepVolume(0), kFullVolume);
  for (int cells = 1; cells < kHearingCells; ++cells) {
    EXPECT_LT(footstepVolume(cells), footstepVolume(cells - 1));
    EXPECT_GT(footstepVolume(cells), 0);
  }
  EXPECT_EQ(footstepVolume(kHearingCells), 0);
  EXPECT_EQ(footstepVolume(-1), 0) << "no way at all";
}

TEST(Sounds, ASoundToThePlayersLeftPansLeft) {
  // Turning left raises the heading: at heading 0 (+x), +y is on the left.
  PlayerState p{0, 5.5f, 5.5f, 0.0f};
  EXPECT_LT(panTowards(p, 5.5f, 8.5f), -kPanFull / 2);
  EXPECT_GT(panTowards(p, 5.5f, 2.5f), kPanFull / 2);
  EXPECT_EQ(panTowards(p, 9.5f, 5.5f), 0) << "ahead";
  EXPECT_EQ(panTowards(p, 1.5f, 5.5f), 0) << "behind";
  EXPECT_EQ(panTowards(p, 5.5f, 5.5f), 0) << "on the player";
  EXPECT_LT(panTowards(p, 7.5f, 7.5f), 0);
  EXPECT_GT(panTowards(p, 7.5f, 7.5f), panTowards(p, 5.5f, 8.5f)) << "half-left, less than fully left";
  // Facing -x, +y is on the right; facing +y, -x is on the left.
  p.heading = 3.1415927f;
  EXPECT_GT(panTowards(p, 5.5f, 8.5f), 0);
  p.heading = 1.5707964f;
  EXPECT_LT(panTowards(p, 2.5f, 5.5f), 0);
}

TEST(Sounds, OneBumpPerWallContactNotOnePerPass) {
  // Backing away from the start runs into the level's closed border within
  // twenty passes and stays against it; stopping and backing again is a new bump.
  std::vector<std::string> script(20, "keys 50");
  script.insert(script.end(), 3, "keys");
  script.insert(script.end(), 5, "keys 50");
  const GameRun r = runGame(QUILL_GAME_DIR, script);
  EXPECT_EQ(r.passes, 1 + 28 + 1) << "the game went on to the end of the script (the last pass quits)";
  std::vector<int> bumps;
  for (int i = 0; i < headlessPlayedCount(); ++i)
    if (headlessPlayed(i).id == kSoundBump) bumps.push_back(headlessPlayed(i).pass);
  ASSERT_EQ(bumps.size(), 2u);
  EXPECT_EQ(bumps[1], 1 + 24) << "the first pass of backing again";
}

TEST(Sounds, TheLoudestPileUpStaysUnderFullScale) {
  resetEverything();
  inDirectory(QUILL_GAME_DIR, [] { startSounds(1); });
  // Every rule's sound in one pass, each guard's call and step from its own
  // side at full volume, over the wind.
  for (int id = kSoundCrystal; id < kSoundWind; ++id) playRuleSound(id);
  for (int slot = 0; slot < kMaxGuards; ++slot) {
    const int pan = slot % 2 ? kPanFull : -kPanFull;
    playSound(kSoundCallRed + slot % 3, kFullVolume, pan, 1 + slot);
    playSound(slot == kWhiteGuard ? kSoundHeavyStep : kSoundStep, kFullVolume, pan, 1 + slot);
  }
  std::vector<int16_t> mix(2 * 44100 * 5);
  headlessMix(mix.data(), static_cast<int>(mix.size() / 2));
  int peak = 0;
  for (int16_t s : mix) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_LT(peak, 32767);
  EXPECT_GT(peak, 32767 / 2) << "held down, not silenced";
  closeSound();
}
