// Stroke font: where the file is found, what is refused, and the exact pixels
// that drawText produces from small fonts built here.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/font.h"
#include "framework/surface.h"
#include "support/testdata.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

// Stroke words: bit 0 set, x in bits 1-7, bit 8 for a move, y in bits 9-15.
uint16_t move(int x, int y) {
  return static_cast<uint16_t>(1 | ((x & 0x7F) << 1) | 0x100 | ((y & 0x7F) << 9));
}
uint16_t line(int x, int y) { return static_cast<uint16_t>(1 | ((x & 0x7F) << 1) | ((y & 0x7F) << 9)); }

struct Glyph {
  int code;
  int width;
  std::vector<uint16_t> words;  // the end word is added
};

void put16(std::string& s, size_t at, int v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// A stroke-font file image; codes not listed have no glyph.
std::string fontFile(const std::vector<Glyph>& glyphs, int ascent, int descent,
                     const std::string& name = "test") {
  std::string f(1040, '\0');
  std::memcpy(&f[0], "Torvianex Font File:", 21);
  std::memcpy(&f[21], name.data(), std::min<size_t>(name.size(), 235));
  put16(f, 256, 1);
  put16(f, 258, 40);
  put16(f, 264, ascent - descent);
  put16(f, 266, ascent);
  put16(f, 268, descent);
  for (int c = 0; c < 256; ++c) put16(f, 528 + 2 * c, -1);
  std::string data;
  for (const Glyph& g : glyphs) {
    f[272 + g.code] = static_cast<char>(g.width);
    put16(f, 528 + 2 * g.code, static_cast<int>(data.size()));
    for (uint16_t w : g.words) {
      data.push_back(static_cast<char>(w & 0xFF));
      data.push_back(static_cast<char>(w >> 8));
    }
    data.append(2, '\0');
  }
  return f + data;
}

FontRecord* fromBytes(const std::string& bytes) {
  return loadFontFromMemory(bytes.data(), static_cast<long>(bytes.size()));
}

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = createSurface(64, 48);
    makeCurrentSurface(surface);
    setColor(0x7FFF);
    getError();
  }
  void TearDown() override {
    for (FontRecord* f : fonts) freeFont(f);
    destroySurface(surface);
    unsetenv("TESK_ROOT");
  }
  // Loads from memory and makes it current; fails the test when refused.
  void use(const std::string& bytes) {
    FontRecord* f = fromBytes(bytes);
    ASSERT_NE(f, nullptr) << getError();
    fonts.push_back(f);
    ASSERT_EQ(setFont(f), 1);
  }
  Pixels lit() const {
    Pixels p;
    for (int y = 0; y < surface->height; ++y)
      for (int x = 0; x < surface->width; ++x)
        if (pixelRow(surface, y)[x]) p.insert({x, y});
    return p;
  }
  Surface* surface = nullptr;
  std::vector<FontRecord*> fonts;
};

// One dot at the glyph origin, advancing by `width`.
Glyph dot(int code, int width) { return {code, width, {move(0, 0), line(0, 0)}}; }

TEST_F(FontTest, HeadersThatAreNotStrokeFontsAreRefused) {
  // The magic followed by a blank is compared as a whole string: not a stroke font.
  std::string blank = fontFile({dot('A', 5)}, 0, 0);
  blank[20] = ' ';
  EXPECT_EQ(fromBytes(blank), nullptr);
  const int code = getError();
  EXPECT_TRUE(code == kErrFontCorrupt || code == kErrFontVersion) << code;

  std::string tiny = "not a font";
  EXPECT_EQ(fromBytes(tiny), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);

  // A bitmap header of the wrong version, then one of the right version,
  // which we recognise but cannot draw.
  std::string bitmap(200, '\0');
  put16(bitmap, 0, 0x300);
  EXPECT_EQ(fromBytes(bitmap), nullptr);
  EXPECT_EQ(getError(), kErrFontVersion);
  put16(bitmap, 0, 0x200);
  EXPECT_EQ(fromBytes(bitmap), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);
  put16(bitmap, 66, 1);  // not a raster font
  EXPECT_EQ(fromBytes(bitmap), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);
}

