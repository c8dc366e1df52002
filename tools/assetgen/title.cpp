// The title picture: a moonlit maze of brick walls seen from above its edge,
// with the glow of the three coloured crystals and a guard's lantern deep in
// its corridors, under a starry sky and the game's name in gold. The game
// shows the first stored row at the bottom of the screen, so it is stored
// bottom-up; the lowest rows stay dark for the white progress line.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/font.h"
#include "framework/surface.h"
#include "tools/assetgen/pictures.h"
#include "tools/assetgen/shapes3d.h"
#include "tools/assetgen/writer.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kMazeCells = 20;               // corridors per side
constexpr int kBlocks = 2 * kMazeCells + 1;  // wall blocks and corridors per side
constexpr float kFocal = 560.0f;             // pixels per unit at distance 1
constexpr float kCamX = -3.0f, kCamY = -3.0f, kCamZ = 6.0f;
constexpr float kYaw = 0.785398f;  // looking along the maze's diagonal
constexpr float kPitch = -0.09f;   // a little down, so the horizon sits above the middle
constexpr int kCalmRows = 60;      // the dark band at the bottom for the progress line

struct Maze {
  std::vector<unsigned char> wall;  // kBlocks * kBlocks, 1 = a block one unit high
  bool at(int x, int y) const {
    return x < 0 || y < 0 || x >= kBlocks || y >= kBlocks ? false : wall[y * kBlocks + x] != 0;
  }
};

// A perfect maze by depth-first carving with a fixed seed.
Maze carveMaze() {
  Maze m;
  m.wall.assign(kBlocks * kBlocks, 1);
  std::vector<int> stack;
  std::vector<unsigned char> visited(kMazeCells * kMazeCells, 0);
  Rng rng{0x7171E5U};
  stack.push_back(0);
  visited[0] = 1;
  m.wall[1 * kBlocks + 1] = 0;
  while (!stack.empty()) {
    const int cell = stack.back();
    const int cx = cell % kMazeCells, cy = cell / kMazeCells;
    int options[4], n = 0;
    const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
      const int nx = cx + dx[d], ny = cy + dy[d];
      if (nx >= 0 && ny >= 0 && nx < kMazeCells && ny < kMazeCells && !visited[ny * kMazeCells + nx])
        options[n++] = d;
    }
    if (n == 0) {
      stack.pop_back();
      continue;
    }
    const int d = options[rng.next() % static_cast<uint32_t>(n)];
    const int nx = cx + dx[d], ny = cy + dy[d];
    visited[ny * kMazeCells + nx] = 1;
    m.wall[(2 * cy + 1 + dy[d]) * kBlocks + (2 * cx + 1 + dx[d])] = 0;
    m.wall[(2 * ny + 1) * kBlocks + (2 * nx + 1)] = 0;
    stack.push_back(ny * kMazeCells + nx);
  }
  // Open the near corner so the eye has a way in.
  m.wall[0 * kBlocks + 1] = 0;
  return m;
}

// The brick picture at several box-filtered sizes, so far walls do not glitter.
struct BrickLevels {
  std::vector<Canvas> levels;
  Rgb sample(float u, float v, float texelsPerPixel) const {
    int level = 0;
    while (texelsPerPixel > 2.5f && level + 1 < static_cast<int>(levels.size())) {
      texelsPerPixel *= 0.5f;
      ++level;
    }
    const Canvas& c = levels[static_cast<size_t>(level)];
    int x = static_cast<int>(u * c.w), y = static_cast<int>(v * c.h);
    x = ((x % c.w) + c.w) % c.w;
    y = y < 0 ? 0 : (y >= c.h ? c.h - 1 : y);
    return c.at(x, y);
  }
};

struct Light {
  float x, y, z;
  Rgb colour;
};

// The glows in the corridors: the three crystals and the white guard's lantern.
// The positions are where we would like them; placeLights moves each to a
// nearby corridor cell that the camera can see into.
Light kLights[] = {{9.5f, 13.5f, 0.45f, {1.0f, 0.15f, 0.1f}},
                   {21.5f, 9.5f, 0.45f, {0.15f, 1.0f, 0.2f}},
                   {7.5f, 19.5f, 0.45f, {0.2f, 0.4f, 1.0f}},
                   {13.5f, 5.5f, 0.6f, {1.0f, 0.8f, 0.45f}}};

const Rgb kHaze = {0.12f, 0.11f,
                   0.23f};  // the colour distance fades into, darker than the sky behind the hills

