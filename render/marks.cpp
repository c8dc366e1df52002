#include "render/marks.h"

#include <algorithm>
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
  // Row by row, every pixel whose centre lies inside; then the edges, so that
  // a sliver thinner than a pixel still shows.
  const double xs[3] = {tx, ax, bx}, ys[3] = {ty, ay, by};
  const int top = static_cast<int>(std::ceil(std::min({ty, ay, by})));
  const int bottom = static_cast<int>(std::floor(std::max({ty, ay, by})));
  for (int y = top; y <= bottom; ++y) {
    double lo = 1e9, hi = -1e9;
    for (int e = 0; e < 3; ++e) {
      const double x0 = xs[e], y0 = ys[e], x1 = xs[(e + 1) % 3], y1 = ys[(e + 1) % 3];
      if ((y < std::min(y0, y1)) || (y > std::max(y0, y1))) continue;
      const double x = y1 == y0 ? std::min(x0, x1) : x0 + (x1 - x0) * (y - y0) / (y1 - y0);
      const double xe = y1 == y0 ? std::max(x0, x1) : x;
      lo = std::min(lo, x);
      hi = std::max(hi, xe);
    }
    for (int x = static_cast<int>(std::ceil(lo)); x <= static_cast<int>(std::floor(hi)); ++x) putPixel(x, y);
  }
  for (int e = 0; e < 3; ++e)
    drawLine(static_cast<int>(std::lround(xs[e])), static_cast<int>(std::lround(ys[e])),
             static_cast<int>(std::lround(xs[(e + 1) % 3])), static_cast<int>(std::lround(ys[(e + 1) % 3])));
}
