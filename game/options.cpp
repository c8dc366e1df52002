#include "game/options.h"

#include <cstdio>
#include <iterator>

#include "framework/font.h"
#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "framework/translate.h"
#include "game/controls.h"
#include "game/keynames.h"
#include "game/screenshot.h"
#include "game/settings.h"
#include "platform/gamepad.h"
#include "platform/scancodes.h"
#include "render/camera.h"
#include "world/gamestate.h"

namespace {

constexpr uint32_t kWhite = 0x7FFF, kYellow = 0x7FE0, kGrey = 0x4210;
constexpr int kMouseSpeedStep = 2, kVolumeStep = 10;
constexpr int kTextPercent = 70;

enum RowKind { kRowKey, kRowSwitch, kRowNumber };
struct Row {
  const char* label;
  RowKind kind;
  int action;            // kRowKey
  int Settings::*value;  // kRowSwitch, kRowNumber
  int lo, hi, step;
  const char* unit;
};
// The page, top to bottom; the labels are translated where they are drawn.
const Row kRows[] = {
    {N_("Vorwaerts"), kRowKey, kActForward, nullptr, 0, 0, 0, ""},
    {N_("Rueckwaerts"), kRowKey, kActBack, nullptr, 0, 0, 0, ""},
    {N_("Links drehen"), kRowKey, kActTurnLeft, nullptr, 0, 0, 0, ""},
    {N_("Rechts drehen"), kRowKey, kActTurnRight, nullptr, 0, 0, 0, ""},
    {N_("Links seitwaerts"), kRowKey, kActSideLeft, nullptr, 0, 0, 0, ""},
    {N_("Rechts seitwaerts"), kRowKey, kActSideRight, nullptr, 0, 0, 0, ""},
    {N_("Maus dreht"), kRowSwitch, 0, &Settings::mouseTurning, 0, 1, 1, ""},
    {N_("Maus-Tempo"), kRowNumber, 0, &Settings::mouseSpeed, 1, 100, kMouseSpeedStep, ""},
    {N_("Lautstaerke Effekte"), kRowNumber, 0, &Settings::effectsVolume, 0, 100, kVolumeStep, "%"},
    {N_("Lautstaerke Wind"), kRowNumber, 0, &Settings::windVolume, 0, 100, kVolumeStep, "%"},
    {N_("Hilfe beim Start"), kRowSwitch, 0, &Settings::helpAtStart, 0, 1, 1, ""},
    {N_("Richtungszeichen (7)"), kRowSwitch, 0, &Settings::soundCues, 0, 1, 1, ""},
    {N_("Formen"), kRowSwitch, 0, &Settings::shapes, 0, 1, 1, ""},
    {N_("Vollbild"), kRowSwitch, 0, nullptr, 0, 1, 1, ""},
    {N_("Modusdialog beim Start"), kRowSwitch, 0, &Settings::askForMode, 0, 1, 1, ""},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));
constexpr int kPageLines = kRowCount + 4;  // title, blank, the rows, blank, the hint

// Keys the game keeps for itself: they cannot steer.
constexpr int kReservedKeys[] = {kScanEsc, kOptionsScanCode, kScreenshotScanCode, kScanEnter, kScanTab};

// A key row's slots: the two keys, then the game controller's button.
constexpr int kPadSlot = kKeysPerAction;
constexpr int kSlots = kKeysPerAction + 1;

struct Page {
  int open;
  int row, slot;
  int capturing;
  int changed;
};
Page g_page;
OptionsHooks g_hooks{};

bool reserved(int scanCode) {
  for (int k : kReservedKeys)
    if (k == scanCode) return true;
  // The digits switch the views.
  return scanCode >= kScanDigit1 && scanCode < kScanDigit1 + 10;
}

void change(const Row& r, int direction) {
  if (r.kind == kRowKey) {
    g_page.slot = (g_page.slot + kSlots + direction) % kSlots;
    return;
  }
  if (!r.value) {  // full screen: the display changes, the setting follows on the next start
    if (g_hooks.toggleFullScreen) g_hooks.toggleFullScreen();
    return;
  }
  int& v = settings.*r.value;
  const int before = v;
  v = r.kind == kRowSwitch ? 1 - v : v + direction * r.step;
  if (v < r.lo) v = r.lo;
  if (v > r.hi) v = r.hi;
  if (v == before) return;
  g_page.changed = 1;
  showShapes = settings.shapes;  // the next picture already shows them, or not
  if ((r.value == &Settings::effectsVolume || r.value == &Settings::windVolume) && g_hooks.volumesChanged)
    g_hooks.volumesChanged();
}

// The next button of the game controller for the row's action (after the last, none).
void nextPadButton(int action) {
  int& b = settings.padButtons[action];
  b = b + 1 < kPadButtonCount ? b + 1 : -1;
  for (int a = 0; a < kActionCount; ++a)
    if (a != action && b >= 0 && settings.padButtons[a] == b) settings.padButtons[a] = -1;
  applyPadButtons();
  g_page.changed = 1;
}

void activate() {
  const Row& r = kRows[g_page.row];
  if (r.kind != kRowKey)
    change(r, 1);
  else if (g_page.slot == kPadSlot)
    nextPadButton(r.action);
  else
    g_page.capturing = 1;
}

int rowHeight() { return (getMaxY(currentSurface()) + 1) / (kPageLines + 1); }
int rowTop(int line) { return rowHeight() / 2 + line * rowHeight(); }

