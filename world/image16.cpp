// placeholder until the loaders land
#include "world/image16.h"
BrickPicture brickTextures[8];
SpritePicture figureSprites[4][16];
BackdropPicture floorPicture;
BackdropPicture skyPicture;
MeadowPicture meadowPicture;
TilePicture statusTiles[4];
void loadImage16(const char*, int, int, Storage, uint16_t*) {}
void loadBrickTextures() {}
void loadFigureSprites() {}
void loadSkyAndFloor() {}
void loadMeadow() {}
void loadStatusColours() {}
void loadItemPictures() {}
