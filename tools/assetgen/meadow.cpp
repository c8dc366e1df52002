// The meadow seen through the open exit: sky with a low sun, hills, a line of
// trees and a flowery meadow with a path leading away. It stands on the floor
// one wall high and two cells wide, so its horizon sits at half height like the
// maze's, its pixels are half again as wide as tall, and it is stored bottom-up.
#include <cmath>
#include <iterator>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/writer.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kAcross = 2.0f;  // the picture is two units wide and one high
constexpr float kHorizon = 0.5f;

// Picture coordinates to scene units: X 0..2 left to right, Y 0..1 bottom to top.
float sceneX(float px) { return px / kWidth * kAcross; }
float sceneY(float py) { return 1.0f - py / kHeight; }

float ridge(float X, float base, float height, uint32_t seed, float scale) {
  return base + height * fbm(X * scale, 0.5f, seed, 4);
}

Rgb background(float X, float Y) {
  if (Y > kHorizon) {
    const float t = (Y - kHorizon) / (1.0f - kHorizon);  // 0 at the horizon, 1 at the top
    Rgb c = mix(hexColour(0xEAF0E4), hexColour(0x5C94E0), std::pow(t, 0.6f));
    // The sun, low on the right, with its glow.
    const float sd = std::hypot(X - 1.55f, Y - 0.83f);
    c = c + hexColour(0xFFE8B0) * (0.45f * std::exp(-sd * 6.0f));
    if (sd < 0.055f) c = mix(c, hexColour(0xFFFBE8), smoothstep(0.055f, 0.045f, sd));
    // Fair-weather clouds.
    const float cloud =
        smoothstep(0.55f, 0.75f, fbm(X * 2.2f, Y * 5.0f, 601U, 5)) * smoothstep(0.52f, 0.65f, Y);
    c = mix(c, mix(hexColour(0xB8C4D8), hexColour(0xFFFFFF), clamp01((Y - 0.55f) * 3.0f)), cloud * 0.85f);
    // Far blue hills, then nearer green ones, then a line of trees.
    if (Y < ridge(X, kHorizon + 0.02f, 0.12f, 611U, 1.6f)) c = mix(hexColour(0x8AA0BE), c, 0.35f);
    if (Y < ridge(X, kHorizon + 0.005f, 0.07f, 613U, 2.5f))
      c = mix(hexColour(0x6E9A60), hexColour(0x8AAE78), fbm(X * 8.0f, Y * 8.0f, 617U, 3));
    const float trees = kHorizon + 0.045f * smoothstep(0.35f, 0.75f, fbm(X * 3.0f, 0.0f, 619U, 2)) *
                                       (0.6f + 0.4f * fbm(X * 40.0f, 0.0f, 621U, 2));
    if (Y < trees) c = mix(hexColour(0x203A1C), hexColour(0x3E6030), fbm(X * 30.0f, Y * 60.0f, 623U, 3));
    return c;
  }
  // The meadow in perspective: depth grows toward the horizon.
  const float below = (kHorizon - Y) / kHorizon;  // 1 at the bottom edge, 0 at the horizon
  const float depth = 1.0f / std::fmax(below, 0.01f);
  const float gx = (X - 1.0f) * depth, gz = depth;
  const float patches = fbm(gx * 0.5f, gz * 0.5f, 631U, 3);
  Rgb grass = mix(hexColour(0x3E7A22), hexColour(0x86B83A), patches);
  grass = grass * (0.85f + 0.3f * fbm(gx * 6.0f, gz * 6.0f, 633U, 2));
  // A worn path winding off toward the horizon.
  const float pathCentre = 0.25f * std::sin(gz * 0.35f) + 0.1f;
  const float pathHalf = 0.22f;
  const float onPath = 1.0f - smoothstep(pathHalf * 0.8f, pathHalf * 1.2f, std::fabs(gx - pathCentre));
  const Rgb dirt = mix(hexColour(0x8A7250), hexColour(0xB89C6E), fbm(gx * 4.0f, gz * 4.0f, 637U, 3));
  Rgb c = mix(grass, dirt, onPath);
  // Haze toward the horizon.
  return mix(c, hexColour(0xC8D8C0), smoothstep(4.0f, 40.0f, depth) * 0.7f);
}

