// The angles the game turns by, in radians, each at the precision the game
// has always used: the replays depend on every bit of the wrapped angles.
#pragma once

// Why the full turn has two values: a heading, ray or spin angle is wrapped
// by adding or taking away kFullTurn (a float, a hair under 2 pi), but the
// test for "past a full turn" compares with kTurnBound (a double, a hair
// above it). An angle between the two is left as it is, and taking away the
// smaller turn can leave a value just under zero for the next wrap to lift.
constexpr float kFullTurn = 6.283185f;
constexpr double kTurnBound = 6.2831852;

constexpr double kQuarterTurn = 1.5707963;
constexpr double kHalfTurn = 3.1415926;
constexpr double kThreeQuarterTurn = 4.7123889;
