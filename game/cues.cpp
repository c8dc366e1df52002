#include "game/cues.h"

#include <algorithm>
#include <cmath>

#include "framework/surface.h"
#include "game/settings.h"
#include "game/sounds.h"
#include "guards/guards.h"
#include "render/camera.h"
#include "render/marks.h"
#include "render/shapemark.h"
#include "world/corridors.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

// A cue stays for a second after the last step heard, fading out.
constexpr int kCuePasses = 25;
constexpr int kFarthestShade = 16;  // of the shade table's 31: a far cue is dim, never gone
constexpr uint16_t kRim = 0x0000;

struct Heard {
  int passesLeft;
  int cells;   // corridor cells between the step and the player
  float x, y;  // where the step was
};
Heard g_heard[kMaxGuards];

void thickLine(double x0, double y0, double x1, double y1, int width) {
  for (int o = -width / 2; o <= width / 2; ++o)
    for (int p = -width / 2; p <= width / 2; ++p)
      drawLine(static_cast<int>(std::lround(x0)) + o, static_cast<int>(std::lround(y0)) + p,
               static_cast<int>(std::lround(x1)) + o, static_cast<int>(std::lround(y1)) + p);
}

}  // namespace

void noteHeardSteps(const GuardSteps& steps, const PlayerState& p, const LevelMap& map) {
  for (Heard& h : g_heard)
    if (h.passesLeft > 0) --h.passesLeft;
  for (int i = 0; i < steps.count; ++i) {
    const GuardStep& step = steps.steps[i];
    if (step.slot < 0 || step.slot >= kMaxGuards) continue;
    const int cells = corridorDistance(map, step.toX, step.toY, static_cast<int>(p.x), static_cast<int>(p.y),
                                       guardCanEnter, kHearingCells);
    if (cells < 0 || cells >= kHearingCells) continue;
    g_heard[step.slot] = {kCuePasses, cells, step.x, step.y};
  }
}

CuePlace cuePlace(double relative, const ViewRect& v, int inset) {
  // Ahead is up the screen, left is left, behind is down.
  const double dx = -std::sin(relative), dy = -std::cos(relative);
  const double cx = v.left + v.width / 2.0, cy = v.top + v.height / 2.0;
  const double hw = std::max(1.0, v.width / 2.0 - inset), hh = std::max(1.0, v.height / 2.0 - inset);
  // Out from the middle along (dx, dy) to the first edge of the inset rectangle.
  const double reach = std::min(std::fabs(dx) > 1e-9 ? hw / std::fabs(dx) : 1e18,
                                std::fabs(dy) > 1e-9 ? hh / std::fabs(dy) : 1e18);
  return {static_cast<int>(std::lround(cx + dx * reach)), static_cast<int>(std::lround(cy + dy * reach)), dx,
          dy};
}

void drawGuardCues(const PlayerState& p) {
  if (!settings.soundCues) return;
  const int size = std::max(5, viewRect.height / 16);
  for (int slot = 0; slot < kMaxGuards; ++slot) {
    const Heard& h = g_heard[slot];
    if (h.passesLeft <= 0 || !guards[slot].active) continue;
    const double relative = std::atan2(h.y - p.y, h.x - p.x) - p.heading;
    const CuePlace c = cuePlace(relative, viewRect, 2 * size);
    // Closer is brighter; the last second fades it a little more.
    const int level =
        std::min(31, h.cells * kFarthestShade / kHearingCells + (kCuePasses - h.passesLeft) / 4);
    const uint16_t colour = shade(level, kGuardMarkColours[slot]);
    const double px = -c.dy, py = c.dx;  // across the pointing direction
    const double tx = c.x + c.dx * size, ty = c.y + c.dy * size;
    const double bx = c.x - c.dx * size * 0.2, by = c.y - c.dy * size * 0.2;
    // A dark rim first, so that a cue reads on the sky and on the bricks alike.
    for (const int pass : {0, 1}) {
      setColor(pass == 0 ? kRim : colour);
      const int width = size / 4 + (pass == 0 ? 3 : 0);
      thickLine(tx, ty, bx + px * size, by + py * size, width);
      thickLine(tx, ty, bx - px * size, by - py * size, width);
    }
    if (slot != kWhiteGuard) {
      const int sx = static_cast<int>(std::lround(c.x - c.dx * size * 1.4));
      const int sy = static_cast<int>(std::lround(c.y - c.dy * size * 1.4));
      fillDisc(sx, sy, size / 2 + 2, kRim);
      drawShapeMark(guardItem(slot), sx - size / 2, sy - size / 2, size + 1, colour);
    }
  }
}

void resetCues() {
  for (Heard& h : g_heard) h = Heard{};
}
