// quillmoor-img16: turns a raw .16B picture into a PNG and back, so pictures
// can be drawn in any paint program. Value 0 is transparent both ways, and a
// round trip .16B -> PNG -> .16B gives the same bytes.
//   quillmoor-img16 to-png   IN.16B OUT.png [WxH] [--turned | --bottom-up | --top-down]
//   quillmoor-img16 from-png IN.png OUT.16B      [--turned | --bottom-up | --top-down]
// --turned: the file holds the picture turned by 180 degrees (guard sprites).
// --bottom-up: the file's first row is the picture's bottom row (title,
// meadow, items), so the PNG shows it upright. --top-down: neither.
// For the game's own pictures (named as in bilder/) the size and the row order
// come from the name when they are not given.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/cli.h"
#include "tools/img16/known.h"
#include "world/image16.h"
#include "world/pngfile.h"

#include <png.h>

namespace {

constexpr int kMaxSide = 8192;  // pixels; far above any picture of the game

struct Options {
  bool turned = false;
  bool bottomUp = false;
  bool layoutGiven = false;  // a row-order option was on the command line
};

constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: quillmoor-img16 to-png IN.16B OUT.png [WxH] [--turned | --bottom-up | --top-down]\n"
    "       quillmoor-img16 from-png IN.png OUT.16B [--turned | --bottom-up | --top-down]\n"
    "       quillmoor-img16 --help | --version\n"
    "WxH may be left out for the game's own pictures (bilder/wiese.16B is 640x480);\n"
    "their row order then comes from the name too.\n";

int fail(const char* format, const char* a = "", const char* b = "") {
  std::fprintf(stderr, "quillmoor-img16: ");
  std::fprintf(stderr, format, a, b);  // cppcheck-suppress wrongPrintfScanfArgNum
  std::fprintf(stderr, "\n");
  return 1;
}

int usageError(const char* format = nullptr, const char* a = "", const char* b = "") {
  if (format) {
    std::fprintf(stderr, "quillmoor-img16: ");
    std::fprintf(stderr, format, a, b);  // cppcheck-suppress wrongPrintfScanfArgNum
    std::fprintf(stderr, "\n");
  }
  std::fputs(kUsage, stderr);
  return kUsageError;
}

// The row order of a picture the game knows, unless the command line named one.
void applyKnownLayout(const KnownPicture& known, Options& opt) {
  if (opt.layoutGiven) return;
  opt.turned = known.rows == KnownRows::Turned;
  opt.bottomUp = known.rows == KnownRows::BottomUp;
}

bool parseSide(const char* s, const char* end, int& out) {
  if (s == end || end - s > 5) return false;
  int v = 0;
  for (; s < end; ++s) {
    if (*s < '0' || *s > '9') return false;
    v = v * 10 + (*s - '0');
  }
  if (v < 1 || v > kMaxSide) return false;
  out = v;
  return true;
}

bool parseSize(const char* s, int& w, int& h) {
  const char* x = std::strchr(s, 'x');
  return x && parseSide(s, x, w) && parseSide(x + 1, s + std::strlen(s), h);
}

// Index of the picture pixel that PNG pixel (column, row) shows, in the order
// loadImage16 leaves the file's pixels.
size_t arrayIndex(int column, int row, int w, int h, const Options& opt) {
  const int r = opt.bottomUp ? h - 1 - row : row;
  return static_cast<size_t>(r) * w + column;
}

int toPng(const char* in, const char* out, int w, int h, const Options& opt) {
  FILE* f = std::fopen(in, "rb");
  if (!f) return fail("%s: cannot open for reading", in);
  std::fseek(f, 0, SEEK_END);
  const long bytes = std::ftell(f);
  std::fclose(f);
  const long expected = 2L * w * h;
  if (bytes != expected) {
    std::fprintf(stderr, "quillmoor-img16: %s: %ld bytes, but %dx%d needs %ld\n", in, bytes, w, h, expected);
    return 1;
  }
  std::vector<uint16_t> pixels(static_cast<size_t>(w) * h);
  loadImage16(in, w, h, opt.turned ? Storage::Reversed : Storage::FileOrder, pixels.data());

  long highBit = 0;
  std::vector<uint16_t> shown(pixels.size());
  for (int row = 0; row < h; ++row) {
    for (int column = 0; column < w; ++column) {
      const uint16_t v = pixels[arrayIndex(column, row, w, h, opt)];
      if (v & 0x8000) ++highBit;
      shown[static_cast<size_t>(row) * w + column] = v;
    }
  }
  if (highBit > 0)
    std::fprintf(stderr, "quillmoor-img16: %s: %ld pixels have bit 15 set; it is dropped\n", in, highBit);

  char error[128];
  if (!writePng555(out, shown.data(), w, h, w, true, error)) return fail("%s: %s", out, error);
  return 0;
}

// known: the game's picture of that name, whose size the game will read, or null.
int fromPng(const char* in, const char* out, const Options& opt, const KnownPicture* known) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, in)) return fail("%s: %s", in, image.message);
  if (image.width < 1 || image.height < 1 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return fail("%s: the picture is larger than %s pixels a side", in, "8192");
  }
  image.format = PNG_FORMAT_RGBA;
  const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
  std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
    return fail("%s: %s", in, image.message);

  if (known && (known->width != w || known->height != h))
    std::fprintf(stderr, "quillmoor-img16: %s: the game reads this picture as %dx%d, not %dx%d\n", out,
                 known->width, known->height, w, h);

  std::vector<uint16_t> pixels(static_cast<size_t>(w) * h);
  for (int row = 0; row < h; ++row) {
    for (int column = 0; column < w; ++column) {
      const png_byte* p = &rgba[(static_cast<size_t>(row) * w + column) * 4];
      uint16_t v = 0;
      if (p[3] >= 128) {
        v = static_cast<uint16_t>(((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3));
        if (v == 0) v = 0x0001;  // opaque black must not turn transparent
      }
      pixels[arrayIndex(column, row, w, h, opt)] = v;
    }
  }

  FILE* f = std::fopen(out, "wb");
  if (!f) return fail("%s: cannot open for writing", out);
  std::vector<unsigned char> bytes(pixels.size() * 2);
  const size_t n = pixels.size();
  for (size_t k = 0; k < n; ++k) {
    const uint16_t v = pixels[opt.turned ? n - 1 - k : k];
    bytes[2 * k] = static_cast<unsigned char>(v >> 8);  // high byte first
    bytes[2 * k + 1] = static_cast<unsigned char>(v & 0xFF);
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written) return fail("%s: writing failed", out);
  std::printf("%s: %dx%d\n", out, w, h);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  const char* args[4] = {};
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (answeredStandardOption(a, "quillmoor-img16", kUsage)) return 0;
    if (std::strcmp(a, "--turned") == 0) {
      opt.turned = opt.layoutGiven = true;
    } else if (std::strcmp(a, "--bottom-up") == 0) {
      opt.bottomUp = opt.layoutGiven = true;
    } else if (std::strcmp(a, "--top-down") == 0) {
      opt.layoutGiven = true;
    } else if (a[0] == '-' && a[1] != '\0') {
      return usageError("unknown option %s", a);
    } else if (count < 4) {
      args[count++] = a;
    } else {
      return usageError("too many arguments");
    }
  }
  if (count == 0) return usageError();
  const bool toPngCommand = std::strcmp(args[0], "to-png") == 0;
  if (toPngCommand && (count == 3 || count == 4)) {
    int w = 0, h = 0;
    if (count == 4) {
      if (!parseSize(args[3], w, h))
        return usageError("bad size %s: expected WxH, each 1 to %s", args[3], "8192");
    } else {
      const KnownPicture* known = findKnownPicture(args[1]);
      if (!known) return usageError("%s: not one of the game's pictures; give its size as WxH", args[1]);
      w = known->width;
      h = known->height;
      applyKnownLayout(*known, opt);
    }
    return toPng(args[1], args[2], w, h, opt);
  }
  if (std::strcmp(args[0], "from-png") == 0 && count == 3) {
    const KnownPicture* known = findKnownPicture(args[2]);
    if (known) applyKnownLayout(*known, opt);
    return fromPng(args[1], args[2], opt, known);
  }
  if (toPngCommand || std::strcmp(args[0], "from-png") == 0) return usageError("wrong number of arguments");
  return usageError("unknown command %s", args[0]);
}
