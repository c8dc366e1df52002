// On-screen texts: where each one stands, its colour, and what it says. A
// test font turns each character into one dot whose row tells its code, so
// the drawn text can be read back from the surface.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "framework/font.h"
#include "framework/surface.h"
#include "game/hud.h"
#include "render/camera.h"
#include "world/gamestate.h"

namespace {

void put16(std::string& s, size_t at, int v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// Every printable code: width 1 and one dot. reading = true puts code c's dot
// (c - 32) rows under the text's y (ascent 31, dot at 63 - c); otherwise the
// dot sits on the text's y (ascent 0) and blanks draw none.
std::string dotFont(bool reading) {
  std::string f(1040, '\0');
  std::memcpy(&f[0], "Torvianex Font File:", 21);
  put16(f, 256, 1);
  put16(f, 266, reading ? 31 : 0);
  for (int c = 0; c < 256; ++c) put16(f, 528 + 2 * c, -1);
  std::string data;
  for (int c = 32; c < 127; ++c) {
    f[272 + c] = 1;
    put16(f, 528 + 2 * c, static_cast<int>(data.size()));
    if (reading || c != ' ') {
      const int y = reading ? 63 - c : 0;
      const uint16_t dot = static_cast<uint16_t>(1 | ((y & 0x7F) << 9));
      for (uint16_t w : {static_cast<uint16_t>(dot | 0x100), dot}) {
        data.push_back(static_cast<char>(w & 0xFF));
        data.push_back(static_cast<char>(w >> 8));
      }
    }
    data.append(2, '\0');
  }
  return f + data;
}

class HudTest : public ::testing::Test {
 protected:
  void TearDown() override {
    freeFont(font);
    destroySurface(surface);
    resetGameState();
    viewRect = {0, 0, 639, 429, 640, 430};
  }
  // A surface of the given size with the game's view rectangle and text scale 1;
  // `below` extra rows leave room to read text near the bottom.
  void screen(int width, int height, bool reading, int below = 0) {
    freeFont(font);
    destroySurface(surface);
    surface = createSurface(width, height + below);
    ASSERT_NE(surface, nullptr);
    makeCurrentSurface(surface);
    viewRect = {0, 0, width - 1, height - 51, width, height - 50};
    const std::string bytes = dotFont(reading);
    font = loadFontFromMemory(bytes.data(), static_cast<long>(bytes.size()));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(setFont(font), 1);
  }
  uint16_t at(int x, int y) const { return pixelRow(surface, y)[x]; }
  std::set<int> litRows() const {
    std::set<int> rows;
    for (int y = 0; y < surface->height; ++y)
      for (int x = 0; x < surface->width; ++x)
        if (at(x, y)) rows.insert(y);
    return rows;
  }
  // Reads the text drawn at (x, y) with the reading font, column by column.
  std::string textAt(int x, int y, uint16_t colour = 0x7FFF) const {
    std::string s;
    for (; x < surface->width; ++x) {
      int found = 0;
      for (int r = 0; r <= 94 && y + r < surface->height; ++r)
        if (at(x, y + r) == colour) found = 32 + r;
      if (!found) break;
      s.push_back(static_cast<char>(found));
    }
    return s;
  }
  Surface* surface = nullptr;
  FontRecord* font = nullptr;
};

TEST(FormatHundredths, WholeAndTruncatedHundredthsWithoutLeadingZero) {
  char out[kHundredthsChars];
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {25.25f, "25.25"},
      {25.0625f, "25.6"},
      {0.0f, "0.0"},
      {1000000.0f, "1000000.0"},
      {99.999f, "99.99"},
      {1e12f, "---"},
      {std::numeric_limits<float>::infinity(), "---"},
      {std::numeric_limits<float>::quiet_NaN(), "---"},
  };
  for (const auto& c : cases) {
    formatHundredths(c.value, out);
    EXPECT_STREQ(out, c.text) << c.value;
  }
}

TEST_F(HudTest, HelpLinesStandAtFifteenthsOfTheViewHeight) {
  screen(640, 480, false);
  drawHelpOverlay();
  EXPECT_EQ(litRows(), (std::set<int>{0, 28, 86, 114, 143, 200, 229, 258, 286, 315, 344, 372}));
  // The keypad lines keep their blanks: the 8 stands alone in column 11.
  for (int x = 0; x < 40; ++x) EXPECT_EQ(at(x, 86) != 0, x == 11) << x;

  // The stereo view leaves a 384-row view behind.
  clearSurface();
  viewRect = {0, 0, 639, 383, 640, 384};
  drawHelpOverlay();
  EXPECT_EQ(*litRows().rbegin(), 332);
  EXPECT_EQ(litRows().size(), 12u);
}

// The help's pixels are kept from frame to frame: a new font (perhaps where
// the old one was freed) or a clip rectangle must draw them afresh.
TEST_F(HudTest, HelpFollowsANewFontAndClip) {
  screen(640, 1600, false);  // lines more than a glyph's 94 rows apart, so each reads alone
  drawHelpOverlay();
  screen(640, 1600, true);
  drawHelpOverlay();
  EXPECT_EQ(textAt(0, 0), "Num Lock ausschalten!");
  clearSurface();
  surface->clip = {0, 0, 5, 480};
  setClipMode(1);
  drawHelpOverlay();
  EXPECT_EQ(textAt(0, 0), "Num L");
}

TEST_F(HudTest, HudLineUnderTheView) {
  screen(640, 480, true, 100);
  drawHudLine();
  EXPECT_EQ(textAt(319, 439), "0 +");
  EXPECT_EQ(textAt(426, 439), "1000 Punkte");

  screen(800, 600, true, 100);
  score = 300;
  timeBonus = 0;
  drawHudLine();
  EXPECT_EQ(textAt(399, 559), "300 +");
  EXPECT_EQ(textAt(532, 559), "0 Punkte");

  // After the stereo view the line follows the view's bottom.
  clearSurface();
  viewRect.bottom = 383;
  drawHudLine();
  EXPECT_EQ(textAt(399, 393), "300 +");
}

TEST_F(HudTest, FrameRateAtTheTopLeft) {
  screen(640, 480, true);
  drawFrameRate(40000);
  EXPECT_EQ(textAt(0, 0), "25.0 fps");
  clearSurface();
  drawFrameRate(39604);  // 25.2499... truncates, it is not rounded
  EXPECT_EQ(textAt(0, 0), "25.24 fps");
  clearSurface();
  drawFrameRate(0);
  EXPECT_EQ(textAt(0, 0), "--- fps");
}

TEST_F(HudTest, EndingMessagesInTheirColours) {
  screen(640, 480, true);
  drawCaptureMessage();
  EXPECT_EQ(textAt(127, 239, 0x7C00), "Du bist gefangen worden!");
  clearSurface();
  score = 1300;
  drawWinMessage();
  drawWinScore();
  EXPECT_EQ(textAt(127, 339), "Ausgang erreicht!");
  EXPECT_EQ(textAt(127, 379, 0x4E20), "1300Punkte!!!");
}

TEST_F(HudTest, ProgressMarkGrowsByOnePlusPerStage) {
  screen(640, 480, true);
  drawProgressMark(1);
  EXPECT_EQ(textAt(0, 459), "        +");
  drawProgressMark(7);
  EXPECT_EQ(textAt(0, 459), "        +++++++");
}

}  // namespace
