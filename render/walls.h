// The wall ray caster: one ray per view column through the grid of edge walls.
#pragma once

struct PlayerState;
struct MazeFloor;
struct Surface;

// Casts every column of the current view; sets seen flags, columnDepth and the
// bodies' visible flags.
void castWalls(const PlayerState& player, MazeFloor& cells, Surface* surface);
// 0 while a picture is drawn only to be shown, between passes: the rays then
// leave the walls' and floors' seen flags as the passes set them.
void setRaysMarkSeen(int on);
