// The frame cycle and the game's rules: bonus, guards, view, texts, pickups,
// capture, the exit and the HUD line, once per main-loop pass.
#pragma once

int runFrame();

// The reach limits, as squared distances compared strictly.
constexpr double kReachLimit = 0.8;
constexpr double kExitReachLimit = 0.9;
bool reached(float objectX, float objectY, double limit);

// The win screen: the meadow over the whole surface, first stored row at the bottom.
void paintMeadowScreen();
