#include "mazegen/certify.h"

#include "mazegen/generate.h"
#include "sim/newcomer.h"
#include "sim/simplayer.h"
#include "world/levelcheck.h"

namespace {

// The shipped level's targets (README, "The level"), as shares of the runs.
// The newcomer's is set a little below the shipped level's 60% at 200 ms (with these judges):
// on ten runs a fair maze scores a run or two either side of its rate.
constexpr int kReaction200ms = 200 * kPassesPerSecond / 1000, kReaction320ms = 320 * kPassesPerSecond / 1000;
constexpr int kPlannedPercent200 = 70, kPlannedPercent320 = 65, kNewcomerPercent200 = 50;
constexpr int kWanderCaughtPercent = 90;  // caught before carrying all three items
constexpr double kStandStillSeconds[2] = {12.0, 25.0};

// Runs needed out of kCertifyRuns for a share of `percent`.
constexpr int needed(int percent) { return (percent * kCertifyRuns + 99) / 100; }

// Counts the runs 1..kCertifyRuns that `passes` accepts, stopping as soon as
// the target can no longer be met.
template <typename Run>
bool enoughRuns(int percent, Run passes) {
  const int need = needed(percent);
  int good = 0;
  for (int s = 1; s <= kCertifyRuns; ++s) {
    good += passes(static_cast<uint32_t>(s)) ? 1 : 0;
    if (good >= need) return true;
    if (good + kCertifyRuns - s < need) return false;
  }
  return false;
}

bool passesChecker(const std::string& text) {
  static LevelMap map;
  LevelReport report;
  parseLevelText(map, text.data(), static_cast<long>(text.size()), &report);
  return checkLevel(map, report, nullptr).empty();
}

const char* unfairForPlayers() {
  routeplan::Snapshot start;
  routeplan::save(start);
  // The checks that fail most often first, the one that hardly ever fails last.
  constexpr simplay::WayBack kJudges = simplay::WayBack::kTurnsRound;
  const double still = simplay::standStill(start).passes / double(kPassesPerSecond);
  if (still < kStandStillSeconds[0]) return "standing still is caught too soon";
  if (still > kStandStillSeconds[1]) return "standing still is caught too late";
  const auto escaped = [](routeplan::Outcome o) { return o == routeplan::kEscaped; };
  if (!enoughRuns(kNewcomerPercent200, [&](uint32_t s) {
        return escaped(newcomer::play(start, kReaction200ms, s, kJudges).outcome);
      }))
    return "too few wins for a newcomer at 200 ms";
  if (!enoughRuns(kPlannedPercent200, [&](uint32_t s) {
        return escaped(simplay::playPlanned(start, kReaction200ms, s, nullptr, kJudges).outcome);
      }))
    return "too few wins with full knowledge at 200 ms";
  if (!enoughRuns(kPlannedPercent320, [&](uint32_t s) {
        return escaped(simplay::playPlanned(start, kReaction320ms, s, nullptr, kJudges).outcome);
      }))
    return "too few wins with full knowledge at 320 ms";
  if (!enoughRuns(kWanderCaughtPercent, [&](uint32_t s) {
        const simplay::RunResult r = simplay::wander(start, s, kJudges);
        return r.outcome == routeplan::kCaught && r.mostItems < kItemCount;
      }))
    return "wandering is not punished";
  return nullptr;
}

}  // namespace

const char* whyUnfair(const std::string& text) {
  const char* why = "the level checker finds fault with it";
  if (passesChecker(text)) {
    simplay::loadLevelTextForPlay(text);
    why = unfairForPlayers();
  }
  simplay::resetRulesState();
  return why;
}

CertifiedMaze certifiedMaze(uint64_t seed) {
  for (uint32_t c = 0; c < kMaxCandidates; ++c) {
    std::string text = generateLevel(seed, c);
    if (!whyUnfair(text)) return {std::move(text), c + 1};
  }
  return {"", kMaxCandidates};
}
