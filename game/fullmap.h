// The full map page (Tab, or B on a game controller): the whole maze north-up
// over the paused game. The rules, the guards and the sound stand still while
// it is open; Tab or Esc closes it, and Esc does not quit then.
#pragma once

struct Event;

int fullMapOpen();
void openFullMap();
void closeFullMap();
// A key press while the map is open: Tab or Esc closes it, 9 shows or hides the guards.
void fullMapKey(const Event& event);
// The map over the whole surface and the way back in one line.
void drawFullMapPage();

// Tests only.
void resetFullMap();
