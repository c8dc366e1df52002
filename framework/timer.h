// The stopwatch: microseconds between timerStart and timerStop on a monotonic clock.
#pragma once
#include <cstdint>

void initTimer();  // chooses the time source once; later calls do nothing
void timerStart();
void timerStop();
int timerElapsedMicros();
int cpuSpeedMHz();  // the processor's clock rate, always positive

// Snaps a measured rate to a nominal one when it lies within 2 MHz of it.
int snapToNominalMHz(int measured);
// convert(diff, f): diff counts of a clock of f counts per second, in microseconds,
// keeping 20 fraction bits through the division.
int64_t convertCountsToMicros(int64_t diff, uint32_t frequency);
// Tests only: forget the chosen source so initTimer measures again.
void resetTimer();
// Tests only: how often the processor's clock was measured since the start.
int timerMeasurements();
