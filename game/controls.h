// Keyboard controls: held keys walk, turn and sidestep the player once per
// pass; key presses flip the display toggles and Escape quits.
#pragma once

#include "framework/scancodes.h"

struct Event;

// The steering keys: the arrows, and End and Page Down (keypad 1 and 3) to sidestep.
enum SteeringKey {
  kKeyForward = kScanUp,
  kKeyBack = kScanDown,
  kKeyTurnLeft = kScanLeft,
  kKeyTurnRight = kScanRight,
  kKeySideLeft = kScanEnd,
  kKeySideRight = kScanPageDown,
};

void pollMovementKeys();
void onKeyDown(Event* event);

// One step of `length` along direction d, x then y, each undone on wall contact.
void stepPlayer(double d, double length);
void turnLeft();
void turnRight();
