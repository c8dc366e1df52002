// The certified maze of a seed as a level file the game plays like any other:
// $XDG_CACHE_HOME/quillmoor/seed-N.txt (~/.cache/quillmoor/ without it). The
// file is made again on every start: it is a cache, and the seed decides it.
#pragma once
#include <cstdint>
#include <string>

// Generates, certifies and writes the maze of `seed`; returns the file's path,
// or an empty path with `error` saying why.
std::string writeSeedLevel(uint64_t seed, std::string& error);
