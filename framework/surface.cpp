// Drawing surface operations on the current back buffer.
#include "framework/surface.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>

const PixelFormat kPixelFormat555 = {0x1F, 10, 3, 0x1F, 5, 3, 0x1F, 0, 3, 1, 15, 7};

namespace {
Surface* g_current = nullptr;
int g_error = 0;
FatalHandler g_fatalHandler = nullptr;

// The table of error texts, indexed by the negated code; the last row answers
// every code outside 0 .. -31.
const char* const kErrorText[] = {
    "No error",
    "Graphics driver has not been installed",
    "Graphics hardware not detected",
    "Couldn't find graphics driver",
    "Graphics driver file corrupted",
    "Not enough memory to load graphics driver",
    "Invalid mode for selected driver",
    "Invalid driver number",
    "General graphics error",
    "Invalid graphics driver name",
    "Not enough memory to perform operation",
    "Selected graphics mode not supported",
    "Invalid font data",
    "Font file corrupted",
    "Couldn't find font file",
    "Incorrect version for driver file",
    "Invalid device type for operation",
    "Invalid device context",
    "Invalid cursor file",
    "Cursor file was not found",
    "Invalid icon file",
    "Icon file was not found",
    "Invalid bitmap file",
    "Bitmap file was not found",
    "Invalid error number",
    "Zbuffer allocation is too large",
    "Only Windows 2.x font files supported",
    "Tesk_endRegion() was not called",
    "Double buffering is not available",
    "OffscreenDC's require hardware bitBlt support",
    "No available Offscreen display memory",
    "Invalid pixel format for memory DC",
    "NONE",
};
static_assert(std::size(kErrorText) == kErrorCodeCount + 1, "codes 0 .. -31 plus NONE");

inline void storePixel(Surface* s, int x, int y) { pixelRow(s, y)[x] = static_cast<uint16_t>(s->colour); }
}  // namespace

int paddedBytesPerLine(int width) {
  // An odd number of 64-byte cache lines per row spreads a column walk over
  // every cache set; an even one (1280 bytes at 640 pixels) uses a fraction of
  // them, and a power of two (2048 at 1024) only one.
  int lines = (2 * width + 63) / 64;
  if (lines % 2 == 0) ++lines;
  if (lines == 1) lines = 3;
  return lines * 64;
}

Surface* createSurface(int width, int height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    g_error = kErrNoMemory;
    return nullptr;
  }
  Surface* s = new (std::nothrow) Surface{};
  if (!s) {
    g_error = kErrNoMemory;
    return nullptr;
  }
  s->width = width;
  s->height = height;
  s->bitsPerPixel = 15;
  s->format = kPixelFormat555;
  s->bytesPerLine = paddedBytesPerLine(width);
  s->pixels =
      static_cast<uint8_t*>(std::calloc(static_cast<size_t>(s->bytesPerLine), static_cast<size_t>(height)));
  if (!s->pixels) {
    delete s;
    g_error = kErrNoMemory;
    return nullptr;
  }
  s->size = {0, 0, width, height};
  s->clip = s->size;
  s->activeClip = s->size;
  s->clipOn = 1;
  s->text = {nullptr, 1, 1, 1, 1, 0, 0, 2, 0};
  s->accessDepth = -1;
  return s;
}

void destroySurface(Surface* s) {
  if (!s) return;
  if (g_current == s) g_current = nullptr;
  std::free(s->pixels);
  delete s;
}

void makeCurrentSurface(Surface* s) { g_current = s; }
Surface* currentSurface() { return g_current; }

void setColor(uint32_t colour) {
  if (g_current) g_current->colour = colour;
}

void putPixel(int x, int y) {
  Surface* s = g_current;
  if (!s) return;
  const Rect& c = s->activeClip;
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return;
  x += s->originX;
  y += s->originY;
  if (x < 0 || y < 0 || x >= s->width || y >= s->height) return;  // the viewport never leaves the surface
  storePixel(s, x, y);
}

void putPixelRow(int x, int y, const uint16_t* pixels, int count) {
  Surface* s = g_current;
  if (!s || count <= 0) return;
  const Rect& c = s->activeClip;
  if (y < c.top || y >= c.bottom || y + s->originY < 0 || y + s->originY >= s->height) return;
  // The columns that pass both of putPixel's tests, in one piece.
  long long a = x, b = static_cast<long long>(x) + count;
  if (a < c.left) a = c.left;
  if (a < -s->originX) a = -s->originX;
  if (b > c.right) b = c.right;
  if (b > s->width - s->originX) b = s->width - s->originX;
  if (a >= b) return;
  std::memcpy(pixelRow(s, y + s->originY) + a + s->originX, pixels + (a - x), static_cast<size_t>(b - a) * 2);
}

