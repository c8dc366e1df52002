#include "tools/assetgen/icons.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/assetgen/pictures.h"

namespace {

unsigned char byte(float v) { return static_cast<unsigned char>(clamp01(v) * 255.0f + 0.5f); }

// What the PNG and the built-in icon both hold: no colour where nothing shows.
void rgbaAt(const Canvas& c, int x, int y, unsigned char* p) {
  p[0] = byte(c.at(x, y).r);
  p[1] = byte(c.at(x, y).g);
  p[2] = byte(c.at(x, y).b);
  p[3] = byte(c.alphaAt(x, y));
  if (p[3] == 0) p[0] = p[1] = p[2] = 0;
}

bool writeRgbaPng(const std::string& path, const Canvas& c) {
  std::vector<unsigned char> rgba(static_cast<size_t>(c.w) * c.h * 4);
  for (int y = 0; y < c.h; ++y) {
    for (int x = 0; x < c.w; ++x) {
      rgbaAt(c, x, y, &rgba[(static_cast<size_t>(y) * c.w + x) * 4]);
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(c.w);
  image.height = static_cast<png_uint_32>(c.h);
  image.format = PNG_FORMAT_RGBA;
  const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

}  // namespace

bool writeIcons(const std::string& dir, const char* name) {
  bool ok = true;
  for (int size : kIconSizes) {
    const std::string folder = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = folder + "/" + name + ".png";
    if (!writeRgbaPng(path, paintGuardIcon(size))) {
      std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

bool writeIconSource(const std::string& path, int size) {
  bool known = false;
  for (int s : kIconSizes) known = known || s == size;
  if (!known) {
    std::fprintf(stderr, "assetgen: no icon is painted at %d pixels\n", size);
    return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  const Canvas c = paintGuardIcon(size);
  std::fprintf(f,
               "// Made by quillmoor-assetgen --icon-source: the window's icon.\n"
               "#include \"game/windowicon.h\"\n\n"
               "const int kWindowIconSize = %d;\n"
               "const uint32_t kWindowIcon[%d * %d] = {",
               size, size, size);
  for (int i = 0; i < size * size; ++i) {
    unsigned char p[4];
    rgbaAt(c, i % size, i / size, p);
    const unsigned long argb = static_cast<unsigned long>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    std::fprintf(f, "%s0x%08lX,", i % 8 == 0 ? "\n    " : " ", argb);
  }
  std::fprintf(f, "\n};\n");
  const bool ok = std::fclose(f) == 0;
  if (!ok) std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
  return ok;
}
