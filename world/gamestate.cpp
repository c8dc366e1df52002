#include "world/gamestate.h"

PlayerState player;
int32_t score;
int32_t timeBonus;
int32_t bonusTick;
int32_t heldKeys;
int32_t exitOpen;
KeyItem keyItems[kItemCount];

int32_t showHelp;
int32_t showMap;
int32_t showFloorPoints;
int32_t showTextures;
int32_t showObjects;
int32_t showSkyAndFloor;
int32_t stereoView;
int32_t showGuardsOnMap;
int32_t showShapes;

// The start values, written only here: the program starts with them and tests
// come back to them.
void resetGameState() {
  player = kStartPose;
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
  showShapes = 0;
}

namespace {
struct StartValues {
  StartValues() { resetGameState(); }
};
StartValues g_start;  // defined after the state above, so constructed after it
}  // namespace
