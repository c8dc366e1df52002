// Pictures between the passes: the way they take from one pass to the next
// never goes through a wall, turns go the short way, and drawing them leaves
// the game byte for byte as the pass left it.
#include "game/smoothframes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/mainloop.h"
#include "game/frame.h"
#include "game/rules.h"
#include "guards/guards.h"
#include "platform/headless.h"
#include "render/bodies.h"
#include "support/gamerun.h"
#include "world/pngfile.h"

namespace {

int cellOf(float v) { return static_cast<int>(std::floor(v)); }

// Whether going from a to b (a short way) passes a wall of the edge grid.
bool crossesWall(float ax, float ay, float bx, float by) {
  const MazeFloor& f = mazeGrid.floors[0];
  const int x0 = cellOf(ax), y0 = cellOf(ay), x1 = cellOf(bx), y1 = cellOf(by);
  const auto xWall = [&](int y, int xa, int xb) {
    return xa != xb && f.cells[y][std::max(xa, xb)].wallLowX.present;
  };
  const auto yWall = [&](int x, int ya, int yb) {
    return ya != yb && f.cells[std::max(ya, yb)][x].wallLowY.present;
  };
  // Across a corner, either way round will do.
  return (xWall(y0, x0, x1) || yWall(x1, y0, y1)) && (yWall(x0, y0, y1) || xWall(y1, x0, x1));
}

std::vector<uint8_t> gameBytes() {
  std::vector<uint8_t> b;
  const auto add = [&b](const void* p, size_t n) {
    const size_t at = b.size();
    b.resize(at + n);
    std::memcpy(b.data() + at, p, n);
  };
  add(&player, sizeof player);
  add(guards, sizeof guards);
  add(pointObjects, sizeof pointObjects);
  add(keyItems, sizeof keyItems);
  add(&mazeGrid, sizeof mazeGrid);
  add(&spinAngle, sizeof spinAngle);
  add(&score, sizeof score);
  add(&timeBonus, sizeof timeBonus);
  return b;
}

// The game on a 640x480 headless window whose screen refreshes at 60 Hz, so
// that each pass leaves its picture to the pictures between.
void startSmoothGame() {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  headlessSetRefreshRate(60);
  setBetweenCallback(drawBetweenPasses);
  showHelp = 0;
}

}  // namespace

TEST(SmoothFrames, TurnsGoTheShortWayAndStepsRoundTheCornerTheyTook) {
  EXPECT_NEAR(std::fmod(turnBetween(350, 10, 0.5, 360), 360.0), 0.0, 1e-9);
  EXPECT_NEAR(turnBetween(10, 350, 0.5, 360), 0.0, 1e-9);
  EXPECT_NEAR(turnBetween(6.2, 0.1, 0.5, 2 * M_PI), 6.2 + (0.1 + 2 * M_PI - 6.2) / 2, 1e-9);

  // x then y round the corner of cell (1, 0): never through cell (0, 1).
  PassPose from{}, to{};
  from.valid = to.valid = 1;
  from.player = {0, 0.9f, 0.95f, 0.0f};
  to.player = {0, 1.1f, 1.15f, 0.0f};
  to.trail = {2, {1.1f, 1.1f}, {0.95f, 1.15f}};
  for (float f = 0; f <= 1.0f; f += 0.05f) {
    const PlayerState p = playerBetween(from, to, f);
    EXPECT_FALSE(p.x < 1.0f && p.y > 1.0f) << f;
  }
  // Steps that do not join up (a new run) are not drawn between: the later pose at once.
  to.trail.count = 0;
  EXPECT_EQ(playerBetween(from, to, 0.5f).x, 1.1f);
}

TEST(SmoothFrames, NoWayBetweenPassesGoesThroughAWall) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  // Walks into walls and slides along them, turning now and then, while the
  // guards walk their corners.
  uint32_t seed = 12345;
  PassPose before = currentPassPose();
  for (int pass = 0; pass < 600; ++pass) {
    seed = seed * 1103515245u + 12345u;
    const unsigned r = (seed >> 16) % 8;
    const unsigned turns[] = {kMoveTurnLeft, kMoveTurnRight, kMoveSideLeft};
    applyMoves(kMoveForward | (r < 3 ? turns[r] : 0u));
    if (runRules().caught) break;
    const PassPose after = currentPassPose();
    PlayerState last = before.player;
    GuardPlace lastGuard[kMaxGuards];
    for (int s = 0; s < kMaxGuards; ++s) lastGuard[s] = guardBetween(before, after, s, 0);
    for (int k = 1; k <= 50; ++k) {
      const float f = k / 50.0f;
      const PlayerState p = playerBetween(before, after, f);
      ASSERT_FALSE(crossesWall(last.x, last.y, p.x, p.y)) << "pass " << pass << " at " << f;
      last = p;
      for (int s = 0; s < kMaxGuards; ++s) {
        if (!after.guardShown[s]) continue;
        const GuardPlace g = guardBetween(before, after, s, f);
        ASSERT_FALSE(crossesWall(lastGuard[s].x, lastGuard[s].y, g.x, g.y))
            << "guard " << s << ", pass " << pass;
        lastGuard[s] = g;
      }
    }
    before = after;
  }
}

TEST(SmoothFrames, PicturesBetweenShowTheTurnPartWayAndChangeNothing) {
  startSmoothGame();
  runFrame();
  applyMoves(kMoveTurnLeft | kMoveForward);
  runFrame();
  const std::vector<uint8_t> game = gameBytes();
  std::vector<std::vector<uint16_t>> pictures;
  for (const float f : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
    ASSERT_EQ(drawBetweenPasses(f), 1);
    int w = 0, h = 0;
    const uint16_t* p = headlessLastFrame(&w, &h);
    ASSERT_NE(p, nullptr);
    pictures.emplace_back(p, p + w * h);
    // Set QUILL_KEEP_PICTURES to a folder to look at the turn.
    if (const char* keep = std::getenv("QUILL_KEEP_PICTURES")) {
      char error[128];
      const std::string path =
          std::string(keep) + "/between-" + std::to_string(static_cast<int>(f * 100)) + ".png";
      writePng555(path.c_str(), p, w, h, w, false, error);
    }
  }
  EXPECT_EQ(gameBytes(), game) << "a picture between passes changed the game";
  for (size_t i = 1; i < pictures.size(); ++i) EXPECT_NE(pictures[i], pictures[i - 1]) << "picture " << i;
  // The last pass's own picture when none was drawn between: the game goes on as before.
  EXPECT_EQ(drawBetweenPasses(-1.0f), 1);
  runFrame();
  EXPECT_EQ(drawBetweenPasses(0.5f), 1);
}