Rgb skyColour(float px, float py, float horizonRow) {
  const float t = clamp01(py / horizonRow);
  Rgb c = mix(hexColour(0x04061A), hexColour(0x1A2050), std::pow(t, 1.6f));
  c = mix(c, hexColour(0x3A3460), smoothstep(0.8f, 1.0f, t));
  // Thin veils of cloud across the stars.
  const float veil = smoothstep(0.5f, 0.8f, fbm(px / 180.0f, py / 45.0f, 701U, 4)) * 0.35f;
  return mix(c, hexColour(0x5A6090), veil * t);
}

// Marches one eye ray through the block grid; returns the colour seen.
Rgb traceMaze(const Maze& maze, const BrickLevels& bricks, Vec3 dir, float& hitDist) {
  const float ox = kCamX, oy = kCamY, oz = kCamZ;
  hitDist = -1.0f;
  // Start where the ray enters the maze's square, if it does.
  float t = 0.0f;
  int cx = static_cast<int>(std::floor(ox)), cy = static_cast<int>(std::floor(oy));
  const int stepX = dir.x > 0 ? 1 : -1, stepY = dir.y > 0 ? 1 : -1;
  const float tdx = std::fabs(1.0f / dir.x), tdy = std::fabs(1.0f / dir.y);
  float nextX = (dir.x > 0 ? (static_cast<float>(cx) + 1.0f - ox) : (ox - static_cast<float>(cx))) * tdx;
  float nextY = (dir.y > 0 ? (static_cast<float>(cy) + 1.0f - oy) : (oy - static_cast<float>(cy))) * tdy;
  int side = -1;  // which grid line the current cell was entered across: 0 x, 1 y
  Vec3 normal{0, 0, 1};
  float u = 0.0f, v = 0.0f;
  int surface = -1;  // 0 ground, 1 wall side, 2 wall top
  for (int steps = 0; steps < 400 && t < 90.0f; ++steps) {
    const float exitT = std::fmin(nextX, nextY);
    const bool block = maze.at(cx, cy);
    const float zIn = oz + dir.z * t;
    if (block) {
      if (zIn <= 1.0f && side >= 0) {
        surface = 1;
        const Vec3 p{ox + dir.x * t, oy + dir.y * t, zIn};
        normal = side == 0 ? Vec3{static_cast<float>(-stepX), 0, 0} : Vec3{0, static_cast<float>(-stepY), 0};
        u = side == 0 ? p.y : p.x;
        v = 1.0f - p.z;
        break;
      }
      const float tTop = (1.0f - oz) / dir.z;
      if (dir.z < 0 && tTop >= t && tTop < exitT) {
        surface = 2;
        t = tTop;
        normal = {0, 0, 1};
        break;
      }
    } else {
      const float tGround = -oz / dir.z;
      if (dir.z < 0 && tGround >= t && tGround < exitT) {
        surface = 0;
        t = tGround;
        normal = {0, 0, 1};
        break;
      }
    }
    t = exitT;
    if (nextX < nextY) {
      nextX += tdx;
      cx += stepX;
      side = 0;
    } else {
      nextY += tdy;
      cy += stepY;
      side = 1;
    }
  }
  if (surface < 0 && dir.z < 0.0f) {
    hitDist = 1e6f;  // the moor beyond the march's reach, lost in the haze
    return kHaze;
  }
  if (surface < 0) return {-1.0f, 0, 0};
  hitDist = t;
  const Vec3 p{ox + dir.x * t, oy + dir.y * t, oz + dir.z * t};
  Rgb albedo;
  const float texels = t / kFocal * 640.0f;
  if (surface == 1) {
    albedo = bricks.sample(u - std::floor(u), v, texels);
  } else if (surface == 2) {
    albedo = mix(hexColour(0x6E6A60), hexColour(0x9A9484), fbm(p.x * 3.0f, p.y * 3.0f, 733U, 3));
  } else {
    albedo = mix(hexColour(0x1E2416), hexColour(0x3A3A26), fbm(p.x * 2.0f, p.y * 2.0f, 739U, 3));
    // Outside the maze lies dark moor.
    if (p.x < 0.0f || p.y < 0.0f || p.x > kBlocks || p.y > kBlocks) albedo = albedo * 0.3f;
  }
  // Moonlight from behind the viewer's left, a cold ambient, and the glows.
  const Vec3 moon = normalize({-0.2f, -0.75f, 0.65f});
  Rgb light = Rgb{0.22f, 0.25f, 0.42f} + Rgb{0.55f, 0.6f, 0.8f} * std::fmax(0.0f, dot(normal, moon));
  for (const Light& l : kLights) {
    const Vec3 to{l.x - p.x, l.y - p.y, l.z - p.z};
    const float d2 = dot(to, to);
    if (d2 > 49.0f) continue;  // too far to matter
    const float facing = std::fmax(0.0f, dot(normal, normalize(to)));
    // Walls between the light and the point would shade it; a short march stands in for a shadow ray.
    bool blocked = false;
    const float d = std::sqrt(d2);
    for (float s = 0.3f; s < d - 0.3f && !blocked; s += 0.35f) {
      const Vec3 q = p + to * (s / d);
      blocked = q.z < 1.0f && maze.at(static_cast<int>(std::floor(q.x)), static_cast<int>(std::floor(q.y)));
    }
    if (!blocked) light = light + l.colour * (facing * 4.0f / (1.0f + d2 * 0.7f));
  }
  Rgb c = albedo * light;
  return mix(c, kHaze, 1.0f - std::exp(-t / 38.0f));
}

