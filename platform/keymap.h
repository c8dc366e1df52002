// Keyboard translation for the SDL back end: SDL scancodes onto the PC set 1
// scan codes the key-state table is indexed by, and the character a key types.
// Takes plain ints so tests can check the table without opening a display.
#pragma once

// Lock and shift state for keyCharacter.
enum : int {
  kKeyNumLock = 1,
  kKeyShift = 2,
  kKeyCapsLock = 4,
};

// The PC scan code (1..0x5D) of an SDL scancode; 0 for keys without one.
// Keypad keys and the grey keys beside them share codes (keypad 8 and Up 0x48).
int pcScanCode(int sdlScancode);
// The character a key press types: Esc 27, Enter 13, Backspace 8, Tab 9,
// digits of the top row, keypad digits only while Num Lock is on, letters of
// the keyboard layout (capitals with shift or Caps Lock), other printable
// ASCII keys as they are; 0 for keys that type nothing.
int keyCharacter(int sdlScancode, int sdlKeycode, int lockState);
// The SDL scancode of a key name such as "Keypad 8" or "Up"; 0 when unknown.
int sdlScancodeByName(const char* name);
