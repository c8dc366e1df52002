// chooseMode: the mode dialog as a window of its own, drawn by us in the
// classic grey, bevelled look, with its modal loop over the display layer.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/dialog.h"
#include "framework/framework.h"
#include "framework/surface.h"
#include "framework/translate.h"
#include "platform/display.h"

namespace {

// The dialog's colours, 8 bits per channel as the classic desktop scheme has them.
struct Rgb {
  int r, g, b;
};
constexpr Rgb kFace = {0xD4, 0xD0, 0xC8};
constexpr Rgb kLight = {0xFF, 0xFF, 0xFF};
constexpr Rgb kShadow = {0x80, 0x80, 0x80};
constexpr Rgb kDarkShadow = {0x40, 0x40, 0x40};
constexpr Rgb kText = {0x00, 0x00, 0x00};
constexpr Rgb kGreyText = {0x80, 0x80, 0x80};
constexpr Rgb kWindow = {0xFF, 0xFF, 0xFF};
constexpr Rgb kHighlight = {0x0A, 0x24, 0x6A};
constexpr Rgb kHeading = {0x0A, 0x24, 0x6A};

constexpr int kIdleMicros = 10000;  // the loop's nap while nothing happens

uint16_t pack(Rgb c) { return static_cast<uint16_t>((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3)); }

// Everything drawing needs besides the surface.
struct Painter {
  Surface* s;
  const DisplayDriver* dd;
  const DialogLayout* l;
  std::vector<uint8_t> coverage;  // one line of text, the dialog's width
  int coverageWidth, coverageHeight;
};
Painter g_paint;

DialogState g_state;
DialogLayout g_layout;

int scaled(int n) { return n * g_paint.l->scale / 100; }
int unit() { return g_paint.l->scale >= 200 ? g_paint.l->scale / 100 : 1; }  // one line's thickness

void pixel(int x, int y, uint16_t c) {
  Surface* s = g_paint.s;
  if (x >= 0 && y >= 0 && x < s->width && y < s->height) pixelRow(s, y)[x] = c;
}

void fill(Rect r, Rgb colour) {
  const uint16_t c = pack(colour);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) pixel(x, y, c);
  }
}

// A one-unit-wide bevel just inside r: topLeft colour along the top and left, bottomRight along the rest.
void bevel(Rect r, Rgb topLeft, Rgb bottomRight) {
  const int t = unit();
  fill({r.left, r.top, r.right, r.top + t}, topLeft);
  fill({r.left, r.top, r.left + t, r.bottom}, topLeft);
  fill({r.left, r.bottom - t, r.right, r.bottom}, bottomRight);
  fill({r.right - t, r.top, r.right, r.bottom}, bottomRight);
}

Rect inset(Rect r, int n) { return {r.left + n, r.top + n, r.right - n, r.bottom - n}; }

void raised(Rect r) {
  bevel(r, kLight, kDarkShadow);
  bevel(inset(r, unit()), kFace, kShadow);
}

void sunken(Rect r) {
  bevel(r, kShadow, kLight);
  bevel(inset(r, unit()), kDarkShadow, kFace);
}

// The dotted focus frame inverts what lies under it, so it shows on the
// selection's dark blue as on the grey face.
void focusRect(Rect r) {
  Surface* s = g_paint.s;
  auto flip = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < s->width && y < s->height) pixelRow(s, y)[x] ^= 0x7FFF;
  };
  for (int x = r.left; x < r.right; x += 2) {
    flip(x, r.top);
    if (r.bottom - 1 > r.top) flip(x, r.bottom - 1);
  }
  for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
    flip(r.left, y);
    if (r.right - 1 > r.left) flip(r.right - 1, y);
  }
}

int textWidthOf(const char* text, int bold) {
  return g_paint.dd->renderText(text, g_paint.l->fontPixels, bold, nullptr, 0, 0, 0);
}

