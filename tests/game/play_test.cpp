// The whole game, headless: start-up, main loop and frame callback driven by
// scripted input, from the first pass to the program's end.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/controls.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "support/gamerun.h"
#include "world/gamestate.h"

namespace {

std::vector<std::string> repeat(const std::string& line, int n) { return std::vector<std::string>(n, line); }

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

int countColour(const GameRun& r, uint16_t c, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += pixelAt(r, x, y) == c;
  return n;
}

}  // namespace

TEST(Play, WalkingDownTheFirstCorridorCollectsTheFirstBodyAndStopsAtTheWall) {
  // 50 passes forward: from x = 2.3 past the body at 7.5 (within reach on the
  // way) to about 17.3, then textures off so the wall ahead is one flat colour, then Esc.
  GameRun r = runGame(QUILL_GAME_DIR,
                      repeat("keys 48", 50) + std::vector<std::string>{"keys; chars '4'", "", "chars 27"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_NEAR(player.x, 2.3 + 50 * 0.3, 0.01);
  EXPECT_NEAR(player.y, 1.5 + 50 * 0.3 * std::sin(0.0017453292), 0.001);  // the start heading's 0.1 degrees
  EXPECT_EQ(score, 100);
  EXPECT_EQ(pointObjects[0].present, 0);
  ASSERT_EQ(r.width, 640);
  // The outer wall at x = 22 stands 4.7 units ahead: a flat slice of trunc(430 / 4.7) = 91
  // rows around the horizon (row 214), shaded to level 9.
  const uint16_t flat = (9 << 10) | (1 << 5);  // channels 18, 10, 6 less 9 -> 9, 1, 0
  EXPECT_EQ(pixelAt(r, 320, 214), flat);
  EXPECT_EQ(pixelAt(r, 320, 214 - 40), flat);
  EXPECT_NE(pixelAt(r, 320, 214 - 50), flat);
  // The HUD line: "100 +" at x = 319, y = 439.
  EXPECT_GT(countColour(r, 0x7FFF, 319, 439, 380, 470), 10);

  // Holding forward longer stops in front of the wall at x = 22.
  GameRun far = runGame(QUILL_GAME_DIR, repeat("keys 48", 80));
  EXPECT_LT(player.x, 22.0f - 0.15f);
  EXPECT_GT(player.x, 21.5f);
}

TEST(Play, StandingStillTheWhiteGuardCatchesThePlayer) {
  GameRun r = runGame(QUILL_GAME_DIR, repeat("", 3000));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_LT(r.passes, 3000) << "the game should have ended by the capture";
  // The last picture shown holds the red message at (127, 239).
  EXPECT_GT(countColour(r, 0x7C00, 127, 239, 500, 270), 50);
}
