// Pad states onto held keys: the stick's dead zone, the button table, and who
// holds which key.
#include "platform/gamepad.h"

#include <cmath>

#include "platform/display.h"
#include "platform/scancodes.h"

namespace {
constexpr int kScanDigit2 = kScanDigit1 + 1;
constexpr int kScanDigit9 = kScanDigit1 + 8;

constexpr uint32_t bit(int key) { return 1u << key; }
constexpr uint8_t keyboardBit = 1;
constexpr uint8_t padBit(int slot) { return static_cast<uint8_t>(2 << slot); }

// How far from where the stick leans a direction may lie, as the cosine of
// the angle between them: to be pressed, and to stay held.
constexpr double kPressCos = 0.38268343;  // cos 67.5 degrees
constexpr double kKeepCos = 0.25881905;   // cos 75 degrees
}  // namespace

// By PadKey: the scan code the game's movement reads, or the character its
// key-down handler flips a toggle on.
const PadKeyCode kPadKeyCodes[kPadKeyCount] = {
    {kScanPadMoves + 0, 0},  // forward
    {kScanPadMoves + 1, 0},  // back
    {kScanPadMoves + 2, 0},  // turn left
    {kScanPadMoves + 3, 0},  // turn right
    {kScanPadMoves + 4, 0},  // sidestep left
    {kScanPadMoves + 5, 0},  // sidestep right
    {kScanDigit1, '1'},      // help overlay
    {kScanDigit2, '2'},      // overview map
    {kScanDigit9, '9'},      // guards on the map
    {kScanTab, '\t'},        // the full map
    {kScanEsc, kCharEsc},    // quit
};
static_assert(sizeof(kPadKeyCodes) / sizeof(kPadKeyCodes[0]) == kPadKeyCount, "one code per pad key");

// By PadButton: the face buttons flip the views and open the full map, the shoulders sidestep, the
// d-pad steers like the stick, Back quits as Esc does.
const int kDefaultPadButtonKeys[kPadButtonCount] = {
    kPadKeyMap,        // A
    kPadKeyFullMap,    // B
    kPadKeyGuards,     // X
    kPadKeyHelp,       // Y
    kPadKeyEscape,     // Back
    -1,                // Guide
    kPadKeyHelp,       // Start
    -1,                // left stick click
    -1,                // right stick click
    kPadKeySideLeft,   // left shoulder
    kPadKeySideRight,  // right shoulder
    kPadKeyForward,    // d-pad up
    kPadKeyBack,       // d-pad down
    kPadKeyTurnLeft,   // d-pad left
    kPadKeyTurnRight,  // d-pad right
};
static_assert(sizeof(kDefaultPadButtonKeys) / sizeof(kDefaultPadButtonKeys[0]) == kPadButtonCount,
              "one entry per button");

namespace {
int g_buttonKeys[kPadButtonCount] = {};
bool g_buttonKeysSet = false;
}  // namespace

int padButtonKey(int button) {
  if (button < 0 || button >= kPadButtonCount) return -1;
  return g_buttonKeysSet ? g_buttonKeys[button] : kDefaultPadButtonKeys[button];
}

void setPadButtonKey(int button, int key) {
  if (button < 0 || button >= kPadButtonCount || key < -1 || key >= kPadKeyCount) return;
  if (!g_buttonKeysSet) resetPadButtonKeys();
  g_buttonKeys[button] = key;
  g_buttonKeysSet = true;
}

void resetPadButtonKeys() {
  for (int b = 0; b < kPadButtonCount; ++b) g_buttonKeys[b] = kDefaultPadButtonKeys[b];
  g_buttonKeysSet = false;
}

