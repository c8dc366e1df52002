// The camera model every 3D pass shares: the view rectangle, per-column ray
// angles, projection of world points, the distance shade table and the
// per-column wall depth that hides figures behind walls.
#pragma once
#include <cstdint>

struct PlayerState;

// The widest and tallest surface the mode list can ever offer (1920 x 1200):
// every per-column and per-row table is sized for it.
constexpr int kMaxViewWidth = 1920;
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

// The view's focal length in pixels: a point one unit to the side at depth 1
// lands this far from the centre column. It is the view's width on a 4:3
// surface; a wider one with square pixels keeps the focal length of a 4:3
// surface as tall, so its extra columns look further to the sides instead of
// stretching the picture. Every projection reads it, so sprites, bodies and
// stars stay on the walls' rays.
extern int32_t viewFocal;

// Fills the column tables for columns 0 .. width - 1 (width clamped to the
// tables), column i looking atan((i - width / 2) / focal) aside, and makes
// focal the view's focal length; without one it is the width.
void buildColumnTables(int width, int focal);
inline void buildColumnTables(int width) { buildColumnTables(width, width); }
// The focal length of a view as wide as a surface of width x height pixels:
// the width, or where that is wider than 4:3, height * 4 / 3. squeezed: the
// surface is one of the old shapes a monitor showed at 4:3 (320x200,
// 640x400), whose pixels are not square: it keeps its width.
int32_t surfaceFocal(int width, int height, bool squeezed);
// The focal length of `columns` of a view `width` wide with focal length
// `focal`: the stereo halves see as the whole view does.
int32_t partFocal(int columns, int width, int focal);

struct Projection {
  float depth;    // along the view direction
  float screenX;  // relative to the view's left edge
  float screenY;  // absolute surface row
};
Projection projectPoint(float x, float y, float z, float camX, float camY, float heading);
Projection projectPoint(float x, float y, float z, const PlayerState& camera);

// 32 darkening levels of every 15-bit colour: each channel reduced by the level.
// Each level's row has an entry to spare, so that the wall and sprite passes
// may read any colour's shade as the low half of 32 bits without leaving it.
constexpr int kShadeRow = 32768 + 2;
extern uint16_t shadeTable[32][kShadeRow];
// True where the processor has AVX2: the wall and sprite passes then gather
// eight texels and shades at a time. Off, they take the plain paths other
// processors take, so that tests can compare the two.
extern bool gatherTexels;
void buildShadeTable();
inline uint16_t shade(int level, uint16_t colour) { return shadeTable[level][colour & 0x7FFF]; }