void drawLine(int x1, int y1, int x2, int y2) {
  Surface* s = g_current;
  if (!s) return;
  if (x2 < x1) {
    int t = x1;
    x1 = x2;
    x2 = t;
    t = y1;
    y1 = y2;
    y2 = t;
  }
  // Clip against the active rectangle, intersected with the surface so that no
  // viewport offset can push a write outside the memory.
  Rect c = s->activeClip;
  if (c.left < -s->originX) c.left = -s->originX;
  if (c.top < -s->originY) c.top = -s->originY;
  if (c.right > s->width - s->originX) c.right = s->width - s->originX;
  if (c.bottom > s->height - s->originY) c.bottom = s->height - s->originY;
  if (c.left >= c.right || c.top >= c.bottom) return;

  const long long dx = static_cast<long long>(x2) - x1;
  const long long dy = static_cast<long long>(y2) - y1;
  if (dy == 0) {
    if (y1 < c.top || y1 >= c.bottom) return;
    long long a = x1 < c.left ? c.left : x1;
    long long b = x2 >= c.right ? c.right - 1 : x2;
    uint16_t* row = pixelRow(s, y1 + s->originY);
    for (long long x = a; x <= b; ++x) row[x + s->originX] = static_cast<uint16_t>(s->colour);
    return;
  }
  // Step along the longer axis; the shorter coordinate is the exact line value
  // rounded half up, so a clipped line keeps the pixels of the unclipped one.
  const long long adx = dx;
  const long long ady = dy < 0 ? -dy : dy;
  if (adx >= ady) {
    long long a = x1 < c.left ? c.left : x1;
    long long b = x2 >= c.right ? c.right - 1 : x2;
    for (long long x = a; x <= b; ++x) {
      long long num = 2 * (x - x1) * dy + adx;
      long long q = num >= 0 ? num / (2 * adx) : -((-num + 2 * adx - 1) / (2 * adx));
      long long y = y1 + q;
      if (y < c.top || y >= c.bottom) continue;
      pixelRow(s, static_cast<int>(y) + s->originY)[x + s->originX] = static_cast<uint16_t>(s->colour);
    }
  } else {
    // Walk y from the upper to the lower end.
    long long ya = y1, yb = y2, xa = x1;
    long long sdx = dx, sdy = dy;
    if (yb < ya) {
      ya = y2;
      yb = y1;
      xa = x2;
      sdx = -dx;
      sdy = -dy;
    }
    long long a = ya < c.top ? c.top : ya;
    long long b = yb >= c.bottom ? c.bottom - 1 : yb;
    for (long long y = a; y <= b; ++y) {
      long long num = 2 * (y - ya) * sdx + sdy;
      long long q = num >= 0 ? num / (2 * sdy) : -((-num + 2 * sdy - 1) / (2 * sdy));
      long long x = xa + q;
      if (x < c.left || x >= c.right) continue;
      pixelRow(s, static_cast<int>(y) + s->originY)[x + s->originX] = static_cast<uint16_t>(s->colour);
    }
  }
}

void clearSurface() {
  Surface* s = g_current;
  if (!s) return;
  const uint16_t bg = static_cast<uint16_t>(s->background);
  for (int y = 0; y < s->height; ++y) {
    uint16_t* row = pixelRow(s, y);
    if (bg == 0) {
      std::memset(row, 0, static_cast<size_t>(s->width) * 2);
    } else {
      for (int x = 0; x < s->width; ++x) row[x] = bg;
    }
  }
}

int getMaxX(const Surface* s) { return s ? s->size.right - s->size.left - 1 : -1; }
int getMaxY(const Surface* s) { return s ? s->size.bottom - s->size.top - 1 : -1; }

void setClipMode(int on) {
  Surface* s = g_current;
  if (!s) return;
  s->clipOn = on;
  if (on == 1) {
    s->activeClip = s->clip;
  } else {
    s->activeClip = {0, 0, getMaxX(s) + 1, getMaxY(s) + 1};
  }
}

// A system-memory buffer needs no lock; the counter still tracks nesting so a
// missing endDirectAccess shows up in tests.
void beginDirectAccess() {
  if (g_current) ++g_current->accessDepth;
}
void endDirectAccess() {
  if (g_current) --g_current->accessDepth;
}

int getError() {
  int e = g_error;
  g_error = kErrNone;
  return e;
}
void setError(int code) { g_error = code; }

const char* errorMessage(int code) {
  if (code > 0 || code <= -kErrorCodeCount) code = -kErrorCodeCount;
  return kErrorText[-code];
}

void setFatalHandler(FatalHandler handler) { g_fatalHandler = handler; }

void fatalError(const char* text) {
  // The handler shuts the display down and shows the text (on standard error
  // too); without one the text goes there alone.
  if (g_fatalHandler) {
    g_fatalHandler(text ? text : "");
  } else {
    std::fprintf(stderr, "Tesk Fatal Error!: %s\n", text ? text : "");
  }
  std::exit(1);
}
