// The mode dialog's rules: its controls, filling the list, the commands, the
// layout and the keyboard and mouse.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "framework/dialog.h"
#include "framework/translate.h"
#include "platform/scancodes.h"

// Every control of the dialog in tab order: identifier, kind, text, and
// position and size in dialog units.
const DialogControl kDialogControls[kDialogControlCount] = {
    {kIdHeading, kCtlCentredText, "Win32 Game Framework Application", 18, 8, 186, 8},
    {kIdSubtitle, kCtlCentredText, "Quillmoor!!! - choose how to play", 9, 19, 204, 8},
    {0, kCtlText, "Video mode to use:", 10, 35, 178, 8},
    {kIdModeList, kCtlListBox, "", 9, 47, 203, 68},
    {0, kCtlGroupBox, "Color depth (bits per pixel)", 7, 117, 206, 26},
    {kIdDepth8, kCtlRadio, "8", 20, 127, 25, 12},
    {kIdDepth15, kCtlRadio, "15", 58, 127, 25, 12},
    {kIdDepth16, kCtlRadio, "16", 96, 127, 25, 12},
    {kIdDepth24, kCtlRadio, "24", 134, 127, 25, 12},
    {kIdDepth32, kCtlRadio, "32", 172, 126, 25, 12},
    {0, kCtlGroupBox, "Windowed options", 7, 144, 206, 25},
    {kIdStartWindowed, kCtlCheckBox, "Start windowed", 33, 153, 63, 12},
    {kIdStretch, kCtlCheckBox, "2x2 stretch", 138, 153, 51, 12},
    {0, kCtlGroupBox, " Device support options ", 7, 171, 140, 61},
    {kIdDirectDraw, kCtlCheckBox, "DirectDraw", 19, 180, 53, 12},
    {kIdTarvok, kCtlCheckBox, "Tarvok", 19, 192, 53, 12},
    {kIdVga, kCtlCheckBox, "VGA", 19, 204, 53, 12},
    {kIdModeX, kCtlCheckBox, "VGA ModeX", 19, 216, 53, 12},
    {kIdVbe, kCtlCheckBox, "VESA VBE 2.0", 77, 180, 59, 12},
    {kIdVbeAf, kCtlCheckBox, "VESA VBE/AF", 77, 192, 59, 12},
    {kIdFullscreenDib, kCtlCheckBox, "Fullscreen DIB", 77, 204, 59, 12},
    {0, kCtlGroupBox, "OpenGL Type", 154, 171, 59, 61},
    {kIdGlAuto, kCtlRadio, "Auto", 163, 180, 33, 12},
    {kIdGlMicrosoft, kCtlRadio, "Microsoft", 163, 191, 44, 12},
    {kIdGlSgi, kCtlRadio, "SGI", 163, 203, 44, 12},
    {kIdGlMesa, kCtlRadio, "Mesa", 163, 215, 33, 12},
    {kIdDontAsk, kCtlCheckBox, N_("Nicht mehr fragen"), 10, 235, 90, 12},
    {kIdRunDemo, kCtlDefaultButton, "Run Demo", 35, 251, 57, 14},
    {kIdQuit, kCtlButton, "Quit", 131, 251, 57, 14},
};

