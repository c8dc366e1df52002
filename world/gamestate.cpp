#include "world/gamestate.h"

#include <cstring>

PlayerState player = {0, 2.3f, 1.5f, 0.0017453292f};
int32_t score = 0;
int32_t timeBonus = 1000;
int32_t bonusTick = 0;
int32_t heldKeys = 0;
int32_t exitOpen = 0;
KeyItem keyItems[3];

int32_t showHelp = 1;
int32_t showMap = 0;
int32_t showFloorPoints = 1;
int32_t showTextures = 1;
int32_t showObjects = 1;
int32_t showSkyAndFloor = 1;
int32_t stereoView = 0;
int32_t showGuardsOnMap = 0;

void resetGameState() {
  player = {0, 2.3f, 1.5f, 0.0017453292f};
  score = 0;
  timeBonus = 1000;
  bonusTick = 0;
  heldKeys = 0;
  exitOpen = 0;
  for (KeyItem& k : keyItems) {
    k.x = k.y = 0.0f;
    k.active = 0;
  }
  showHelp = 1;
  showMap = 0;
  showFloorPoints = 1;
  showTextures = 1;
  showObjects = 1;
  showSkyAndFloor = 1;
  stereoView = 0;
  showGuardsOnMap = 0;
}
