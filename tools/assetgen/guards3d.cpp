// The guards: one small solid model (boots, legs, coat with a cape behind,
// arms, a face under a steel kettle hat, and a lantern held out in front), seen
// from sixteen directions and lit, once per guard colour.
//
// Which picture shows which side. The renderer picks picture f (file number f + 1) when
//   rel = facing - atan2(guard - camera) + pi  ~  f * 22.5 degrees,
// and atan2(guard - camera) + pi is the direction from the guard to the camera,
// so rel = facing - (direction to the camera). The world is seen from above with
// x to the right and y up (heading + 90 degrees lies to the player's left).
// In the guard's own frame (x ahead, y to its left, z up) the camera therefore
// stands at angle -rel:
//
//           y (guard's left)
//           |
//           |       rel = 0: camera ahead, we see the face      (file 1)
//   guard  -+----> x (facing)
//           |
//           |  camera at -rel, e.g. rel = 90: on the guard's right (file 5),
//           v  looking along +y, with +x (the guard's facing) to the camera's right.
//
// Looking from angle -rel toward the guard, the camera's right-hand direction is
// (sin rel, cos rel, 0): at rel = 0 the guard's left hand (+y) is on the right of
// the picture, at rel = 90 degrees its face points to the picture's right, and
// at rel = 180 degrees we see its back.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <vector>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/shapes3d.h"
#include "tools/assetgen/writer.h"
#include "world/level.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 400;
constexpr int kSuper = 2;  // samples per pixel along each axis
constexpr int kViews = 16;
constexpr float kPi = 3.14159265f;

enum Material {
  Coat,
  Cape,
  Trousers,
  Boot,
  Skin,
  EyeWhite,
  Pupil,
  Hair,
  Steel,
  Leather,
  Brass,
  Glass,
  Emblem
};

enum class Kind { Ellipsoid, Capsule, Frustum };

struct Part {
  Kind kind;
  Material material;
  Vec3 a, b;     // ellipsoid: centre, radii; capsule: ends; frustum: (cx, cy, z0), (cx, cy, z1)
  float r0, r1;  // capsule: radius; frustum: radii at z0 and z1
  float ax, ay;  // frustum cross-section stretch
};

Part ellipsoid(Material m, Vec3 c, Vec3 r) { return {Kind::Ellipsoid, m, c, r, 0, 0, 1, 1}; }
Part capsule(Material m, Vec3 a, Vec3 b, float r) { return {Kind::Capsule, m, a, b, r, r, 1, 1}; }
Part frustum(Material m, float cx, float cy, float z0, float r0, float z1, float r1, float ax = 1.0f,
             float ay = 1.0f) {
  return {Kind::Frustum, m, {cx, cy, z0}, {cx, cy, z1}, r0, r1, ax, ay};
}

// The lantern's glass, which also lights the guard's front.
const Vec3 kLanternLight{0.175f, -0.105f, 0.455f};

