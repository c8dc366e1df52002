// The stroke font: finding and checking the font file, the text attributes of
// the current surface, and drawing text as scaled line segments.
#include "framework/font.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/surface.h"

// The record proper (the 58-byte name, then the file from offset 256 on)
// follows this header, which remembers its length so that no glyph walk can
// ever leave it.
struct FontRecord {
  size_t size;
  unsigned serial;  // see fontSerial
};

namespace {

constexpr char kMagic[] = "Torvianex Font File:";  // compared with its terminating 0
constexpr long kFileHeader = 256;
constexpr long kNameOffset = 21;
constexpr long kNameBytes = 58;  // 57 characters and the 0
constexpr long kFileGlyphData = 1040;
// Byte positions inside the record: the file's offset 256 lands at 58.
constexpr long kFontType = kNameBytes + 0;
constexpr long kAscent = kNameBytes + 10;
constexpr long kDescent = kNameBytes + 12;
constexpr long kWidthTable = kNameBytes + 16;
constexpr long kOffsetTable = kWidthTable + 256;
constexpr long kGlyphData = kOffsetTable + 512;
static_assert(kWidthTable == 74 && kOffsetTable == 330 && kGlyphData == 842, "record layout");
static_assert(kGlyphData == kNameBytes + kFileGlyphData - kFileHeader,
              "the record is the file less 198 bytes");

constexpr int kStrokeFont = 1;
constexpr int kDirRightToLeft = 0, kDirUp = 1, kDirLeftToRight = 2, kDirDown = 3;
// Screen coordinates beyond this are far off any surface; drawLine takes int.
constexpr long long kCoordLimit = 1LL << 30;

// Bitmap font resources: a 118-byte header with the version word at 0 and the
// font-type word at 66.
constexpr long kBitmapHeader = 118;
constexpr long kBitmapTypeWord = 66;
constexpr int kBitmapVersion = 0x200;

uint8_t* bytesOf(FontRecord* f) { return reinterpret_cast<uint8_t*>(f + 1); }
const uint8_t* bytesOf(const FontRecord* f) { return reinterpret_cast<const uint8_t*>(f + 1); }

int word16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8)); }
unsigned uword16(const uint8_t* p) { return static_cast<unsigned>(p[0] | p[1] << 8); }

// Where the font's bytes come from: an open file or a block of memory.
struct Source {
  std::FILE* file;
  const uint8_t* mem;
  long size;
};

bool readAt(const Source& src, long offset, void* dst, long len) {
  if (len == 0) return true;
  if (offset < 0 || len < 0 || offset > src.size || len > src.size - offset) return false;
  if (src.mem) {
    std::memcpy(dst, src.mem + offset, static_cast<size_t>(len));
    return true;
  }
  if (std::fseek(src.file, offset, SEEK_SET) != 0) return false;
  return std::fread(dst, 1, static_cast<size_t>(len), src.file) == static_cast<size_t>(len);
}

long glyphBytes(const FontRecord* f) { return static_cast<long>(f->size) - kGlyphData; }

// True when a glyph at this offset of the glyph data ends with its end word
// inside the data.
bool glyphFits(const FontRecord* f, int offset) {
  const long n = glyphBytes(f);
  if (offset < 0) return false;
  const uint8_t* data = bytesOf(f) + kGlyphData;
  for (long at = offset; at + 2 <= n; at += 2)
    if ((data[at] & 1) == 0) return true;
  return false;
}

// Every offset other than -1 must lead to a whole glyph inside the data.
bool glyphsFit(const FontRecord* f) {
  const uint8_t* offsets = bytesOf(f) + kOffsetTable;
  for (int c = 0; c < 256; ++c) {
    const int off = word16(offsets + 2 * c);
    if (off != -1 && !glyphFits(f, off)) return false;
  }
  return true;
}

FontRecord* readStrokeFont(const Source& src, const uint8_t* head) {
  // Without the whole metric block and both tables there is nothing to draw with.
  if (src.size < kFileGlyphData) {
    setError(kErrFontCorrupt);
    return nullptr;
  }
  const size_t recordSize = static_cast<size_t>(src.size - kFileHeader + kNameBytes);
  FontRecord* f = static_cast<FontRecord*>(std::malloc(sizeof(FontRecord) + recordSize));
  if (!f) {
    setError(kErrNoDriverMemory);
    return nullptr;
  }
  static unsigned loaded = 0;
  f->size = recordSize;
  f->serial = ++loaded;
  uint8_t* rec = bytesOf(f);
  // A longer name is cut to 57 characters; the name is never used for drawing.
  std::memset(rec, 0, kNameBytes);
  for (long i = 0; i < kNameBytes - 1 && kNameOffset + i < kFileHeader && head[kNameOffset + i]; ++i)
    rec[i] = head[kNameOffset + i];
  if (!readAt(src, kFileHeader, rec + kNameBytes, src.size - kFileHeader) || !glyphsFit(f)) {
    std::free(f);
    setError(kErrFontCorrupt);
    return nullptr;
  }
  return f;
}