TEST_F(FontTest, BrokenStrokeFilesNeverReachOutsideTheirData) {
  const std::string good = fontFile({dot('A', 5)}, 0, 0);

  // The magic alone, a bare header, and everything short of the tables.
  for (size_t len : {size_t{21}, size_t{256}, size_t{600}, size_t{1039}}) {
    EXPECT_EQ(fromBytes(good.substr(0, len)), nullptr) << len;
    EXPECT_EQ(getError(), kErrFontCorrupt) << len;
  }

  std::string outside = good;
  put16(outside, 528 + 2 * 'B', 4000);
  EXPECT_EQ(fromBytes(outside), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);

  std::string negative = good;
  put16(negative, 528 + 2 * 'B', -2);
  EXPECT_EQ(fromBytes(negative), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);

  // The glyph's end word cut off: the last command runs into the end of the file.
  std::string unended = good.substr(0, good.size() - 2);
  EXPECT_EQ(fromBytes(unended), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);

  // An offset pointing at the last single byte of the data.
  std::string halfWord = good + std::string(1, '\0');
  put16(halfWord, 528 + 2 * 'C', static_cast<int>(halfWord.size() - 1040 - 1));
  EXPECT_EQ(fromBytes(halfWord), nullptr);
  EXPECT_EQ(getError(), kErrFontCorrupt);

  // A name without its 0 anywhere in the header is cut to 57 characters and
  // the font is still good.
  use(fontFile({dot('A', 5)}, 0, 0, std::string(235, 'n')));
  drawText(3, 4, "A");
  EXPECT_EQ(lit(), (Pixels{{3, 4}}));

  // Tables only, no glyph at all: loads, and draws nothing.
  std::string empty(1040, '\0');
  std::memcpy(&empty[0], "Torvianex Font File:", 21);
  put16(empty, 256, 1);
  for (int c = 0; c < 256; ++c) put16(empty, 528 + 2 * c, -1);
  use(empty);
  drawText(3, 4, "AB");
  EXPECT_TRUE(lit().count({3, 4}));  // the earlier dot, nothing new
  EXPECT_EQ(lit().size(), 1u);
}

TEST_F(FontTest, SearchOrderWorkingDirectoryFontsThenRoot) {
  const std::string dir = scratchDir("font_search");
  const std::string root = scratchDir("font_search_root");
  std::filesystem::create_directories(dir + "/FONTS");
  std::filesystem::create_directories(root + "/FONTS");
  writeFile(dir + "/romans.fnt", fontFile({dot('A', 5)}, 0, 0));
  writeFile(dir + "/FONTS/romans.fnt", fontFile({dot('A', 7)}, 0, 0));
  writeFile(dir + "/FONTS/inner.fnt", fontFile({dot('A', 9)}, 0, 0));
  writeFile(root + "/FONTS/rooted.fnt", fontFile({dot('A', 11)}, 0, 0));
  std::filesystem::create_directories(dir + "/folder.fnt");
  writeFile(dir + "/FONTS/folder.fnt", fontFile({dot('A', 13)}, 0, 0));

  inDirectory(dir, [&] {
    auto widthOf = [&](const char* name) {
      FontRecord* f = loadFont(name);
      if (!f) return getError();
      fonts.push_back(f);
      setFont(f);
      return textWidth("A");
    };
    EXPECT_EQ(widthOf("romans.fnt"), 5);        // the working directory wins over FONTS/
    EXPECT_EQ(widthOf("inner.fnt"), 9);         // then FONTS/
    EXPECT_EQ(widthOf("FONTS\\inner.fnt"), 9);  // backslashes are folder separators
    EXPECT_EQ(widthOf("folder.fnt"), 13);       // a folder of that name is no font file
    EXPECT_EQ(widthOf("rooted.fnt"), -14);      // not found without TESK_ROOT
    EXPECT_EQ(getError(), kErrNone);            // and the code was reset by reading it
    setenv("TESK_ROOT", root.c_str(), 1);       // no trailing separator: one is added
    EXPECT_EQ(widthOf("rooted.fnt"), 11);
    setenv("TESK_ROOT", (root + "\\").c_str(), 1);
    EXPECT_EQ(widthOf("rooted.fnt"), 11);
    EXPECT_EQ(widthOf("missing.fnt"), -14);
  });
}