// Model in figure units: 1.0 is the whole height, feet at z = 0.
std::vector<Part> buildGuardModel() {
  std::vector<Part> m;
  for (float side : {1.0f, -1.0f}) {
    m.push_back(ellipsoid(Boot, {0.03f, 0.06f * side, 0.042f}, {0.075f, 0.042f, 0.042f}));
    m.push_back(capsule(Trousers, {0.0f, 0.06f * side, 0.08f}, {0.0f, 0.066f * side, 0.40f}, 0.037f));
  }
  // Coat: a flared skirt, the body and the shoulders; a cape hangs behind.
  const float skirtA = 0.85f;
  m.push_back(frustum(Coat, -0.005f, 0.0f, 0.25f, 0.158f, 0.56f, 0.112f, skirtA, 1.0f));
  m.push_back(ellipsoid(Coat, {0.0f, 0.0f, 0.635f}, {0.094f, 0.128f, 0.135f}));
  m.push_back(ellipsoid(Coat, {0.0f, 0.0f, 0.705f}, {0.085f, 0.158f, 0.06f}));
  m.push_back(frustum(Cape, -0.04f, 0.0f, 0.29f, 0.166f, 0.74f, 0.112f, 0.62f, 1.0f));
  // Belt around the skirt just below the waist, with a buckle in front.
  const float beltZ = 0.5f;
  const float skirtR = 0.158f + (0.112f - 0.158f) * (beltZ - 0.25f) / (0.56f - 0.25f);
  m.push_back(frustum(Leather, -0.005f, 0.0f, beltZ - 0.017f, skirtR + 0.009f, beltZ + 0.017f,
                      skirtR + 0.006f, skirtA, 1.0f));
  m.push_back(
      ellipsoid(Brass, {-0.005f + (skirtR + 0.008f) * skirtA, 0.0f, beltZ}, {0.012f, 0.026f, 0.022f}));
  m.push_back(ellipsoid(Emblem, {0.086f, 0.0f, 0.635f}, {0.014f, 0.036f, 0.042f}));
  // Neck and head.
  m.push_back(capsule(Skin, {0.0f, 0.0f, 0.74f}, {0.004f, 0.0f, 0.79f}, 0.034f));
  m.push_back(ellipsoid(Skin, {0.006f, 0.0f, 0.842f}, {0.058f, 0.052f, 0.066f}));
  m.push_back(ellipsoid(Skin, {0.058f, 0.0f, 0.836f}, {0.016f, 0.011f, 0.018f}));  // nose
  for (float side : {1.0f, -1.0f}) {
    m.push_back(ellipsoid(EyeWhite, {0.05f, 0.022f * side, 0.856f}, {0.011f, 0.012f, 0.0085f}));
    m.push_back(ellipsoid(Pupil, {0.0585f, 0.022f * side, 0.856f}, {0.0045f, 0.0065f, 0.0065f}));
  }
  m.push_back(ellipsoid(Hair, {0.052f, 0.0f, 0.817f}, {0.012f, 0.032f, 0.0075f}));  // moustache
  // Kettle hat: dome, brim and a small knob on top.
  m.push_back(ellipsoid(Steel, {0.0f, 0.0f, 0.892f}, {0.064f, 0.06f, 0.07f}));
  m.push_back(ellipsoid(Steel, {0.004f, 0.0f, 0.888f}, {0.09f, 0.084f, 0.0095f}));
  m.push_back(ellipsoid(Brass, {0.0f, 0.0f, 0.968f}, {0.013f, 0.013f, 0.028f}));
  // Shoulder plates and arms. The left arm hangs; the right holds the lantern out.
  for (float side : {1.0f, -1.0f})
    m.push_back(ellipsoid(Steel, {0.0f, 0.152f * side, 0.718f}, {0.05f, 0.046f, 0.034f}));
  m.push_back(capsule(Coat, {0.0f, 0.165f, 0.70f}, {-0.006f, 0.182f, 0.56f}, 0.033f));
  m.push_back(capsule(Coat, {-0.006f, 0.182f, 0.56f}, {0.02f, 0.178f, 0.44f}, 0.03f));
  m.push_back(ellipsoid(Leather, {0.026f, 0.176f, 0.418f}, {0.03f, 0.027f, 0.032f}));
  m.push_back(capsule(Coat, {0.0f, -0.165f, 0.70f}, {0.035f, -0.18f, 0.575f}, 0.033f));
  m.push_back(capsule(Coat, {0.035f, -0.18f, 0.575f}, {0.145f, -0.122f, 0.555f}, 0.03f));
  m.push_back(ellipsoid(Leather, {0.162f, -0.112f, 0.552f}, {0.032f, 0.028f, 0.029f}));
  // Lantern hanging from the fist: ring, cap, glass and base, with two bars before the glass.
  const float lx = kLanternLight.x, ly = kLanternLight.y;
  m.push_back(capsule(Brass, {lx, ly, 0.528f}, {lx, ly, 0.505f}, 0.006f));
  m.push_back(frustum(Brass, lx, ly, 0.488f, 0.037f, 0.506f, 0.014f));
  m.push_back(frustum(Glass, lx, ly, 0.418f, 0.029f, 0.49f, 0.032f));
  m.push_back(frustum(Brass, lx, ly, 0.402f, 0.037f, 0.42f, 0.033f));
  for (float a : {0.8f, -0.8f, 2.4f, -2.4f}) {
    const float bx = lx + 0.032f * std::cos(a), by = ly + 0.032f * std::sin(a);
    m.push_back(capsule(Brass, {bx, by, 0.42f}, {bx, by, 0.489f}, 0.0042f));
  }
  return m;
}

bool hitPart(const Part& p, Vec3 o, Vec3 d, RayHit& h) {
  switch (p.kind) {
    case Kind::Ellipsoid: return hitEllipsoid(o, d, p.a, p.b, h);
    case Kind::Capsule: return hitCapsule(o, d, p.a, p.b, p.r0, h);
    case Kind::Frustum: return hitFrustum(o, d, p.a.x, p.a.y, p.a.z, p.r0, p.b.z, p.r1, p.ax, p.ay, h);
  }
  return false;
}

