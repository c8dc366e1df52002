#include "tools/assetgen/raster.h"

#include <algorithm>
#include <cmath>

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float smoothstep(float edge0, float edge1, float x) {
  float t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

float lerp(float a, float b, float t) { return a + (b - a) * t; }

Rgb mix(Rgb a, Rgb b, float t) { return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)}; }

Rgb hexColour(uint32_t rgb) {
  return {static_cast<float>((rgb >> 16) & 255) / 255.0f, static_cast<float>((rgb >> 8) & 255) / 255.0f,
          static_cast<float>(rgb & 255) / 255.0f};
}

Canvas makeCanvas(int w, int h, Rgb fill, float alpha) {
  Canvas c;
  c.w = w;
  c.h = h;
  c.colour.assign(static_cast<size_t>(w) * h, fill);
  c.alpha.assign(static_cast<size_t>(w) * h, alpha);
  return c;
}

Canvas downsample(const Canvas& src, int factor) {
  Canvas dst = makeCanvas(src.w / factor, src.h / factor, {0, 0, 0}, 0.0f);
  const float samples = static_cast<float>(factor * factor);
  for (int y = 0; y < dst.h; ++y) {
    for (int x = 0; x < dst.w; ++x) {
      Rgb sum{0, 0, 0};
      float cover = 0.0f;
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          float a = src.alphaAt(x * factor + sx, y * factor + sy);
          sum = sum + src.at(x * factor + sx, y * factor + sy) * a;
          cover += a;
        }
      }
      dst.at(x, y) = cover > 0.0f ? sum * (1.0f / cover) : Rgb{0, 0, 0};
      dst.alphaAt(x, y) = cover / samples;
    }
  }
  return dst;
}

void blendPixel(Canvas& c, int x, int y, Rgb colour, float weight) {
  if (x < 0 || y < 0 || x >= c.w || y >= c.h || weight <= 0.0f) return;
  weight = std::min(weight, 1.0f);
  c.at(x, y) = mix(c.at(x, y), colour, weight);
  c.alphaAt(x, y) = std::max(c.alphaAt(x, y), weight);
}

void softDisc(Canvas& c, float cx, float cy, float radius, float soft, Rgb colour, float opacity) {
  const int x0 = static_cast<int>(std::floor(cx - radius - soft));
  const int x1 = static_cast<int>(std::ceil(cx + radius + soft));
  const int y0 = static_cast<int>(std::floor(cy - radius - soft));
  const int y1 = static_cast<int>(std::ceil(cy + radius + soft));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
      float w =
          soft > 0.0f ? 1.0f - smoothstep(radius - soft, radius + soft, d) : (d <= radius ? 1.0f : 0.0f);
      blendPixel(c, x, y, colour, w * opacity);
    }
  }
}

uint32_t hash32(uint32_t v) {
  // A well-known integer finaliser: every input bit reaches every output bit.
  v ^= v >> 16;
  v *= 0x7feb352dU;
  v ^= v >> 15;
  v *= 0x846ca68bU;
  v ^= v >> 16;
  return v;
}

uint32_t hash2(int x, int y, uint32_t seed) {
  return hash32(static_cast<uint32_t>(x) * 0x9E3779B1U ^
                hash32(static_cast<uint32_t>(y) + seed * 0x85EBCA77U));
}

float hashUnit(int x, int y, uint32_t seed) {
  return static_cast<float>(hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

static int wrapIndex(int i, int period) {
  if (period <= 0) return i;
  int m = i % period;
  return m < 0 ? m + period : m;
}

float valueNoise(float x, float y, uint32_t seed, int periodX) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const int x0 = wrapIndex(ix, periodX), x1 = wrapIndex(ix + 1, periodX);
  const float a = hashUnit(x0, iy, seed), b = hashUnit(x1, iy, seed);
  const float c = hashUnit(x0, iy + 1, seed), d = hashUnit(x1, iy + 1, seed);
  return lerp(lerp(a, b, tx), lerp(c, d, tx), ty);
}

float fbm(float x, float y, uint32_t seed, int octaves, int periodX) {
  float sum = 0.0f, amp = 0.5f, norm = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * valueNoise(x, y, seed + static_cast<uint32_t>(i) * 1013U, periodX);
    norm += amp;
    x *= 2.0f;
    y *= 2.0f;
    periodX *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

CellSample cellNoise(float x, float y, uint32_t seed, int periodX) {
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  CellSample s{1e9f, 1e9f, 0};
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int cx = ix + dx, cy = iy + dy;
      const int hx = wrapIndex(cx, periodX);
      const float px = static_cast<float>(cx) + 0.1f + 0.8f * hashUnit(hx, cy, seed);
      const float py = static_cast<float>(cy) + 0.1f + 0.8f * hashUnit(hx, cy, seed + 77U);
      const float d = std::hypot(px - x, py - y);
      if (d < s.nearest) {
        s.second = s.nearest;
        s.nearest = d;
        s.id = hash2(hx, cy, seed + 5U);
      } else if (d < s.second) {
        s.second = d;
      }
    }
  }
  return s;
}

uint32_t Rng::next() {
  // xorshift32 with a scrambled output; the state never reaches 0 from a non-zero seed.
  if (state == 0) state = 0x6D2B79F5U;
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return hash32(state);
}

float Rng::unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }

float Rng::range(float lo, float hi) { return lo + (hi - lo) * unit(); }