namespace {

// The driver boxes and the DriverOptions word each one stands for.
struct DriverBox {
  int id;
  int word;
};
const DriverBox kDriverBoxes[] = {
    {kIdTarvok, kOptTarvok},
    {kIdDirectDraw, kOptDirectDraw},
    {kIdVga, kOptVga},
    {kIdModeX, kOptVgaModeX},
    {kIdVbe, kOptVbe},
    {kIdVbeAf, kOptVbeAf},
    {kIdFullscreenDib, kOptFullscreenDib},
};
static_assert(std::size(kDriverBoxes) == kBackEndWordCount - 1,
              "a box for each back-end word but kOptLinear");

// The depth buttons: bits per pixel and the filter flag that allows them.
struct DepthButton {
  int id;
  int depth;
  int filter;
};
const DepthButton kDepthButtons[] = {
    {kIdDepth8, 8, kFilter8},    {kIdDepth15, 15, kFilter15_16}, {kIdDepth16, 16, kFilter15_16},
    {kIdDepth24, 24, kFilter24}, {kIdDepth32, 32, kFilter32},
};
static_assert(std::size(kDepthButtons) == std::size(kCandidateDepths),
              "a button for each depth the modes come in");

// The OpenGL buttons and the value of DriverOptions word 9 each one sets;
// the last one also stands for any value the others do not set.
struct GlButton {
  int id;
  int type;
};
const GlButton kGlButtons[] = {{kIdGlAuto, 0}, {kIdGlMicrosoft, 1}, {kIdGlSgi, 2}, {kIdGlMesa, 3}};

// The windowed stretch chosen at the last Run Demo (0 or 2).
int g_lastStretch = 0;
int g_dontAsk = 0;

int& checkedId(DialogState& d, int id) { return d.checked[dialogControlIndex(id)]; }
int& enabledId(DialogState& d, int id) { return d.enabled[dialogControlIndex(id)]; }
int checkedOf(const DialogState& d, int id) { return d.checked[dialogControlIndex(id)]; }

bool isRadioGroupMember(int index, int other) {
  // Radio buttons belong together while no other kind of control stands between them.
  if (kDialogControls[index].kind != kCtlRadio || kDialogControls[other].kind != kCtlRadio) return false;
  const int lo = index < other ? index : other, hi = index < other ? other : index;
  for (int i = lo; i <= hi; ++i) {
    if (kDialogControls[i].kind != kCtlRadio) return false;
  }
  return true;
}

// The radio button that stands for its group in the tab order: the checked
// one, or the first enabled one when none is checked.
bool isTabStop(const DialogState& d, int i) {
  const DialogControl& c = kDialogControls[i];
  if (!d.enabled[i]) return false;
  switch (c.kind) {
    case kCtlListBox:
    case kCtlCheckBox:
    case kCtlButton:
    case kCtlDefaultButton: return true;
    case kCtlRadio: {
      int checkedMember = -1, firstEnabled = -1;
      for (int k = 0; k < kDialogControlCount; ++k) {
        if (!isRadioGroupMember(i, k)) continue;
        if (d.checked[k] && d.enabled[k] && checkedMember < 0) checkedMember = k;
        if (d.enabled[k] && firstEnabled < 0) firstEnabled = k;
      }
      return i == (checkedMember >= 0 ? checkedMember : firstEnabled);
    }
    default: return false;
  }
}

int nextTabStop(const DialogState& d, int from, int step) {
  int i = from;
  for (int n = 0; n < kDialogControlCount; ++n) {
    i = (i + step + kDialogControlCount) % kDialogControlCount;
    if (isTabStop(d, i)) return i;
  }
  return from;
}

void checkAlone(DialogState& d, int id, const int* group, int groupSize) {
  for (int k = 0; k < groupSize; ++k) checkedId(d, group[k]) = group[k] == id;
}

// Focus on a control that can no longer take it goes on to the next one.
void keepFocusUsable(DialogState& d) {
  if (d.focus >= 0 && d.enabled[d.focus]) return;
  const int from = d.focus >= 0 ? d.focus : kDialogControlCount - 1;
  const int next = nextTabStop(d, from, 1);
  d.focus = isTabStop(d, next) ? next : -1;
}

void moveSelection(DialogState& d, const DialogLayout& l, int line) {
  if (!d.hasModes) return;
  if (line < 0) line = 0;
  if (line >= d.lineCount) line = d.lineCount - 1;
  d.selected = line;
  scrollToLine(d, l, line);
}

bool inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int controlAt(const DialogLayout& l, int x, int y) {
  // Group boxes only frame others; the first control hit in table order wins.
  for (int i = 0; i < kDialogControlCount; ++i) {
    const int kind = kDialogControls[i].kind;
    if (kind == kCtlGroupBox || kind == kCtlText || kind == kCtlCentredText) continue;
    if (inside(l.controls[i], x, y)) return i;
  }
  return -1;
}

int mulDiv(int value, int numerator, int denominator) {
  // Rounded to the nearest, as dialog units have always been converted.
  return (2 * value * numerator + denominator) / (2 * denominator);
}

int maxTop(const DialogState& d, const DialogLayout& l) {
  const int m = d.lineCount - l.visibleLines;
  return m > 0 ? m : 0;
}

void selectRadioWithArrow(DialogState& d, int step) {
  for (int i = d.focus + step; i >= 0 && i < kDialogControlCount && isRadioGroupMember(d.focus, i);
       i += step) {
    if (d.enabled[i]) {
      d.focus = i;
      dialogCommand(d, kDialogControls[i].id);
      return;
    }
  }
}

}  // namespace

int dialogControlIndex(int id) {
  for (int i = 0; i < kDialogControlCount; ++i) {
    if (id != 0 && kDialogControls[i].id == id) return i;
  }
  return -1;
}