bool lightVisible(const Maze& maze, const BrickLevels& bricks, const Light& l) {
  const Vec3 rel{l.x - kCamX, l.y - kCamY, l.z - kCamZ};
  float dist = -1.0f;
  traceMaze(maze, bricks, normalize(rel), dist);
  return dist < 0.0f || dist >= length(rel) - 0.3f;
}

void placeLights(const Maze& maze, const BrickLevels& bricks) {
  for (Light& l : kLights) {
    const int wantX = static_cast<int>(l.x), wantY = static_cast<int>(l.y);
    bool placed = false;
    for (int r = 0; r <= 6 && !placed; ++r) {
      for (int dy = -r; dy <= r && !placed; ++dy) {
        for (int dx = -r; dx <= r && !placed; ++dx) {
          if (std::abs(dx) != r && std::abs(dy) != r) continue;  // the ring at distance r only
          const int x = wantX + dx, y = wantY + dy;
          if (x <= 0 || y <= 0 || x >= kBlocks - 1 || y >= kBlocks - 1 || maze.at(x, y)) continue;
          Light candidate = l;
          candidate.x = static_cast<float>(x) + 0.5f;
          candidate.y = static_cast<float>(y) + 0.5f;
          if (lightVisible(maze, bricks, candidate)) {
            l = candidate;
            placed = true;
          }
        }
      }
    }
  }
}

// Lettering: the stroke font drawn thin on a surface, grown into round gold tubes
// with a dark outline and a drop shadow by a distance field around the strokes.
struct Lettering {
  int w = 0, h = 0;
  std::vector<float> dist;        // distance to the nearest stroke pixel
  std::vector<float> offX, offY;  // from that stroke pixel to here
};

bool drawStrokes(const char* fontPath, const char* text, int scale, Lettering& out) {
  const int w = kWidth * scale, h = kHeight * scale;
  Surface* s = createSurface(w, h);
  if (!s) return false;
  makeCurrentSurface(s);
  FontRecord* font = loadFont(fontPath);
  if (!font || setFont(font) == 0) {
    std::fprintf(stderr, "assetgen: cannot load the font %s; the title has no lettering\n", fontPath);
    if (font) freeFont(font);
    makeCurrentSurface(nullptr);
    destroySurface(s);
    return false;
  }
  setTextSize(1, 1, 1, 1);
  const int naturalWidth = textWidth(text);
  if (naturalWidth <= 0) {
    std::fprintf(stderr, "assetgen: the font draws nothing for the title\n");
    freeFont(font);
    makeCurrentSurface(nullptr);
    destroySurface(s);
    return false;
  }
  const int target = 700 * scale;
  setTextSize(target, naturalWidth, target * 13 / 10, naturalWidth);
  setTextJustify(1, 0);
  setColor(0x7FFF);
  // Two passes half a pixel apart in both directions keep diagonal strokes unbroken.
  drawText(w / 2, 36 * scale, text);
  drawText(w / 2 + 1, 36 * scale, text);
  drawText(w / 2, 36 * scale + 1, text);

  out.w = w;
  out.h = h;
  out.dist.assign(static_cast<size_t>(w) * h, 1e9f);
  out.offX.assign(out.dist.size(), 0.0f);
  out.offY.assign(out.dist.size(), 0.0f);
  const int reach = 12 * scale;  // as far as the outline and the soft shadow need
  for (int y = 0; y < h; ++y) {
    const uint16_t* row = pixelRow(s, y);
    for (int x = 0; x < w; ++x) {
      if (row[x] == 0) continue;
      for (int dy = -reach; dy <= reach; ++dy) {
        const int yy = y + dy;
        if (yy < 0 || yy >= h) continue;
        for (int dx = -reach; dx <= reach; ++dx) {
          const int xx = x + dx;
          if (xx < 0 || xx >= w) continue;
          const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
          const size_t i = static_cast<size_t>(yy) * w + xx;
          if (d < out.dist[i]) {
            out.dist[i] = d;
            out.offX[i] = static_cast<float>(dx);
            out.offY[i] = static_cast<float>(dy);
          }
        }
      }
    }
  }
  freeFont(font);
  makeCurrentSurface(nullptr);
  destroySurface(s);
  return true;
}

