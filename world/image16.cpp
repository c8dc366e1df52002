#include "world/image16.h"

#include <cstdio>

namespace {

// Pixels read per fread; pictures load once at start-up, one at a time, so one
// static chunk serves them all.
constexpr long long kChunkPixels = 32 * 1024;
unsigned char chunk[2 * kChunkPixels];

}  // namespace

bool loadImage16(const char* path, int w, int h, Storage storage, uint16_t* dest) {
  // Binary mode: the bytes 0D 0A are a pixel, not a line end.
  FILE* f = std::fopen(path, "rb");
  if (!f) {
    std::fputs("Datei konnte nicht zum Lesen geöffnet werden!\n", stdout);
    std::fflush(stdout);
    return false;  // the picture keeps what it held; loading goes on with the next file
  }

  const long long count = (w > 0 && h > 0) ? static_cast<long long>(w) * h : 0;
  long long k = 0;  // index of the next file pixel
  bool atEnd = false;
  while (k < count) {
    const long long pixels = count - k < kChunkPixels ? count - k : kChunkPixels;
    const size_t wanted = static_cast<size_t>(2 * pixels);
    const size_t got = atEnd ? 0 : std::fread(chunk, 1, wanted, f);
    if (got < wanted) atEnd = true;
    // Every byte past the end of the file reads as 0xFF, so a pixel cut in
    // half keeps its high byte and gets 0xFF below it.
    for (size_t b = 0; b < wanted; b += 2, ++k) {
      const unsigned hi = b < got ? chunk[b] : 0xFFu;
      const unsigned lo = b + 1 < got ? chunk[b + 1] : 0xFFu;
      dest[storage == Storage::Reversed ? count - 1 - k : k] = static_cast<uint16_t>((hi << 8) | lo);
    }
  }

  if (std::fclose(f) != 0) {
    std::fputs("Die Datei konnte nicht geschlossen werden!\n", stdout);
    std::fflush(stdout);
  }
  return true;
}