void formatModeLine(const ModeInfo& m, char* out, int size) {
  if (!out || size <= 0) return;
  int n = std::snprintf(out, static_cast<size_t>(size), "%dx%d %dbit %2d page (%.15s)", m.xRes, m.yRes,
                        m.bitsPerPixel, m.pages, m.driverName);
  auto append = [&](const char* text) {
    if (n >= 0 && n < size) n += std::snprintf(out + n, static_cast<size_t>(size - n), "%s", text);
  };
  if (m.modeId == -1) {
    append(" - windowed only");
    return;
  }
  if (m.fullScreenStretch == 1) append(" - 1x2 stretched");
  if (m.fullScreenStretch == 2) append(" - 2x2 stretched");
  if (m.modeFlags & kModeStereo) append(" - stereo");
  if (m.modeFlags & kMode2DAccel) append(" - 2D accel");
  if (m.modeFlags & kMode3DAccel) append(" - 3D accel");
}

void openDialogState(DialogState& d, int startWindowed, int visibleLines) {
  std::memset(&d, 0, sizeof d);
  d.visibleLines = visibleLines > 0 ? visibleLines : 1;
  for (int i = 0; i < kDialogControlCount; ++i) d.enabled[i] = 1;
  d.focus = -1;
  d.pressed = -1;
  d.dragPart = kPartNone;
  d.clickLine = -1;
  d.result = kDialogOpen;
  const DriverOptions& o = driverOptions();
  const int filter = o.words[kOptModeFilter];
  for (const DepthButton& b : kDepthButtons) enabledId(d, b.id) = (filter & b.filter) != 0;
  const bool openGl = o.words[kOptOpenGl] != 0;
  if (!openGl) {
    for (const GlButton& b : kGlButtons) enabledId(d, b.id) = 0;
    checkedId(d, kIdGlAuto) = 1;
  }
  checkedId(d, kIdStartWindowed) = startWindowed ? 1 : 0;
  // The depth chosen before, else the first the filter allows; "32" when none is.
  const int before = chosenDepth();
  int depthId = kIdDepth32;
  for (const DepthButton& b : kDepthButtons) {
    if (b.id == kIdDepth32) break;
    if ((filter & b.filter) && (before == -1 || before == b.depth)) {
      depthId = b.id;
      break;
    }
  }
  checkedId(d, depthId) = 1;
  checkedId(d, kIdStretch) = lastListChoice() >= 0 && g_lastStretch == 2;
  checkedId(d, kIdDontAsk) = g_dontAsk;
  for (const DriverBox& b : kDriverBoxes) checkedId(d, b.id) = o.words[b.word] != 0;
  if (openGl) {
    const GlButton* checked = &kGlButtons[std::size(kGlButtons) - 1];
    for (const GlButton& b : kGlButtons)
      if (b.type == o.words[kOptOpenGlType]) checked = &b;
    checkedId(d, checked->id) = 1;
  }
  fillModeList(d);
  d.focus = nextTabStop(d, kDialogControlCount - 1, 1);
  if (!isTabStop(d, d.focus)) d.focus = -1;
}

void fillModeList(DialogState& d) {
  DriverOptions o = driverOptions();
  for (const DriverBox& b : kDriverBoxes) o.words[b.word] = checkedOf(d, b.id) ? 1 : 0;
  // There is no OpenGL back end: the type only travels in the options.
  for (const GlButton& b : kGlButtons) {
    if (checkedOf(d, b.id) && o.words[kOptOpenGl]) o.words[kOptOpenGlType] = b.type;
  }
  if (std::memcmp(&o, &driverOptions(), sizeof o) != 0) setDriverOptions(o);
  d.lineCount = 0;
  d.hasModes = 0;
  for (const DepthButton& b : kDepthButtons) {
    if (checkedOf(d, b.id)) setChosenDepth(b.depth);
  }
  markDriversForRegistration();
  enumerateModes();
  const int depth = chosenDepth();
  const int remembered = lastListChoice();
  int rememberedLine = -1;
  for (int i = 0; i < modeCount() && d.lineCount < kMaxModes; ++i) {
    const ModeInfo& m = modeAt(i);
    if (m.bitsPerPixel != depth) continue;
    formatModeLine(m, d.lines[d.lineCount], kDialogLineLength);
    d.lineMode[d.lineCount] = i;
    if (i == remembered) rememberedLine = d.lineCount;
    ++d.lineCount;
  }
  d.selected = rememberedLine >= 0 ? rememberedLine : 0;
  d.topLine = 0;
  const int list = dialogControlIndex(kIdModeList);
  if (d.lineCount > 0) {
    d.hasModes = 1;
    d.enabled[list] = 1;
  } else {
    std::snprintf(d.lines[0], kDialogLineLength, "%s", kNoModesLine);
    d.lineMode[0] = -1;
    d.lineCount = 1;
    d.enabled[list] = 0;
  }
  if (d.selected >= d.visibleLines) d.topLine = d.selected - d.visibleLines + 1;
  keepFocusUsable(d);
}