void paintLettering(Canvas& picture, const Lettering& l, int scale) {
  const float tube = 5.0f * scale, rim = 8.0f * scale, shadowShift = 7.0f * scale;
  Canvas fine = makeCanvas(l.w, l.h, {0, 0, 0}, 0.0f);
  const Vec3 key = normalize({-0.55f, -0.7f, 0.9f});  // upper left, screen y pointing down
  for (int y = 0; y < l.h; ++y) {
    for (int x = 0; x < l.w; ++x) {
      const size_t i = static_cast<size_t>(y) * l.w + x;
      const float d = l.dist[i];
      if (d < tube) {
        const float hgt = std::sqrt(tube * tube - d * d);
        const Vec3 n = normalize({l.offX[i], l.offY[i], hgt});
        const float diffuse = std::fmax(0.0f, dot(n, key));
        const float spec = std::pow(std::fmax(0.0f, dot(n, normalize(key + Vec3{0, 0, 1}))), 24.0f);
        const float band = static_cast<float>(y) / l.h;  // gold darkens toward the letters' feet
        const Rgb gold = mix(hexColour(0xFFE27A), hexColour(0xC0600E), smoothstep(0.07f, 0.33f, band));
        fine.at(x, y) = gold * (0.35f + 0.85f * diffuse) + Rgb{1, 1, 0.9f} * (0.9f * spec);
        fine.alphaAt(x, y) = 1.0f;
      } else if (d < rim) {
        fine.at(x, y) = hexColour(0x1A0C04);
        fine.alphaAt(x, y) = 1.0f;
      } else {
        // Shadow: the outline's shape shifted down and right, softened at its edge.
        const int sx = x - static_cast<int>(shadowShift), sy = y - static_cast<int>(shadowShift);
        if (sx >= 0 && sy >= 0) {
          const float sd = l.dist[static_cast<size_t>(sy) * l.w + sx];
          const float a = 0.7f * (1.0f - smoothstep(rim - 2.0f * scale, rim + 3.0f * scale, sd));
          fine.at(x, y) = {0.0f, 0.0f, 0.02f};
          fine.alphaAt(x, y) = a;
        }
      }
    }
  }
  const Canvas small = downsample(fine, scale);
  for (int y = 0; y < picture.h; ++y)
    for (int x = 0; x < picture.w; ++x)
      picture.at(x, y) = mix(picture.at(x, y), small.at(x, y), small.alphaAt(x, y));
}

}  // namespace