// A bounding sphere per part, to limit each part's work to its patch of the picture.
void boundPart(const Part& p, Vec3& centre, float& radius) {
  switch (p.kind) {
    case Kind::Ellipsoid:
      centre = p.a;
      radius = std::fmax(p.b.x, std::fmax(p.b.y, p.b.z));
      return;
    case Kind::Capsule:
      centre = (p.a + p.b) * 0.5f;
      radius = length(p.b - p.a) * 0.5f + p.r0;
      return;
    case Kind::Frustum: {
      centre = (p.a + p.b) * 0.5f;
      const float r = std::fmax(p.r0, p.r1) * std::fmax(p.ax, p.ay);
      radius = std::sqrt(r * r + 0.25f * (p.b.z - p.a.z) * (p.b.z - p.a.z));
      return;
    }
  }
}

// What one sample of one view saw.
struct Sample {
  float t;
  int part;
  Vec3 normal;
  Vec3 point;
};

// Which part of the model a traced view covers: sw x sh samples, unitsPerSample
// figure units each; topZ is the height of the top row, centre the lateral
// offset of the middle column.
struct Frame {
  int sw, sh;
  float unitsPerSample, topZ, centre;
};

// The sprite pictures: the figure's whole height fills the frame.
constexpr Frame kSpriteFrame{kWidth * kSuper, kHeight* kSuper, 1.0f / static_cast<float>(kHeight* kSuper),
                             1.0f, 0.0f};

struct View {
  Vec3 toCamera, right;
  std::vector<Sample> samples;  // frame.sw x frame.sh, row 0 at the top
};

View traceView(const std::vector<Part>& model, float rel, const Frame& frame) {
  const int sw = frame.sw, sh = frame.sh;
  const float unitsPerSample = frame.unitsPerSample;
  View v;
  v.toCamera = {std::cos(rel), -std::sin(rel), 0.0f};
  v.right = {std::sin(rel), std::cos(rel), 0.0f};
  const Vec3 dir = v.toCamera * -1.0f;
  v.samples.assign(static_cast<size_t>(sw) * sh, Sample{FLT_MAX, -1, {0, 0, 0}, {0, 0, 0}});
  for (size_t i = 0; i < model.size(); ++i) {
    Vec3 c{0, 0, 0};
    float r = 0.0f;
    boundPart(model[i], c, r);
    const float sx = (dot(c, v.right) - frame.centre) / unitsPerSample + sw * 0.5f;
    const float sy = (frame.topZ - c.z) / unitsPerSample;
    const float rs = r / unitsPerSample + 2.0f;
    const int x0 = std::max(0, static_cast<int>(sx - rs)), x1 = std::min(sw - 1, static_cast<int>(sx + rs));
    const int y0 = std::max(0, static_cast<int>(sy - rs)), y1 = std::min(sh - 1, static_cast<int>(sy + rs));
    for (int y = y0; y <= y1; ++y) {
      const float z = frame.topZ - (static_cast<float>(y) + 0.5f) * unitsPerSample;
      for (int x = x0; x <= x1; ++x) {
        const float lateral = (static_cast<float>(x) + 0.5f - sw * 0.5f) * unitsPerSample + frame.centre;
        const Vec3 origin = v.right * lateral + Vec3{0, 0, z} + v.toCamera * 2.0f;
        RayHit h{};
        Sample& s = v.samples[static_cast<size_t>(y) * sw + x];
        if (hitPart(model[i], origin, dir, h) && h.t < s.t) {
          s.t = h.t;
          s.part = static_cast<int>(i);
          s.normal = h.normal;
          s.point = origin + dir * h.t;
        }
      }
    }
  }
  return v;
}

struct GuardColours {
  const char* letter;
  Rgb coat, cape, trim;
};

// Coat, cape and hem colours of the four guards: white, red, green, blue.
const GuardColours kGuards[] = {
    {"w", {0.88f, 0.88f, 0.86f}, {0.50f, 0.52f, 0.60f}, {0.80f, 0.62f, 0.18f}},
    {"r", {0.80f, 0.12f, 0.09f}, {0.42f, 0.05f, 0.05f}, {0.85f, 0.66f, 0.20f}},
    {"g", {0.13f, 0.62f, 0.18f}, {0.05f, 0.32f, 0.09f}, {0.85f, 0.66f, 0.20f}},
    {"b", {0.14f, 0.30f, 0.88f}, {0.06f, 0.12f, 0.45f}, {0.85f, 0.66f, 0.20f}},
};
static_assert(std::size(kGuards) == kMaxGuards, "one set of colours per guard slot");

