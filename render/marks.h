// Small flat marks drawn with the current surface's pixels: filled boxes,
// discs and triangles, and the colours of the marks the full map and the
// direction cues draw on dark ground (the items' shapes: render/shapemark.h).
#pragma once
#include <cstdint>

// Lightened so that each stands out on dark ground, by guard slot: white, red,
// green, blue (item k shares the colour of slot k + 1, its guard).
constexpr uint16_t kGuardMarkColours[4] = {0x7FFF, 0x7CC6, 0x1B86, 0x219F};

void fillBox(int x0, int y0, int x1, int y1, uint16_t colour);
// A disc of radius r; with hole >= 0 a ring whose inner radius is hole.
void fillDisc(int cx, int cy, int r, uint16_t colour, int hole = -1);
// A filled triangle: its tip, then the two ends of its base.
void fillWedge(double tx, double ty, double ax, double ay, double bx, double by, uint16_t colour);
