// Raw .16B pictures (big-endian x1R5G5B5, no header) and the catalogue of
// every picture the game loads at start-up.
#pragma once
#include <cstddef>
#include <cstdint>

#include "world/level.h"

template <int W, int H>
struct Image16 {
  static constexpr int width = W;
  static constexpr int height = H;
  uint16_t pixels[W * H];
};

using BrickPicture = Image16<640, 480>;
using SpritePicture = Image16<200, 400>;
using BackdropPicture = Image16<1024, 384>;
using MeadowPicture = Image16<640, 480>;
using TilePicture = Image16<40, 40>;
using ItemPicture = Image16<320, 240>;
using TitlePicture = Image16<800, 600>;
using MarkPicture = Image16<64, 64>;

enum class Storage { FileOrder, Reversed };

// Decodes w * h pixels from a picture file's bytes in memory into dest; every
// byte past `size` reads as 0xFF. Reversed storage puts file pixel k at index
// w * h - 1 - k. Writes exactly w * h pixels (none when w or h is not positive).
void decodeImage16(const uint8_t* data, size_t size, int w, int h, Storage storage, uint16_t* dest);

// The same from a file, of which it reads no more than the picture needs. A
// file that cannot be opened prints the German message (or its translation)
// on standard output, leaves dest unchanged and gives false.
bool loadImage16(const char* path, int w, int h, Storage storage, uint16_t* dest);

// The catalogue, static for the whole run.
extern BrickPicture brickTextures[8];  // indexed by heldKeys
extern SpritePicture figureSprites[kMaxGuards]
                                  [16];  // [guard slot][view direction], stored turned by 180 degrees
extern BackdropPicture floorPicture;
extern BackdropPicture skyPicture;
extern MeadowPicture meadowPicture;
extern TilePicture statusTiles[kItemCount + 1];  // red, green, blue, neutral
// With the shapes on: the items' tiles with their shapes, and the marks that
// float over the items and their guards (stored bottom-up), red, green, blue.
extern TilePicture shapedTiles[kItemCount];
extern MarkPicture shapeMarks[kItemCount];

void loadBrickTextures();
void loadFigureSprites();
void loadSkyAndFloor();
void loadMeadow();
void loadStatusColours();  // shapedTiles too: a missing one is the plain tile
void loadItemPictures();   // into keyItems[k].picture (gamestate.h); shapeMarks too