void dialogCommand(DialogState& d, int id) {
  const int index = dialogControlIndex(id);
  if (index < 0 || d.result != kDialogOpen || !d.enabled[index]) return;
  static const int kDepthIds[] = {kIdDepth8, kIdDepth15, kIdDepth16, kIdDepth24, kIdDepth32};
  static const int kGlIds[] = {kIdGlAuto, kIdGlMicrosoft, kIdGlSgi, kIdGlMesa};
  switch (id) {
    case kIdRunDemo: {
      if (!d.hasModes || d.selected < 0 || d.selected >= d.lineCount) return;
      const int mode = d.lineMode[d.selected];
      setLastListChoice(mode);
      g_lastStretch = checkedOf(d, kIdStretch) ? 2 : 0;
      d.chosen = modeAt(mode);
      d.chosen.windowStretch = g_lastStretch;
      d.startWindowed = checkedOf(d, kIdStartWindowed);
      d.result = kDialogRun;
      return;
    }
    case kIdQuit: d.result = kDialogQuit; return;
    case kIdDepth8:
    case kIdDepth15:
    case kIdDepth16:
    case kIdDepth24:
    case kIdDepth32:
      checkAlone(d, id, kDepthIds, 5);
      fillModeList(d);
      return;
    case kIdGlAuto:
    case kIdGlMicrosoft:
    case kIdGlSgi:
    case kIdGlMesa:
      checkAlone(d, id, kGlIds, 4);
      fillModeList(d);
      return;
    default: break;
  }
  if (kDialogControls[index].kind != kCtlCheckBox) return;
  d.checked[index] = !d.checked[index];
  for (const DriverBox& b : kDriverBoxes) {
    if (b.id == id) fillModeList(d);
  }
}

DialogLayout computeDialogLayout(const TextMetrics& font, int fontPixels, int scalePercent) {
  DialogLayout l{};
  if (scalePercent < 100) scalePercent = 100;
  l.scale = scalePercent;
  l.baseX = font.averageWidth > 0 ? font.averageWidth : 1;
  l.baseY = font.height > 0 ? font.height : 1;
  l.fontPixels = fontPixels;
  l.fontAscent = font.ascent;
  l.fontHeight = font.height;
  auto px = [&](int n) { return n * scalePercent / 100; };
  l.frame = px(3);
  l.boxSize = px(13);
  l.scrollWidth = px(16);
  l.itemHeight = font.height > 0 ? font.height : 1;
  l.width = mulDiv(kDialogWidthUnits, l.baseX, 4) + 2 * l.frame;
  l.height = mulDiv(kDialogHeightUnits, l.baseY, 8) + 2 * l.frame;
  for (int i = 0; i < kDialogControlCount; ++i) {
    const DialogControl& c = kDialogControls[i];
    Rect& r = l.controls[i];
    r.left = l.frame + mulDiv(c.x, l.baseX, 4);
    r.top = l.frame + mulDiv(c.y, l.baseY, 8);
    r.right = l.frame + mulDiv(c.x + c.width, l.baseX, 4);
    r.bottom = l.frame + mulDiv(c.y + c.height, l.baseY, 8);
  }
  // The list shows whole lines only: its height shrinks to fit them.
  Rect& list = l.controls[dialogControlIndex(kIdModeList)];
  const int border = px(2) > 2 ? px(2) : 2;
  int lines = (list.bottom - list.top - 2 * border) / l.itemHeight;
  if (lines < 1) lines = 1;
  l.visibleLines = lines;
  list.bottom = list.top + 2 * border + lines * l.itemHeight;
  l.scrollBar = {list.right - border - l.scrollWidth, list.top + border, list.right - border,
                 list.bottom - border};
  l.listItems = {list.left + border, list.top + border, l.scrollBar.left, list.bottom - border};
  return l;
}