// Blends the text in colour onto the surface with its line's top at y, cut to clip.
void text(int x, int y, const char* t, Rgb colour, Rect clip, int bold = 0) {
  if (!t || !*t || g_paint.coverage.empty()) return;
  const int w = g_paint.coverageWidth, h = g_paint.coverageHeight;
  std::memset(g_paint.coverage.data(), 0, g_paint.coverage.size());
  g_paint.dd->renderText(t, g_paint.l->fontPixels, bold, g_paint.coverage.data(), w, w, h);
  Surface* s = g_paint.s;
  for (int row = 0; row < h; ++row) {
    const int py = y + row;
    if (py < clip.top || py >= clip.bottom || py < 0 || py >= s->height) continue;
    uint16_t* line = pixelRow(s, py);
    for (int col = 0; col < w; ++col) {
      const int a = g_paint.coverage[static_cast<size_t>(row) * w + col];
      const int px = x + col;
      if (a == 0 || px < clip.left || px >= clip.right || px < 0 || px >= s->width) continue;
      const int under = line[px];
      const int br = (under >> 10) & 31, bg = (under >> 5) & 31, bb = under & 31;
      const int r = br + ((colour.r >> 3) - br) * a / 255;
      const int g = bg + ((colour.g >> 3) - bg) * a / 255;
      const int b = bb + ((colour.b >> 3) - bb) * a / 255;
      line[px] = static_cast<uint16_t>(r << 10 | g << 5 | b);
    }
  }
}

// Text of a control that may be disabled: greyed with a white emboss then.
void label(int x, int y, const char* t, bool enabled, Rect clip, int bold = 0) {
  if (enabled) {
    text(x, y, t, kText, clip, bold);
    return;
  }
  text(x + 1, y + 1, t, kLight, clip, bold);
  text(x, y, t, kGreyText, clip, bold);
}

int textTopCentred(Rect r) { return r.top + (r.bottom - r.top - g_paint.l->fontHeight) / 2; }

// A box's or button's text, with the focus rectangle around it while it has the focus.
// The game's own German texts among them are shown in the player's language.
void labelWithFocus(int i, int tx, int ty, bool enabled, Rect r, const DialogState& d) {
  const char* shown = _(kDialogControls[i].text);
  label(tx, ty, shown, enabled, r);
  if (d.focus != i) return;
  const int w = textWidthOf(shown, 0);
  Rect f = {tx - 2, ty - 1, tx + w + 2, ty + g_paint.l->fontHeight + 1};
  if (f.right > r.right) f.right = r.right;
  focusRect(f);
}

void drawCheckMark(Rect box, bool enabled) {
  // The classic tick in a nine-pixel field, thickened on larger screens.
  const int f = unit();
  const int ox = box.left + 2 * f + (box.right - box.left - 4 * f - 9 * f) / 2;
  const int oy = box.top + 2 * f + (box.bottom - box.top - 4 * f - 9 * f) / 2;
  const Rgb c = enabled ? kText : kGreyText;
  auto dot = [&](int x, int y) { fill({ox + x * f, oy + y * f, ox + (x + 1) * f, oy + (y + 1) * f}, c); };
  for (int k = 0; k < 3; ++k) {
    for (int x = 1; x <= 3; ++x) dot(x, 3 + (x - 1) + k);
    for (int x = 4; x <= 7; ++x) dot(x, 5 - (x - 3) + k);
  }
}

void drawCheckBox(int i, const DialogState& d) {
  const Rect r = g_paint.l->controls[i];
  const int box = g_paint.l->boxSize;
  const Rect b = {r.left, r.top + (r.bottom - r.top - box) / 2, r.left + box,
                  r.top + (r.bottom - r.top - box) / 2 + box};
  const bool enabled = d.enabled[i];
  const bool pushed = d.pressed == i && d.pressedInside;
  fill(b, enabled && !pushed ? kWindow : kFace);
  sunken(b);
  if (d.checked[i]) drawCheckMark(b, enabled);
  const int tx = b.right + scaled(5);
  const int ty = textTopCentred(r);
  labelWithFocus(i, tx, ty, enabled, r, d);
}

