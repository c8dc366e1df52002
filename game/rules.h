// The game's rules, once per pass, in one home: the bonus count-down and the
// guards' steps, then crystals, guard contact and take-back, items and the
// exit. The frame draws the view between the two halves and turns the events
// into pictures and sounds; simulated players run both halves and draw nothing.
#pragma once
#include <cstdint>

#include "guards/guards.h"

// The reach limits, as squared distances compared strictly.
constexpr double kReachLimit = 0.8;
constexpr double kExitReachLimit = 0.9;
bool reached(float objectX, float objectY, double limit);

// Points for a crystal.
constexpr int32_t kCrystalPoints = 100;

// What the second half of a pass did, for the frame to show and sound.
struct PassEvents {
  int crystals;       // collected this pass
  bool caught;        // the white guard reached the player
  int32_t takenBack;  // item bits their guards took back
  int32_t pickedUp;   // item bits of the items walked over (one held already is picked up again)
  int32_t released;   // item bits whose guard set out
  bool exitOpened;    // the third item opened the exit in this pass
  bool escaped;       // out through the open exit: the time bonus is in the score
};

// The rules' start state on the loaded level: crystals in place, the guards
// on their start cells with only the white one hunting, the items in the maze.
void startRules();
// The first half of a pass: the bonus counts down and the guards step.
GuardSteps beginPass();
// The second half, after the view is drawn from the state the steps left.
PassEvents finishPass();
// A whole pass's rules without drawing.
PassEvents runRules();