struct Finish {
  Rgb base;
  float specular, shininess, glow;
};

Finish finishFor(Material m, const GuardColours& g, Vec3 p) {
  switch (m) {
    case Coat: {
      // Vertical folds in the skirt and a gold hem.
      if (p.z < 0.285f && p.z > 0.24f) return {g.trim, 0.35f, 24.0f, 0.0f};
      const float fold = 0.92f + 0.08f * std::sin(std::atan2(p.y, p.x) * 9.0f);
      return {g.coat * (p.z < 0.56f ? fold : 1.0f), 0.05f, 8.0f, 0.0f};
    }
    case Cape: {
      const float fold = 0.85f + 0.15f * std::sin(p.y * 70.0f);
      return {g.cape * fold, 0.04f, 8.0f, 0.0f};
    }
    case Trousers: return {hexColour(0x3A3440), 0.04f, 8.0f, 0.0f};
    case Boot: return {hexColour(0x4A2E1C), 0.25f, 20.0f, 0.0f};
    case Skin: return {hexColour(0xE0A57E), 0.08f, 10.0f, 0.0f};
    case EyeWhite: return {hexColour(0xF4F4EE), 0.3f, 30.0f, 0.25f};
    case Pupil: return {hexColour(0x101018), 0.6f, 40.0f, 0.0f};
    case Hair: return {hexColour(0x3A2618), 0.05f, 8.0f, 0.0f};
    case Steel: return {hexColour(0x8A9098), 0.8f, 36.0f, 0.0f};
    case Leather: return {hexColour(0x5C3A22), 0.2f, 16.0f, 0.0f};
    case Brass: return {hexColour(0xC09A3A), 0.9f, 30.0f, 0.0f};
    case Glass: return {hexColour(0xFFD050), 0.0f, 1.0f, 1.0f};
    case Emblem: return {g.trim, 0.7f, 30.0f, 0.0f};
  }
  return {{1, 0, 1}, 0, 1, 0};
}

// The light a sample receives, which is the same for every guard colour.
struct Lighting {
  float light;  // ambient, sky and key light
  float lamp;   // warm light from the lantern
  float spec;   // highlight, added white
  float rim;    // darkening of the turning-away edges
  bool glass;   // the lantern's glass, which glows instead
  float glassFacing;
};

Lighting lightSample(const Sample& s, const View& v, const std::vector<Part>& model) {
  const Finish f = finishFor(model[static_cast<size_t>(s.part)].material, kGuards[0], s.point);
  Lighting l{};
  if (f.glow >= 1.0f) {
    l.glass = true;
    l.glassFacing = std::fabs(dot(s.normal, v.toCamera));
    return l;
  }
  const Vec3 up{0, 0, 1};
  const Vec3 key = normalize(v.toCamera * 0.55f - v.right * 0.5f + up * 0.7f);
  const float diffuse = std::fmax(0.0f, dot(s.normal, key));
  const float sky = 0.5f + 0.5f * s.normal.z;
  const float facing = std::fmax(0.0f, dot(s.normal, v.toCamera));
  const Vec3 toLamp = kLanternLight - s.point;
  const float lampDist2 = dot(toLamp, toLamp);
  l.light = 0.26f + 0.16f * sky + 0.72f * diffuse + f.glow;
  l.lamp =
      std::fmin(std::fmax(0.0f, dot(s.normal, normalize(toLamp))) * 0.0025f / (lampDist2 + 0.002f), 0.6f);
  l.spec = std::pow(std::fmax(0.0f, dot(s.normal, normalize(key + v.toCamera))), f.shininess) * f.specular;
  l.rim = 0.78f + 0.22f * std::sqrt(facing);
  return l;
}

Rgb colourSample(const Sample& s, const Lighting& l, const std::vector<Part>& model, const GuardColours& g) {
  // The glass glows, brightest in its middle.
  if (l.glass) return mix(hexColour(0xFF9A20), hexColour(0xFFF4B0), l.glassFacing);
  const Rgb base = finishFor(model[static_cast<size_t>(s.part)].material, g, s.point).base;
  const Rgb warm{1.0f, 0.72f, 0.35f};
  return (base * l.light + base * warm * l.lamp + Rgb{1.0f, 0.97f, 0.9f} * l.spec) * l.rim;
}

