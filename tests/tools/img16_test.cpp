// The picture converter: exact round trips, transparency both ways, the
// turned sprite layout and clear refusals of bad input.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/testdata.h"

namespace {

const std::string kTool = QUILL_BUILD_DIR "/tools/quillmoor-img16";

int run(const std::string& args, const std::string& errFile) {
  const int status = std::system((kTool + " " + args + " >/dev/null 2>" + errFile).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string raw(const std::vector<uint16_t>& pixels) {
  std::string bytes;
  for (uint16_t v : pixels) {
    bytes.push_back(static_cast<char>(v >> 8));
    bytes.push_back(static_cast<char>(v & 0xFF));
  }
  return bytes;
}

std::vector<png_byte> readPng(const std::string& path, int& w, int& h) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  w = static_cast<int>(image.width);
  h = static_cast<int>(image.height);
  return rgba;
}

TEST(Img16, RoundTripsEveryFifteenBitValueExactly) {
  const std::string dir = scratchDir("img16_roundtrip");
  std::vector<uint16_t> pixels(256 * 128);  // all 32768 values, 0 (transparent) included
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>(i);
  writeFile(dir + "/a.16B", raw(pixels));
  for (const std::string flags : {"", " --turned", " --bottom-up", " --turned --bottom-up"}) {
    ASSERT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png 256x128" + flags, dir + "/err"), 0) << flags;
    ASSERT_EQ(run("from-png " + dir + "/a.png " + dir + "/b.16B" + flags, dir + "/err"), 0) << flags;
    EXPECT_EQ(readFile(dir + "/b.16B"), readFile(dir + "/a.16B")) << flags;
  }
}

TEST(Img16, PngShowsColoursTransparencyAndTheUprightSprite) {
  const std::string dir = scratchDir("img16_png");
  // 2 x 2: file order 0x7C00 (red), 0, 0x03E0 (green), 0x0010.
  writeFile(dir + "/a.16B", raw({0x7C00, 0x0000, 0x03E0, 0x0010}));
  ASSERT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png 2x2", dir + "/err"), 0);
  int w = 0, h = 0;
  std::vector<png_byte> px = readPng(dir + "/a.png", w, h);
  ASSERT_EQ(px.size(), 16u);
  EXPECT_EQ(std::vector<png_byte>(px.begin(), px.begin() + 8),
            (std::vector<png_byte>{255, 0, 0, 255, 0, 0, 0, 0}));
  EXPECT_EQ(px[9], 255);   // green 31 -> 255
  EXPECT_EQ(px[14], 132);  // blue 16 -> 16 << 3 | 16 >> 2
  // Turned: the file's last pixel is the picture's top-left.
  ASSERT_EQ(run("to-png " + dir + "/a.16B " + dir + "/t.png 2x2 --turned", dir + "/err"), 0);
  px = readPng(dir + "/t.png", w, h);
  ASSERT_EQ(px.size(), 16u);
  EXPECT_EQ(px[2], 132);
  EXPECT_EQ(px[12], 255);
}

TEST(Img16, OpaqueBlackNeverBecomesTransparent) {
  const std::string dir = scratchDir("img16_black");
  // Opaque black, half-transparent white, fully transparent red.
  const png_byte rgba[] = {0, 0, 0, 255, 255, 255, 255, 100, 255, 0, 0, 0};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, (dir + "/in.png").c_str(), 0, rgba, 0, nullptr));
  ASSERT_EQ(run("from-png " + dir + "/in.png " + dir + "/out.16B", dir + "/err"), 0);
  EXPECT_EQ(readFile(dir + "/out.16B"), raw({0x0001, 0x0000, 0x0000}));
}

TEST(Img16, RefusesBadInputWithAMessage) {
  const std::string dir = scratchDir("img16_bad");
  writeFile(dir + "/a.16B", std::string(6, '\0'));
  const std::string err = dir + "/err";
  EXPECT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png 2x2", err), 1);  // 6 bytes, 8 needed
  EXPECT_NE(readFile(err).find("6 bytes"), std::string::npos);
  EXPECT_EQ(run("to-png " + dir + "/none.16B " + dir + "/a.png 1x3", err), 1);
  EXPECT_EQ(run("from-png " + dir + "/a.16B " + dir + "/b.16B", err), 1);  // not a PNG
  EXPECT_FALSE(readFile(err).empty());
  // A wrong command line is a usage error (2), told apart from bad data (1).
  EXPECT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png 3", err), 2);
  EXPECT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png 0x3", err), 2);
  EXPECT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png", err), 2);  // size unknown
  EXPECT_EQ(run("to-png " + dir + "/a.16B " + dir + "/a.png 1x3 --sideways", err), 2);
  EXPECT_EQ(run("", err), 2);
}

TEST(Img16, TakesSizeAndRowOrderOfTheGamesOwnPicturesFromTheirNames) {
  const std::string dir = scratchDir("img16_known");
  const std::string err = dir + "/err";
  const std::string meadow = QUILL_GAME_DIR "/bilder/wiese.16B";
  ASSERT_EQ(run("to-png " + meadow + " " + dir + "/named.png", err), 0) << readFile(err);
  ASSERT_EQ(run("to-png " + meadow + " " + dir + "/given.png 640x480 --bottom-up", err), 0);
  EXPECT_EQ(readFile(dir + "/named.png"), readFile(dir + "/given.png"));
  // Back again under the game's name: stored bottom row first, as it came.
  ASSERT_EQ(run("from-png " + dir + "/named.png " + dir + "/wiese.16B", err), 0);
  EXPECT_EQ(readFile(dir + "/wiese.16B"), readFile(meadow));
  // A guard's view is found by its number; the sprite comes out upright.
  const std::string guard = QUILL_GAME_DIR "/bilder/Gw16.16B";
  ASSERT_EQ(run("to-png " + guard + " " + dir + "/g.png", err), 0);
  ASSERT_EQ(run("to-png " + guard + " " + dir + "/h.png 200x400 --turned", err), 0);
  EXPECT_EQ(readFile(dir + "/g.png"), readFile(dir + "/h.png"));
  writeFile(dir + "/Gw17.16B", std::string(160000, '\0'));
  EXPECT_EQ(run("to-png " + dir + "/Gw17.16B " + dir + "/x.png", err), 2);
}

}  // namespace
