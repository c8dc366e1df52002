// Fuzzes the picture loader: any file, read at several sizes in both storage
// orders, must fill exactly the picture and nothing beyond it, with 0xFF for
// every byte past the file's end.
#include <cstddef>
#include <cstdint>

#include "fuzz/inputfile.h"
#include "world/image16.h"

namespace {

// Sizes to read every input at: tiny, a colour tile, a guard sprite (turned).
struct Probe {
  int w, h;
  Storage storage;
};
const Probe kProbes[] = {{1, 1, Storage::FileOrder},
                         {3, 2, Storage::Reversed},
                         {40, 40, Storage::FileOrder},
                         {200, 400, Storage::Reversed}};
static_assert(sizeof kProbes / sizeof kProbes[0] == 4, "four sizes per input");

SpritePicture picture;  // holds the largest probe; the address sanitizer guards its ends

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = writeInputFile("image16", ".16B", data, size);
  if (!path) return 0;
  for (const Probe& p : kProbes) {
    loadImage16(path, p.w, p.h, p.storage, picture.pixels);
    // A short file reads 0xFF past its end, so the last pixel is known.
    const size_t n = static_cast<size_t>(p.w) * p.h;
    const uint16_t last = p.storage == Storage::FileOrder ? picture.pixels[n - 1] : picture.pixels[0];
    if (size < 2 * n && 2 * n - size >= 2 && last != 0xFFFF) __builtin_trap();
  }
  return 0;
}
