// The backdrop: the sky (row 0 at the top of the view, row 383 at the horizon)
// and the floor (row 0 the nearest floor at the bottom of the view, row 383 at
// the horizon). Both are painted in perspective: the floor's cobbles shrink and
// fade toward the horizon the way the renderer darkens walls with distance.
#include <cmath>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/writer.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 384;

Rgb skyGradient(float t) {
  // t = 0 at the top of the view, 1 at the horizon.
  const Rgb top = hexColour(0x0B1A52), middle = hexColour(0x2F5CA8), low = hexColour(0x8FB4DA),
            horizon = hexColour(0xE6D8C0);
  if (t < 0.55f) return mix(top, middle, smoothstep(0.0f, 0.55f, t));
  if (t < 0.9f) return mix(middle, low, smoothstep(0.55f, 0.9f, t));
  return mix(low, horizon, smoothstep(0.9f, 1.0f, t));
}

Rgb skyPixel(float x, float y) {
  const float t = y / (kHeight - 1);
  Rgb c = skyGradient(t);
  // Clouds on a plane overhead: the nearer the horizon, the farther and flatter.
  const float elevation = 1.0f - t;
  const float dist = 1.0f / (elevation + 0.08f);
  const float u = (x / kWidth - 0.5f) * dist * 2.2f, v = dist * 1.6f;
  const float shape = fbm(u * 1.3f, v * 2.6f, 211U, 5);
  const float cover = smoothstep(0.50f, 0.72f, shape) * (1.0f - smoothstep(0.75f, 1.0f, t) * 0.7f);
  if (cover > 0.0f) {
    // Lit from above: bright crowns, blue-grey bellies.
    const float crown = fbm(u * 1.3f, v * 2.6f - 0.15f, 211U, 5);
    const float light = clamp01(0.55f + (crown - shape) * 6.0f);
    const Rgb cloud = mix(hexColour(0x7C8AAE), hexColour(0xFFF8EE), light);
    c = mix(c, cloud, cover * 0.9f);
  }
  return c;
}

Rgb floorPixel(float x, float row) {
  // Screen offset below the horizon as a share of the half view: 1 at the
  // bottom edge, where the floor is one cell unit away.
  const float below = std::fmax(1.0f - row / kHeight, 0.02f);
  const float depth = 1.0f / below;
  const float lateral = (x / kWidth - 0.5f) * depth;
  const float wx = depth * 3.2f, wy = lateral * 3.2f;  // about three cobbles per cell
  // A gentle warp rounds the cells into cobbles.
  const float warpX = (valueNoise(wx * 1.7f, wy * 1.7f, 301U) - 0.5f) * 0.55f;
  const float warpY = (valueNoise(wx * 1.7f, wy * 1.7f, 303U) - 0.5f) * 0.55f;
  const CellSample cell = cellNoise(wx + warpX, wy + warpY, 307U);
  const float gap = cell.second - cell.nearest;
  const float tone = static_cast<float>(cell.id % 1000U) / 1000.0f;
  Rgb stone = mix(hexColour(0x4C463E), hexColour(0x78705F), tone);
  stone = stone * (0.8f + 0.4f * fbm(wx * 4.0f, wy * 4.0f, 313U, 3));
  // Cobbles are domed: lighter toward their middle, dark where they meet.
  stone = stone * (0.75f + 0.35f * smoothstep(0.0f, 0.45f, gap));
  const Rgb earth = mix(hexColour(0x2A2118), hexColour(0x34401E), fbm(wx * 3.0f, wy * 3.0f, 331U, 2));
  Rgb c = mix(earth, stone, smoothstep(0.07f, 0.16f, gap));
  // Far away the cobbles are smaller than a pixel: blend toward their average.
  c = mix(c, hexColour(0x4A453A), smoothstep(3.0f, 8.0f, depth));
  // Distance darkening in the renderer's manner: every channel loses about 2/31 per unit.
  const float loss = std::fmin(0.85f * 2.0f * (depth - 1.0f) / 31.0f, 1.0f);
  return {std::fmax(c.r - loss, 0.0f), std::fmax(c.g - loss, 0.0f), std::fmax(c.b - loss, 0.0f)};
}

}  // namespace

void makeSkyAndFloor() {
  Canvas sky = makeCanvas(kWidth, kHeight, {0, 0, 0});
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      sky.at(x, y) = skyPixel(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);

  // The floor is painted with its nearest row at the bottom of the canvas, as seen,
  // and stored bottom-up.
  Canvas floor = makeCanvas(kWidth, kHeight, {0, 0, 0});
  for (int y = 0; y < kHeight; ++y) {
    const int row = kHeight - 1 - y;
    const int n = 2;
    for (int x = 0; x < kWidth; ++x) {
      Rgb sum{0, 0, 0};
      for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx)
          sum = sum + floorPixel(static_cast<float>(x) + (sx + 0.5f) / n,
                                 static_cast<float>(row) + (sy + 0.5f) / n);
      floor.at(x, y) = sum * (1.0f / static_cast<float>(n * n));
    }
  }
  savePicture("Boden", floor, Layout::BottomUp, Cutout::Opaque);
  savePicture("Himmel", sky, Layout::TopDown, Cutout::Opaque);
}
