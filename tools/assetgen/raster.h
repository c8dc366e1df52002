// A small float RGB canvas and the procedural helpers the picture generator
// paints with: a fixed-seed hash, value noise, cell noise and soft shapes.
// Nothing here reads a clock or system randomness, so every run paints the same.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
  float r, g, b;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);
float lerp(float a, float b, float t);
Rgb mix(Rgb a, Rgb b, float t);
// 0xRRGGBB as written in paint programs, for readable colour constants.
Rgb hexColour(uint32_t rgb);

// Pixel (x, y) at index y * w + x, row 0 at the top of the picture as a person
// sees it; the writer turns it into the stored order. alpha is coverage: pixels
// below one half become transparent where the picture allows transparency.
struct Canvas {
  int w = 0, h = 0;
  std::vector<Rgb> colour;
  std::vector<float> alpha;
  Rgb& at(int x, int y) { return colour[static_cast<std::size_t>(y) * w + x]; }
  const Rgb& at(int x, int y) const { return colour[static_cast<std::size_t>(y) * w + x]; }
  float& alphaAt(int x, int y) { return alpha[static_cast<std::size_t>(y) * w + x]; }
  float alphaAt(int x, int y) const { return alpha[static_cast<std::size_t>(y) * w + x]; }
};

Canvas makeCanvas(int w, int h, Rgb fill, float alpha = 1.0f);
// Box-filters factor x factor blocks; colour is weighted by coverage so that
// transparent samples do not darken a figure's rim.
Canvas downsample(const Canvas& src, int factor);
// Paints colour over the canvas with weight = coverage * opacity.
void blendPixel(Canvas& c, int x, int y, Rgb colour, float weight);
// A disc with a soft rim of `soft` pixels, blended over what is there.
void softDisc(Canvas& c, float cx, float cy, float radius, float soft, Rgb colour, float opacity = 1.0f);

// Hashes: integer in, well-mixed integer or a float in [0, 1) out.
uint32_t hash32(uint32_t v);
uint32_t hash2(int x, int y, uint32_t seed);
float hashUnit(int x, int y, uint32_t seed);

// Smooth value noise in [0, 1]. periodX > 0 makes it repeat every periodX
// lattice steps horizontally, for textures that must wrap.
float valueNoise(float x, float y, uint32_t seed, int periodX = 0);
// Octaves of value noise, each twice as fine and half as strong; result in [0, 1].
float fbm(float x, float y, uint32_t seed, int octaves, int periodX = 0);

// Nearest and second-nearest feature point of jittered cell noise: gives
// cobbles, flagstones and cracks. id identifies the nearest cell.
struct CellSample {
  float nearest, second;
  uint32_t id;
};
CellSample cellNoise(float x, float y, uint32_t seed, int periodX = 0);

// A tiny fixed-seed generator for scattering things (flowers, stars, chips).
struct Rng {
  uint32_t state;
  uint32_t next();
  float unit();                     // [0, 1)
  float range(float lo, float hi);  // [lo, hi)
};
