// Game controllers as a second keyboard: the stick's dead zone, which key
// each button stands for, and pads and keyboard sharing keys.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/gamepad.h"
#include "platform/keymap.h"
#include "platform/scancodes.h"
#include "platform/sdlgamepad.h"

namespace {

constexpr uint32_t bit(int key) { return 1u << key; }

TEST(PadStick, RoundDeadZoneWithHysteresis) {
  // A resting or drifting stick holds nothing; leaning past the press line
  // holds that direction, a diagonal two (y grows toward the player), as far
  // from the middle as a straight push: half its travel on the diagonal walks.
  const int diagonal = static_cast<int>(kStickPress / std::sqrt(2.0));  // just inside the press line
  EXPECT_EQ(stickKeys(0, 0, 0), 0u);
  EXPECT_EQ(stickKeys(diagonal, -diagonal, 0), 0u);
  EXPECT_EQ(stickKeys(11585, -11585, 0), bit(kPadKeyTurnRight) | bit(kPadKeyForward));
  EXPECT_EQ(stickKeys(0, -kStickPress, 0), bit(kPadKeyForward));
  EXPECT_EQ(stickKeys(0, 32767, 0), bit(kPadKeyBack));
  EXPECT_EQ(stickKeys(-32768, 0, 0), bit(kPadKeyTurnLeft));
  // Twenty degrees off straight is straight, thirty is between two directions;
  // held, a direction stays to seventy degrees.
  EXPECT_EQ(stickKeys(11207, -30792, 0), bit(kPadKeyForward));
  EXPECT_EQ(stickKeys(16384, -28378, 0), bit(kPadKeyTurnRight) | bit(kPadKeyForward));
  EXPECT_EQ(stickKeys(30792, -11207, bit(kPadKeyForward)), bit(kPadKeyTurnRight) | bit(kPadKeyForward));
  // Between the lines the stick keeps what it held and presses nothing new.
  const int between = (kStickPress + kStickRelease) / 2;
  const int betweenDiagonal = static_cast<int>(between / std::sqrt(2.0));
  EXPECT_EQ(stickKeys(betweenDiagonal, -betweenDiagonal, bit(kPadKeyForward)), bit(kPadKeyForward));
  EXPECT_EQ(stickKeys(0, -kStickRelease, bit(kPadKeyForward)), bit(kPadKeyForward));
  EXPECT_EQ(stickKeys(0, -(kStickRelease - 1), bit(kPadKeyForward)), 0u);
  // Held forward says nothing about back.
  EXPECT_EQ(stickKeys(0, between, bit(kPadKeyForward)), 0u);
}

TEST(PadButtons, EachStandsForTheKeyboardKeyOfItsAction) {
  const struct {
    int button;
    const char* key;  // the keyboard key it stands for
  } table[] = {{kPadY, "1"}, {kPadStart, "1"}, {kPadA, "2"},
               {kPadX, "9"}, {kPadB, "Tab"},   {kPadBack, "Escape"}};
  for (const auto& t : table) {
    const int code = sdlScancodeByName(t.key);
    const uint32_t keys = buttonKeys(1u << t.button);
    ASSERT_EQ(__builtin_popcount(keys), 1) << t.key;
    const PadKeyCode& k = kPadKeyCodes[__builtin_ctz(keys)];
    EXPECT_EQ(k.scanCode, pcScanCode(code)) << t.key;
    EXPECT_EQ(k.character, keyCharacter(code, 0, 0)) << t.key;
  }
  EXPECT_EQ(buttonKeys(1u << kPadGuide | 1u << kPadLeftStick), 0u);
  // The movements hold codes of their own, whatever keys the player binds.
  const int moves[] = {kPadDpadUp,    kPadDpadDown,     kPadDpadLeft,
                       kPadDpadRight, kPadLeftShoulder, kPadRightShoulder};
  for (int m = 0; m < 6; ++m)
    EXPECT_EQ(kPadKeyCodes[__builtin_ctz(buttonKeys(1u << moves[m]))].scanCode, kScanPadMoves + m);
  setPadButtonKey(kPadB, kPadKeyForward);
  EXPECT_EQ(buttonKeys(1u << kPadB), 1u << kPadKeyForward);
  resetPadButtonKeys();
  // In the mode dialog A presses Enter and forward the Up arrow.
  PadInput in{};
  DisplayEvent out[kPadKeyCount];
  ASSERT_EQ(padChanged(in, 0, PadState{0, -32768, 1u << kPadA}, out), 2);
  padKeyInDialog(out[0]);
  padKeyInDialog(out[1]);
  EXPECT_EQ(out[0].scanCode, kScanUp);
  EXPECT_EQ(out[1].scanCode, pcScanCode(sdlScancodeByName("Return")));
  EXPECT_EQ(out[1].character, kCharEnter);
}

using Words = std::vector<std::string>;

// Key events as "+48" (down) and "-48" (up); other kinds are left out.
void addWord(Words& words, const DisplayEvent& e) {
  if (e.kind != kDisplayKeyDown && e.kind != kDisplayKeyUp) return;
  char w[8];
  std::snprintf(w, sizeof w, "%c%02X", e.kind == kDisplayKeyDown ? '+' : '-', e.scanCode);
  words.push_back(w);
}

// Runs one pad's new state and returns its key events.
Words change(PadInput& in, int slot, PadState s) {
  DisplayEvent out[kPadKeyCount];
  const int n = padChanged(in, slot, s, out);
  Words words;
  for (int i = 0; i < n; ++i) addWord(words, out[i]);
  return words;
}

TEST(PadInput, KeysAreReleasedOnlyByTheirLastHolder) {
  PadInput in{};
  // Back holds Esc, a key the keyboard has too.
  const PadState back{0, 0, 1u << kPadBack};
  const PadState rest{};
  // Keyboard first: the pad adds no press, the keyboard's release is held back.
  keyboardPressed(in, kScanEsc);
  EXPECT_EQ(change(in, 0, back), Words{});
  EXPECT_EQ(keyboardReleased(in, kScanEsc), 0);
  EXPECT_EQ(change(in, 0, rest), Words{"-01"});
  // Pad first, then a second pad on the same key, then the keyboard.
  EXPECT_EQ(change(in, 0, back), Words{"+01"});
  EXPECT_EQ(change(in, 1, back), Words{});
  keyboardPressed(in, kScanEsc);
  EXPECT_EQ(keyboardReleased(in, kScanEsc), 0);
  EXPECT_EQ(change(in, 0, rest), Words{});
  EXPECT_EQ(change(in, 1, rest), Words{"-01"});
  // Without pads every keyboard release is reported, as before pads existed.
  EXPECT_EQ(keyboardReleased(in, kScanLeft), 1);
}

TEST(PadInput, SwingsUnpluggingAndTheFocusComingBack) {
  PadInput in{};
  EXPECT_EQ(change(in, 2, PadState{-32768, 0, 1u << kPadA}), (Words{"+62", "+03"}));
  // The stick swung from left to right in one reading; A still held, no repeat.
  EXPECT_EQ(change(in, 2, PadState{32767, 0, 1u << kPadA | 1u << kPadRightShoulder}),
            (Words{"-62", "+63", "+65"}));
  // Unplugged: a pad at rest.
  EXPECT_EQ(change(in, 2, PadState{}), (Words{"-63", "-65", "-03"}));
  // Focus lost and back: the keyboard's keys are forgotten (their releases
  // never come), the pad's steering keys go down again, its held A does not
  // flip the map a second time.
  change(in, 2, PadState{0, -32768, 1u << kPadA});
  keyboardPressed(in, kScanLeft);
  forgetKeyboard(in);
  DisplayEvent out[kPadKeyCount];
  ASSERT_EQ(steeringHeld(in, out), 1);
  EXPECT_EQ(out[0].kind, kDisplayKeyDown);
  EXPECT_EQ(out[0].scanCode, kScanPadMoves);
  EXPECT_EQ(change(in, 2, PadState{-32768, 0, 1u << kPadA}), (Words{"-60", "+62"}));
  EXPECT_EQ(padChanged(in, kPadSlots, PadState{0, 0, 1u << kPadBack}, out), 0) << "slots beyond the table";
}

// The SDL port with a virtual pad: plugged in, leaning and pressing, then
// unplugged while held. SDL's dummy video needs no X server.
TEST(SdlPads, AVirtualPadHoldsKeysUntilUnplugged) {
  const char* was = std::getenv("SDL_VIDEODRIVER");
  const std::string saved = was ? was : "";
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  const DisplayDriver* d = sdlDisplayDriver();
  ASSERT_EQ(d->open(), 1);
  auto poll = [d] {
    Words words;
    DisplayEvent e;
    while (d->pollEvent(&e)) addWord(words, e);
    return words;
  };
  const int pad = plugVirtualPad();
  ASSERT_GE(pad, 0);
  EXPECT_EQ(poll(), Words{}) << "a pad at rest holds nothing";
  setVirtualPad(pad, PadState{0, -32768, 1u << kPadA});
  EXPECT_EQ(poll(), (Words{"+60", "+03"}));
  setVirtualPad(pad, PadState{0, -kStickRelease, 1u << kPadA});
  EXPECT_EQ(poll(), Words{});
  unplugVirtualPad(pad);
  EXPECT_EQ(poll(), (Words{"-60", "-03"}));
  d->close();
  if (was)
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
