// How the seeded mazes certify: for seeds FIRST..LAST (1..1000 by default),
// how many certify at their first candidate, candidates per seed (mean and
// worst), seeds with no fair maze, and the slowest seed's time (processor
// time, so that other work on the machine does not count). With -v, each
// unfair candidate's reason on standard error.
//   build/bench/quill_mazereport [FIRST LAST] [-v]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "mazegen/certify.h"
#include "mazegen/generate.h"

int main(int argc, char** argv) {
  uint64_t first = 1, last = 1000;
  bool verbose = false;
  int numbers = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-v") == 0)
      verbose = true;
    else
      (numbers++ == 0 ? first : last) = std::strtoull(argv[i], nullptr, 10);
  }
  if (numbers == 1) last = first;
  int atFirst = 0, none = 0, overASecond = 0;
  uint64_t candidates = 0, worstSeed = first, slowestSeed = first;
  uint32_t worst = 0;
  double slowest = 0, total = 0;
  for (uint64_t seed = first; seed <= last; ++seed) {
    const std::clock_t t0 = std::clock();
    uint32_t used = 0;
    if (verbose) {
      for (used = 1; used <= kMaxCandidates; ++used) {
        const char* why = whyUnfair(generateLevel(seed, used - 1));
        if (!why) break;
        std::fprintf(stderr, "seed %llu candidate %u: %s\n", static_cast<unsigned long long>(seed), used - 1,
                     why);
      }
      if (used > kMaxCandidates) used = 0;
    } else {
      const CertifiedMaze m = certifiedMaze(seed);
      used = m.text.empty() ? 0 : m.candidates;
    }
    const double seconds = static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
    total += seconds;
    overASecond += seconds > 1.0;
    if (seconds > slowest) slowest = seconds, slowestSeed = seed;
    if (used == 0) {
      ++none;
      used = kMaxCandidates;
    }
    atFirst += used == 1;
    candidates += used;
    if (used > worst) worst = used, worstSeed = seed;
  }
  const double seeds = static_cast<double>(last - first + 1);
  std::printf(
      "seeds %llu..%llu: %d certified at the first candidate (%.1f%%), %d without a fair maze in %u\n"
      "candidates per seed: mean %.2f, worst %u (seed %llu)\n"
      "processor time per seed: mean %.3f s, slowest %.3f s (seed %llu), %d over a second\n",
      static_cast<unsigned long long>(first), static_cast<unsigned long long>(last), atFirst,
      100.0 * atFirst / seeds, none, kMaxCandidates, static_cast<double>(candidates) / seeds, worst,
      static_cast<unsigned long long>(worstSeed), total / seeds, slowest,
      static_cast<unsigned long long>(slowestSeed), overASecond);
  return 0;
}
