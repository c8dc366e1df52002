// Game controllers as a second keyboard: a pad's stick, d-pad and buttons
// hold the scan codes and type the characters of the keys they stand for, so
// the game reads them through its key table and key presses unchanged. This
// half is plain arithmetic on pad states, without SDL, so tests can drive it;
// the SDL port feeds it from SDL's game-controller interface.
#pragma once
#include <cstdint>

struct DisplayEvent;

// A pad's buttons in SDL's game-controller numbering (named after the Xbox
// pad); bit b of PadState::buttons is button b.
enum PadButton : int {
  kPadA,
  kPadB,
  kPadX,
  kPadY,
  kPadBack,
  kPadGuide,
  kPadStart,
  kPadLeftStick,
  kPadRightStick,
  kPadLeftShoulder,
  kPadRightShoulder,
  kPadDpadUp,
  kPadDpadDown,
  kPadDpadLeft,
  kPadDpadRight,
  kPadButtonCount
};

// What one pad reports: the left stick, each axis -32768..32767 with y
// growing toward the player, and the buttons held.
struct PadState {
  int leftX, leftY;
  uint32_t buttons;
};

// The keys a pad can hold, as bits of a mask, and what each one types.
enum PadKey : int {
  kPadKeyForward,
  kPadKeyBack,
  kPadKeyTurnLeft,
  kPadKeyTurnRight,
  kPadKeySideLeft,
  kPadKeySideRight,
  kPadKeyHelp,
  kPadKeyMap,
  kPadKeyGuards,
  kPadKeyFullMap,
  kPadKeyEscape,
  kPadKeyCount
};
struct PadKeyCode {
  int scanCode;   // PC set 1, as the keyboard reports the key
  int character;  // what its press types; 0 for the steering keys, as the grey arrows
};
extern const PadKeyCode kPadKeyCodes[kPadKeyCount];
// The key each button holds unless the player binds it otherwise, -1 for
// buttons without one.
extern const int kDefaultPadButtonKeys[kPadButtonCount];
// The key a button holds now (PadKey, -1 none); binding one for the player,
// and back to the defaults.
int padButtonKey(int button);
void setPadButtonKey(int button, int key);
void resetPadButtonKeys();

// The stick's dead zone is round, with hysteresis so a stick resting near its
// edge does not flicker: a direction is pressed once the stick leans further
// than kStickPress from the middle toward it, and let go once it is back
// within kStickRelease. Straight along an axis these are the distances on
// that axis; a diagonal push counts as much as a straight one.
constexpr int kStickPress = 12000;
constexpr int kStickRelease = 8000;

// The stick directions held (PadKey bits of the four steering keys), given
// the position and the directions the stick held before. Outside the dead
// zone the stick holds every direction within 67.5 degrees of where it leans
// (eight sectors: one direction, or the two it lies between); a direction
// held stays held to 75 degrees, so a stick on a sector's border does not
// flicker either.
uint32_t stickKeys(int x, int y, uint32_t before);
// The keys the buttons in `buttons` (PadButton bits) hold.
uint32_t buttonKeys(uint32_t buttons);

// Several pads may share the game; beyond these the rest are not read.
constexpr int kPadSlots = 4;

// Who holds each scan code: bit 0 the keyboard, bit 1 + slot a pad. A key is
// reported pressed when its first holder takes it and released when its last
// one lets go, so a pad and the keyboard on the same key never release each
// other, and a run without pads reports every key exactly as before.
struct PadInput {
  uint8_t holders[256];
  uint32_t held[kPadSlots];       // PadKey bits each pad holds
  uint32_t stickHeld[kPadSlots];  // the part of held that came from the stick
};
static_assert(kPadSlots + 1 <= 8, "holder bits fit in a byte");

// Pad `slot` (0 .. kPadSlots-1) now reads `now`: writes the key events that
// follows into out (releases first, then presses; at most kPadKeyCount) and
// returns how many. A pad unplugged is a pad at rest: pass PadState{}.
int padChanged(PadInput& in, int slot, const PadState& now, DisplayEvent* out);
// The keyboard pressed `scanCode`; its key-down is always reported.
void keyboardPressed(PadInput& in, int scanCode);
// The keyboard let go of `scanCode`: 1 when the key-up is to be reported, 0
// while a pad still holds the key.
int keyboardReleased(PadInput& in, int scanCode);
// While the mode dialog is open, which has no views to flip, the keys of the
// help and map buttons (A, Y, Start) become Enter and the forward, back and
// turning keys the arrows, so a pad alone chooses a mode and starts the game;
// rewrites a pad's key event from padChanged in place.
void padKeyInDialog(DisplayEvent& e);
// The focus left and the key table was cleared: forgets what the keyboard
// holds (its releases will not come). Pads keep their keys; SDL still tells
// their releases.
void forgetKeyboard(PadInput& in);
// The focus came back: key-downs (at most kPadKeyCount) for the steering keys
// the pads still hold, to put them back into the key table. Buttons that
// flip views are not pressed again: they flipped once, when pressed.
int steeringHeld(const PadInput& in, DisplayEvent* out);
