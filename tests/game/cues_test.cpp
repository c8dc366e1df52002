// The direction cues: where a cue stands for each side, and which steps make one.
#include "game/cues.h"

#include <gtest/gtest.h>

#include "game/settings.h"
#include "guards/guards.h"
#include "render/camera.h"
#include "support/gamerun.h"
#include "world/gamestate.h"
#include "world/level.h"

TEST(Cues, StandOnTheSideTheStepsComeFromAndBehindAtTheBottom) {
  const ViewRect v{0, 0, 639, 429, 640, 430};
  const double quarter = 1.5707963267948966;
  const CuePlace ahead = cuePlace(0, v, 20), left = cuePlace(quarter, v, 20);
  const CuePlace right = cuePlace(-quarter, v, 20), behind = cuePlace(2 * quarter, v, 20);
  EXPECT_EQ(ahead.x, 320);
  EXPECT_EQ(ahead.y, 20);
  EXPECT_EQ(left.x, 20);
  EXPECT_EQ(right.x, 620);
  EXPECT_EQ(behind.x, 320);
  EXPECT_EQ(behind.y, 410);
  const CuePlace behindLeft = cuePlace(2.5, v, 20);
  EXPECT_EQ(behindLeft.y, 410) << "mostly behind is on the bottom edge";
  EXPECT_LT(behindLeft.x, 320);
}

TEST(Cues, OnlyStepsInHearingMakeACueAndOnlyWhenSwitchedOn) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  resetCues();
  const auto cuePixels = [] {
    std::vector<uint16_t> before(640 * 480), after(640 * 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) before[y * 640 + x] = surfacePixel(x, y);
    drawGuardCues(player);
    int changed = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) changed += surfacePixel(x, y) != before[y * 640 + x];
    return changed;
  };
  guards[0].active = 1;
  // A step right behind the player, and one far beyond hearing.
  GuardSteps steps{};
  steps.count = 1;
  steps.steps[0] = {0, 2, 1, 1, 1, 1.5f, 1.5f};
  settings.soundCues = 1;
  noteHeardSteps(steps, player, levelMaps[0]);
  EXPECT_GT(cuePixels(), 0);
  settings.soundCues = 0;
  EXPECT_EQ(cuePixels(), 0) << "off, nothing is drawn";
  resetCues();
  settings.soundCues = 1;
  steps.steps[0] = {0, 20, 15, 20, 16, 20.5f, 16.5f};
  noteHeardSteps(steps, player, levelMaps[0]);
  EXPECT_EQ(cuePixels(), 0) << "too far along the corridors to hear";
  resetSettings();
}
