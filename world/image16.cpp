#include "world/image16.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/translate.h"

namespace {

size_t pixelCount(int w, int h) {
  return (w > 0 && h > 0) ? static_cast<size_t>(w) * static_cast<size_t>(h) : 0;
}

}  // namespace

void decodeImage16(const uint8_t* data, size_t size, int w, int h, Storage storage, uint16_t* dest) {
  const size_t count = pixelCount(w, h);
  const size_t whole = std::min(count, size / 2);  // pixels with both bytes in the data
  // File pixel k lands at index k, or at count - 1 - k in a picture stored turned.
  const bool turned = storage == Storage::Reversed;
  auto at = [&](size_t k) -> uint16_t& { return dest[turned ? count - 1 - k : k]; };
  for (size_t k = 0; k < whole; ++k) at(k) = static_cast<uint16_t>((data[2 * k] << 8) | data[2 * k + 1]);
  if (whole == count) return;
  // Every byte past the end of the data reads as 0xFF, so a pixel cut in half
  // keeps its high byte and gets 0xFF below it, and all after it are 0xFFFF.
  at(whole) = 2 * whole < size ? static_cast<uint16_t>((data[2 * whole] << 8) | 0xFF) : 0xFFFF;
  uint16_t* const rest = turned ? dest : dest + whole + 1;
  std::memset(rest, 0xFF, (count - whole - 1) * sizeof *rest);
}

bool loadImage16(const char* path, int w, int h, Storage storage, uint16_t* dest) {
  // Binary mode: the bytes 0D 0A are a pixel, not a line end.
  FILE* f = std::fopen(path, "rb");
  if (!f) {
    std::fputs(_("Datei konnte nicht zum Lesen geöffnet werden!\n"), stdout);
    std::fflush(stdout);
    return false;  // the picture keeps what it held; loading goes on with the next file
  }

  // Pictures load at start-up, one at a time: one buffer of the picture's own
  // size each, and a longer file's tail is never read.
  std::vector<uint8_t> bytes(2 * pixelCount(w, h));
  const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
  decodeImage16(bytes.data(), got, w, h, storage, dest);

  if (std::fclose(f) != 0) {
    std::fputs(_("Die Datei konnte nicht geschlossen werden!\n"), stdout);
    std::fflush(stdout);
  }
  return true;
}
