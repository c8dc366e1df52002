#include "render/marks.h"

#include <cmath>

#include "framework/surface.h"

void fillBox(int x0, int y0, int x1, int y1, uint16_t colour) {
  setColor(colour);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) putPixel(x, y);
}

void fillDisc(int cx, int cy, int r, uint16_t colour, int hole) {
  setColor(colour);
  for (int dy = -r; dy <= r; ++dy)
    for (int dx = -r; dx <= r; ++dx) {
      const int d = dx * dx + dy * dy;
      if (d <= r * r + r && (hole < 0 || d > hole * hole + hole)) putPixel(cx + dx, cy + dy);
    }
}

void fillWedge(double tx, double ty, double ax, double ay, double bx, double by, uint16_t colour) {
  setColor(colour);
  const int steps = 2 * static_cast<int>(std::hypot(bx - ax, by - ay)) + 2;
  for (int i = 0; i <= steps; ++i) {
    const double s = static_cast<double>(i) / steps;
    drawLine(static_cast<int>(std::lround(tx)), static_cast<int>(std::lround(ty)),
             static_cast<int>(std::lround(ax + (bx - ax) * s)),
             static_cast<int>(std::lround(ay + (by - ay) * s)));
  }
}
