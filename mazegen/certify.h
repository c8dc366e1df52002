// Certification of generated mazes: a candidate is offered only when the
// level checker finds nothing and the simulated players find it as fair as
// the shipped level is held to be; otherwise the seed's next candidate is tried.
#pragma once
#include <cstdint>
#include <string>

// Runs of each simulated player and reaction delay that judge a candidate:
// enough to tell a fair maze from an unfair one, few enough that a seed is
// generated and certified in well under a second.
constexpr int kCertifyRuns = 10;
// A seed that finds no fair maze among this many candidates has none.
constexpr uint32_t kMaxCandidates = 64;

// Nothing (nullptr) when the level text passes the checker and every fairness
// target on kCertifyRuns runs; else the first target it misses, in a few words.
// Leaves the rules' state at its start, as the game's start-up finds it.
const char* whyUnfair(const std::string& text);

struct CertifiedMaze {
  std::string text;     // empty when no candidate passed
  uint32_t candidates;  // tried, the passing one included
};
// The first candidate of `seed` that certifies: the same maze for the same seed, always.
CertifiedMaze certifiedMaze(uint64_t seed);
