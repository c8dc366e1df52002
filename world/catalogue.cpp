// The catalogue of pictures, loaded one by one during start-up in this order.
#include <cstdio>
#include <iterator>

#include "world/gamestate.h"
#include "world/image16.h"
#include "world/level.h"

// Aligned so that the wall pass may read the texels two at a time.
alignas(32) BrickPicture brickTextures[8];
SpritePicture figureSprites[kMaxGuards][16];
BackdropPicture floorPicture;
BackdropPicture skyPicture;
MeadowPicture meadowPicture;
TilePicture statusTiles[kItemCount + 1];
TilePicture shapedTiles[kItemCount];
MarkPicture shapeMarks[kItemCount];

namespace {

template <int W, int H>
bool loadInFileOrder(const char* path, Image16<W, H>& picture) {
  return loadImage16(path, W, H, Storage::FileOrder, picture.pixels);
}

// Brick pictures by heldKeys: the letters R, G, B name the bits 1, 2, 4.
const char* const kBrickFiles[] = {
    "bilder/Ziegel.16B",  "bilder/ZiegelR.16B",  "bilder/ZiegelG.16B",  "bilder/ZiegelRG.16B",
    "bilder/ZiegelB.16B", "bilder/ZiegelRB.16B", "bilder/ZiegelGB.16B", "bilder/ZiegelRGB.16B",
};
static_assert(std::size(kBrickFiles) == kAllItemsHeld + 1, "one brick picture per heldKeys value");

// Sprite file colour letter of each guard slot: white, red, green, blue.
const char kSpriteLetters[] = {'w', 'r', 'g', 'b'};
static_assert(std::size(kSpriteLetters) == kMaxGuards, "one letter per guard slot");

// Colour tiles: red, green, blue, then the neutral one for an item not held.
const char* const kTileFiles[] = {
    "bilder/statcolr.16B",
    "bilder/statcolg.16B",
    "bilder/statcolb.16B",
    "bilder/statcolw.16B",
};
static_assert(std::size(kTileFiles) == kItemCount + 1, "one tile per item, then the neutral one");

// Item pictures: red, green, blue, the order of keyItems.
const char* const kItemFiles[] = {"bilder/eir1.16B", "bilder/eig1.16B", "bilder/eib1.16B"};
static_assert(std::size(kItemFiles) == kItemCount, "one picture per item");

// With the shapes on, by item like the two lists above.
const char* const kShapedTileFiles[] = {"bilder/statforr.16B", "bilder/statforg.16B", "bilder/statforb.16B"};
static_assert(std::size(kShapedTileFiles) == kItemCount, "one shaped tile per item");
const char* const kMarkFiles[] = {"bilder/formr.16B", "bilder/formg.16B", "bilder/formb.16B"};
static_assert(std::size(kMarkFiles) == kItemCount, "one mark per item");

}  // namespace

void loadBrickTextures() {
  for (int i = 0; i <= kAllItemsHeld; ++i) loadInFileOrder(kBrickFiles[i], brickTextures[i]);
}

void loadFigureSprites() {
  char path[32];
  for (int slot = 0; slot < kMaxGuards; ++slot) {
    for (int n = 1; n <= 16; ++n) {
      std::snprintf(path, sizeof path, "bilder/G%c%d.16B", kSpriteLetters[slot], n);
      SpritePicture& sprite = figureSprites[slot][n - 1];
      // Stored turned by 180 degrees: file pixel k lands at index 79999 - k.
      loadImage16(path, SpritePicture::width, SpritePicture::height, Storage::Reversed, sprite.pixels);
    }
  }
}

void loadSkyAndFloor() {
  loadInFileOrder("bilder/Boden.16B", floorPicture);
  loadInFileOrder("bilder/Himmel.16B", skyPicture);
}

void loadMeadow() { loadInFileOrder("bilder/wiese.16B", meadowPicture); }

void loadStatusColours() {
  for (int i = 0; i < std::ssize(kTileFiles); ++i) loadInFileOrder(kTileFiles[i], statusTiles[i]);
  // Data from before the shapes: the tile without its shape still shows what is held.
  for (int k = 0; k < kItemCount; ++k)
    if (!loadInFileOrder(kShapedTileFiles[k], shapedTiles[k])) shapedTiles[k] = statusTiles[k];
}

void loadItemPictures() {
  for (int k = 0; k < kItemCount; ++k) loadInFileOrder(kItemFiles[k], keyItems[k].picture);
  for (int k = 0; k < kItemCount; ++k) loadInFileOrder(kMarkFiles[k], shapeMarks[k]);  // missing: no mark
}
