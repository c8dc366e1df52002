#include "world/pngfile.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

bool writePng555(const char* path, const uint16_t* pixels, int w, int h, int pitch, bool zeroIsTransparent,
                 char* error) {
  std::vector<png_byte> rgba(static_cast<size_t>(w) * h * 4);
  for (int row = 0; row < h; ++row) {
    const uint16_t* src = pixels + static_cast<size_t>(row) * pitch;
    png_byte* p = &rgba[static_cast<size_t>(row) * w * 4];
    for (int column = 0; column < w; ++column, p += 4) {
      const uint16_t v = src[column];
      p[0] = expand5((v >> 10) & 31);
      p[1] = expand5((v >> 5) & 31);
      p[2] = expand5(v & 31);
      p[3] = (zeroIsTransparent && v == 0) ? 0 : 255;
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path, 0, rgba.data(), 0, nullptr)) {
    std::snprintf(error, 128, "%s", image.message);
    return false;
  }
  return true;
}
