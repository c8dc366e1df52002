// The eight brick walls. The renderer shows only rows 0..240 of a wall picture
// and mirrors them below the horizon, and a wall's column is the position along
// the cell edge, so the wall is designed as a half wall that wraps horizontally:
// a stone coping at row 0 (which the mirror turns into a plinth at the foot of
// the wall) and brick courses down to a course centred on row 240, so the mirror
// continues the running bond instead of doubling a course.
#include <cmath>
#include <iterator>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/writer.h"
#include "world/gamestate.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kHorizon = 240.0f;   // texture row at eye level
constexpr float kCourse = 47.0f;     // texture rows per course, mortar included
constexpr int kBricksPerWall = 5;    // bricks across one cell edge
constexpr float kBrickLen = 128.0f;  // texture columns per brick
constexpr float kMortarX = 7.0f;     // joint width in columns
constexpr float kMortarY = 5.0f;     // joint height in rows
// Four and a half courses fill the half wall below the coping.
constexpr float kCopingBottom = kHorizon - 4.5f * kCourse - kMortarY * 0.5f;

// Brick body colours, picked per brick and blended for variety (fired clay, burnt, sandy).
const Rgb kClay[] = {{0.62f, 0.30f, 0.20f}, {0.55f, 0.25f, 0.17f}, {0.69f, 0.38f, 0.24f},
                     {0.44f, 0.21f, 0.16f}, {0.62f, 0.41f, 0.28f}, {0.58f, 0.28f, 0.22f}};
constexpr int kClayCount = std::size(kClay);

// Glaze colours of the held items: red, green, blue, in heldKeys bit order.
const Rgb kGlaze[] = {{0.90f, 0.10f, 0.07f}, {0.14f, 0.74f, 0.18f}, {0.16f, 0.34f, 1.0f}};
static_assert(std::size(kGlaze) == kItemCount, "one glaze per item");

struct BrickCell {
  int course;     // 0 is the course on the horizon, counting upward
  int index;      // brick number along the wall, 0..3
  float edgeX;    // distance to the nearest vertical joint edge, in wall units
  float edgeY;    // distance to the nearest horizontal joint edge, in wall units
  float fromTop;  // 0 at the brick's top edge, 1 at its bottom edge
  bool nearTop;   // the nearest horizontal edge is the top one
  bool nearLeft;
};

float jointJitter(int course, int index) {
  const int wrapped = ((index % kBricksPerWall) + kBricksPerWall) % kBricksPerWall;
  return (hashUnit(course, wrapped, 901U) - 0.5f) * 10.0f;
}

BrickCell locateBrick(float x, float y) {
  BrickCell b{};
  b.course = static_cast<int>(std::floor((kHorizon + kCourse * 0.5f - y) / kCourse));
  const float courseTop = kHorizon - kCourse * 0.5f - static_cast<float>(b.course) * kCourse;
  const float offset = (b.course & 1) ? kBrickLen * 0.5f + 37.0f : 37.0f;
  int k = static_cast<int>(std::floor((x - offset) / kBrickLen));
  auto jointAt = [&](int i) { return offset + static_cast<float>(i) * kBrickLen + jointJitter(b.course, i); };
  if (x < jointAt(k)) --k;
  if (x >= jointAt(k + 1)) ++k;
  const float left = jointAt(k), right = jointAt(k + 1);
  b.index = ((k % kBricksPerWall) + kBricksPerWall) % kBricksPerWall;
  const float dl = x - left - kMortarX * 0.5f, dr = right - x - kMortarX * 0.5f;
  const float dt = y - courseTop - kMortarY * 0.5f, db = courseTop + kCourse - y - kMortarY * 0.5f;
  b.nearLeft = dl < dr;
  b.nearTop = dt < db;
  b.edgeX = std::fmin(dl, dr) / kWidth;
  b.edgeY = std::fmin(dt, db) / kHeight;
  b.fromTop = clamp01(dt / (kCourse - kMortarY));
  return b;
}

// Glazed bricks run in diagonals (every fifth brick), so the mirror below the
// horizon turns them into chevrons.
bool isGlazeSlot(const BrickCell& b) {
  return ((b.index + b.course) % kBricksPerWall + kBricksPerWall) % kBricksPerWall == 0;
}

