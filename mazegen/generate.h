// Mazes made from a seed: rooms, pillared halls and loops carved into the
// shipped level's frame, furnished with the exit, the three items and the four
// guards, and written in the level file's format. The same seed and candidate
// give the same text on every machine and build.
#pragma once
#include <cstdint>
#include <string>

// The shipped level's size: 23 cells is the widest line the reader takes whole.
constexpr int kMazeWidth = 23, kMazeHeight = 19;

// Candidate `candidate` of maze `seed` as level text. It meets the level
// checker's structural rules; whether it is fair, certification decides.
std::string generateLevel(uint64_t seed, uint32_t candidate);
