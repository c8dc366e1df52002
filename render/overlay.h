// Flat overlays: the heading-up overview map of the walls seen so far, and the
// three colour tiles under the view that show the items carried.
#pragma once

struct PlayerState;
struct MazeFloor;

void drawOverviewMap(const PlayerState& player, const MazeFloor& cells);
void drawColourTiles();
