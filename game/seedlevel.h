// The maze of a seed (--seed N, --daily). Its maker lives above the game's
// libraries (mazegen/ certifies each maze with the simulated players, which
// play the game's own rules), so the binary's main hands the maker in.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

// Makes the maze of `seed` into a level file; returns its path, or "" with `error` set.
using SeedLevelMaker = std::string (*)(uint64_t seed, std::string& error);
void setSeedLevelMaker(SeedLevelMaker maker);
// The level file of `seed` by the maker handed in; "" with `error` set without one.
std::string seedLevelPath(uint64_t seed, std::string& error);
// Today's seed: the UTC date of `now` as the number YYYYMMDD.
uint64_t dailySeed(std::time_t now);
