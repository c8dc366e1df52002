// The SDL half of game controllers, for the SDL port's event pump: opens the
// pads SDL's game-controller interface knows (its mapping database covers the
// common ones), follows plugging and unplugging, and turns their input into
// key events through gamepad.h.
#pragma once
#include "platform/gamepad.h"

union SDL_Event;

// The most key events one call below writes: every key of every pad.
constexpr int kMaxPadEvents = kPadSlots * kPadKeyCount;

// Starts SDL's game-controller interface (after the video). Without it the
// game simply has no pads; nothing is reported. Pads already plugged in
// arrive as device-added events.
void openPads();
// Closes every pad and the interface; held pad keys are forgotten.
void closePads();
// A controller event (added, removed, remapped, axis, button): writes the
// key events it causes into out and returns how many; 0 for other events.
int padEvent(const SDL_Event& event, DisplayEvent* out);
// The keyboard's side of who holds which key (see PadInput).
void padsKeyboardPressed(int scanCode);
int padsKeyboardReleased(int scanCode);
// The window lost the focus (the key table is cleared) ...
void padsFocusLost();
// ... and got it back: the steering keys pads still hold go down again.
int padsFocusGained(DisplayEvent* out);

// A pad made in software (SDL's virtual joystick, which SDL maps as a game
// controller), so the path from SDL to key events can be checked without
// hardware. Needs the SDL display open; the pad arrives, like a real one, as
// a device-added event at the next pollEvent. Returns an id, -1 when SDL
// cannot make one.
int plugVirtualPad();
// Sets the virtual pad's stick and buttons; seen at the next pollEvent.
void setVirtualPad(int id, const PadState& state);
// Unplugs it.
void unplugVirtualPad(int id);
