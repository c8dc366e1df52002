// Game controllers through SDL's game-controller interface.
#include "platform/sdlgamepad.h"

#include <SDL.h>

#include "platform/display.h"

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
  SDL_Joystick* virtualPads[kPadSlots];  // made by plugVirtualPad, by id
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
    return;  // already open: SDL may announce a pad present at start-up twice
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
  for (int id = 0; id < kPadSlots; ++id) unplugVirtualPad(id);
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
void padsFocusLost() { forgetKeyboard(g_pads.input); }
int padsFocusGained(DisplayEvent* out) { return steeringHeld(g_pads.input, out); }

int plugVirtualPad() {
  if (!g_pads.open) return -1;
  for (int id = 0; id < kPadSlots; ++id) {
    if (g_pads.virtualPads[id]) continue;
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                 SDL_CONTROLLER_BUTTON_MAX, 0);
    if (device < 0) return -1;
    g_pads.virtualPads[id] = SDL_JoystickOpen(device);
    return g_pads.virtualPads[id] ? id : -1;
  }
  return -1;
}

void setVirtualPad(int id, const PadState& state) {
  if (id < 0 || id >= kPadSlots || !g_pads.virtualPads[id]) return;
  SDL_Joystick* j = g_pads.virtualPads[id];
  SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(state.leftX));
  SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(state.leftY));
  for (int b = 0; b < kPadButtonCount; ++b)
    SDL_JoystickSetVirtualButton(j, b, (state.buttons >> b) & 1 ? SDL_PRESSED : SDL_RELEASED);
}

void unplugVirtualPad(int id) {
  if (id < 0 || id >= kPadSlots || !g_pads.virtualPads[id]) return;
  SDL_Joystick* j = g_pads.virtualPads[id];
  const SDL_JoystickID instance = SDL_JoystickInstanceID(j);
  SDL_JoystickClose(j);
  g_pads.virtualPads[id] = nullptr;
  // Detaching goes by device index, which shifts as devices come and go.
  for (int device = 0; device < SDL_NumJoysticks(); ++device) {
    if (SDL_JoystickGetDeviceInstanceID(device) == instance) SDL_JoystickDetachVirtual(device);
  }
}
