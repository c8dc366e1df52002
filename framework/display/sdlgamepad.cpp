// Game controllers through SDL's game-controller interface.
#include "framework/display/sdlgamepad.h"

#include <SDL.h>

#include "framework/display/display.h"

namespace {
constexpr bool sameButton(PadButton ours, SDL_GameControllerButton sdl) {
  return static_cast<int>(ours) == sdl;
}
static_assert(sameButton(kPadA, SDL_CONTROLLER_BUTTON_A) &&
                  sameButton(kPadBack, SDL_CONTROLLER_BUTTON_BACK) &&
                  sameButton(kPadLeftShoulder, SDL_CONTROLLER_BUTTON_LEFTSHOULDER) &&
                  sameButton(kPadDpadRight, SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
              "PadButton follows SDL's numbering");

struct Pad {
  SDL_GameController* controller;  // nullptr: the slot is free
  SDL_JoystickID id;               // the instance id SDL's events name it by
};
struct Pads {
  bool open;
  Pad slots[kPadSlots];
  PadInput input;
};
Pads g_pads;

int slotOf(SDL_JoystickID id) {
  for (int i = 0; i < kPadSlots; ++i) {
    if (g_pads.slots[i].controller && g_pads.slots[i].id == id) return i;
  }
  return -1;
}

// Reads the pad's whole state rather than the event's one value, so a
// missed or merged event cannot leave a key held.
PadState readPad(SDL_GameController* c) {
  PadState s{};
  s.leftX = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
  s.leftY = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
  for (int b = 0; b < kPadButtonCount; ++b) {
    if (SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b))) s.buttons |= 1u << b;
  }
  return s;
}

void plugIn(int deviceIndex) {
  if (SDL_JoystickGetDeviceInstanceID(deviceIndex) >= 0 &&
      slotOf(SDL_JoystickGetDeviceInstanceID(deviceIndex)) >= 0)
    return;  // already open: SDL names the pads present at start-up twice
  for (Pad& p : g_pads.slots) {
    if (p.controller) continue;
    p.controller = SDL_GameControllerOpen(deviceIndex);
    if (p.controller) p.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(p.controller));
    return;
  }
}

int unplug(SDL_JoystickID id, DisplayEvent* out) {
  const int slot = slotOf(id);
  if (slot < 0) return 0;
  const int count = padChanged(g_pads.input, slot, PadState{}, out);  // lets go of all it held
  SDL_GameControllerClose(g_pads.slots[slot].controller);
  g_pads.slots[slot] = Pad{};
  return count;
}

int update(SDL_JoystickID id, DisplayEvent* out) {
  const int slot = slotOf(id);
  if (slot < 0) return 0;
  return padChanged(g_pads.input, slot, readPad(g_pads.slots[slot].controller), out);
}
}  // namespace

void openPads() {
  if (g_pads.open) return;
  g_pads = Pads{};
  g_pads.open = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void closePads() {
  if (!g_pads.open) return;
  for (Pad& p : g_pads.slots) {
    if (p.controller) SDL_GameControllerClose(p.controller);
  }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  g_pads = Pads{};
}

int padEvent(const SDL_Event& ev, DisplayEvent* out) {
  if (!g_pads.open) return 0;
  switch (ev.type) {
    case SDL_CONTROLLERDEVICEADDED: plugIn(ev.cdevice.which); return 0;
    case SDL_CONTROLLERDEVICEREMOVED: return unplug(ev.cdevice.which, out);
    case SDL_CONTROLLERDEVICEREMAPPED: return update(ev.cdevice.which, out);
    case SDL_CONTROLLERAXISMOTION: return update(ev.caxis.which, out);
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: return update(ev.cbutton.which, out);
    default: return 0;
  }
}

void padsKeyboardPressed(int scanCode) { keyboardPressed(g_pads.input, scanCode); }
int padsKeyboardReleased(int scanCode) { return keyboardReleased(g_pads.input, scanCode); }
void padsFocusLost() { forgetHeld(g_pads.input); }

int padsFocusGained(DisplayEvent* out) {
  int count = 0;
  for (int i = 0; i < kPadSlots; ++i) {
    if (g_pads.slots[i].controller)
      count += padChanged(g_pads.input, i, readPad(g_pads.slots[i].controller), out + count);
  }
  return count;
}