void drawRadio(int i, const DialogState& d) {
  const Rect r = g_paint.l->controls[i];
  const int size = g_paint.l->boxSize;
  const int left = r.left, top = r.top + (r.bottom - r.top - size) / 2;
  const bool enabled = d.enabled[i];
  const bool pushed = d.pressed == i && d.pressedInside;
  // Rings as the bevels of a check box, but round: each pixel averages 4 x 4
  // samples so the circle's edge is smooth.
  const double c = size / 2.0, radius = size / 2.0, ring = unit() * 1.1;
  const Rgb field = enabled && !pushed ? kWindow : kFace;
  const Rgb dot = enabled ? kText : kGreyText;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int sr = 0, sg = 0, sb = 0, inked = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
          const double dist = std::hypot(px - c, py - c);
          if (dist > radius) continue;
          const bool upperLeft = px + py < size;
          Rgb col = field;
          if (dist > radius - ring) {
            col = upperLeft ? kShadow : kLight;
          } else if (dist > radius - 2 * ring) {
            col = upperLeft ? kDarkShadow : kFace;
          } else if (d.checked[i] && dist < radius * 0.34) {
            col = dot;
          }
          sr += col.r;
          sg += col.g;
          sb += col.b;
          ++inked;
        }
      }
      if (inked == 0) continue;
      // Samples outside the circle show the dialog's face.
      sr += (16 - inked) * kFace.r;
      sg += (16 - inked) * kFace.g;
      sb += (16 - inked) * kFace.b;
      pixel(left + x, top + y, pack({sr / 16, sg / 16, sb / 16}));
    }
  }
  const int tx = left + g_paint.l->boxSize + scaled(4);
  const int ty = textTopCentred(r);
  labelWithFocus(i, tx, ty, enabled, r, d);
}

void drawButton(int i, const DialogState& d, bool isDefault) {
  Rect r = g_paint.l->controls[i];
  const bool enabled = d.enabled[i];
  const bool pushed = d.pressed == i && d.pressedInside;
  const int t = unit();
  fill(r, kFace);
  if (isDefault || pushed) {
    bevel(r, kText, kText);  // the default button's extra dark frame
    r = inset(r, t);
  }
  if (pushed) {
    bevel(r, kShadow, kShadow);
  } else {
    raised(r);
  }
  const char* caption = kDialogControls[i].text;
  const int w = textWidthOf(caption, 0);
  const int shift = pushed ? t : 0;
  const int tx = r.left + (r.right - r.left - w) / 2 + shift;
  const int ty = textTopCentred(r) + shift;
  label(tx, ty, caption, enabled, inset(r, t));
  if (d.focus == i) focusRect(inset(r, 3 * t + (isDefault || pushed ? 0 : t)));
}

void drawGroupBox(int i) {
  const Rect r = g_paint.l->controls[i];
  const int t = unit();
  const int lineY = r.top + g_paint.l->fontHeight / 2;
  // Etched: a shadow outline with a light one a unit down and right of it.
  bevel({r.left + t, lineY + t, r.right, r.bottom}, kLight, kLight);
  bevel({r.left, lineY, r.right - t, r.bottom - t}, kShadow, kShadow);
  const char* caption = kDialogControls[i].text;
  const int tx = r.left + g_paint.l->baseX + scaled(2);
  const int w = textWidthOf(caption, 0);
  fill({tx - scaled(2), r.top, tx + w + scaled(2), lineY + 2 * t}, kFace);
  text(tx, r.top, caption, kText, r);
}

