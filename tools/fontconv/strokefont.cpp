#include "tools/fontconv/strokefont.h"

#include <algorithm>
#include <cstring>

namespace {

// File layout: the 256-byte header area, metrics, the two 256-entry tables, glyphs.
constexpr size_t kHeaderSize = 256;
constexpr size_t kWidthTable = 272;
constexpr size_t kOffsetTable = 528;
constexpr size_t kGlyphData = 1040;
static_assert(kOffsetTable + 2 * 256 == kGlyphData, "the offset table ends where the glyphs begin");
constexpr char kMagic[] = "Torvianex Font File:";
constexpr size_t kMaxNameChars = 57;
// Printable ASCII, 32..126: every one of them must have a glyph.
constexpr int kRequiredGlyphs = 95;

// Code 0 stands in for every code without a glyph: an open box on the baseline,
// x-height tall, drawn in Hershey units so that it scales with the rest.
const HersheyGlyph kFallbackGlyph = {
    0, -9, 9, {{-5, -5, true}, {5, -5, false}, {5, 9, false}, {-5, 9, false}, {-5, -5, false}}, 0};

// Hershey units to font units, rounding halves away from zero.
int scaled(int v) {
  const long n = static_cast<long>(v) * kScaleNum;
  return static_cast<int>(n >= 0 ? (2 * n + kScaleDen) / (2 * kScaleDen)
                                 : -((-2 * n + kScaleDen) / (2 * kScaleDen)));
}

void put16(std::vector<uint8_t>& out, size_t at, int v) {
  const uint16_t u = static_cast<uint16_t>(v);
  out[at] = static_cast<uint8_t>(u & 0xFF);
  out[at + 1] = static_cast<uint8_t>(u >> 8);
}

struct Metrics {
  int maxWidth = 0, maxKern = 0, ascent = 0, descent = 0;
};

// Appends one glyph's stroke words and its end word; tracks the metrics.
bool packGlyph(const HersheyGlyph& g, std::vector<uint8_t>& data, int& advance, Metrics& m,
               std::string& error) {
  const std::string which = "glyph " + std::to_string(g.id) + " (line " + std::to_string(g.line) + ")";
  advance = scaled(g.right - g.left);
  if (advance < 0 || advance > 255) {
    error = which + ": advance " + std::to_string(advance) + " does not fit 0..255";
    return false;
  }
  m.maxWidth = std::max(m.maxWidth, advance);
  for (const HersheyPoint& p : g.points) {
    const int x = scaled(p.x - g.left);
    const int y = scaled(kHersheyBaseline - p.y);
    if (x < -64 || x > 63 || y < -64 || y > 63) {
      error = which + ": point (" + std::to_string(x) + ", " + std::to_string(y) +
              ") lies outside the stroke range -64..63";
      return false;
    }
    m.maxWidth = std::max(m.maxWidth, x);
    m.maxKern = std::min(m.maxKern, x);
    m.ascent = std::max(m.ascent, y);
    m.descent = std::min(m.descent, y);
    const unsigned word = 1u | (static_cast<unsigned>(x & 0x7F) << 1) | (p.move ? 0x100u : 0u) |
                          (static_cast<unsigned>(y & 0x7F) << 9);
    data.push_back(static_cast<uint8_t>(word & 0xFF));
    data.push_back(static_cast<uint8_t>(word >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return true;
}

}  // namespace

bool buildStrokeFont(const std::vector<HersheyGlyph>& glyphs, const std::string& name,
                     std::vector<uint8_t>& out, std::string& error) {
  if (glyphs.size() < static_cast<size_t>(kRequiredGlyphs)) {
    error = "found " + std::to_string(glyphs.size()) + " glyphs, need at least " +
            std::to_string(kRequiredGlyphs) + " for codes 32..126";
    return false;
  }
  if (glyphs.size() > static_cast<size_t>(256 - kFirstCode)) {
    error = "found " + std::to_string(glyphs.size()) + " glyphs, more than codes 32..255 can hold";
    return false;
  }

  int width[256] = {};
  int offset[256];
  std::fill(offset, offset + 256, -1);
  std::vector<uint8_t> data;
  Metrics m;

  offset[0] = 0;
  if (!packGlyph(kFallbackGlyph, data, width[0], m, error)) return false;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const int code = kFirstCode + static_cast<int>(i);
    if (data.size() > 0x7FFF) {
      error = "glyph data outgrows the 16-bit offsets at code " + std::to_string(code);
      return false;
    }
    offset[code] = static_cast<int>(data.size());
    if (!packGlyph(glyphs[i], data, width[code], m, error)) return false;
  }
  // Codes without a glyph are drawn with code 0's box, so they advance by its width.
  for (int c = 0; c < 256; ++c)
    if (offset[c] < 0) width[c] = width[0];

  out.assign(kGlyphData, 0);
  std::memcpy(out.data(), kMagic, sizeof kMagic);  // with its terminating 0
  const size_t nameLen = std::min(name.size(), kMaxNameChars);
  std::memcpy(out.data() + sizeof kMagic, name.data(), nameLen);
  put16(out, kHeaderSize + 0, 1);  // fontType: stroke
  put16(out, kHeaderSize + 2, m.maxWidth);
  put16(out, kHeaderSize + 4, m.maxKern);
  put16(out, kHeaderSize + 6, 0);  // fontWidth: bitmap fonts only
  put16(out, kHeaderSize + 8, m.ascent - m.descent);
  put16(out, kHeaderSize + 10, m.ascent);
  put16(out, kHeaderSize + 12, m.descent);
  put16(out, kHeaderSize + 14, 0);  // leading
  for (int c = 0; c < 256; ++c) {
    out[kWidthTable + c] = static_cast<uint8_t>(width[c]);
    put16(out, kOffsetTable + 2 * c, offset[c]);
  }
  out.insert(out.end(), data.begin(), data.end());
  return true;
}