uint32_t stickKeys(int x, int y, uint32_t before) {
  const double reach = std::hypot(static_cast<double>(x), static_cast<double>(y));
  if (reach < kStickRelease) return 0;
  // One direction: the stick past the press line and leaning its way, or,
  // when it was held, past the release line and still about its way.
  auto lean = [before, reach](int along, int key) {
    const bool held = (before & bit(key)) != 0;
    const bool far = reach >= (held ? kStickRelease : kStickPress);
    return far && along >= reach * (held ? kKeepCos : kPressCos) ? bit(key) : 0u;
  };
  return lean(-y, kPadKeyForward) | lean(y, kPadKeyBack) | lean(-x, kPadKeyTurnLeft) |
         lean(x, kPadKeyTurnRight);
}

uint32_t buttonKeys(uint32_t buttons) {
  uint32_t keys = 0;
  for (int b = 0; b < kPadButtonCount; ++b) {
    if ((buttons & bit(b)) && padButtonKey(b) >= 0) keys |= bit(padButtonKey(b));
  }
  return keys;
}

int padChanged(PadInput& in, int slot, const PadState& now, DisplayEvent* out) {
  if (slot < 0 || slot >= kPadSlots) return 0;
  const uint32_t stick = stickKeys(now.leftX, now.leftY, in.stickHeld[slot]);
  const uint32_t next = stick | buttonKeys(now.buttons);
  const uint32_t before = in.held[slot];
  in.stickHeld[slot] = stick;
  in.held[slot] = next;
  const uint8_t me = padBit(slot);
  int count = 0;
  // Releases first: a stick swung from left to right lets go of left before
  // it presses right, as fingers on the keys would.
  for (int k = 0; k < kPadKeyCount; ++k) {
    if (!(before & ~next & bit(k))) continue;
    uint8_t& holders = in.holders[kPadKeyCodes[k].scanCode];
    holders = static_cast<uint8_t>(holders & ~me);
    if (holders != 0) continue;
    DisplayEvent& e = out[count++];
    e = DisplayEvent{};
    e.kind = kDisplayKeyUp;
    e.scanCode = kPadKeyCodes[k].scanCode;
  }
  for (int k = 0; k < kPadKeyCount; ++k) {
    if (!(next & ~before & bit(k))) continue;
    uint8_t& holders = in.holders[kPadKeyCodes[k].scanCode];
    const bool first = holders == 0;
    holders = static_cast<uint8_t>(holders | me);
    if (!first) continue;
    DisplayEvent& e = out[count++];
    e = DisplayEvent{};
    e.kind = kDisplayKeyDown;
    e.scanCode = kPadKeyCodes[k].scanCode;
    e.character = kPadKeyCodes[k].character;
  }
  return count;
}

void padKeyInDialog(DisplayEvent& e) {
  // The d-pad and the stick move in the list as the arrows do.
  static constexpr int kArrows[] = {kScanUp, kScanDown, kScanLeft, kScanRight};
  const int move = e.scanCode - kScanPadMoves;
  if (move >= 0 && move < 4) e.scanCode = kArrows[move];
  if (e.scanCode != kScanDigit1 && e.scanCode != kScanDigit2) return;
  e.scanCode = kScanEnter;
  e.character = e.kind == kDisplayKeyDown ? kCharEnter : 0;
}

void keyboardPressed(PadInput& in, int scanCode) { in.holders[scanCode & 0xFF] |= keyboardBit; }

int keyboardReleased(PadInput& in, int scanCode) {
  uint8_t& holders = in.holders[scanCode & 0xFF];
  holders = static_cast<uint8_t>(holders & ~keyboardBit);
  return holders == 0 ? 1 : 0;
}

void forgetKeyboard(PadInput& in) {
  for (uint8_t& holders : in.holders) holders = static_cast<uint8_t>(holders & ~keyboardBit);
}

int steeringHeld(const PadInput& in, DisplayEvent* out) {
  uint32_t held = 0;
  for (uint32_t keys : in.held) held |= keys;
  int count = 0;
  for (int k = 0; k < kPadKeyCount; ++k) {
    if (!(held & bit(k)) || kPadKeyCodes[k].character != 0) continue;
    DisplayEvent& e = out[count++];
    e = DisplayEvent{};
    e.kind = kDisplayKeyDown;
    e.scanCode = kPadKeyCodes[k].scanCode;
  }
  return count;
}