void drawArrow(Rect r, bool up, bool enabled) {
  // A small solid triangle in the middle of the button.
  const int size = (r.right - r.left) / 4 + 1;
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - size / 2;
  auto tri = [&](int ox, int oy, Rgb c) {
    for (int row = 0; row < size; ++row) {
      const int half = up ? row : size - 1 - row;
      fill({cx - half + ox, cy + row + oy, cx + half + 1 + ox, cy + row + 1 + oy}, c);
    }
  };
  if (enabled) {
    tri(0, 0, kText);
  } else {
    tri(1, 1, kLight);
    tri(0, 0, kGreyText);
  }
}

void drawList(int i, const DialogState& d) {
  const DialogLayout& l = *g_paint.l;
  const Rect r = l.controls[i];
  const bool enabled = d.enabled[i];
  fill(r, kWindow);
  sunken(r);
  const Rect items = l.listItems;
  for (int k = 0; k < l.visibleLines; ++k) {
    const int line = d.topLine + k;
    if (line >= d.lineCount) break;
    const Rect row = {items.left, items.top + k * l.itemHeight, items.right,
                      items.top + (k + 1) * l.itemHeight};
    const bool selected = enabled && d.hasModes && line == d.selected;
    if (selected) fill(row, kHighlight);
    const Rgb colour = selected ? kLight : enabled ? kText : kGreyText;
    text(row.left + scaled(2), row.top, d.lines[line], colour, row);
    if (selected && d.focus == i) focusRect(row);
  }
  // The scroll bar: arrows, a dotted track and the thumb.
  const Rect sb = l.scrollBar;
  const Rect up = {sb.left, sb.top, sb.right, sb.top + l.scrollWidth};
  const Rect down = {sb.left, sb.bottom - l.scrollWidth, sb.right, sb.bottom};
  const uint16_t light = pack(kLight), face = pack(kFace);
  for (int y = up.bottom; y < down.top; ++y) {
    for (int x = sb.left; x < sb.right; ++x) pixel(x, y, (x + y) % 2 ? light : face);
  }
  const Rect thumb = listThumb(d, l);
  const bool scrolls = thumb.bottom > thumb.top && enabled;
  for (const Rect& b : {up, down}) {
    fill(b, kFace);
    raised(b);
  }
  drawArrow(up, true, scrolls);
  drawArrow(down, false, scrolls);
  if (scrolls) {
    fill(thumb, kFace);
    raised(thumb);
  }
}

void drawFrame() {
  const Rect all = {0, 0, g_paint.l->width, g_paint.l->height};
  fill(all, kFace);
  // The dialog's own raised frame: it has no caption bar to frame it.
  bevel(all, kFace, kDarkShadow);
  bevel(inset(all, unit()), kLight, kShadow);
}

int focusedButton(const DialogState& d) {
  if (d.focus >= 0 && kDialogControls[d.focus].kind == kCtlButton) return d.focus;
  return -1;
}

}  // namespace

void drawDialog(Surface* s, const DialogState& d, const DialogLayout& l) {
  if (!s) return;
  g_paint.s = s;
  g_paint.dd = display();
  g_paint.l = &l;
  const int need = l.width * l.fontHeight;
  if (static_cast<int>(g_paint.coverage.size()) < need) g_paint.coverage.assign(static_cast<size_t>(need), 0);
  g_paint.coverageWidth = l.width;
  g_paint.coverageHeight = l.fontHeight;
  drawFrame();
  // The default frame goes to a focused push button, else to Run Demo.
  const int pushButton = focusedButton(d);
  for (int i = 0; i < kDialogControlCount; ++i) {
    const DialogControl& c = kDialogControls[i];
    const Rect r = l.controls[i];
    switch (c.kind) {
      case kCtlCentredText: {
        const int bold = c.id == kIdHeading;
        const int w = textWidthOf(c.text, bold);
        const int x = w < r.right - r.left ? r.left + (r.right - r.left - w) / 2 : r.left;
        text(x, r.top, c.text, bold ? kHeading : kText, r, bold);
        break;
      }
      case kCtlText: label(r.left, r.top, c.text, d.enabled[i], r); break;
      case kCtlGroupBox: drawGroupBox(i); break;
      case kCtlListBox: drawList(i, d); break;
      case kCtlRadio: drawRadio(i, d); break;
      case kCtlCheckBox: drawCheckBox(i, d); break;
      case kCtlButton:
      case kCtlDefaultButton:
        drawButton(i, d, pushButton >= 0 ? i == pushButton : c.kind == kCtlDefaultButton);
        break;
      default: break;
    }
  }
}

