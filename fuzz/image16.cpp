// Fuzzes the picture decoder: any bytes, read at several sizes in both storage
// orders, must fill exactly the picture and nothing beyond it, with 0xFF for
// every byte past the data's end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "world/image16.h"

namespace {

// Sizes to read every input at: tiny, a colour tile, a guard sprite (turned).
struct Probe {
  int w, h;
  Storage storage;
};
constexpr Probe kProbes[] = {{1, 1, Storage::FileOrder},
                             {3, 2, Storage::Reversed},
                             {40, 40, Storage::FileOrder},
                             {200, 400, Storage::Reversed}};

SpritePicture picture;  // holds the largest probe; the address sanitizer guards its ends
static_assert(std::ranges::all_of(kProbes,
                                  [](const Probe& p) { return p.w * p.h <= std::ssize(picture.pixels); }),
              "every probe fits the picture it is read into");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const Probe& p : kProbes) {
    const size_t n = static_cast<size_t>(p.w) * p.h;
    // A pixel past the probe's own must keep what it held.
    const uint16_t beyond = n < std::size(picture.pixels) ? picture.pixels[n] : 0;
    decodeImage16(data, size, p.w, p.h, p.storage, picture.pixels);
    if (n < std::size(picture.pixels) && picture.pixels[n] != beyond) __builtin_trap();
    // Short data reads 0xFF past its end, so the last pixel is known.
    const uint16_t last = p.storage == Storage::FileOrder ? picture.pixels[n - 1] : picture.pixels[0];
    if (size < 2 * n && 2 * n - size >= 2 && last != 0xFFFF) __builtin_trap();
  }
  return 0;
}