TEST_F(FontTest, SetFontChecksTheTypeAndResetsTheError) {
  use(fontFile({dot('A', 5)}, 0, 0));
  std::string bad = fontFile({dot('A', 9)}, 0, 0);
  put16(bad, 256, 7);
  FontRecord* f = fromBytes(bad);
  ASSERT_NE(f, nullptr);  // the type is setFont's business
  fonts.push_back(f);
  EXPECT_EQ(setFont(f), 0);
  EXPECT_EQ(getError(), kErrInvalidFont);
  EXPECT_EQ(textWidth("A"), 5);  // the current font stayed

  setError(kErrGeneral);
  EXPECT_EQ(setFont(nullptr), 1);
  EXPECT_EQ(getError(), kErrNone);
  EXPECT_EQ(textWidth("A"), 5);

  setTextDirection(1);
  EXPECT_EQ(setFont(fonts[0]), 1);
  EXPECT_EQ(surface->text.direction, 2);  // setFont turns text back to left to right
}

TEST_F(FontTest, NothingIsDrawnOrReportedWithoutAFont) {
  drawText(10, 10, "ABC");
  EXPECT_TRUE(lit().empty());
  EXPECT_EQ(getError(), kErrNone);
  EXPECT_EQ(textWidth("ABC"), 0);
}

TEST_F(FontTest, GlyphStrokesLandOnExactPixels) {
  // An L: down the left side, then along the baseline; ascent 10 puts the
  // baseline 10 rows under y with the default top justification.
  use(fontFile({{'L', 6, {move(0, 4), line(0, 0), line(3, 0)}}}, 10, -3));
  drawText(5, 20, "L");
  EXPECT_EQ(lit(), (Pixels{{5, 26}, {5, 27}, {5, 28}, {5, 29}, {5, 30}, {6, 30}, {7, 30}, {8, 30}}));
}

TEST_F(FontTest, PointsAreAbsoluteAndStartAtTheOrigin) {
  // A draw command first draws from (0, 0); x bits of 0x7F read -1.
  use(fontFile({{'A', 4, {line(2, 0)}}, {'B', 4, {move(0x7F, 0), line(0x7F, 0)}}}, 0, 0));
  setTextJustify(0, 3);
  drawText(10, 10, "A");
  drawText(20, 10, "B");
  EXPECT_EQ(lit(), (Pixels{{10, 10}, {11, 10}, {12, 10}, {19, 10}}));
}

TEST_F(FontTest, ScaleTruncatesTowardZero) {
  // Points (0, 3) and (3, -3) at 1/2 become (0, 1) and (1, -1), not (1, -2).
  use(fontFile({{'A', 10, {move(0, 3), line(0, 3)}}, {'B', 10, {move(3, -3), line(3, -3)}}}, 0, 0));
  setTextJustify(0, 3);
  setTextSize(1, 2, 1, 2);
  drawText(10, 10, "A");
  drawText(20, 10, "B");
  EXPECT_EQ(lit(), (Pixels{{10, 9}, {21, 11}}));

  // 800/640: a width of 10 advances 12 (12.5 truncated), plus the spacing.
  setTextSize(800, 640, 1, 1);
  EXPECT_EQ(textWidth("AA"), 24);
  setCharSpacing(2);
  EXPECT_EQ(textWidth("AA"), 28);
  setCharSpacing(0);

  // A zero denominator is ignored rather than divided by.
  setTextSize(1, 0, 1, 0);
  EXPECT_EQ(textWidth("AA"), 24);
}

