// The full map: the whole floor north-up, large, with what the player has
// seen of it (walls, floor, crystals, items, the exit) and where the player
// stands and looks. Unknown space stays dark.
#pragma once

struct PlayerState;
struct MazeFloor;
struct LevelMap;

// Where the maze lies on the surface: the top-left corner of the map and the
// size of a cell in pixels, fitted into width x height with `reserved` rows
// kept free above and below for text.
struct MapFrame {
  int left, top, cell;
};
MapFrame fitFullMap(int mazeWidth, int mazeHeight, int width, int height, int reserved);

// Draws over the whole current surface. Guards are shown only with `guards` set.
void drawFullMap(const PlayerState& player, const MazeFloor& floor, const LevelMap& map, int reserved,
                 int guards);
