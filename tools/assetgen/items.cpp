// The three item pictures: a cluster of faceted crystals on a little heap of
// stones, in red, green and blue. The renderer draws an item one third of a
// wall high and as wide as high, with picture row 0 on the floor, so the
// 320 x 240 picture is painted with wide pixels and stored bottom-up.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/shapes3d.h"
#include "tools/assetgen/writer.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kSuper = 3;
constexpr float kPi = 3.14159265f;

struct Crystal {
  std::vector<Plane> planes;
  float base, tip;  // heights along the crystal's own axis, for the glow toward the tip
  Vec3 axis, foot;
};

// A hexagonal prism with a pointed cap, apothem a, from its foot up len,
// then turned about z by spin and leaned by lean (about the view's depth axis).
Crystal makeCrystal(float a, float len, float cap, float spin, float lean, Vec3 foot) {
  Crystal c;
  std::vector<Plane> local;
  for (int i = 0; i < 6; ++i) {
    const float th = spin + static_cast<float>(i) * kPi / 3.0f;
    local.push_back({{std::cos(th), std::sin(th), 0.0f}, a});
    const Vec3 n{cap * std::cos(th), cap * std::sin(th), a};
    const float l = length(n);
    local.push_back({n * (1.0f / l), a * (len + cap) / l});
  }
  local.push_back({{0, 0, -1}, 0.3f});  // buried below the foot
  const float cl = std::cos(lean), sl = std::sin(lean);
  auto turn = [&](Vec3 v) { return Vec3{v.x, v.y * cl - v.z * sl, v.y * sl + v.z * cl}; };
  for (const Plane& p : local) {
    const Vec3 n = turn(p.normal);
    c.planes.push_back({n, p.offset + dot(n, foot)});
  }
  c.axis = turn({0, 0, 1});
  c.foot = foot;
  c.base = 0.0f;
  c.tip = len + cap;
  return c;
}

struct Stone {
  Vec3 centre, radii;
};

Rgb shadeCrystal(const Crystal& c, const RayHit& h, Vec3 p, Vec3 toCamera, Rgb colour) {
  const Vec3 key = normalize({0.6f, -0.5f, 0.75f});
  const float diffuse = std::fmax(0.0f, dot(h.normal, key));
  const float along = clamp01(dot(p - c.foot, c.axis) / c.tip);
  const float facing = std::fabs(dot(h.normal, toCamera));
  Rgb col = colour * (0.22f + 0.75f * diffuse + 0.35f * along) + colour * (0.35f * (1.0f - facing));
  const float spec = std::pow(std::fmax(0.0f, dot(h.normal, normalize(key + toCamera))), 40.0f);
  col = col + Rgb{1.0f, 1.0f, 1.0f} * (0.9f * spec);
  if (h.edge < 0.006f) col = mix(col, colour * 1.3f + Rgb{0.35f, 0.35f, 0.35f}, 0.65f);  // bright facet rims
  return col;
}

Canvas paintItem(Rgb colour, uint32_t seed) {
  const int sw = kWidth * kSuper, sh = kHeight * kSuper;
  Canvas fine = makeCanvas(sw, sh, {0, 0, 0}, 0.0f);
  // Seen from a little above, as a standing player sees something on the floor.
  const float elevation = 0.2f;
  const Vec3 toCamera = normalize({std::cos(elevation), 0.0f, std::sin(elevation)});
  const Vec3 right{0, 1, 0};
  const Vec3 dir = toCamera * -1.0f;
  const Vec3 up = cross(right, dir);

  std::vector<Crystal> crystals = {
      makeCrystal(0.14f, 0.52f, 0.26f, 0.25f, -0.05f, {-0.02f, 0.0f, 0.0f}),
      makeCrystal(0.095f, 0.34f, 0.17f, 0.7f, 0.5f, {0.02f, -0.13f, 0.0f}),
      makeCrystal(0.085f, 0.28f, 0.15f, 0.1f, -0.6f, {0.03f, 0.14f, 0.0f}),
      makeCrystal(0.06f, 0.14f, 0.1f, 0.4f, 0.95f, {0.12f, -0.24f, 0.0f}),
      makeCrystal(0.05f, 0.1f, 0.09f, 0.9f, -1.05f, {0.12f, 0.26f, 0.0f}),
  };
  std::vector<Stone> stones;
  Rng rng{seed};
  for (int i = 0; i < 9; ++i) {
    const float y = rng.range(-0.36f, 0.36f);
    stones.push_back({{rng.range(-0.12f, 0.12f), y, 0.02f},
                      {rng.range(0.07f, 0.11f), rng.range(0.07f, 0.11f), rng.range(0.04f, 0.07f)}});
  }

  // Height 1 fills the picture; a unit across spans the same screen size, so
  // horizontally it covers 320 pixels against 240 rows.
  const float floorRow = static_cast<float>(sh) - 2.0f;
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < sw; ++x) {
      const float lateral = (static_cast<float>(x) + 0.5f - sw * 0.5f) / static_cast<float>(sw);
      const float height = (floorRow - static_cast<float>(y) - 0.5f) / static_cast<float>(sh) * 1.05f;
      const Vec3 origin = right * lateral + up * height + toCamera * 3.0f;
      float best = FLT_MAX;
      Rgb col{0, 0, 0};
      RayHit h{};
      for (const Crystal& c : crystals) {
        if (hitConvex(origin, dir, c.planes, h) && h.t < best) {
          best = h.t;
          col = shadeCrystal(c, h, origin + dir * h.t, toCamera, colour);
        }
      }
      for (const Stone& s : stones) {
        if (hitEllipsoid(origin, dir, s.centre, s.radii, h) && h.t < best) {
          const Vec3 p = origin + dir * h.t;
          if (p.z < -0.02f) continue;
          best = h.t;
          const float grain = fbm(p.x * 40.0f + 50.0f, p.y * 40.0f + p.z * 40.0f, seed, 3);
          const float light = 0.3f + 0.7f * std::fmax(0.0f, dot(h.normal, normalize({0.6f, -0.5f, 0.75f})));
          col = mix(hexColour(0x4A4640), hexColour(0x8C8478), grain) * light;
        }
      }
      if (best < FLT_MAX) {
        fine.at(x, y) = col;
        fine.alphaAt(x, y) = 1.0f;
      }
    }
  }
  return downsample(fine, kSuper);
}

}  // namespace

Rgb itemColour(int item) {
  static const Rgb kColours[] = {hexColour(0xE0201A), hexColour(0x22C030), hexColour(0x2A56F0)};
  return kColours[item];
}

void makeItemPictures() {
  savePicture("eir1", paintItem(itemColour(0), 11U), Layout::BottomUp, Cutout::Transparent);
  savePicture("eig1", paintItem(itemColour(1), 12U), Layout::BottomUp, Cutout::Transparent);
  savePicture("eib1", paintItem(itemColour(2), 13U), Layout::BottomUp, Cutout::Transparent);
}
