#include "game/hud.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "framework/font.h"
#include "framework/surface.h"
#include "framework/translate.h"
#include "render/camera.h"
#include "world/gamestate.h"

namespace {

constexpr uint32_t kWhite = 0x7FFF;
constexpr uint32_t kRed = 0x7C00;
constexpr uint32_t kWinScoreColour = 0x4E20;  // red 19, green 17: a warm gold

constexpr int kHelpRows = 15;  // the view's height split into rows for the help lines
struct HelpLine {
  int slot;  // line k stands at k * view height / kHelpRows
  const char* text;
};

// The help overlay, top to bottom, translated where it is drawn; slots 2 and 6 stay empty. The keypad lines
// keep their leading blanks so that the digits stand where the keys lie.
constexpr HelpLine kHelpLines[] = {
    {0, N_("Num Lock ausschalten!")},
    {1, N_("Steuerung: NummernBlock:")},
    {3, "           8"},
    {4, "        4     6"},
    {5, "        1  2  3"},
    {7, N_("Taste '1' : Hilfe")},
    {8, N_("Taste '2' : UebersichtsKarte")},
    {9, N_("Taste '3' : BodenPunkte")},
    {10, N_("Taste '4' : Texturen")},
    {11, N_("Taste '5' : 3D Objekte")},
    {12, N_("Taste '6' : Himmel und Boden")},
    {13, N_("Taste '0' : Stereo Ansicht")},
};
static_assert(kHelpLines[std::size(kHelpLines) - 1].slot < kHelpRows, "the last line stands inside the view");

// The ending's texts, kept together so that they can be translated as one.
constexpr const char* kTextAgain = N_("Enter: nochmal");
constexpr const char* kTextNextMaze = N_("Enter: naechstes Labyrinth");
constexpr const char* kTextCaught = N_("Du bist gefangen worden!");
constexpr const char* kTextTime = N_("Zeit %d,%d s");
constexpr const char* kTextCrystals = N_("Kristalle %d/%d");
constexpr const char* kTextScore = N_("Punkte %d");
constexpr const char* kTextBestTime = N_("Bestzeit %d,%d s");
constexpr const char* kTextNoBestTime = N_("Bestzeit -");
constexpr const char* kTextBestScore = N_("Bester Stand %d");
constexpr const char* kTextNewBest = N_("  neu!");

// The results' lines stand a twelfth of the height apart, from one twelfth down.
constexpr int kResultRows = 12;
constexpr int kResultLines = 5;

constexpr int kHudRowBelowView = 10;
constexpr int kMaxProgressMarks = 32;

const Surface* surface() { return currentSurface(); }

// A black panel under text from (x, y), `width` wide and `height` of lines
// tall, so it reads over the maze's bricks and the help as over the meadow.
// Its margin is a quarter of a line all round.
void darkenBehind(int x, int y, int width, int height) {
  const int margin = getMaxY(surface()) / kResultRows / 4;
  setColor(0);
  for (int row = y - margin; row < y + height - margin; ++row)
    drawLine(x - margin, row, x + width + margin, row);
}

}  // namespace

void formatHundredths(float value, char* out) {
  const double v = value;
  if (!std::isfinite(v) || v >= 2147483648.0 || v <= -2147483649.0) {
    std::snprintf(out, kHundredthsChars, "---");
    return;
  }
  const int whole = static_cast<int>(v);
  const int hundredths = static_cast<int>((v - whole) * 100.0);
  std::snprintf(out, kHundredthsChars, "%d.%d", whole, hundredths);
}