// Bitmap fonts are recognised far enough to give the right error; the game
// draws stroke fonts only, so even a good one is refused.
FontRecord* readBitmapFont(const Source& src, const uint8_t* head) {
  if (src.size < kBitmapHeader || word16(head + kBitmapTypeWord) != 0) {
    setError(kErrFontCorrupt);
    return nullptr;
  }
  setError(uword16(head) != kBitmapVersion ? kErrFontVersion : kErrFontCorrupt);
  return nullptr;
}

FontRecord* readFont(const Source& src) {
  uint8_t head[kFileHeader] = {};
  const long headLen = src.size < kFileHeader ? src.size : kFileHeader;
  if (src.size < 0 || !readAt(src, 0, head, headLen)) {
    setError(kErrFontCorrupt);
    return nullptr;
  }
  if (std::memcmp(head, kMagic, sizeof kMagic) == 0) return readStrokeFont(src, head);
  return readBitmapFont(src, head);
}

// Paths are written with backslashes in the game's data; here they are '/'.
std::string unixPath(const char* p) {
  std::string s(p);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// Opens a regular file for reading; a folder of the same name does not count.
std::FILE* openRegular(const std::string& path, long& size) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return nullptr;
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  size = static_cast<long>(st.st_size);
  return f;
}

struct Scale {
  long long num, den;
};

// The scale along the run of the text and the one across it: upward and
// downward text swap the horizontal and vertical scale.
void runScales(const TextAttributes& t, Scale& along, Scale& across) {
  const bool vertical = t.direction == kDirUp || t.direction == kDirDown;
  const Scale sx = {t.numerX, t.denomX}, sy = {t.numerY, t.denomY};
  along = vertical ? sy : sx;
  across = vertical ? sx : sy;
}

// The glyph offset and advance width of a code; code 0 stands in for codes without a glyph.
void lookUp(const FontRecord* f, unsigned char code, int& offset, int& width) {
  const uint8_t* rec = bytesOf(f);
  offset = word16(rec + kOffsetTable + 2 * code);
  width = rec[kWidthTable + code];
  if (offset == -1) {
    offset = word16(rec + kOffsetTable);
    width = rec[kWidthTable];
  }
}

long long advanceOf(const TextAttributes& t, const Scale& along, int width) {
  return width * along.num / along.den + t.spacing;
}

long long runWidth(const TextAttributes& t, const unsigned char* text) {
  Scale along, across;
  runScales(t, along, across);
  long long w = 0;
  for (; *text; ++text) {
    int offset, width;
    lookUp(t.font, *text, offset, width);
    w += advanceOf(t, along, width);
  }
  return w;
}

// Text-frame point (u along the run, w downward across it) to screen.
void toScreen(int direction, long long ox, long long oy, long long u, long long w, long long& sx,
              long long& sy) {
  switch (direction) {
    case kDirRightToLeft:
      sx = ox - u;
      sy = oy + w;
      break;
    case kDirUp:
      sx = ox + w;
      sy = oy - u;
      break;
    case kDirDown:
      sx = ox - w;
      sy = oy + u;
      break;
    default:
      sx = ox + u;
      sy = oy + w;
      break;
  }
}

bool onScreenRange(long long v) { return v > -kCoordLimit && v < kCoordLimit; }

void drawGlyph(const FontRecord* f, int offset, const TextAttributes& t, const Scale& along,
               const Scale& across, long long ox, long long oy, long long pen, long long baseline) {
  if (offset < 0) return;
  const long n = glyphBytes(f);
  const uint8_t* data = bytesOf(f) + kGlyphData;
  long long px = 0, py = 0;
  for (long at = offset; at + 2 <= n; at += 2) {
    const unsigned w = uword16(data + at);
    if ((w & 1) == 0) break;
    int sx = static_cast<int>((w >> 1) & 0x7F);
    int sy = static_cast<int>((w >> 9) & 0x7F);
    if (sx >= 64) sx -= 128;
    if (sy >= 64) sy -= 128;
    const long long X = sx * along.num / along.den;
    const long long Y = sy * across.num / across.den;
    if ((w & 0x100) == 0) {
      long long x1, y1, x2, y2;
      toScreen(t.direction, ox, oy, pen + px, baseline - py, x1, y1);
      toScreen(t.direction, ox, oy, pen + X, baseline - Y, x2, y2);
      if (onScreenRange(x1) && onScreenRange(y1) && onScreenRange(x2) && onScreenRange(y2))
        drawLine(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2));
    }
    px = X;
    py = Y;
  }
}

