// The generator's own random numbers: splitmix64, written out here so that a
// seed makes the same maze on every machine and with every library version
// (the standard distributions may change their output between versions).
#pragma once
#include <cstdint>

struct MazeRandom {
  uint64_t state;

  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1 (n >= 1) by the top 32 bits scaled: no loop, no library call.
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(((next() >> 32) * n) >> 32); }
  // True in `percent` of the calls.
  bool chance(uint32_t percent) { return below(100) < percent; }
};

// The stream of one candidate of one seed: each candidate its own, unrelated to the next.
inline MazeRandom mazeRandom(uint64_t seed, uint32_t candidate) {
  MazeRandom mix{seed};
  MazeRandom r{mix.next() ^ (static_cast<uint64_t>(candidate) * 0xD1B54A32D192ED03ull)};
  r.next();
  return r;
}