namespace {

// The help shows on every frame by default, and drawing its strokes cost
// about as much as the rest of the overlays together. Its pixels are found
// once by drawing it on a blank copy of the surface, then only stored again;
// anything that could move a pixel (the surface, its clip and origin, the
// font and its attributes, the view's height, the texts) draws it afresh.
struct HelpKey {
  const Surface* surface;
  int width, height, bytesPerLine, originX, originY;
  Rect clip;
  TextAttributes text;
  unsigned font;
  int viewHeight;
  const char* lines[std::size(kHelpLines)];
  bool operator==(const HelpKey&) const = default;
};

struct HelpPixels {
  HelpKey key;
  bool valid;
  std::vector<uint32_t> offsets;  // bytes from the surface's first pixel
  std::vector<uint8_t> scratch;   // the blank copy's pixels while drawing
};
HelpPixels help;

HelpKey helpKey(const Surface* s) {
  HelpKey k{};
  k.surface = s;
  k.width = s->width;
  k.height = s->height;
  k.bytesPerLine = s->bytesPerLine;
  k.originX = s->originX;
  k.originY = s->originY;
  k.clip = s->activeClip;
  k.text = s->text;
  k.font = fontSerial(s->text.font);
  k.viewHeight = viewRect.height;
  for (size_t i = 0; i < std::size(kHelpLines); ++i) k.lines[i] = _(kHelpLines[i].text);
  return k;
}

void drawHelpLines(const HelpKey& k) {
  for (size_t i = 0; i < std::size(kHelpLines); ++i)
    drawText(0, kHelpLines[i].slot * k.viewHeight / kHelpRows, k.lines[i]);
}

void findHelpPixels(Surface* s, const HelpKey& key) {
  help.scratch.assign(static_cast<size_t>(s->bytesPerLine) * s->height, 0);
  Surface blank = *s;
  blank.pixels = help.scratch.data();
  blank.colour = kWhite;  // any colour but 0 marks a pixel
  makeCurrentSurface(&blank);
  drawHelpLines(key);
  makeCurrentSurface(s);
  help.offsets.clear();
  for (int y = 0; y < s->height; ++y) {
    const uint16_t* row = pixelRow(&blank, y);
    int x = 0;
    for (; x + 4 <= s->width; x += 4) {  // most of the copy stays blank: four pixels a test
      uint64_t four;
      std::memcpy(&four, row + x, sizeof four);
      if (four == 0) continue;
      for (int i = x; i < x + 4; ++i)
        if (row[i]) help.offsets.push_back(static_cast<uint32_t>(y * s->bytesPerLine + 2 * i));
    }
    for (; x < s->width; ++x)
      if (row[x]) help.offsets.push_back(static_cast<uint32_t>(y * s->bytesPerLine + 2 * x));
  }
  help.scratch = {};
  help.key = key;
  help.valid = true;
}

}  // namespace

void drawHelpOverlay() {
  setColor(kWhite);
  Surface* s = currentSurface();
  if (!s) return;
  const HelpKey key = helpKey(s);
  if (!help.valid || !(key == help.key)) findHelpPixels(s, key);
  const uint32_t* offset = help.offsets.data();
  const uint32_t* end = offset + help.offsets.size();
  uint8_t* pixels = s->pixels;
  const uint16_t white = static_cast<uint16_t>(s->colour);  // kept in one register
  for (; end - offset >= 8; offset += 8)  // eight a turn: the loop's own work is a third of the stores
    for (int i = 0; i < 8; ++i) *reinterpret_cast<uint16_t*>(pixels + offset[i]) = white;
  for (; offset < end; ++offset) *reinterpret_cast<uint16_t*>(pixels + *offset) = white;
}

void drawFrameRate(int elapsedMicros, int picturesPerSecond) {
  char text[kHundredthsChars + 48];
  if (elapsedMicros <= 0) {
    // No measurable time: a rate would be infinite, so show none.
    std::snprintf(text, sizeof text, "--- fps");
  } else {
    formatHundredths(static_cast<float>(1000000.0 / elapsedMicros), text);
    std::strcat(text, " fps");
  }
  if (picturesPerSecond > 0) {
    const size_t used = std::strlen(text);
    std::snprintf(text + used, sizeof text - used, _("  %d Bilder/s"), picturesPerSecond);
  }
  setColor(kWhite);
  drawText(0, 0, text);
}