const DialogState& lastDialogState() { return g_state; }
const DialogLayout& lastDialogLayout() { return g_layout; }

int chooseMode(ModeInfo* out, int32_t* options) {
  const DisplayDriver* dd = display();
  if (!dd->open()) {
    std::fprintf(stderr, "framework: no display to show the mode dialog on\n");
    return 0;
  }
  // The font decides the dialog's size, as dialog units always have: a
  // quarter of its average character width across, an eighth of its height down.
  const int scale = dd->uiScalePercent();
  const int fontPixels = (11 * scale + 50) / 100;  // 8 points at 96 dots per inch, scaled
  TextMetrics font{};
  if (!dd->textMetrics(fontPixels, 0, &font)) font = TextMetrics{10, 3, 13, 6};
  g_layout = computeDialogLayout(font, fontPixels, scale);
  openDialogState(g_state, options ? options[0] : 1, g_layout.visibleLines);

  Surface* surface = createSurface(g_layout.width, g_layout.height);
  if (!surface) {
    std::fprintf(stderr, "framework: no memory for the mode dialog\n");
    return 0;
  }
  // Centred where windows go, beside the desktop's panels.
  int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
  dd->workArea(&areaX, &areaY, &areaWidth, &areaHeight);
  const int x = areaX + std::max(0, (areaWidth - g_layout.width) / 2);
  const int y = areaY + std::max(0, (areaHeight - g_layout.height) / 2);
  if (!dd->openDialog("Choose a video mode", x, y, g_layout.width, g_layout.height)) {
    std::fprintf(stderr, "framework: cannot open the mode dialog's window\n");
    destroySurface(surface);
    return 0;
  }

  bool dirty = true;
  while (g_state.result == kDialogOpen) {
    if (dirty) {
      drawDialog(surface, g_state, g_layout);
      dd->presentDialog(surface);
      dirty = false;
    }
    dd->beginPass();
    DisplayEvent e;
    bool any = false;
    while (g_state.result == kDialogOpen && dd->pollEvent(&e)) {
      any = true;
      switch (e.kind) {
        case kDisplayKeyDown:
          dialogKey(g_state, g_layout, e.scanCode, e.character, e.modifiers, e.repeat);
          break;
        case kDisplayMouseDown:
          if (e.button == 1) dialogMouseDown(g_state, g_layout, e.x, e.y, e.doubleClick);
          break;
        case kDisplayMouseUp:
          if (e.button == 1) dialogMouseUp(g_state, g_layout, e.x, e.y);
          break;
        case kDisplayMouseMove: dialogMouseMove(g_state, g_layout, e.x, e.y); break;
        case kDisplayMouseWheel: dialogWheel(g_state, g_layout, e.x, e.y, e.wheel); break;
        case kDisplayClose:
        case kDisplayQuit: dialogCommand(g_state, kIdQuit); break;
        default: break;
      }
      dirty = true;
    }
    if (!any) dd->sleepMicros(kIdleMicros);
  }
  // The game's window opens next; nothing of the dialog may linger.
  dd->closeDialog();
  destroySurface(surface);
  if (g_state.result != kDialogRun) return 0;
  if (out) *out = g_state.chosen;
  if (options) options[0] = g_state.startWindowed;
  return 1;
}
