#include "tools/assetgen/writer.h"

#include <cstdio>
#include <iterator>

namespace {
std::string g_dir;
std::string g_previewDir;
bool g_failed = false;

// 4x4 Bayer matrix, thresholds in sixteenths: spreads the rounding error of the
// 5-bit channels so gradients do not band. The side is a power of two, so
// coordinates pick their cell with a mask.
constexpr int kBayerSide = 4;
constexpr int kBayer[] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
static_assert(std::size(kBayer) == kBayerSide * kBayerSide, "a threshold for each cell of the square");

int channel5(float v, float threshold) {
  int q = static_cast<int>(clamp01(v) * 31.0f + threshold);
  return q > 31 ? 31 : q;
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

void writePreview(const char* name, const Canvas& upright, const std::vector<uint16_t>& words,
                  Layout layout) {
  // The preview shows the packed words back in upright order, so it is exactly
  // what the game has; transparent pixels show as magenta.
  std::string header = "P6\n" + std::to_string(upright.w) + " " + std::to_string(upright.h) + "\n255\n";
  std::vector<unsigned char> bytes(header.begin(), header.end());
  const size_t n = words.size();
  for (int y = 0; y < upright.h; ++y) {
    for (int x = 0; x < upright.w; ++x) {
      size_t idx = static_cast<size_t>(y) * upright.w + x;
      if (layout == Layout::BottomUp) idx = static_cast<size_t>(upright.h - 1 - y) * upright.w + x;
      if (layout == Layout::Turned) idx = n - 1 - idx;
      const uint16_t v = words[idx];
      if (v == 0) {
        bytes.insert(bytes.end(), {255, 0, 255});
        continue;
      }
      bytes.push_back(static_cast<unsigned char>(((v >> 10) & 31) * 255 / 31));
      bytes.push_back(static_cast<unsigned char>(((v >> 5) & 31) * 255 / 31));
      bytes.push_back(static_cast<unsigned char>((v & 31) * 255 / 31));
    }
  }
  const std::string path = g_previewDir + "/" + name + ".ppm";
  if (!writeBytes(path, bytes)) std::fprintf(stderr, "assetgen: cannot write preview %s\n", path.c_str());
}
}  // namespace

uint16_t packColour(Rgb c, int x, int y) {
  const int cell = (y & (kBayerSide - 1)) * kBayerSide + (x & (kBayerSide - 1));
  const float t = (static_cast<float>(kBayer[cell]) + 0.5f) / static_cast<float>(std::size(kBayer));
  const int r = channel5(c.r, t), g = channel5(c.g, t), b = channel5(c.b, t);
  const uint16_t v = static_cast<uint16_t>((r << 10) | (g << 5) | b);
  return v == 0 ? 0x0421 : v;
}

std::vector<uint16_t> storedWords(const Canvas& upright, Layout layout, Cutout cutout) {
  std::vector<uint16_t> words(static_cast<size_t>(upright.w) * upright.h);
  const size_t n = words.size();
  for (int y = 0; y < upright.h; ++y) {
    for (int x = 0; x < upright.w; ++x) {
      size_t idx = static_cast<size_t>(y) * upright.w + x;
      const bool clear = cutout == Cutout::Transparent && upright.alphaAt(x, y) < 0.5f;
      const uint16_t v = clear ? 0 : packColour(upright.at(x, y), x, y);
      if (layout == Layout::BottomUp) idx = static_cast<size_t>(upright.h - 1 - y) * upright.w + x;
      if (layout == Layout::Turned) idx = n - 1 - idx;
      words[idx] = v;
    }
  }
  return words;
}

void setOutputFolders(const std::string& dir, const std::string& previewDir) {
  g_dir = dir;
  g_previewDir = previewDir;
}

void savePicture(const char* name, const Canvas& upright, Layout layout, Cutout cutout) {
  const std::vector<uint16_t> words = storedWords(upright, layout, cutout);
  std::vector<unsigned char> bytes;
  bytes.reserve(words.size() * 2);
  for (uint16_t v : words) {
    bytes.push_back(static_cast<unsigned char>(v >> 8));
    bytes.push_back(static_cast<unsigned char>(v & 0xFF));
  }
  const std::string path = g_dir + "/" + name + ".16B";
  if (!writeBytes(path, bytes)) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    g_failed = true;
    return;
  }
  if (!g_previewDir.empty()) writePreview(name, upright, words, layout);
}

bool anyWriteFailed() { return g_failed; }
