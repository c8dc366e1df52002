// The stopwatch and the processor clock rate.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/timer.h"

namespace {

TEST(Timer, ConversionKeepsTwentyFractionBits) {
  EXPECT_EQ(convertCountsToMicros(3000000, 3000000), 1000000);  // one second of a 3 MHz counter
  EXPECT_EQ(convertCountsToMicros(0, 1193182), 0);
  EXPECT_EQ(convertCountsToMicros(1193182 / 100, 1193182), 9999);  // 10 ms, fraction dropped twice
  // 15 ms of a 1 kHz count: floor(floor(15 * 2^20 / 1000) * 10^6 / 2^20).
  EXPECT_EQ(convertCountsToMicros(15, 1000), 14999);
  EXPECT_EQ(convertCountsToMicros(2000000000LL * 60, 2000000000u), 60000000) << "a minute of a 2 GHz counter";
  EXPECT_EQ(convertCountsToMicros(5, 0), 0) << "no frequency, no time";
}

TEST(Timer, MeasuredRatesSnapToNominalOnes) {
  EXPECT_EQ(snapToNominalMHz(265), 266);
  EXPECT_EQ(snapToNominalMHz(268), 266);
  EXPECT_EQ(snapToNominalMHz(269), 269);
  EXPECT_EQ(snapToNominalMHz(270), 270);
  EXPECT_EQ(snapToNominalMHz(398), 400);
  EXPECT_EQ(snapToNominalMHz(18), 20);
  EXPECT_EQ(snapToNominalMHz(2096), 2096);
}

TEST(Timer, InitMeasuresOnceAndTheStopwatchCountsMicroseconds) {
  resetTimer();
  const int before = timerMeasurements();
  initTimer();
  initTimer();
  EXPECT_EQ(timerMeasurements(), before + 1);
  EXPECT_GT(cpuSpeedMHz(), 0);

  timerStart();
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  timerStop();
  const int us = timerElapsedMicros();
  EXPECT_GE(us, 15000);
  EXPECT_LT(us, 2000000);
  EXPECT_EQ(timerElapsedMicros(), us) << "reading does not restart the watch";
}

}  // namespace