void drawHudLine() {
  char gained[24], bonus[32];
  std::snprintf(gained, sizeof gained, "%d +", static_cast<int>(score));
  std::snprintf(bonus, sizeof bonus, _("%d Punkte"), static_cast<int>(timeBonus));
  const int maxX = getMaxX(surface());
  const int y = viewRect.bottom + kHudRowBelowView;
  // Texts scaled with a tall view (from 1152x864 on) would run past the
  // bottom: the line shrinks until its figures fit the rows under the view.
  const TextAttributes size = surface() ? surface()->text : TextAttributes{};
  const int room = getMaxY(surface()) - y - 1, ascent = textAscent();  // a row to spare below
  if (ascent > room && room > 0)
    setTextSize(size.numerX * room / ascent, size.denomX, size.numerY * room / ascent, size.denomY);
  setColor(kWhite);
  drawText(maxX / 2, y, gained);
  drawText(2 * (maxX / 3), y, bonus);
  if (ascent > room && room > 0) setTextSize(size.numerX, size.denomX, size.numerY, size.denomY);
}

void drawCaptureMessage() {
  setColor(kRed);
  drawText(getMaxX(surface()) / 5, getMaxY(surface()) / 2, _(kTextCaught));
}

void drawWinMessage() {
  setColor(kWhite);
  drawText(getMaxX(surface()) / 5, 3 * getMaxY(surface()) / 4 - 20, _("Ausgang erreicht!"));
}

void drawWinScore() {
  char text[32];
  std::snprintf(text, sizeof text, _("%dPunkte!!!"), static_cast<int>(score));
  setColor(kWinScoreColour);
  drawText(getMaxX(surface()) / 5, 3 * getMaxY(surface()) / 4 + 20, text);
}

void drawResults(const RunResults& r) {
  constexpr int kTextChars = 48;
  char lines[kResultLines][kTextChars];
  const bool gold[kResultLines] = {false, false, false, r.newTime, r.newScore};
  std::snprintf(lines[0], kTextChars, _(kTextTime), r.timeMillis / 1000, r.timeMillis % 1000 / 100);
  std::snprintf(lines[1], kTextChars, _(kTextCrystals), r.crystals, r.crystalsAll);
  std::snprintf(lines[2], kTextChars, _(kTextScore), r.score);
  if (r.bestTimeMillis < 0) {
    std::snprintf(lines[3], kTextChars, "%s", _(kTextNoBestTime));
  } else {
    std::snprintf(lines[3], kTextChars, _(kTextBestTime), r.bestTimeMillis / 1000,
                  r.bestTimeMillis % 1000 / 100);
  }
  std::snprintf(lines[4], kTextChars, _(kTextBestScore), r.bestScore);
  for (int i = 3; i < kResultLines; ++i)
    if (gold[i]) std::strncat(lines[i], _(kTextNewBest), kTextChars - std::strlen(lines[i]) - 1);

  const int maxX = getMaxX(surface()), maxY = getMaxY(surface());
  const int x = maxX / 5, step = maxY / kResultRows;
  int width = 0;
  for (const char* line : lines) width = std::max(width, textWidth(line));
  darkenBehind(x, step, width, kResultLines * step);
  for (int i = 0; i < kResultLines; ++i) {
    setColor(gold[i] ? kWinScoreColour : kWhite);
    drawText(x, (i + 1) * step, lines[i]);
  }
}

void drawAgainHint(bool won, bool nextMaze) {
  const char* hint = _(nextMaze ? kTextNextMaze : kTextAgain);
  const int maxY = getMaxY(surface()), step = maxY / kResultRows;
  const int x = getMaxX(surface()) / 5;
  const int y = won ? 3 * maxY / 4 + 20 + step : maxY / 2 + step;
  if (won) {
    darkenBehind(x, y, textWidth(hint), step);
  } else {
    // Over the maze the red message gets the panel too, and is drawn again on it.
    darkenBehind(x, maxY / 2, std::max(textWidth(_(kTextCaught)), textWidth(hint)), 2 * step);
    drawCaptureMessage();
  }
  setColor(kWhite);
  drawText(x, y, hint);
}

void drawProgressMark(int n) {
  if (n < 0) n = 0;
  if (n > kMaxProgressMarks) n = kMaxProgressMarks;
  char text[8 + kMaxProgressMarks + 1];
  std::memset(text, ' ', 8);
  std::memset(text + 8, '+', static_cast<size_t>(n));
  text[8 + n] = 0;
  setColor(kWhite);
  drawText(0, getMaxY(surface()) - 20, text);
}
