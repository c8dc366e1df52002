#include "game/hud.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

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

constexpr int kHudRowBelowView = 10;
constexpr int kMaxProgressMarks = 32;

const Surface* surface() { return currentSurface(); }

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

void drawHelpOverlay() {
  setColor(kWhite);
  for (const HelpLine& line : kHelpLines) drawText(0, line.slot * viewRect.height / kHelpRows, _(line.text));
}

void drawFrameRate(int elapsedMicros) {
  char text[kHundredthsChars + 8];
  if (elapsedMicros <= 0) {
    // No measurable time: a rate would be infinite, so show none.
    std::snprintf(text, sizeof text, "--- fps");
  } else {
    formatHundredths(static_cast<float>(1000000.0 / elapsedMicros), text);
    std::strcat(text, " fps");
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
  setColor(kWhite);
  drawText(maxX / 2, y, gained);
  drawText(2 * (maxX / 3), y, bonus);
}

void drawCaptureMessage() {
  setColor(kRed);
  drawText(getMaxX(surface()) / 5, getMaxY(surface()) / 2, _("Du bist gefangen worden!"));
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