// A soft ellipse given in scene units, converted to the picture's wide pixels.
void softBlob(Canvas& c, float X, float Y, float radius, Rgb colour, float opacity) {
  const float px = X / kAcross * kWidth, py = (1.0f - Y) * kHeight;
  const float rx = radius / kAcross * kWidth, ry = radius * kHeight;
  for (int y = static_cast<int>(py - ry - 2); y <= static_cast<int>(py + ry + 2); ++y) {
    for (int x = static_cast<int>(px - rx - 2); x <= static_cast<int>(px + rx + 2); ++x) {
      const float dx = (static_cast<float>(x) + 0.5f - px) / rx,
                  dy = (static_cast<float>(y) + 0.5f - py) / ry;
      const float d = std::sqrt(dx * dx + dy * dy);
      const float edge = 1.0f / std::fmin(rx, ry);
      blendPixel(c, x, y, colour, opacity * (1.0f - smoothstep(1.0f - edge, 1.0f + edge, d)));
    }
  }
}

// Flower colours: daisies, buttercups, poppies, cornflowers, clover.
const Rgb kFlowers[] = {{1.0f, 1.0f, 0.96f},
                        {1.0f, 0.86f, 0.15f},
                        {0.92f, 0.14f, 0.1f},
                        {0.35f, 0.5f, 1.0f},
                        {0.8f, 0.45f, 0.85f}};

// A cloud's shadow on the lower left of the meadow, where the win screen
// writes "Ausgang erreicht!" and the score: darker, calmer grass keeps the
// white and gold letters legible. Returns 0 outside the shadow, 1 at its core.
float cloudShadow(float x, float y) {
  const float dx = (x - 290.0f) / 330.0f, dy = (y - 372.0f) / 95.0f;
  // A ragged edge, as a cloud's shadow has.
  const float ragged = 0.9f * (fbm(x * 0.012f, y * 0.03f, 641U, 4) - 0.5f);
  return 1.0f - smoothstep(0.25f, 1.0f, dx * dx + dy * dy + ragged);
}

}  // namespace

void makeMeadow() {
  Canvas c = makeCanvas(kWidth, kHeight, {0, 0, 0});
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      c.at(x, y) = background(sceneX(static_cast<float>(x) + 0.5f), sceneY(static_cast<float>(y) + 0.5f));
  for (int y = kHeight / 2; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      c.at(x, y) = c.at(x, y) * (1.0f - 0.5f * cloudShadow(static_cast<float>(x), static_cast<float>(y)));

  // Flowers scattered on the ground, far ones first so near ones cover them.
  Rng rng{0x5EEDF10U};
  for (int i = 0; i < 1900; ++i) {
    const float below = std::pow(rng.unit(), 1.6f) * 0.97f + 0.03f;  // more of them far away
    const float Y = kHorizon - below * kHorizon;
    const float X = rng.range(0.0f, kAcross);
    const float depth = 1.0f / below;
    const float gx = (X - 1.0f) * depth;
    const float pathCentre = 0.25f * std::sin(depth * 0.35f) + 0.1f;
    if (std::fabs(gx - pathCentre) < 0.3f) continue;  // nobody plants flowers on the path
    if (cloudShadow(X / kAcross * kWidth, (1.0f - Y) * kHeight) > 0.3f) continue;  // few in the shade
    const Rgb petal = kFlowers[rng.next() % std::size(kFlowers)];
    const float size = 0.011f * below + 0.0015f;
    softBlob(c, X, Y, size, petal * (0.8f + 0.2f * rng.unit()), 0.95f);
    if (size > 0.004f) softBlob(c, X, Y, size * 0.38f, hexColour(0xF0C020), 1.0f);
  }
  // Tall grass along the bottom edge, in front of everything.
  for (int i = 0; i < 900; ++i) {
    const float X = rng.range(0.0f, kAcross);
    const float h = rng.range(0.03f, 0.13f);
    const float lean = rng.range(-0.03f, 0.03f);
    const Rgb blade = mix(hexColour(0x2C5A18), hexColour(0x7CB040), rng.unit());
    for (int s = 0; s < 24; ++s) {
      const float t = static_cast<float>(s) / 23.0f;
      softBlob(c, X + lean * t * t, h * t, 0.0035f * (1.0f - t) + 0.0008f, blade * (0.7f + 0.3f * t), 0.9f);
    }
  }
  savePicture("wiese", c, Layout::BottomUp, Cutout::Opaque);
}
