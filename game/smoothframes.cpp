#include "game/smoothframes.h"

#include <cmath>
#include <cstring>

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "game/cues.h"
#include "game/hud.h"
#include "game/startup.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "render/overlay.h"
#include "render/view.h"
#include "render/walls.h"
#include "world/angles.h"

namespace {

// A guard walks a tenth of a cell a pass; farther than this it was put
// somewhere new, and is drawn there at once.
constexpr float kGuardJump = 0.25f;
// A step moves one axis by at most this much; a longer move is a jump.
constexpr double kLongestAxisStep = kStepLength + 1e-4;

PassPose g_from{}, g_to{};
bool g_held = false;  // the back buffer holds a pass's picture not yet shown
int g_elapsed = 0;    // the last pass's stopwatch reading, for the frame rate

int standing(const Guard& g) {
  const int w = g.currentWaypoint;
  return w < 0 ? 0 : (w >= kWaypointCount ? kWaypointCount - 1 : w);
}

// The pass's way as points: where the last pass left the player, each axis
// step, where this one left it. 0 when they do not join by axis steps.
int wayPoints(const PassPose& from, const PassPose& to, float* xs, float* ys) {
  int n = 0;
  xs[n] = from.player.x, ys[n++] = from.player.y;
  for (int i = 0; i < to.trail.count && i < kTrailPoints; ++i) xs[n] = to.trail.x[i], ys[n++] = to.trail.y[i];
  xs[n] = to.player.x, ys[n++] = to.player.y;
  for (int i = 1; i < n; ++i) {
    const double dx = std::fabs(static_cast<double>(xs[i]) - xs[i - 1]);
    const double dy = std::fabs(static_cast<double>(ys[i]) - ys[i - 1]);
    if ((dx != 0 && dy != 0) || dx > kLongestAxisStep || dy > kLongestAxisStep) return 0;
  }
  return n;
}

// Everything a picture's drawing may change that the rules own: put back
// after each picture between.
struct Kept {
  PointObject bodies[kBodyCount];
  Waypoint place[kMaxGuards];
  float facing[kMaxGuards];
};
Kept g_kept;

void keep() {
  std::memcpy(g_kept.bodies, pointObjects, sizeof pointObjects);
  for (int s = 0; s < kMaxGuards; ++s) {
    const int w = standing(guards[s]);
    g_kept.place[s] = guards[s].waypoints[w];
    g_kept.facing[s] = guards[s].facing[w];
  }
}

void putBack() {
  std::memcpy(pointObjects, g_kept.bodies, sizeof pointObjects);
  for (int s = 0; s < kMaxGuards; ++s) {
    const int w = standing(guards[s]);
    guards[s].waypoints[w] = g_kept.place[s];
    guards[s].facing[w] = g_kept.facing[s];
  }
}

}  // namespace

PassPose currentPassPose() {
  PassPose p{};
  p.valid = 1;
  p.player = player;
  p.trail = stepTrail;
  for (int s = 0; s < kMaxGuards; ++s) {
    const Guard& g = guards[s];
    const int w = standing(g);
    p.guardX[s] = g.waypoints[w].x;
    p.guardY[s] = g.waypoints[w].y;
    p.guardFacing[s] = g.facing[w];
    p.guardShown[s] = g.active == 1 && g.present == 1;
  }
  p.spin = spinAngle;
  return p;
}

double turnBetween(double from, double to, double fraction, double fullTurn) {
  double d = std::fmod(to - from, fullTurn);
  if (d > fullTurn / 2) d -= fullTurn;
  if (d < -fullTurn / 2) d += fullTurn;
  return from + d * fraction;
}

PlayerState playerBetween(const PassPose& from, const PassPose& to, float fraction) {
  PlayerState p = to.player;
  if (!from.valid || from.player.floor != to.player.floor) return p;
  float xs[kTrailPoints + 2], ys[kTrailPoints + 2];
  const int n = wayPoints(from, to, xs, ys);
  if (n == 0) return p;
  double total = 0;
  for (int i = 1; i < n; ++i) total += std::fabs(xs[i] - xs[i - 1]) + std::fabs(ys[i] - ys[i - 1]);
  double left = total * fraction;
  for (int i = 1; i < n; ++i) {
    const double len = std::fabs(xs[i] - xs[i - 1]) + std::fabs(ys[i] - ys[i - 1]);
    if (left <= len && len > 0) {
      const double t = left / len;
      p.x = static_cast<float>(xs[i - 1] + (xs[i] - xs[i - 1]) * t);
      p.y = static_cast<float>(ys[i - 1] + (ys[i] - ys[i - 1]) * t);
      break;
    }
    left -= len;
  }
  double h = turnBetween(from.player.heading, to.player.heading, fraction, kFullTurn);
  if (h < 0) h += kFullTurn;
  if (h > kTurnBound) h -= kFullTurn;
  p.heading = static_cast<float>(h);
  return p;
}

GuardPlace guardBetween(const PassPose& from, const PassPose& to, int slot, float fraction) {
  GuardPlace g = {to.guardX[slot], to.guardY[slot], to.guardFacing[slot]};
  if (!from.valid || !from.guardShown[slot]) return g;
  const float dx = to.guardX[slot] - from.guardX[slot], dy = to.guardY[slot] - from.guardY[slot];
  if (std::fabs(dx) > kGuardJump || std::fabs(dy) > kGuardJump) return g;
  g.x = from.guardX[slot] + dx * fraction;
  g.y = from.guardY[slot] + dy * fraction;
  g.facing = static_cast<float>(turnBetween(from.guardFacing[slot], to.guardFacing[slot], fraction, 360.0));
  return g;
}

void finishPassPicture(int elapsedMicros) {
  g_elapsed = elapsedMicros;
  if (!drawsBetweenPasses()) {
    g_to.valid = 0;
    g_held = false;
    swapBuffers(2);
    return;
  }
  g_from = g_to.valid ? g_to : currentPassPose();
  g_to = currentPassPose();
  g_held = true;
}

void forgetPassPose() {
  g_from.valid = g_to.valid = 0;
  g_held = false;
}

int drawBetweenPasses(float fraction) {
  if (fraction < 0) {
    if (g_held) swapBuffers(2);
    g_held = false;
    return 1;
  }
  if (!g_to.valid || !gameSurface()) return 0;
  keep();
  PlayerState eye = playerBetween(g_from, g_to, fraction);
  for (int s = 0; s < kMaxGuards; ++s) {
    if (!g_to.guardShown[s]) continue;
    const GuardPlace g = guardBetween(g_from, g_to, s, fraction);
    const int w = standing(guards[s]);
    guards[s].waypoints[w] = {g.x, g.y};
    guards[s].facing[w] = g.facing;
  }
  // The pass turned the corners to its spin less one step, then stepped on.
  placeSpinCorners(turnBetween(g_from.spin, g_to.spin, fraction, kFullTurn) - kSpinStep);

  setRaysMarkSeen(0);
  clearSurface();
  drawView(eye, mazeGrid.floors[eye.floor], gameSurface());
  drawGuardCues(eye);
  setColor(0x7FFF);
  if (showHelp) {
    drawHelpOverlay();
  } else {
    drawFrameRate(g_elapsed, picturesPerSecond());
  }
  drawColourTiles();
  drawHudLine();
  setRaysMarkSeen(1);
  putBack();
  swapBuffers(2);
  g_held = false;
  return 1;
}
