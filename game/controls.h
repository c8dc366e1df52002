// Keyboard controls: held keys walk, turn and sidestep the player once per
// pass; key presses flip the display toggles and Escape quits.
#pragma once

#include "platform/scancodes.h"

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

// The walking and turning speeds, per pass.
constexpr double kStepLength = 0.3;       // cell units
constexpr float kTurnStep = 0.17453292f;  // ten degrees, in radians

// One pass's movements as bits; those held together act in this order.
enum Move : unsigned {
  kMoveForward = 1,
  kMoveBack = 2,
  kMoveTurnLeft = 4,
  kMoveTurnRight = 8,
  kMoveSideLeft = 16,
  kMoveSideRight = 32,
};
// The movement bit of a bindable action (game/settings.h), in the same order.
constexpr unsigned moveOfAction(int action) { return 1u << action; }

struct Steering {
  int scanCode;
  unsigned move;
};
// The keypad's (and arrows') key for each movement, always bound first.
constexpr Steering kSteering[] = {
    {kKeyForward, kMoveForward},     {kKeyBack, kMoveBack},         {kKeyTurnLeft, kMoveTurnLeft},
    {kKeyTurnRight, kMoveTurnRight}, {kKeySideLeft, kMoveSideLeft}, {kKeySideRight, kMoveSideRight},
};

// The movements held in this pass, one step or turn each; a step that meets a
// wall sounds the bump once per contact.
void applyMoves(unsigned moves);
// Turns by the mouse's motion since the last pass, right for right: any
// angle, never a step. The speed setting is hundredths of a degree a pixel.
constexpr double kRadiansPerMouseUnit = 3.14159265358979 / 180 / 100;
void turnByMouse(int pixels);
// The poll callback: the keys bound in the settings held now, as movements,
// then the mouse's turn.
void pollMovementKeys();
// F2 opens the options page and Tab the full map; while one is open, every key press goes to it.
constexpr int kOptionsScanCode = 0x3C;
void onKeyDown(Event* event);

// One step of `length` along direction d, x then y, each undone on wall contact.
void stepPlayer(double d, double length);

// Where the player stood after each axis of this pass's steps, in order: the
// way the pictures between passes follow, so they never cut a corner the
// steps went round. Emptied when a pass's moves begin.
constexpr int kTrailPoints = 8;  // four steps a pass at most, two axes each
struct StepTrail {
  int count;
  float x[kTrailPoints], y[kTrailPoints];
};
extern StepTrail stepTrail;
void turnLeft();
void turnRight();