TextAttributes* currentText() {
  Surface* s = currentSurface();
  return s ? &s->text : nullptr;
}

}  // namespace

FontRecord* loadFont(const char* name) {
  setError(kErrNone);
  if (!name || !*name) {
    setError(kErrFontNotFound);
    return nullptr;
  }
  const std::string given = unixPath(name);
  std::string candidates[4];
  int count = 0;
  candidates[count++] = given;
  candidates[count++] = "FONTS/" + given;
  if (const char* root = std::getenv("TESK_ROOT")) {
    std::string r = unixPath(root);
    if (r.empty() || r.back() != '/') r += '/';
    candidates[count++] = r + "FONTS/" + given;
    candidates[count++] = given;
  }
  for (int i = 0; i < count; ++i) {
    long size = 0;
    std::FILE* file = openRegular(candidates[i], size);
    if (!file) continue;
    FontRecord* f = readFont(Source{file, nullptr, size});
    std::fclose(file);
    return f;
  }
  setError(kErrFontNotFound);
  return nullptr;
}

FontRecord* loadFontFromMemory(const void* bytes, long size) {
  setError(kErrNone);
  if (!bytes && size > 0) {
    setError(kErrFontCorrupt);
    return nullptr;
  }
  return readFont(Source{nullptr, static_cast<const uint8_t*>(bytes), size});
}

void freeFont(FontRecord* font) {
  if (!font) return;
  TextAttributes* t = currentText();
  if (t && t->font == font) t->font = nullptr;
  std::free(font);
}

int setFont(FontRecord* font) {
  setError(kErrNone);
  if (!font) return 1;
  const int type = word16(bytesOf(font) + kFontType);
  if (type < 0 || type > 3) {
    setError(kErrInvalidFont);
    return 0;
  }
  TextAttributes* t = currentText();
  if (!t) return 0;  // no surface to hold the font yet
  t->font = font;
  t->direction = kDirLeftToRight;
  return 1;
}

// A zero denominator would divide by zero at every point: such a call is ignored.
void setTextSize(int numerX, int denomX, int numerY, int denomY) {
  TextAttributes* t = currentText();
  if (!t || denomX == 0 || denomY == 0) return;
  t->numerX = numerX;
  t->denomX = denomX;
  t->numerY = numerY;
  t->denomY = denomY;
}

void setTextJustify(int horizontal, int vertical) {
  TextAttributes* t = currentText();
  if (!t) return;
  if (horizontal >= 0 && horizontal <= 2) t->horizJustify = horizontal;
  if (vertical >= 0 && vertical <= 3) t->vertJustify = vertical;
}

void setTextDirection(int direction) {
  TextAttributes* t = currentText();
  if (t && direction >= 0 && direction <= 3) t->direction = direction;
}

void setCharSpacing(int pixels) {
  TextAttributes* t = currentText();
  if (t) t->spacing = pixels;
}

int textWidth(const char* text) {
  const TextAttributes* t = currentText();
  if (!t || !t->font || !text) return 0;
  const long long w = runWidth(*t, reinterpret_cast<const unsigned char*>(text));
  return static_cast<int>(w > kCoordLimit ? kCoordLimit : w < -kCoordLimit ? -kCoordLimit : w);
}

int textAscent() {
  const TextAttributes* t = currentText();
  if (!t || !t->font) return 0;
  Scale along, across;
  runScales(*t, along, across);
  return static_cast<int>(word16(bytesOf(t->font) + kAscent) * across.num / across.den);
}

unsigned fontSerial(const FontRecord* font) { return font ? font->serial : 0; }

void drawText(int x, int y, const char* text) {
  const TextAttributes* tp = currentText();
  if (!tp || !tp->font || !text) return;
  const TextAttributes& t = *tp;
  const FontRecord* f = t.font;
  if (word16(bytesOf(f) + kFontType) != kStrokeFont) return;  // bitmap fonts are never drawn here
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text);

  Scale along, across;
  runScales(t, along, across);
  const long long A = word16(bytesOf(f) + kAscent) * across.num / across.den;
  const long long D = word16(bytesOf(f) + kDescent) * across.num / across.den;

  // Baseline across the run, from the vertical justification.
  long long baseline = 0;
  switch (t.vertJustify) {
    case 0: baseline = A; break;
    case 1: baseline = (A + D + 1) / 2; break;
    case 2: baseline = D; break;
    default: break;
  }
  // Start of the run, from the horizontal justification.
  long long pen = 0;
  if (t.horizJustify == 1)
    pen = -(runWidth(t, s) / 2);
  else if (t.horizJustify == 2)
    pen = -runWidth(t, s);

  for (; *s; ++s) {
    int offset, width;
    lookUp(f, *s, offset, width);
    drawGlyph(f, offset, t, along, across, x, y, pen, baseline);
    pen += advanceOf(t, along, width);
  }
}
