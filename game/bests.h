// The player's best runs, per maze: the shortest time of a won run and the
// highest score, kept in $XDG_DATA_HOME/quillmoor/bests.ini
// (~/.local/share/quillmoor/ when unset) under the hash of the maze file's
// bytes, so an edited maze starts its own list. A bad file never stops the game.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kNoBestTime = -1;  // no run on this maze was won yet

struct MazeBest {
  uint64_t maze;   // mazeHash of the maze file
  int timeMillis;  // the shortest won run, kNoBestTime for none
  int score;       // the highest score of any run
};

// 64-bit FNV-1a over the bytes.
uint64_t mazeHash(const void* bytes, size_t size);
// The maze file's hash; 0 when it cannot be read.
uint64_t mazeFileHash(const char* path);

// The file's path from the environment; empty when neither XDG_DATA_HOME nor HOME is set.
std::string bestsPath();

// What one finished run changed: the bests after it, and which it beat.
struct BestsNow {
  MazeBest best;
  bool newTime, newScore;
};
// Puts the run in and returns the maze's bests. The file is read at the
// first run of the process and written back whenever a best changed (never
// when it was unreadable); without a file the bests are kept until the game ends. Says on stderr, in one line
// each, what it could not read or write.
BestsNow recordRun(uint64_t maze, bool won, int timeMillis, int score);

// ---- Pure parts, for tests and the fuzzer ----
// Reads the file's text into `out`; false (and out empty) when the text is
// not a whole bests file: any line it cannot use, or its end line missing.
bool parseBests(const char* data, size_t size, std::vector<MazeBest>& out);
std::string formatBests(const std::vector<MazeBest>& mazes);

// Tests only: forget the file as read, so the next run reads it again.
void resetBests();