Rect listThumb(const DialogState& d, const DialogLayout& l) {
  const Rect& sb = l.scrollBar;
  const int arrow = l.scrollWidth;
  const int trackTop = sb.top + arrow, trackBottom = sb.bottom - arrow;
  const int track = trackBottom - trackTop;
  if (!d.hasModes || d.lineCount <= l.visibleLines || track <= 0) return {0, 0, 0, 0};
  int thumb = track * l.visibleLines / d.lineCount;
  const int minThumb = l.scrollWidth / 2;
  if (thumb < minThumb) thumb = minThumb;
  if (thumb > track) thumb = track;
  const int top = trackTop + (track - thumb) * d.topLine / maxTop(d, l);
  return {sb.left, top, sb.right, top + thumb};
}

int listHitTest(const DialogState& d, const DialogLayout& l, int x, int y, int* line) {
  if (inside(l.listItems, x, y)) {
    const int n = d.topLine + (y - l.listItems.top) / l.itemHeight;
    if (line) *line = n;
    return n < d.lineCount ? kPartLine : kPartNone;
  }
  if (!inside(l.scrollBar, x, y)) return kPartNone;
  if (y < l.scrollBar.top + l.scrollWidth) return kPartUpArrow;
  if (y >= l.scrollBar.bottom - l.scrollWidth) return kPartDownArrow;
  const Rect thumb = listThumb(d, l);
  if (thumb.bottom <= thumb.top) return kPartNone;
  if (y < thumb.top) return kPartPageUp;
  if (y >= thumb.bottom) return kPartPageDown;
  return kPartThumb;
}

void scrollToLine(DialogState& d, const DialogLayout& l, int line) {
  if (line < d.topLine) d.topLine = line;
  if (line >= d.topLine + l.visibleLines) d.topLine = line - l.visibleLines + 1;
  if (d.topLine > maxTop(d, l)) d.topLine = maxTop(d, l);
  if (d.topLine < 0) d.topLine = 0;
}

void scrollListBy(DialogState& d, const DialogLayout& l, int lines) {
  if (!d.hasModes) return;
  d.topLine += lines;
  if (d.topLine > maxTop(d, l)) d.topLine = maxTop(d, l);
  if (d.topLine < 0) d.topLine = 0;
}

void dialogKey(DialogState& d, const DialogLayout& l, int scanCode, int character, int modifiers,
               int repeat) {
  if (d.result != kDialogOpen) return;
  // A held Space, Enter or Esc acts once, however long the key repeats.
  const bool acts = scanCode == kScanEsc || scanCode == kScanEnter || scanCode == kScanSpace ||
                    character == kCharEsc || character == kCharEnter || character == ' ';
  if (repeat && acts) return;
  if (scanCode == kScanEsc || character == kCharEsc) {
    dialogCommand(d, kIdQuit);
    return;
  }
  if (modifiers & (kModAlt | kModControl)) return;
  const int kind = d.focus >= 0 ? kDialogControls[d.focus].kind : -1;
  if (scanCode == kScanTab || character == kCharTab) {
    d.focus =
        nextTabStop(d, d.focus >= 0 ? d.focus : kDialogControlCount - 1, (modifiers & kModShift) ? -1 : 1);
    return;
  }
  if (scanCode == kScanEnter || character == kCharEnter) {
    // A focused push button is the one Enter presses; elsewhere it is Run Demo.
    dialogCommand(d, kind == kCtlButton ? kDialogControls[d.focus].id : kIdRunDemo);
    return;
  }
  if (scanCode == kScanSpace || character == ' ') {
    if (kind == kCtlCheckBox || kind == kCtlRadio || kind == kCtlButton || kind == kCtlDefaultButton) {
      dialogCommand(d, kDialogControls[d.focus].id);
    }
    return;
  }
  // With Num Lock on, the keypad keys type digits instead of moving.
  const bool navigation = character == 0;
  if (kind == kCtlListBox && navigation) {
    switch (scanCode) {
      case kScanUp:
      case kScanLeft: moveSelection(d, l, d.selected - 1); return;
      case kScanDown:
      case kScanRight: moveSelection(d, l, d.selected + 1); return;
      case kScanPageUp:
        moveSelection(d, l, d.selected - (l.visibleLines > 1 ? l.visibleLines - 1 : 1));
        return;
      case kScanPageDown:
        moveSelection(d, l, d.selected + (l.visibleLines > 1 ? l.visibleLines - 1 : 1));
        return;
      case kScanHome: moveSelection(d, l, 0); return;
      case kScanEnd: moveSelection(d, l, d.lineCount - 1); return;
      default: return;
    }
  }
  if (kind == kCtlListBox && d.hasModes && character > ' ' && character < 127) {
    // Typing a character selects the next line that starts with it.
    for (int k = 1; k <= d.lineCount; ++k) {
      const int line = (d.selected + k) % d.lineCount;
      if (std::tolower(static_cast<unsigned char>(d.lines[line][0])) == std::tolower(character)) {
        moveSelection(d, l, line);
        return;
      }
    }
    return;
  }
  if (!navigation || d.focus < 0) return;
  const bool back = scanCode == kScanUp || scanCode == kScanLeft;
  const bool forward = scanCode == kScanDown || scanCode == kScanRight;
  if (!back && !forward) return;
  if (kind == kCtlRadio) {
    selectRadioWithArrow(d, back ? -1 : 1);
  } else {
    d.focus = nextTabStop(d, d.focus, back ? -1 : 1);
  }
}

