// The drawing surface: a system-memory 16-bit back buffer and the small set of
// drawing operations the game uses (colour, pixel, line, clear, clipping,
// direct access), plus the process-wide error code and fatalError.
#pragma once
#include <cstdint>

#include "platform/pixelbuffer.h"

struct FontRecord;

struct PixelFormat {
  uint8_t redMask, redPos, redAdjust;
  uint8_t greenMask, greenPos, greenAdjust;
  uint8_t blueMask, bluePos, blueAdjust;
  uint8_t rsvdMask, rsvdPos, rsvdAdjust;
};

// x1R5G5B5, the only layout the game's back buffer ever has.
extern const PixelFormat kPixelFormat555;

// Text attributes live with the surface; the stroke font (font.cpp) reads them.
struct TextAttributes {
  FontRecord* font;
  int numerX, denomX, numerY, denomY;
  int horizJustify;  // 0 left, 1 centre, 2 right
  int vertJustify;   // 0 top, 1 centre, 2 bottom, 3 baseline
  int direction;     // 0 right to left, 1 upward, 2 left to right, 3 downward
  int spacing;       // pixels added to every advance
  friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

// The platform's pixel buffer (size, pitch, pixels) with the drawing state:
// a plain record extended, so the display layer presents a Surface as it is.
struct Surface : PixelBuffer {
  int bitsPerPixel;  // 15 for every surface the game draws into
  PixelFormat format;
  Rect size;
  int originX, originY;  // viewport origin added to putPixel/drawLine/drawText coordinates
  Rect clip;             // the stored clip rectangle
  Rect activeClip;       // what clipping uses now (clip, or the whole surface)
  int clipOn;
  uint32_t colour;
  uint32_t background;
  int writeMode, penStyle;
  TextAttributes text;
  int accessDepth;  // -1 when no direct-access stretch is open
};

// Allocates a width x height x1R5G5B5 surface, cleared to 0, with a padded pitch.
// Returns nullptr (error -10) when the size is not positive or memory runs out.
Surface* createSurface(int width, int height);
void destroySurface(Surface* s);
// The pitch createSurface picks for a width: 2 * width rounded up, never a power of two.
int paddedBytesPerLine(int width);

// The current surface that every drawing operation below targets.
void makeCurrentSurface(Surface* s);
Surface* currentSurface();

void setColor(uint32_t colour);
void putPixel(int x, int y);
// putPixel of pixels[0 .. count - 1] at (x, y), (x + 1, y), ..., each in its
// own colour, with putPixel's clipping; the current colour stays as it was.
void putPixelRow(int x, int y, const uint16_t* pixels, int count);
void drawLine(int x1, int y1, int x2, int y2);
void clearSurface();
int getMaxX(const Surface* s);
int getMaxY(const Surface* s);
void setClipMode(int on);
void beginDirectAccess();
void endDirectAccess();

// The process-wide error codes: 0 no error, each negative code named for its
// text in errorMessage's table.
enum ErrorCode : int {
  kErrNone = 0,
  kErrNotInstalled = -1,
  kErrNoHardware = -2,
  kErrDriverNotFound = -3,
  kErrDriverCorrupt = -4,
  kErrNoDriverMemory = -5,
  kErrInvalidMode = -6,
  kErrInvalidDriver = -7,
  kErrGeneral = -8,
  kErrInvalidDriverName = -9,
  kErrNoMemory = -10,
  kErrModeNotSupported = -11,
  kErrInvalidFont = -12,
  kErrFontCorrupt = -13,
  kErrFontNotFound = -14,
  kErrDriverVersion = -15,
  kErrInvalidDevice = -16,
  kErrInvalidContext = -17,
  kErrInvalidCursor = -18,
  kErrCursorNotFound = -19,
  kErrInvalidIcon = -20,
  kErrIconNotFound = -21,
  kErrInvalidBitmap = -22,
  kErrBitmapNotFound = -23,
  kErrInvalidErrorNumber = -24,
  kErrZBufferTooLarge = -25,
  kErrFontVersion = -26,
  kErrRegionOpen = -27,
  kErrNoDoubleBuffer = -28,
  kErrNoOffscreenBlit = -29,
  kErrNoOffscreenMemory = -30,
  kErrInvalidMemoryFormat = -31,
};
constexpr int kErrorCodeCount = 32;  // 0 .. -31; errorMessage answers any other code with "NONE"

int getError();           // returns the code and resets it to 0
void setError(int code);  // used by the framework and the font loader
const char* errorMessage(int code);

// Shuts the graphics down (the desktop gets its mode back), shows the text in
// a message box and on standard error, and ends the process with exit code 1.
[[noreturn]] void fatalError(const char* text);
// The framework installs the function that releases the display and shows the
// text (box and standard error).
using FatalHandler = void (*)(const char* text);
void setFatalHandler(FatalHandler handler);
