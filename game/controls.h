// Keyboard controls: held keys walk, turn and sidestep the player once per
// pass; key presses flip the display toggles and Escape quits.
#pragma once

struct Event;

// PC scan codes of the steering keys (keypad and grey keys share them).
enum SteeringKey {
  kKeyForward = 0x48,
  kKeyBack = 0x50,
  kKeyTurnLeft = 0x4B,
  kKeyTurnRight = 0x4D,
  kKeySideLeft = 0x4F,
  kKeySideRight = 0x51,
};

void pollMovementKeys();
void onKeyDown(Event* event);

// One step of `length` along direction d, x then y, each undone on wall contact.
void stepPlayer(double d, double length);
void turnLeft();
void turnRight();
