// The shapes the coloured items carry beside their colours (setting "Formen"),
// so that a player who cannot tell red from green still tells the items, their
// guards and their tiles apart: red a bar, green a triangle, blue a ring.
#pragma once
#include <cstdint>

#include "world/level.h"

enum ItemShape { kShapeBar, kShapeTriangle, kShapeRing };
// By item: red, green, blue, the order of keyItems.
constexpr ItemShape kItemShapes[kItemCount] = {kShapeBar, kShapeTriangle, kShapeRing};
// The dark rim round every mark, in the mark's half-widths.
constexpr float kMarkRimWidth = 0.14f;

// Signed distance from (u, v) to the outline of item k's shape, negative inside.
// The mark's square runs from -1 to 1 both ways, u to the right and v up; every
// shape reaches 0.86 from the middle at most, so its rim still fits.
float shapeMarkDistance(int item, float u, float v);

// Draws item k's mark, size x size pixels from (x, y) at the top left, in the
// item's colour with a dark rim at least a pixel wide, through the surface's
// clipped putPixel; what lies outside the shape is left alone.
void drawShapeMark(int item, int x, int y, int size);
// The same shape alone, in `colour` and without a rim: for marks on the full
// map and the direction cues, which choose their colours for their ground.
void drawShapeMark(int item, int x, int y, int size, uint16_t colour);