// One texel of the upper half wall (y in 0..240); u, v are wall units.
Rgb wallTexel(float x, float y, int heldKeys) {
  const float u = x / kWidth, v = y / kHeight;
  const float grime = fbm(u * 3.0f, v * 3.0f, 31U, 3, 3);

  if (y < kCopingBottom) {
    // Coping slabs: pale weathered sandstone, two per wall, bevelled at the joint below.
    const float slabX = std::fmod(x + 600.0f, 320.0f);
    const float joint = std::fmin(slabX, 320.0f - slabX) / kWidth;
    const float grain = fbm(u * 24.0f, v * 24.0f, 41U, 4, 24);
    Rgb stone = mix(hexColour(0x8E8A7E), hexColour(0xB3AC98), grain);
    stone = stone * (0.85f + 0.3f * grime);
    const float toBottom = (kCopingBottom - y) / kHeight;
    float shade = 1.0f - 0.35f * (1.0f - smoothstep(0.0f, 0.012f, toBottom));  // rounded lower lip
    shade *= 0.55f + 0.45f * smoothstep(0.0f, 0.004f, joint);
    if (y < 3.0f) shade *= 1.12f;  // the lit top edge
    return stone * shade;
  }

  const BrickCell b = locateBrick(x, y);
  const float chips = (fbm(u * 36.0f, v * 36.0f, 57U, 3, 36) - 0.5f) * 0.010f;
  const float edge = std::fmin(b.edgeX, b.edgeY) + chips;

  if (edge < 0.0f) {
    // Mortar, sunk behind the bricks: darker right under a brick's lower edge.
    const float sand = fbm(u * 60.0f, v * 60.0f, 63U, 3, 60);
    Rgb mortar = mix(hexColour(0x7F796C), hexColour(0xA8A08E), sand);
    const float under = b.nearTop ? 0.0f : 1.0f;  // a brick lies above this joint
    float shade = 0.9f - 0.25f * under * (1.0f - smoothstep(-0.006f, 0.0f, edge));
    return mortar * shade * (0.8f + 0.25f * grime);
  }

  const uint32_t id = hash2(b.course, b.index, 77U);
  const float pick = static_cast<float>(id % (100U * kClayCount)) / 100.0f;  // 0 to kClayCount in hundredths
  const int c0 = static_cast<int>(pick) % kClayCount;
  Rgb body = mix(kClay[c0], kClay[(c0 + 1) % kClayCount], pick - std::floor(pick));

  // Each course's glazed brick takes the next held colour.
  bool glazed = false;
  int heldCount = 0;
  int held[3];
  for (int i = 0; i < 3; ++i)
    if (heldKeys & (1 << i)) held[heldCount++] = i;
  if (heldCount > 0 && isGlazeSlot(b)) {
    glazed = true;
    body = kGlaze[held[((b.course % heldCount) + heldCount) % heldCount]] *
           (0.9f + 0.15f * hashUnit(b.course, b.index, 13U));
  }

  const float grain = fbm(u * 50.0f, v * 50.0f, 91U + (id & 7U), 3, 50) - 0.5f;
  const CellSample speck = cellNoise(u * 140.0f, v * 140.0f, 97U, 140);
  const float spots = (speck.nearest < 0.12f) ? 0.78f : 1.0f;
  const float tone = glazed ? 1.0f : 0.86f + 0.28f * hashUnit(b.course, b.index, 19U);
  Rgb c = body * tone * (glazed ? 1.0f + 0.12f * grain : (1.0f + 0.6f * grain) * spots);
  c = c * (0.84f + 0.28f * grime);

  // Rounded edges lit from above and a little from the left.
  const float slope = 1.0f - smoothstep(0.0f, 0.009f, edge);
  const bool verticalEdge = b.edgeX < b.edgeY;
  float light = verticalEdge ? (b.nearLeft ? 0.12f : -0.22f) : (b.nearTop ? 0.30f : -0.42f);
  // The course on the horizon is seen with its mirror image below, so its lit top edge
  // returns at its foot: keep that edge soft or the course reads as a pale band.
  if (b.course == 0 && !verticalEdge) light = 0.06f;
  c = c * (1.0f + light * slope);

  if (glazed) {
    // A glossy streak across the upper part of the glaze.
    const float gloss = std::exp(-std::pow((b.fromTop - 0.28f) / 0.12f, 2.0f)) * (1.0f - slope);
    c = mix(c, Rgb{1.0f, 0.97f, 0.9f}, 0.3f * gloss);
    c = c * (1.0f - 0.3f * smoothstep(0.004f, 0.0f, edge));  // the glaze pools darker at the rim
  }
  return c;
}

}  // namespace

Canvas paintBrickWall(int heldKeys) {
  Canvas wall = makeCanvas(kWidth, kHeight, {0, 0, 0});
  for (int y = 0; y <= static_cast<int>(kHorizon); ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb c = wallTexel(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, heldKeys);
      wall.at(x, y) = c;
      // Rows below the horizon repeat the upper half mirrored, as the renderer shows them.
      if (y > 0 && y < static_cast<int>(kHorizon)) wall.at(x, kHeight - y) = c;
    }
  }
  return wall;
}

void makeBrickPictures() {
  // File names in heldKeys order: bit 1 red, bit 2 green, bit 4 blue.
  static const char* const kNames[] = {"Ziegel",  "ZiegelR",  "ZiegelG",  "ZiegelRG",
                                       "ZiegelB", "ZiegelRB", "ZiegelGB", "ZiegelRGB"};
  static_assert(std::size(kNames) == kAllItemsHeld + 1, "one wall per heldKeys value");
  const Canvas plain = paintBrickWall(0);
  savePicture(kNames[0], plain, Layout::TopDown, Cutout::Opaque);
  // The variants differ only in the glazed bricks: repaint those, copy the rest.
  for (int held = 1; held <= kAllItemsHeld; ++held) {
    Canvas wall = plain;
    for (int y = 0; y <= static_cast<int>(kHorizon); ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
        if (fy < kCopingBottom || !isGlazeSlot(locateBrick(fx, fy))) continue;
        const Rgb c = wallTexel(fx, fy, held);
        wall.at(x, y) = c;
        if (y > 0 && y < static_cast<int>(kHorizon)) wall.at(x, kHeight - y) = c;
      }
    }
    savePicture(kNames[held], wall, Layout::TopDown, Cutout::Opaque);
  }
}
