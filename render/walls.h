// The wall ray caster: one ray per view column through the grid of edge walls.
#pragma once

struct PlayerState;
struct MazeFloor;
struct Surface;

// Casts every column of the current view; sets seen flags, columnDepth and the
// bodies' visible flags.
void castWalls(const PlayerState& player, MazeFloor& cells, Surface* surface);
