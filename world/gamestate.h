// The state shared by the rules, the controls and the renderer: the player,
// the score, the items carried and the display toggles.
#pragma once
#include <cstdint>

#include "world/image16.h"
#include "world/level.h"

struct PlayerState {
  int32_t floor;
  float x, y;
  float heading;  // radians; travel direction (cos, sin)
};

// Where the player stands at the start: floor 0, in cell (2, 1), facing +x
// turned by a tenth of a degree.
constexpr PlayerState kStartPose = {0, 2.3f, 1.5f, 0.0017453292f};

// The heldKeys bits of the red, green and blue items, and all three held (the
// exit opens).
constexpr int32_t kItemBits[kItemCount] = {1, 2, 4};
constexpr int32_t kAllItemsHeld = 7;

struct KeyItem {
  float x, y;      // centre of the marker's cell, set once
  int32_t active;  // 1 while it lies in the maze
  ItemPicture picture;
};

extern PlayerState player;
extern int32_t score;
extern int32_t timeBonus;
extern int32_t bonusTick;
extern int32_t heldKeys;  // bits: 1 red, 2 green, 4 blue; also the brick picture's number
extern int32_t exitOpen;
extern KeyItem keyItems[kItemCount];  // red, green, blue

// Display toggles, each 0 or 1; only the key-down handler changes them.
extern int32_t showHelp;
extern int32_t showMap;
extern int32_t showFloorPoints;
extern int32_t showTextures;
extern int32_t showObjects;
extern int32_t showSkyAndFloor;
extern int32_t stereoView;
extern int32_t showGuardsOnMap;
// The items' shapes beside their colours (setting "Formen"), 0 or 1: follows
// the setting at start-up and whenever the options page switches it.
extern int32_t showShapes;

// Tests only: every value above back to its start-of-program value.
void resetGameState();
