// The camera model every 3D pass shares: the view rectangle, per-column ray
// angles, projection of world points, the distance shade table and the
// per-column wall depth that hides figures behind walls.
#pragma once
#include <cstdint>

struct PlayerState;

// The widest and tallest surface the mode list can ever offer (1600 x 1200):
// every per-column and per-row table is sized for it.
constexpr int kMaxViewWidth = 1600;
constexpr int kMaxViewHeight = 1200;

struct ViewRect {
  int32_t left, top, right, bottom;  // inclusive surface pixels
  int32_t width, height;
};
extern ViewRect viewRect;

inline int32_t halfWidth() { return viewRect.width / 2; }
inline int32_t halfHeight() { return viewRect.height / 2; }
inline int32_t horizonRow() { return viewRect.bottom - viewRect.height / 2; }

extern float columnAngle[kMaxViewWidth];  // radians; column i's ray points at heading - angle
extern float columnCos[kMaxViewWidth];    // removes the fish-eye bend
extern float columnDepth[kMaxViewWidth];  // perpendicular wall distance per view column

// Fills the column tables for columns 0 .. width - 1 (width clamped to the tables).
void buildColumnTables(int width);

struct Projection {
  float depth;    // along the view direction
  float screenX;  // relative to the view's left edge
  float screenY;  // absolute surface row
};
Projection projectPoint(float x, float y, float z, float camX, float camY, float heading);
Projection projectPoint(float x, float y, float z, const PlayerState& camera);

// 32 darkening levels of every 15-bit colour: each channel reduced by the level.
extern uint16_t shadeTable[32][32768];
void buildShadeTable();
inline uint16_t shade(int level, uint16_t colour) { return shadeTable[level][colour & 0x7FFF]; }
