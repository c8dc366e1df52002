// The four inventory tiles under the view: a bevelled iron slot, empty (grey)
// or holding a polished stone in the item's colour; the shaped tiles carry the
// item's shape on the stone as well. Row 0 is the top.
#include <cmath>

#include "render/shapemark.h"
#include "tools/assetgen/pictures.h"
#include "tools/assetgen/writer.h"

namespace {

constexpr int kSize = 40;
constexpr int kSuper = 4;
constexpr float kMarkScale = 7.0f;  // tile pixels per mark half-width: the shape stays on the stone
constexpr int kNoShape = -1;

// The slot frame, in tile pixels (u, v in 0..40).
Rgb frameColour(float u, float v) {
  const float fromEdge = std::fmin(std::fmin(u, v), std::fmin(kSize - u, kSize - v));
  const bool litSide = (u < v) ? (u < kSize - v) : (v < kSize - u);  // nearer the top or left edge
  const float grain = fbm(u * 0.35f, v * 0.35f, 501U, 3);
  Rgb metal = mix(hexColour(0x5E6068), hexColour(0x868892), grain);
  if (fromEdge < 1.0f) return hexColour(0x101014);
  if (fromEdge < 4.0f) return metal * (litSide ? 1.45f : 0.55f);  // raised outer bevel
  if (fromEdge < 7.0f) return metal;
  if (fromEdge < 9.0f) return metal * (litSide ? 0.45f : 1.3f);  // sunk inner bevel
  return {-1.0f, 0.0f, 0.0f};                                    // inside the slot
}

Rgb slotColour(float u, float v, const Rgb* stone, int shape) {
  const float cx = kSize * 0.5f, cy = kSize * 0.5f;
  // The empty slot: dark slate with a shadow under its upper rim.
  const float shadow = smoothstep(9.0f, 13.0f, std::fmin(u, v));
  Rgb c = mix(hexColour(0x1A1A20), hexColour(0x34343C), fbm(u * 0.5f, v * 0.5f, 509U, 2)) *
          (0.6f + 0.4f * shadow);
  if (!stone) return c;
  const float radius = 9.5f;
  const float dx = (u - cx) / radius, dy = (v - cy) / radius;
  const float r2 = dx * dx + dy * dy;
  if (r2 >= 1.0f) {
    const float glow = std::exp(-(std::sqrt(r2) - 1.0f) * 4.0f);  // the stone's colour spills into the slot
    return c + *stone * (0.35f * glow);
  }
  // A polished dome lit from the upper left.
  const float nz = std::sqrt(1.0f - r2);
  const float lx = -0.5f, ly = -0.6f, lz = 0.62f;
  const float diffuse = std::fmax(0.0f, dx * lx + dy * ly + nz * lz);
  const float hx = lx, hy = ly, hz = lz + 1.0f;
  const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  const float spec = std::pow(std::fmax(0.0f, (dx * hx + dy * hy + nz * hz) / hl), 30.0f);
  Rgb col = *stone * (0.3f + 0.85f * diffuse);
  col = col + *stone * (0.4f * smoothstep(0.3f, 1.0f, std::sqrt(r2)) *
                        (dy > 0 ? 1.0f : 0.3f));  // light through the stone
  col = col + Rgb{1, 1, 1} * (0.85f * spec);
  col = col * (1.0f - 0.35f * smoothstep(0.85f, 1.0f, std::sqrt(r2)));
  if (shape == kNoShape) return col;
  // The shape inlaid in pale enamel with a dark rim, readable whatever the stone's colour.
  const float d = shapeMarkDistance(shape, (u - cx) / kMarkScale, (cy - v) / kMarkScale);
  if (d < 0.0f) return mix(col, hexColour(0xF4F0E4), 0.85f);
  if (d < kMarkRimWidth) return hexColour(0x101014);
  return col;
}

Canvas paintTile(const Rgb* stone, int shape = kNoShape) {
  Canvas fine = makeCanvas(kSize * kSuper, kSize * kSuper, {0, 0, 0});
  for (int y = 0; y < fine.h; ++y) {
    for (int x = 0; x < fine.w; ++x) {
      const float u = (static_cast<float>(x) + 0.5f) / kSuper, v = (static_cast<float>(y) + 0.5f) / kSuper;
      Rgb c = frameColour(u, v);
      if (c.r < 0.0f) c = slotColour(u, v, stone, shape);
      fine.at(x, y) = c;
    }
  }
  return downsample(fine, kSuper);
}

}  // namespace

void makeColourTiles() {
  const Rgb red = hexColour(0xE8221C), green = hexColour(0x24C834), blue = hexColour(0x2C5CFF);
  savePicture("statcolr", paintTile(&red), Layout::TopDown, Cutout::Opaque);
  savePicture("statcolg", paintTile(&green), Layout::TopDown, Cutout::Opaque);
  savePicture("statcolb", paintTile(&blue), Layout::TopDown, Cutout::Opaque);
  savePicture("statcolw", paintTile(nullptr), Layout::TopDown, Cutout::Opaque);
  // The shaped tiles, by item like the ones above.
  savePicture("statforr", paintTile(&red, 0), Layout::TopDown, Cutout::Opaque);
  savePicture("statforg", paintTile(&green, 1), Layout::TopDown, Cutout::Opaque);
  savePicture("statforb", paintTile(&blue, 2), Layout::TopDown, Cutout::Opaque);
}
