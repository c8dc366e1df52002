// The level file and the maze model: the LevelMap of cell codes and markers,
// the MazeGrid of edge walls built from it, and the wall-contact test.
#pragma once
#include <cstdint>

struct PlayerState;

constexpr int kLevelWidth = 25;   // codes[x] for x 0..24
constexpr int kLevelHeight = 19;  // codes[][y] for y 0..18
constexpr int kMaxGuards = 4;
constexpr int kGridSize = 30;  // MazeGrid cells per side
constexpr int kMaxFloors = 5;

enum CellCode : int32_t {
  kCodeOpen = 0,
  kCodeExit = 1,
  kCodeBrick = 18,
  kCodeOutside = 19,
};

// Marker slots, each named for its letter in the level file, where the case
// matters: kMarkR, kMarkG, kMarkB are the letters 'R', 'G', 'B' (where the red,
// green and blue items lie), kMark_r, kMark_g, kMark_b, kMark_w the letters
// 'r', 'g', 'b', 'w' (where the guards of those colours start). D is the exit.
enum MarkerSlot {
  kMarkD,
  kMarkT,
  kMarkC,
  kMarkR,
  kMarkG,
  kMarkB,
  kMark_r,
  kMark_g,
  kMark_b,
  kMark_w,
  kMark1,
  kMark2,
  kMark3,
  kMark4,
  kMarkerCount
};

// The white guard ends the game when it reaches the player; the red, green and
// blue ones in the slots after it only take back the item of their colour.
constexpr int kWhiteGuard = 0;
// The red, green and blue items, one per coloured guard.
constexpr int kItemCount = 3;
static_assert(kItemCount == kMaxGuards - 1, "a guard for each item, and the white one");
// The guard slot of item k (red, green, blue), and the item of a coloured guard's slot.
constexpr int itemGuardSlot(int item) { return item + 1; }
constexpr int guardItem(int slot) { return slot - 1; }
// The marker of each guard slot's start cell: white, red, green, blue.
constexpr MarkerSlot kGuardStartMarkers[kMaxGuards] = {kMark_w, kMark_r, kMark_g, kMark_b};
// The marker of each item's cell: red, green, blue.
constexpr MarkerSlot kItemMarkers[kItemCount] = {kMarkR, kMarkG, kMarkB};

// The letter that stands for a marker slot in the level file; 0 for no slot.
char markerLetter(int slot);

struct MarkerPos {
  uint16_t x, y;
};

struct LevelMap {
  int32_t width;
  int32_t height;
  int32_t codes[kLevelWidth][kLevelHeight];  // [x][y], y grows upward
  uint16_t guardCount;
  MarkerPos markers[kMarkerCount];
};

struct Edge {
  int32_t present, seen;
};
struct Cell {
  Edge wallLowY;      // from (x, y) to (x + 1, y)
  Edge wallLowX;      // from (x, y) to (x, y + 1)
  int32_t floorSeen;  // a ray of the view has crossed this cell: the full map shows its floor
};
struct MazeFloor {
  Cell cells[kGridSize][kGridSize];  // [y][x]
};
struct MazeGrid {
  int32_t floorCount;
  MazeFloor floors[kMaxFloors];
};

extern LevelMap levelMaps[kMaxFloors];
extern MazeGrid mazeGrid;

// What the reader met that the format passes over silently; filled by
// readLevelFile for the level checker (the game ignores it).
struct LevelReport {
  int physicalLines;
  int splitLines;  // lines of 24 or more characters, read as two
  int declaredWidth, declaredHeight, declaredGuards;
  int clipped;  // width, height or guard count cut to the limits
  int markerCount[kMarkerCount];
  int firstSplitLine;           // physical line number of the first split line, 0 if none
  int storedRows;               // grid lines stored as rows
  int ignoredRows;              // grid lines with text that fell outside the stored rows
  int rowLine[kLevelHeight];    // physical line each row y came from; 0: the file gave none
  int rowLength[kLevelHeight];  // characters of that line (the rest of the row is open floor)
  int truncated;                // the file was longer than the reader takes (kMaxLevelBytes)
};

// The reader takes at most this much of a level file; a real level is a few hundred bytes.
constexpr long kMaxLevelBytes = 1 << 20;

// Parses the file into map; never creates a file; always returns 0.
int readLevelFile(LevelMap& map, const char* name, LevelReport* report = nullptr);
// Parses bytes already in memory the same way (used by readLevelFile and the fuzzer).
void parseLevelText(LevelMap& map, const char* data, long size, LevelReport* report = nullptr);
// The level the game plays.
constexpr const char* kLevelFileName = "Level1.txt";
// Reads the level file (kLevelFileName unless another is named) into floor 0's
// map and raises the walls of every floor in use.
void loadLevel(MazeGrid& grid, const char* path = kLevelFileName);
void buildWalls(MazeGrid& grid);
// True when the position lies within 0.15 of a present wall of its own cell.
// A position off the 30 x 30 grid (or NaN) counts as touching: the grid's edge holds.
bool touchesWall(const PlayerState& position, const MazeFloor& floor);
bool touchesWall(float x, float y, const MazeFloor& floor);

// Tests only.
void resetLevel();
