#include "game/controls.h"

#include <cmath>

#include "framework/mainloop.h"
#include "game/fullmap.h"
#include "game/options.h"
#include "game/screenshot.h"
#include "game/settings.h"
#include "game/sounds.h"
#include "world/angles.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {
const MazeFloor& currentFloor() { return mazeGrid.floors[player.floor]; }

void flip(int32_t& toggle) { toggle = toggle == 0 ? 1 : 0; }

bool g_blocked = false;  // a step of this pass met a wall
}  // namespace

StepTrail stepTrail = {};

namespace {
void noteTrail() {
  if (stepTrail.count >= kTrailPoints) return;
  stepTrail.x[stepTrail.count] = player.x;
  stepTrail.y[stepTrail.count] = player.y;
  ++stepTrail.count;
}
}  // namespace

void stepPlayer(double d, double length) {
  // Each axis moves and is tested on its own, so a step into a wall at an
  // angle keeps the part along the wall: the player slides.
  const double mx = length * std::cos(d);
  player.x = static_cast<float>(player.x + mx);
  if (touchesWall(player, currentFloor())) {
    player.x = static_cast<float>(player.x - mx);
    g_blocked = true;
  }
  noteTrail();
  const double my = length * std::sin(d);
  player.y = static_cast<float>(player.y + my);
  if (touchesWall(player, currentFloor())) {
    player.y = static_cast<float>(player.y - my);
    g_blocked = true;
  }
  noteTrail();
}

void turnLeft() {
  player.heading = player.heading + kTurnStep;
  if (player.heading > kTurnBound) player.heading = player.heading - kFullTurn;
}

void turnRight() {
  player.heading = player.heading - kTurnStep;
  if (player.heading < 0) player.heading = player.heading + kFullTurn;
}

void applyMoves(unsigned moves) {
  g_blocked = false;
  stepTrail.count = 0;
  if (moves & kMoveForward) stepPlayer(player.heading, kStepLength);
  if (moves & kMoveBack) stepPlayer(player.heading, -kStepLength);
  if (moves & kMoveTurnLeft) turnLeft();
  if (moves & kMoveTurnRight) turnRight();
  if (moves & kMoveSideLeft) stepPlayer(player.heading + kQuarterTurn, kStepLength);
  if (moves & kMoveSideRight) stepPlayer(player.heading - kQuarterTurn, kStepLength);
  noteWallContact(g_blocked);
}

void turnByMouse(int pixels) {
  if (pixels == 0) return;
  double angle = -pixels * settings.mouseSpeed * kRadiansPerMouseUnit;
  if (angle > kHalfTurn) angle = kHalfTurn;
  if (angle < -kHalfTurn) angle = -kHalfTurn;
  player.heading = static_cast<float>(player.heading + angle);
  if (player.heading > kTurnBound) player.heading = player.heading - kFullTurn;
  if (player.heading < 0) player.heading = player.heading + kFullTurn;
}

void pollMovementKeys() {
  // The game stands still under the options page, and the pointer is the player's.
  const bool playing = !optionsOpen() && !fullMapOpen();
  holdMouse(playing && settings.mouseTurning);
  const int moved = takeMouseMotion();
  if (!playing) return;
  unsigned moves = 0;
  for (int action = 0; action < kActionCount; ++action) {
    for (const int key : settings.keys[action])
      if (key != 0 && isKeyDown(key)) moves |= moveOfAction(action);
    if (isKeyDown(kScanPadMoves + action)) moves |= moveOfAction(action);  // a game controller
  }
  applyMoves(moves);
  if (settings.mouseTurning) turnByMouse(moved);
}

void onKeyDown(Event* event) {
  const int scan = (event->message >> 8) & 0xFF;
  if (scan == kScreenshotScanCode) {
    saveScreenshot();
    return;
  }
  if (optionsOpen()) {
    optionsKey(*event);
    return;
  }
  if (fullMapOpen()) {
    fullMapKey(*event);
    return;
  }
  if (scan == kScanTab) {
    openFullMap();
    return;
  }
  if (scan == kOptionsScanCode) {
    openOptions();
    return;
  }
  switch (event->message & 0xFF) {
    case kCharEsc: requestQuit(); break;
    case '0': flip(stereoView); break;
    case '1': flip(showHelp); break;
    case '2': flip(showMap); break;
    case '3': flip(showFloorPoints); break;
    case '4': flip(showTextures); break;
    case '5': flip(showObjects); break;
    case '6': flip(showSkyAndFloor); break;
    case '9': flip(showGuardsOnMap); break;
    case '7': flip(settings.soundCues); break;  // kept when the options page saves next
    default: break;
  }
}
