// The picture generator's painters, one per family of pictures. Each paints
// its pictures and hands them to savePicture (writer.h).
#pragma once
#include "tools/assetgen/raster.h"

void makeBrickPictures();
void makeGuardPictures();
void makeSkyAndFloor();
void makeMeadow();
void makeItemPictures();
void makeColourTiles();
void makeShapeMarks();
// fontPath may be null: the title is then painted without its lettering.
void makeTitle(const char* fontPath);

// The items' colours, red, green and blue, by item.
Rgb itemColour(int item);

// The 640 x 480 brick wall for a set of held items (bit 1 red, 2 green, 4 blue),
// upright; the title reuses it for its maze.
Canvas paintBrickWall(int heldKeys);

// The desktop icon, size x size, upright: the white guard's head and shoulders
// from the sprites' model. Alpha is coverage, for a PNG with soft edges.
Canvas paintGuardIcon(int size);
