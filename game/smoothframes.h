// Pictures between the passes: the view drawn again at the screen's rate,
// with the player, the guards and the crystals' spin interpolated between
// the last two passes, and the texts and tiles as the last pass drew them.
// The rules never see these pictures: every flag and position is, afterwards,
// byte for byte as the pass left it.
#pragma once
#include <cstdint>

#include "game/controls.h"
#include "world/gamestate.h"
#include "world/level.h"

// The moving parts as a pass left them.
struct PassPose {
  int valid;
  PlayerState player;
  StepTrail trail;  // the player's way from the pose before, axis by axis
  float guardX[kMaxGuards], guardY[kMaxGuards];
  float guardFacing[kMaxGuards];  // degrees
  int32_t guardShown[kMaxGuards];
  float spin;  // the spin the crystals turn on from
};

// The end of a pass drawn for the screen. With classic pictures, the pass's
// picture is shown; otherwise the pose is noted and the picture kept back:
// the pictures between show the pass (or it is shown later by itself).
void finishPassPicture(int elapsedMicros);
// A pass whose picture stands still (a page) or ends the run: nothing is
// drawn between it and the next pass, and the next pass does not move from it.
void forgetPassPose();
// The main loop's between callback (framework/mainloop.h).
int drawBetweenPasses(float fraction);

// ---- Pure parts, for tests ----
PassPose currentPassPose();
// `fraction` of the short way from `from` to `to` on a circle of `fullTurn`.
double turnBetween(double from, double to, double fraction, double fullTurn);
// The player `fraction` of the way from one pass to the next: along the
// pass's steps, axis by axis; at the later pose when the two do not join up
// (a new run, a jump).
PlayerState playerBetween(const PassPose& from, const PassPose& to, float fraction);
struct GuardPlace {
  float x, y, facing;
};
GuardPlace guardBetween(const PassPose& from, const PassPose& to, int slot, float fraction);