void valueText(const Row& r, char* out, int room) {
  if (r.kind == kRowKey) {
    int n = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
      const char* name = slot == kPadSlot ? padButtonName(settings.padButtons[r.action])
                                          : keyName(settings.keys[r.action][slot]);
      const bool here = g_page.row == static_cast<int>(&r - kRows) && g_page.slot == slot;
      const char* shown = here && g_page.capturing ? "?" : name ? name : "-";
      n += std::snprintf(out + n, static_cast<size_t>(room - n), here ? "[%s] " : " %s  ", shown);
      if (n >= room) return;
    }
  } else if (!r.value) {
    std::snprintf(out, static_cast<size_t>(room), "%s", isFullScreen() ? _("an") : _("aus"));
  } else if (r.kind == kRowSwitch) {
    std::snprintf(out, static_cast<size_t>(room), "%s", settings.*r.value ? _("an") : _("aus"));
  } else {
    std::snprintf(out, static_cast<size_t>(room), "%d%s", settings.*r.value, r.unit);
  }
}

// A quarter of every pixel's brightness, so the page stands out over the game.
void dimSurface() {
  const Surface* s = currentSurface();
  for (int y = 0; y <= getMaxY(s); ++y) {
    uint16_t* row = pixelRow(s, y);
    for (int x = 0; x <= getMaxX(s); ++x) row[x] = static_cast<uint16_t>((row[x] >> 2) & 0x1CE7);
  }
}

}  // namespace

int optionsOpen() { return g_page.open; }

void openOptions() {
  g_page = Page{};
  g_page.open = 1;
}

void closeOptions() {
  if (!g_page.open) return;
  if (g_page.changed) saveSettings();
  g_page = Page{};
}

bool bindKey(int action, int slot, int scanCode) {
  if (action < 0 || action >= kActionCount || slot < 0 || slot >= kKeysPerAction || !keyName(scanCode) ||
      reserved(scanCode))
    return false;
  for (auto& keys : settings.keys)
    for (int& k : keys)
      if (k == scanCode) k = 0;
  settings.keys[action][slot] = scanCode;
  g_page.changed = 1;
  return true;
}

void optionsKey(const Event& event) {
  if (g_page.capturing) {
    const int scan = event.message >> 8 & 0xFF;
    // Esc gives up; a key the game keeps is not taken, and the page waits on.
    if (scan == kScanEsc || bindKey(kRows[g_page.row].action, g_page.slot, scan)) g_page.capturing = 0;
    return;
  }
  const Row& r = kRows[g_page.row];
  // A game controller's d-pad and stick move on the page as the arrows do.
  static constexpr int kArrows[] = {kScanUp, kScanDown, kScanLeft, kScanRight};
  const int scan = event.message >> 8 & 0xFF;
  const int key = scan >= kScanPadMoves && scan < kScanPadMoves + 4 ? kArrows[scan - kScanPadMoves] : scan;
  switch (key) {
    case kScanEsc:
    case kOptionsScanCode: closeOptions(); break;
    case kScanUp: g_page.row = (g_page.row + kRowCount - 1) % kRowCount, g_page.slot = 0; break;
    case kScanDown: g_page.row = (g_page.row + 1) % kRowCount, g_page.slot = 0; break;
    case kScanLeft: change(r, -1); break;
    case kScanRight: change(r, 1); break;
    case kScanEnter:
    case kScanSpace:
    case kScanDigit1 + 1:  // a pad's A button
      activate();
      break;
    case kScanBackspace:
    case 0x53:  // Delete
      if (r.kind != kRowKey) break;
      if (g_page.slot == kPadSlot)
        settings.padButtons[r.action] = -1, applyPadButtons();
      else
        settings.keys[r.action][g_page.slot] = 0;
      g_page.changed = 1;
      break;
    default: break;
  }
}

void optionsClick(int x, int y) {
  (void)x;
  const int line = (surfaceRowAt(y) - rowHeight() / 2) / rowHeight() - 2;
  if (line < 0 || line >= kRowCount || g_page.capturing) return;
  g_page.row = line;
  activate();
}

void drawOptions() {
  dimSurface();
  const int maxX = getMaxX(currentSurface());
  const int valueX = maxX * 11 / 20;
  // Smaller than the game's texts, so the longest line fits on the narrowest screen.
  setTextSize(viewFocal * kTextPercent / 100, 640, viewRect.height * kTextPercent / 100, 480);
  setColor(kWhite);
  drawText(maxX / 20, rowTop(0), _("Einstellungen"));
  char value[64];
  for (int i = 0; i < kRowCount; ++i) {
    setColor(i == g_page.row ? kYellow : kWhite);
    drawText(maxX / 20, rowTop(i + 2), _(kRows[i].label));
    valueText(kRows[i], value, sizeof value);
    drawText(valueX, rowTop(i + 2), value);
  }
  setColor(kGrey);
  drawText(
      maxX / 20, rowTop(kRowCount + 3),
      g_page.capturing ? _("Taste druecken (Esc: abbrechen)") : _("Pfeile, Enter; Esc oder F2: zurueck"));
  setTextSize(viewFocal, 640, viewRect.height, 480);
}

void setOptionsHooks(const OptionsHooks& hooks) { g_hooks = hooks; }
int optionsRow() { return g_page.row; }
int optionsCapturing() { return g_page.capturing; }
void resetOptions() {
  g_page = Page{};
  g_hooks = OptionsHooks{};
}