void dialogMouseDown(DialogState& d, const DialogLayout& l, int x, int y, int doubleClick) {
  if (d.result != kDialogOpen) return;
  const int i = controlAt(l, x, y);
  if (i < 0 || !d.enabled[i]) return;
  const DialogControl& c = kDialogControls[i];
  if (c.kind == kCtlListBox) {
    d.focus = i;
    int line = -1;
    const int part = listHitTest(d, l, x, y, &line);
    const bool secondOnLine = part == kPartLine && d.clickLine == line &&
                              std::abs(x - d.clickX) <= kDoubleClickRadius &&
                              std::abs(y - d.clickY) <= kDoubleClickRadius;
    d.clickLine = -1;
    switch (part) {
      case kPartLine:
        moveSelection(d, l, line);
        if (doubleClick && secondOnLine) {
          dialogCommand(d, kIdRunDemo);
        } else {
          d.clickLine = line;  // the first press of what may become a double click
          d.clickX = x;
          d.clickY = y;
        }
        break;
      case kPartUpArrow: scrollListBy(d, l, -1); break;
      case kPartDownArrow: scrollListBy(d, l, 1); break;
      case kPartPageUp: scrollListBy(d, l, -l.visibleLines); break;
      case kPartPageDown: scrollListBy(d, l, l.visibleLines); break;
      case kPartThumb:
        d.dragPart = kPartThumb;
        d.dragOffset = y - listThumb(d, l).top;
        break;
      default: break;
    }
    return;
  }
  d.clickLine = -1;
  d.focus = i;
  d.pressed = i;
  d.pressedInside = 1;
}

void dialogMouseMove(DialogState& d, const DialogLayout& l, int x, int y) {
  if (d.dragPart == kPartThumb) {
    const Rect thumb = listThumb(d, l);
    const int track = (l.scrollBar.bottom - l.scrollWidth) - (l.scrollBar.top + l.scrollWidth);
    const int room = track - (thumb.bottom - thumb.top);
    if (room > 0) {
      const int offset = y - d.dragOffset - (l.scrollBar.top + l.scrollWidth);
      d.topLine = (offset * maxTop(d, l) + room / 2) / room;
      scrollListBy(d, l, 0);  // clamps
    }
    return;
  }
  if (d.pressed >= 0) d.pressedInside = inside(l.controls[d.pressed], x, y);
}

void dialogMouseUp(DialogState& d, const DialogLayout& l, int x, int y) {
  d.dragPart = kPartNone;
  const int pressed = d.pressed;
  d.pressed = -1;
  d.pressedInside = 0;
  // A button acts when the mouse is let go over it, as people expect.
  if (pressed >= 0 && inside(l.controls[pressed], x, y)) dialogCommand(d, kDialogControls[pressed].id);
}

void dialogWheel(DialogState& d, const DialogLayout& l, int x, int y, int notches) {
  if (d.result != kDialogOpen) return;
  const int list = dialogControlIndex(kIdModeList);
  if (!d.enabled[list] || !inside(l.controls[list], x, y)) return;
  scrollListBy(d, l, -3 * notches);  // three lines a notch, away from the user scrolls up
}

void resetDialog() {
  g_lastStretch = 0;
  g_dontAsk = 0;
}
void setLastStretch(int stretch) { g_lastStretch = stretch == 2 ? 2 : 0; }
void setDialogDontAsk(int dontAsk) { g_dontAsk = dontAsk ? 1 : 0; }
