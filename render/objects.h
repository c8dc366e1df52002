// The object pass: guards, items and bodies sorted far to near, and the
// camera-facing sprite drawers for guards, items and the open exit.
#pragma once
#include <cstdint>

struct PlayerState;
struct MazeFloor;
struct Surface;
struct Guard;
struct KeyItem;

struct ObjectEntry {
  float depth;
  int32_t kind;  // 0 guard, 1 point object, 2 key item
  int32_t index;
};

void drawObjects(const PlayerState& player, const MazeFloor& cells, Surface* surface);
void drawGuardFigure(const PlayerState& player, const MazeFloor& cells, int slot, Surface* surface);
void drawKeyItem(const PlayerState& player, const MazeFloor& cells, const KeyItem& item, Surface* surface);
void drawExitPicture(const PlayerState& player, const MazeFloor& cells, int exitX, int exitY,
                     Surface* surface);
// Which of the 16 pictures a guard facing `facingDegrees` at (gx, gy) shows to a camera at (camX, camY).
int guardPictureIndex(float facingDegrees, float gx, float gy, float camX, float camY);
// The list the last drawObjects call drew, in drawing order (tests read it).
int lastObjectList(const ObjectEntry** entries);
