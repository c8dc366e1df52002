// A frame's 3D view: backdrop, walls, exit, objects and map, or the stereo pair.
#pragma once

struct PlayerState;
struct MazeFloor;
struct Surface;

void drawView(PlayerState& player, MazeFloor& cells, Surface* surface);
