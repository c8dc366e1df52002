// Raw picture loading: byte order, storage order, short and missing files,
// and where the catalogue puts what it reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/testdata.h"
#include "world/gamestate.h"
#include "world/image16.h"

namespace {

std::string bigEndian(const std::vector<uint16_t>& pixels) {
  std::string bytes;
  for (uint16_t v : pixels) {
    bytes.push_back(static_cast<char>(v >> 8));
    bytes.push_back(static_cast<char>(v & 0xFF));
  }
  return bytes;
}

int countLines(const std::string& text, const std::string& line) {
  int n = 0;
  for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
  return n;
}

TEST(DecodeImage16, AssemblesHighByteFirstAndReadsPastTheEndAsFF) {
  // Five bytes: the third pixel is cut in half and keeps its high byte.
  const uint8_t bytes[] = {0x7F, 0xFF, 0x7C, 0x00, 0x56};
  uint16_t px[4] = {};
  decodeImage16(bytes, sizeof bytes, 4, 1, Storage::FileOrder, px);
  EXPECT_EQ(px[0], 0x7FFF);
  EXPECT_EQ(px[1], 0x7C00);
  EXPECT_EQ(px[2], 0x56FF);
  EXPECT_EQ(px[3], 0xFFFF);
  static TilePicture tile;
  decodeImage16(nullptr, 0, 40, 40, Storage::FileOrder, tile.pixels);
  for (uint16_t v : tile.pixels) ASSERT_EQ(v, 0xFFFF);
}

TEST(LoadImage16, TakesThePictureFromTheFileInBinaryModeWhateverItsLength) {
  const std::string dir = scratchDir("image16_file");
  // Longer than the picture, with a line end among its bytes.
  std::vector<uint16_t> pixels(1024 * 384 + 5);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>(i * 7);
  pixels[1] = 0x0D0A;
  writeFile(dir + "/big.16B", bigEndian(pixels));
  static BackdropPicture picture;
  loadImage16((dir + "/big.16B").c_str(), 1024, 384, Storage::FileOrder, picture.pixels);
  for (size_t i = 0; i < 1024 * 384; ++i) ASSERT_EQ(picture.pixels[i], pixels[i]) << i;
  // Shorter: past its end every byte reads as 0xFF.
  writeFile(dir + "/odd.16B", std::string("\x12\x34\x56", 3));
  uint16_t px[3] = {};
  loadImage16((dir + "/odd.16B").c_str(), 3, 1, Storage::Reversed, px);
  EXPECT_EQ(px[2], 0x1234);
  EXPECT_EQ(px[1], 0x56FF);
  EXPECT_EQ(px[0], 0xFFFF);
}

TEST(LoadImage16, MissingFilePrintsOnceAndLeavesThePictureAlone) {
  uint16_t px[4] = {1, 2, 3, 4};
  testing::internal::CaptureStdout();
  loadImage16("no/such/picture.16B", 2, 2, Storage::Reversed, px);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "Datei konnte nicht zum Lesen geöffnet werden!\n");
  EXPECT_EQ(px[0], 1);
  EXPECT_EQ(px[3], 4);
}

TEST(Catalogue, SpritesAreStoredTurnedUnderTheirSlotAndNumber) {
  const std::string dir = scratchDir("image16_sprites");
  std::vector<uint16_t> pixels(200 * 400, 0x0100);
  pixels.front() = 0x0001;
  pixels.back() = 0x0002;
  std::filesystem::create_directories(dir + "/bilder");
  writeFile(dir + "/bilder/Gw1.16B", bigEndian(pixels));
  pixels.front() = 0x0003;
  writeFile(dir + "/bilder/Gb16.16B", bigEndian(pixels));
  std::string out;
  inDirectory(dir, [&] {
    testing::internal::CaptureStdout();
    loadFigureSprites();
    out = testing::internal::GetCapturedStdout();
  });
  EXPECT_EQ(countLines(out, "Datei konnte nicht zum Lesen geöffnet werden!\n"), 62);
  EXPECT_EQ(figureSprites[0][0].pixels[79999], 0x0001);
  EXPECT_EQ(figureSprites[0][0].pixels[0], 0x0002);
  EXPECT_EQ(figureSprites[3][15].pixels[79999], 0x0003);
}

TEST(Catalogue, ItemPicturesGoIntoTheirItems) {
  const std::string dir = scratchDir("image16_items");
  std::filesystem::create_directories(dir + "/bilder");
  writeFile(dir + "/bilder/eig1.16B", bigEndian(std::vector<uint16_t>(320 * 240, 0x03E0)));
  inDirectory(dir, [&] {
    testing::internal::CaptureStdout();
    loadItemPictures();
    testing::internal::GetCapturedStdout();
  });
  EXPECT_EQ(keyItems[1].picture.pixels[0], 0x03E0);
  EXPECT_EQ(keyItems[1].picture.pixels[320 * 240 - 1], 0x03E0);
  EXPECT_NE(keyItems[0].picture.pixels[0], 0x03E0);
}

}  // namespace
