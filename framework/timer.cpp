// The stopwatch on the monotonic clock, and the processor's clock rate.
#include "framework/timer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

// Nominal processor clock rates in MHz; a measurement within 2 MHz of one of
// them (the first that fits) is reported as that rate.
constexpr int kNominalMHz[] = {400, 333, 300, 266, 233, 200, 166, 150, 133,
                               120, 100, 90,  75,  66,  60,  50,  33,  20};

struct Stopwatch {
  int64_t cpuSpeedHz;   // -1 until initTimer has run
  int64_t start, stop;  // nanoseconds of the monotonic clock
  int measurements;
};
Stopwatch g_watch = {-1, 0, 0, 0};

int64_t nowNanos() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

#if defined(__x86_64__) || defined(__i386__)
// Counts time-stamp cycles over about 20 ms of the monotonic clock.
int measureTscMHz() {
  const int64_t t0 = nowNanos();
  const uint64_t c0 = __rdtsc();
  int64_t t1;
  do {
    t1 = nowNanos();
  } while (t1 - t0 < 20000000);
  const uint64_t c1 = __rdtsc();
  const int64_t micros = (t1 - t0) / 1000;
  if (micros <= 0 || c1 <= c0) return 0;
  return static_cast<int>((c1 - c0 + static_cast<uint64_t>(micros) / 2) / static_cast<uint64_t>(micros));
}
#endif

// The first "cpu MHz" line of /proc/cpuinfo, rounded; 0 when there is none.
int cpuinfoMHz() {
  std::FILE* f = std::fopen("/proc/cpuinfo", "r");
  if (!f) return 0;
  char line[256];
  int mhz = 0;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "cpu MHz", 7) != 0) continue;
    const char* colon = std::strchr(line, ':');
    double v = 0;
    if (colon && std::sscanf(colon + 1, "%lf", &v) == 1 && v > 0 && v < 1e6) mhz = static_cast<int>(v + 0.5);
    break;
  }
  std::fclose(f);
  return mhz;
}
}  // namespace

int snapToNominalMHz(int measured) {
  for (int nominal : kNominalMHz) {
    if (measured >= nominal - 2 && measured <= nominal + 2) return nominal;
  }
  return measured;
}

int64_t convertCountsToMicros(int64_t diff, uint32_t frequency) {
  if (frequency == 0 || diff < 0) return 0;
  // Twenty fraction bits survive the division by the frequency.
  const int64_t quotient = (diff << 20) / frequency;
  return (quotient * 1000000) >> 20;
}

int cpuSpeedMHz() {
  ++g_watch.measurements;
  int mhz = 0;
#if defined(__x86_64__) || defined(__i386__)
  mhz = measureTscMHz();
#endif
  if (mhz <= 0) mhz = cpuinfoMHz();
  if (mhz <= 0) mhz = 1;  // nothing to measure against: still a positive rate
  return snapToNominalMHz(mhz);
}

void initTimer() {
  if (g_watch.cpuSpeedHz != -1) return;
  g_watch.cpuSpeedHz = static_cast<int64_t>(cpuSpeedMHz()) * 1000000;
}

void timerStart() { g_watch.start = nowNanos(); }
void timerStop() { g_watch.stop = nowNanos(); }

// The monotonic clock counts nanoseconds, so no frequency conversion is needed.
int timerElapsedMicros() { return static_cast<int>((g_watch.stop - g_watch.start) / 1000); }

void resetTimer() {
  g_watch.cpuSpeedHz = -1;
  g_watch.start = g_watch.stop = 0;
}

int timerMeasurements() { return g_watch.measurements; }
