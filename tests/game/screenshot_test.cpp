// F12 writes the picture on screen as numbered PNG files.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/mainloop.h"
#include "framework/surface.h"
#include "game/controls.h"
#include "support/testdata.h"

TEST(Screenshot, F12SavesTheSurfaceAsNumberedPngs) {
  Surface* s = createSurface(64, 48);
  ASSERT_NE(s, nullptr);
  makeCurrentSurface(s);
  pixelRow(s, 0)[0] = 0x7C00;    // red, top left
  pixelRow(s, 47)[63] = 0x001F;  // blue, bottom right
  const std::string dir = scratchDir("screenshot");
  inDirectory(dir, [] {
    Event f12{};
    f12.what = kEventKeyDown;
    f12.message = 0x58 << 8;
    onKeyDown(&f12);
    onKeyDown(&f12);
  });
  for (const char* name : {"/quillmoor-001.png", "/quillmoor-002.png"}) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir + name).c_str())) << name;
    EXPECT_EQ(image.width, 64u);
    EXPECT_EQ(image.height, 48u);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[2], 0);
    const size_t last = (47 * 64 + 63) * 3;
    EXPECT_EQ(rgb[last], 0);
    EXPECT_EQ(rgb[last + 2], 255);
    EXPECT_EQ(rgb[3], 0);  // black stays opaque black
  }
  makeCurrentSurface(nullptr);
  destroySurface(s);
}
