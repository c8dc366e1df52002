#include "render/shapemark.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "framework/surface.h"

namespace {

// 15-bit colours of the drawn marks, by item: the items' own red, green and blue.
constexpr uint32_t kMarkColours[] = {0x7083, 0x1306, 0x155E};
static_assert(std::size(kMarkColours) == kItemCount, "one colour per item");
constexpr uint32_t kRimColour = 0x0421;  // near black, so the rim never reads as transparent

// Sizes in mark half-widths; each shape reaches 0.86 from the middle at most.
constexpr float kBarHalfWidth = 0.86f, kBarHalfHeight = 0.3f;
constexpr float kTriangleHalfSide = 0.86f;
constexpr float kRingRadius = 0.6f, kRingHalfThickness = 0.26f;

float barDistance(float u, float v) {
  const float qx = std::fabs(u) - kBarHalfWidth, qy = std::fabs(v) - kBarHalfHeight;
  const float ox = std::fmax(qx, 0.0f), oy = std::fmax(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::fmin(std::fmax(qx, qy), 0.0f);
}

// An equilateral triangle, point up, its height centred on the square.
float triangleDistance(float u, float v) {
  const float k = std::sqrt(3.0f), r = kTriangleHalfSide;
  // The centroid lies a sixth of the height below the middle; the fold below
  // measures from the base's height, r / k under the centroid.
  float px = std::fabs(u) - r, py = v + 1.5f * r / k;
  if (px + k * py > 0.0f) {
    const float nx = (px - k * py) / 2.0f, ny = (-k * px - py) / 2.0f;
    px = nx, py = ny;
  }
  px -= std::clamp(px, -2.0f * r, 0.0f);
  const float d = std::sqrt(px * px + py * py);
  return py > 0.0f ? -d : d;
}

float ringDistance(float u, float v) {
  return std::fabs(std::sqrt(u * u + v * v) - kRingRadius) - kRingHalfThickness;
}

}  // namespace

float shapeMarkDistance(int item, float u, float v) {
  if (item < 0 || item >= kItemCount) return 1.0f;
  switch (kItemShapes[item]) {
    case kShapeBar: return barDistance(u, v);
    case kShapeTriangle: return triangleDistance(u, v);
    case kShapeRing: return ringDistance(u, v);
  }
  return 1.0f;
}

namespace {
// The shape in `fill`, and with rim >= 0 a rim that wide (in half-widths) in the rim colour.
void paintMark(int item, int x, int y, int size, uint32_t fill, float rim) {
  if (item < 0 || item >= kItemCount || size <= 0) return;
  const float pixel = 2.0f / static_cast<float>(size);
  if (rim >= 0.0f) rim = std::fmax(rim, pixel);
  for (int j = 0; j < size; ++j) {
    const float v = 1.0f - (static_cast<float>(j) + 0.5f) * pixel;
    for (int i = 0; i < size; ++i) {
      const float d = shapeMarkDistance(item, (static_cast<float>(i) + 0.5f) * pixel - 1.0f, v);
      if (d >= std::fmax(rim, 0.0f)) continue;
      setColor(d < 0.0f ? fill : kRimColour);
      putPixel(x + i, y + j);
    }
  }
}
}  // namespace

void drawShapeMark(int item, int x, int y, int size) {
  if (item >= 0 && item < kItemCount) paintMark(item, x, y, size, kMarkColours[item], kMarkRimWidth);
}

void drawShapeMark(int item, int x, int y, int size, uint16_t colour) {
  paintMark(item, x, y, size, colour, -1.0f);
}