void makeTitle(const char* fontPath) {
  Canvas pic = makeCanvas(kWidth, kHeight, {0, 0, 0});
  const Maze maze = carveMaze();
  BrickLevels bricks;
  bricks.levels.push_back(paintBrickWall(0));
  while (bricks.levels.back().w > 40) bricks.levels.push_back(downsample(bricks.levels.back(), 2));
  placeLights(maze, bricks);

  // Camera axes: forward along the yaw, tipped down by the pitch.
  const Vec3 forward{std::cos(kYaw) * std::cos(kPitch), std::sin(kYaw) * std::cos(kPitch), std::sin(kPitch)};
  const Vec3 right = normalize(cross(forward, {0, 0, 1}));
  const Vec3 up = cross(right, forward);
  const float horizonRow = kHeight * 0.5f + kFocal * std::tan(kPitch);  // the pitch is negative

  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      Rgb sum{0, 0, 0};
      for (int s = 0; s < 4; ++s) {
        const float px = static_cast<float>(x) + 0.25f + 0.5f * static_cast<float>(s & 1);
        const float py = static_cast<float>(y) + 0.25f + 0.5f * static_cast<float>(s >> 1);
        const Vec3 dir =
            normalize(forward * kFocal + right * (px - kWidth * 0.5f) - up * (py - kHeight * 0.5f));
        float dist = -1.0f;
        Rgb c = traceMaze(maze, bricks, dir, dist);
        if (dist < 0.0f) c = skyColour(px, py, horizonRow);
        sum = sum + c;
      }
      pic.at(x, y) = sum * 0.25f;
    }
  }
  // Stars, brighter and sparser ones twinkling with a small cross.
  Rng stars{0x57A125U};
  for (int i = 0; i < 420; ++i) {
    const float x = stars.range(0.0f, kWidth), y = stars.range(0.0f, horizonRow - 20.0f);
    const float b = std::pow(stars.unit(), 3.0f);
    const Rgb tint = mix(Rgb{0.75f, 0.8f, 1.0f}, Rgb{1.0f, 0.95f, 0.8f}, stars.unit());
    softDisc(pic, x, y, 0.5f + 0.8f * b, 0.6f, tint, 0.45f + 0.55f * b);
    if (b > 0.6f) {
      for (int k = -4; k <= 4; ++k) {
        const float w = 0.5f * (1.0f - std::fabs(static_cast<float>(k)) / 5.0f);
        blendPixel(pic, static_cast<int>(x) + k, static_cast<int>(y), tint, w);
        blendPixel(pic, static_cast<int>(x), static_cast<int>(y) + k, tint, w);
      }
    }
  }
  // The moon with its halo and a few darker seas.
  const float mx = 676.0f, my = 218.0f, mr = 22.0f;
  for (int y = 0; y < static_cast<int>(horizonRow); ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const float d = std::hypot(static_cast<float>(x) + 0.5f - mx, static_cast<float>(y) + 0.5f - my);
      Rgb& c = pic.at(x, y);
      c = c + hexColour(0x6070A0) * (0.35f * std::exp(-(d - mr) / 40.0f) * (d > mr ? 1.0f : 0.0f));
      if (d < mr + 1.0f) {
        const float seas = smoothstep(
            0.45f, 0.7f, fbm(static_cast<float>(x) / 14.0f, static_cast<float>(y) / 14.0f, 751U, 3));
        const Rgb face = mix(hexColour(0xF4F0DC), hexColour(0xB8B6A8), seas);
        c = mix(c, face, clamp01(mr + 0.5f - d));
      }
    }
  }
  // Low hills on the horizon, in front of the rising moon. Everything above the
  // horizon row is sky (the camera looks down on the walls), so nothing else is covered.
  for (int x = 0; x < kWidth; ++x) {
    const float px = static_cast<float>(x) + 0.5f;
    const float top = horizonRow - (4.0f + 22.0f * fbm(px / 170.0f, 3.0f, 761U, 4));
    for (int y = static_cast<int>(top) - 1; y < static_cast<int>(horizonRow); ++y) {
      if (y < 0) continue;
      const float cover = clamp01(static_cast<float>(y) + 1.0f - top);
      const Rgb hill = mix(hexColour(0x24223E), kHaze, clamp01((static_cast<float>(y) - top) / 20.0f));
      pic.at(x, y) = mix(pic.at(x, y), hill, cover);
    }
  }
  // Glows over the lights that can be seen.
  for (const Light& l : kLights) {
    const Vec3 rel{l.x - kCamX, l.y - kCamY, l.z - kCamZ};
    const float depth = dot(rel, forward);
    const float sx = kWidth * 0.5f + kFocal * dot(rel, right) / depth;
    const float sy = kHeight * 0.5f - kFocal * dot(rel, up) / depth;
    if (!lightVisible(maze, bricks, l)) continue;
    for (int y = static_cast<int>(sy) - 30; y <= static_cast<int>(sy) + 30; ++y)
      for (int x = static_cast<int>(sx) - 30; x <= static_cast<int>(sx) + 30; ++x) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
        const float d = std::hypot(static_cast<float>(x) - sx, static_cast<float>(y) - sy);
        pic.at(x, y) = pic.at(x, y) + l.colour * (0.9f * std::exp(-d / 6.0f)) +
                       Rgb{1, 1, 1} * (0.6f * std::exp(-d / 2.0f));
      }
  }
  // The lowest rows sink into darkness for the loading line.
  for (int y = kHeight - kCalmRows - 40; y < kHeight; ++y) {
    const float k = smoothstep(static_cast<float>(kHeight - kCalmRows - 40),
                               static_cast<float>(kHeight - kCalmRows + 10), static_cast<float>(y));
    for (int x = 0; x < kWidth; ++x) pic.at(x, y) = mix(pic.at(x, y), hexColour(0x04040A), k);
  }

  if (fontPath) {
    constexpr int scale = 2;
    Lettering lettering;
    if (drawStrokes(fontPath, "Quillmoor!!!", scale, lettering)) paintLettering(pic, lettering, scale);
  } else {
    std::fprintf(stderr, "assetgen: no font given; the title has no lettering\n");
  }
  savePicture("titel", pic, Layout::BottomUp, Cutout::Opaque);
}
