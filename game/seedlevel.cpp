#include "game/seedlevel.h"

namespace {
SeedLevelMaker g_maker = nullptr;
}  // namespace

void setSeedLevelMaker(SeedLevelMaker maker) { g_maker = maker; }

std::string seedLevelPath(uint64_t seed, std::string& error) {
  if (!g_maker) {
    error = "this build cannot make seeded mazes";
    return "";
  }
  return g_maker(seed, error);
}

uint64_t dailySeed(std::time_t now) {
  std::tm utc{};
  gmtime_r(&now, &utc);
  return static_cast<uint64_t>(utc.tm_year + 1900) * 10000 + static_cast<uint64_t>(utc.tm_mon + 1) * 100 +
         static_cast<uint64_t>(utc.tm_mday);
}