Canvas shadeView(const View& v, const std::vector<Lighting>& lit, const std::vector<Part>& model,
                 const GuardColours& g) {
  constexpr int sw = kWidth * kSuper, sh = kHeight * kSuper;
  Canvas fine = makeCanvas(sw, sh, {0, 0, 0}, 0.0f);
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < sw; ++x) {
      const size_t i = static_cast<size_t>(y) * sw + x;
      const Sample& s = v.samples[i];
      if (s.part < 0) continue;
      fine.at(x, y) = colourSample(s, lit[i], model, g);
      fine.alphaAt(x, y) = 1.0f;
    }
  }
  Canvas out = downsample(fine, kSuper);
  // A dark rim on the silhouette keeps the figure readable against bright bricks.
  Canvas rimmed = out;
  for (int y = 0; y < out.h; ++y) {
    for (int x = 0; x < out.w; ++x) {
      if (out.alphaAt(x, y) < 0.5f) continue;
      bool border = false;
      for (int d = 0; d < 4 && !border; ++d) {
        const int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
        border = nx < 0 || ny < 0 || nx >= out.w || ny >= out.h || out.alphaAt(nx, ny) < 0.5f;
      }
      if (border) rimmed.at(x, y) = out.at(x, y) * 0.55f;
    }
  }
  return rimmed;
}

}  // namespace

void makeGuardPictures() {
  const std::vector<Part> model = buildGuardModel();
  for (int f = 0; f < kViews; ++f) {
    const View view = traceView(model, static_cast<float>(f) * (2.0f * kPi / kViews), kSpriteFrame);
    std::vector<Lighting> lit(view.samples.size());
    for (size_t i = 0; i < lit.size(); ++i)
      if (view.samples[i].part >= 0) lit[i] = lightSample(view.samples[i], view, model);
    for (const GuardColours& g : kGuards) {
      const std::string name = std::string("G") + g.letter + std::to_string(f + 1);
      // The loader turns sprite files by 180 degrees, so the file holds the figure upside down and mirrored.
      savePicture(name.c_str(), shadeView(view, lit, model, g), Layout::Turned, Cutout::Transparent);
    }
  }
}

Canvas paintGuardIcon(int size) {
  constexpr int kIconSuper = 4;  // samples per pixel along each axis
  // Figure units across the icon: hat to lantern, or the head and chest
  // alone at the small sizes, where a face must still show.
  const float span = size <= 32 ? 0.42f : 0.6f;
  constexpr float kTurn = 0.35f;  // radians: turned a little, so the face shows its shape
  constexpr float kDisc = 0.47f;  // backdrop radius, in icon widths
  const std::vector<Part> model = buildGuardModel();
  const int s = size * kIconSuper;
  const float unitsPerSample = span / static_cast<float>(s);
  const Frame frame{s, s, unitsPerSample, 1.0f, -0.015f};
  const View view = traceView(model, kTurn, frame);

  // The dark disc behind lets the white coat read on light and dark panels
  // alike; the figure stands in it, only the hat rises over its rim.
  const float c = static_cast<float>(s) * 0.5f, radius = kDisc * static_cast<float>(s);
  Canvas fine = makeCanvas(s, s, {0, 0, 0}, 0.0f);
  for (int y = 0; y < s; ++y) {
    for (int x = 0; x < s; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - c, dy = static_cast<float>(y) + 0.5f - c;
      const float d = std::sqrt(dx * dx + dy * dy) / radius;
      const Sample& sample = view.samples[static_cast<size_t>(y) * s + x];
      if (sample.part >= 0 && (d < 1.0f || dy < 0.0f)) {
        fine.at(x, y) = colourSample(sample, lightSample(sample, view, model), model, kGuards[0]);
        fine.alphaAt(x, y) = 1.0f;
      } else if (d < 1.0f) {
        // Night blue, lighter towards the top, with a thin bright rim.
        const Rgb deep = mix(hexColour(0x1C2A4A), hexColour(0x0A1024), (dy / radius + 1.0f) * 0.5f);
        fine.at(x, y) = d > 0.94f ? hexColour(0x8A9098) : deep;
        fine.alphaAt(x, y) = 1.0f;
      }
    }
  }
  return downsample(fine, kIconSuper);
}