TEST_F(FontTest, CodesWithoutAGlyphUseCodeZero) {
  use(fontFile({{0, 7, {move(0, 0), line(0, 2)}}, dot('A', 3)}, 0, 0));
  setTextJustify(0, 3);
  drawText(10, 20,
           "A\xE4"
           "A");  // 0xE4 has no glyph: code 0's bar and width 7
  EXPECT_EQ(lit(), (Pixels{{10, 20}, {13, 18}, {13, 19}, {13, 20}, {20, 20}}));
  EXPECT_EQ(textWidth("\xE4"), 7);
}

TEST_F(FontTest, JustificationMovesTheBaselineAndTheStart) {
  use(fontFile({dot('A', 4)}, 9, -4));
  const struct {
    int horiz, vert;
    int x, y;  // where the dot of "AA"'s first A lands for drawText(30, 20)
  } cases[] = {
      {0, 0, 30, 29},  // top: baseline at y + ascent
      {0, 1, 30, 23},  // centre: y + (9 - 4 + 1) / 2
      {0, 2, 30, 16},  // bottom: y + descent
      {0, 3, 30, 20},  // baseline
      {1, 3, 26, 20},  // centre: back by half the width of 8
      {2, 3, 22, 20},  // right: back by the whole width
  };
  for (const auto& c : cases) {
    clearSurface();
    setTextJustify(c.horiz, c.vert);
    drawText(30, 20, "AA");
    EXPECT_EQ(lit(), (Pixels{{c.x, c.y}, {c.x + 4, c.y}})) << c.horiz << "," << c.vert;
  }

  // The ascent and descent are scaled before they move the baseline.
  clearSurface();
  setTextJustify(0, 0);
  setTextSize(1, 1, 1, 2);
  drawText(30, 20, "A");
  EXPECT_EQ(lit(), (Pixels{{30, 24}}));
}

TEST_F(FontTest, OtherDirectionsTurnOrMirrorTheGlyphs) {
  // A bar along the run of the text, 3 long, advancing 5.
  use(fontFile({{'A', 5, {line(3, 0)}}}, 0, 0));
  setTextJustify(0, 3);
  setTextDirection(1);  // upward
  drawText(30, 40, "AA");
  EXPECT_EQ(lit(), (Pixels{{30, 40}, {30, 39}, {30, 38}, {30, 37}, {30, 35}, {30, 34}, {30, 33}, {30, 32}}));
  clearSurface();
  setTextDirection(3);  // downward
  drawText(30, 10, "A");
  EXPECT_EQ(lit(), (Pixels{{30, 10}, {30, 11}, {30, 12}, {30, 13}}));
  clearSurface();
  setTextDirection(0);  // right to left
  drawText(30, 10, "AA");
  EXPECT_EQ(lit(), (Pixels{{30, 10}, {29, 10}, {28, 10}, {27, 10}, {25, 10}, {24, 10}, {23, 10}, {22, 10}}));
}

TEST_F(FontTest, ExtremePositionsAndScalesStayInsideTheSurface) {
  use(fontFile({{'A', 255, {move(-64, -64), line(63, 63), line(-64, 63)}}}, 63, -64));
  const int positions[][2] = {
      {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {-1000, 20}, {60, 44}, {INT_MAX - 3, 0}};
  for (const auto& p : positions) drawText(p[0], p[1], "AAAA");
  setTextSize(INT_MAX, 1, INT_MAX, 1);
  for (const auto& p : positions) drawText(p[0], p[1], "AAAA");
  setTextSize(INT_MIN, 1, -1, 3);
  for (const auto& p : positions) drawText(p[0], p[1], "AAAA");
  for (int d = 0; d < 4; ++d) {
    setTextDirection(d);
    setTextJustify(d % 3, d);
    drawText(32, 24, "AAAA");
  }
  SUCCEED();  // the sanitizer build checks that no write left the surface
}

}  // namespace
