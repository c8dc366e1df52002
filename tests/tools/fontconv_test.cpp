// The font converter: the game's romans.fnt that the build makes from the
// Hershey source, and the converter's handling of small hand-made sources.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/font.h"
#include "framework/surface.h"
#include "support/testdata.h"

namespace {

const std::string kTool = QUILL_BUILD_DIR "/tools/quillmoor-fontconv";
const std::string kGameFont = QUILL_GAME_DIR "/FONTS/romans.fnt";

int s16(const std::string& f, size_t at) {
  return static_cast<int16_t>(
      static_cast<uint16_t>(static_cast<uint8_t>(f[at]) | static_cast<uint8_t>(f[at + 1]) << 8));
}

struct Point {
  int x, y;
  bool move;
};

// The stroke commands of a code's glyph; `ended` tells whether the end word
// came before the end of the file.
std::vector<Point> glyphOf(const std::string& f, int code, bool& ended) {
  std::vector<Point> pts;
  ended = false;
  const int off = s16(f, 528 + 2 * code);
  if (off < 0) return pts;
  for (size_t at = 1040 + static_cast<size_t>(off); at + 2 <= f.size(); at += 2) {
    const unsigned w = static_cast<uint8_t>(f[at]) | static_cast<uint8_t>(f[at + 1]) << 8;
    if ((w & 1) == 0) {
      ended = true;
      break;
    }
    int x = (w >> 1) & 0x7F, y = (w >> 9) & 0x7F;
    pts.push_back({x >= 64 ? x - 128 : x, y >= 64 ? y - 128 : y, (w & 0x100) != 0});
  }
  return pts;
}

// Runs the converter; returns its exit code and leaves its standard error in `err`.
int convert(const std::string& in, const std::string& out, std::string& err) {
  const std::string errFile = out + ".err";
  const int status = std::system((kTool + " '" + in + "' '" + out + "' 2> '" + errFile + "'").c_str());
  err = readFile(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One source record: id, pair count and the pairs.
std::string record(int id, const std::string& pairs) {
  char head[32];
  std::snprintf(head, sizeof head, "%5d%3d", id, static_cast<int>(pairs.size() / 2));
  return head + pairs + "\n";
}

// A source with `count` records, each a vertical bar from Hershey row -12 to 2.
std::string barSource(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += record(100 + i, "JZRFRT");
  return s;
}

TEST(GameFont, LoadsAndEveryPrintableCodeHasAGlyph) {
  FontRecord* font = loadFont(kGameFont.c_str());
  ASSERT_NE(font, nullptr) << errorMessage(getError());
  freeFont(font);

  const std::string f = readFile(kGameFont);
  ASSERT_GE(f.size(), 1040u);
  EXPECT_EQ(f.substr(0, 21), std::string("Torvianex Font File:", 21));
  EXPECT_EQ(s16(f, 256), 1);
  for (int code = 0; code < 256; ++code) {
    const bool needed = code == 0 || (code >= 32 && code <= 126);
    if (!needed && s16(f, 528 + 2 * code) == -1) continue;
    bool ended = false;
    glyphOf(f, code, ended);
    EXPECT_TRUE(ended) << "code " << code;
  }
}

TEST(GameFont, MetricsBoundEveryGlyph) {
  const std::string f = readFile(kGameFont);
  ASSERT_GE(f.size(), 1040u);
  const int maxWidth = s16(f, 258), maxKern = s16(f, 260), height = s16(f, 264);
  const int ascent = s16(f, 266), descent = s16(f, 268);
  EXPECT_LE(maxKern, 0);
  EXPECT_LE(descent, 0);
  EXPECT_EQ(height, ascent - descent);
  int top = -100, bottom = 100, left = 100, right = -100, widest = 0;
  for (int code = 0; code < 256; ++code) {
    bool ended = false;
    for (const Point& p : glyphOf(f, code, ended)) {
      top = std::max(top, p.y);
      bottom = std::min(bottom, p.y);
      left = std::min(left, p.x);
      right = std::max(right, p.x);
    }
    widest = std::max(widest, static_cast<int>(static_cast<uint8_t>(f[272 + code])));
  }
  EXPECT_EQ(top, ascent);
  EXPECT_EQ(bottom, descent);
  EXPECT_EQ(std::min(left, 0), maxKern);
  EXPECT_EQ(std::max(right, widest), maxWidth);
}

TEST(GameFont, CapitalsStandOnTheBaselineAtReadableSize) {
  const std::string f = readFile(kGameFont);
  ASSERT_GE(f.size(), 1040u);
  for (int code : {'E', 'H', 'T'}) {
    bool ended = false;
    int top = -100, bottom = 100;
    for (const Point& p : glyphOf(f, code, ended)) {
      top = std::max(top, p.y);
      bottom = std::min(bottom, p.y);
    }
    EXPECT_EQ(bottom, 0) << static_cast<char>(code);
    EXPECT_GE(top, 21) << static_cast<char>(code);
    EXPECT_LE(top, 23) << static_cast<char>(code);
    // At the 640 x 480 text scale (430 / 480) capitals stand 18 to 21 pixels tall.
    EXPECT_GE(top * 430 / 480, 18);
    EXPECT_LE(top * 430 / 480, 21);
  }
  // The 12 help lines are 28 pixels apart on 640 x 480: the cell fits.
  EXPECT_LE(s16(f, 264) * 430 / 480, 29);
}

TEST(Converter, IsDeterministic) {
  const std::string dir = scratchDir("fontconv_same");
  std::string err;
  ASSERT_EQ(convert("/usr/share/hershey-fonts/rowmans.jhf", dir + "/a.fnt", err), 0) << err;
  ASSERT_EQ(convert("/usr/share/hershey-fonts/rowmans.jhf", dir + "/b.fnt", err), 0) << err;
  EXPECT_EQ(readFile(dir + "/a.fnt"), readFile(dir + "/b.fnt"));
  EXPECT_EQ(readFile(dir + "/a.fnt"), readFile(kGameFont));
}

TEST(Converter, FlipsYOntoTheBaselineAndFollowsWrappedRecords) {
  const std::string dir = scratchDir("fontconv_small");
  // The '!' record of the Roman Simplex source, wrapped over three lines,
  // second in the file: the records stand for codes 32 upward.
  std::string bangRecord = record(714, "MWRFRT RRYQZR[SZRY");
  bangRecord.insert(11, "\n");  // inside a pair
  bangRecord.insert(25, "\n");
  const std::string src = barSource(1) + bangRecord + barSource(93);
  writeFile(dir + "/small.jhf", src);
  std::string err;
  ASSERT_EQ(convert(dir + "/small.jhf", dir + "/small.fnt", err), 0) << err;
  const std::string f = readFile(dir + "/small.fnt");

  EXPECT_EQ(f.substr(21, 6), std::string("small\0", 6));  // named after the source
  EXPECT_EQ(static_cast<uint8_t>(f[272 + '!']), 10);      // right - left = W - M
  bool ended = false;
  const std::vector<Point> bang = glyphOf(f, '!', ended);
  EXPECT_TRUE(ended);
  // x from the left bound M (-5); y = 9 - Hershey y, upward.
  const std::vector<Point> want = {{5, 21, true}, {5, 7, false}, {5, 2, true}, {4, 1, false},
                                   {5, 0, false}, {6, 1, false}, {5, 2, false}};
  ASSERT_EQ(bang.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(bang[i].x, want[i].x) << i;
    EXPECT_EQ(bang[i].y, want[i].y) << i;
    EXPECT_EQ(bang[i].move, want[i].move) << i;
  }
  // Codes past the source draw code 0's box and take its width.
  EXPECT_EQ(s16(f, 528 + 2 * 200), -1);
  EXPECT_EQ(f[272 + 200], f[272]);
  glyphOf(f, 0, ended);
  EXPECT_TRUE(ended);
}

TEST(Converter, RefusesBadSourcesWithAMessage) {
  const std::string dir = scratchDir("fontconv_bad");
  const struct {
    const char* what;
    std::string source;
  } cases[] = {
      {"too few glyphs", barSource(94)},
      {"record cut short", barSource(95) + "  300  5JZRFRT\n"},
      {"more data than the count", barSource(95) + "  300  2JZRFRT\n"},
      {"count not a number", barSource(95) + "  300 x3JZRFRT\n"},
      {"pen-up in place of the bounds", "  300  2 RRF\n" + barSource(95)},
      {"point beyond the stroke range", "  300  2!~~R\n" + barSource(95)},
      {"blank inside a coordinate", "  300  3JZR  F\n" + barSource(95)},
      {"short header", "  30\n" + barSource(95)},
  };
  for (const auto& c : cases) {
    writeFile(dir + "/bad.jhf", c.source);
    std::string err;
    EXPECT_EQ(convert(dir + "/bad.jhf", dir + "/bad.fnt", err), 1) << c.what;
    EXPECT_NE(err.find("quillmoor-fontconv: "), std::string::npos) << c.what << ": " << err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/bad.fnt")) << c.what;
  }
  std::string err;
  EXPECT_EQ(convert(dir + "/missing.jhf", dir + "/bad.fnt", err), 1);
  EXPECT_NE(err.find("cannot open"), std::string::npos) << err;
}

}  // namespace
