// Fuzzes the bests reader and writer: any bytes are either a whole bests file
// or nothing at all, and a file read writes back to text that reads the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/bests.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<MazeBest> mazes;
  const bool whole = parseBests(reinterpret_cast<const char*>(data), size, mazes);
  if (!whole) {
    if (!mazes.empty()) __builtin_trap();
    return 0;
  }
  for (const MazeBest& b : mazes)
    if (b.score < 0 || (b.timeMillis < 0 && b.timeMillis != kNoBestTime)) __builtin_trap();
  const std::string text = formatBests(mazes);
  std::vector<MazeBest> again;
  if (!parseBests(text.data(), text.size(), again) || formatBests(again) != text) __builtin_trap();
  return 0;
}
