// PC set 1 scan codes, the numbers every key is known by: the key-state table,
// the display layer's key events and the headless scripts ("key 58") all use
// them. The keypad and the grey keys beside it share a code. Also the
// characters of the keys that type control characters.
#pragma once

enum ScanCode : int {
  kScanEsc = 0x01,
  kScanDigit1 = 0x02,  // "1234567890" from here on
  kScanBackspace = 0x0E,
  kScanTab = 0x0F,
  kScanLetterRowQ = 0x10,  // "qwertyuiop" from here on
  kScanEnter = 0x1C,
  kScanLetterRowA = 0x1E,  // "asdfghjkl" from here on
  kScanLetterRowZ = 0x2C,  // "zxcvbnm" from here on
  kScanSpace = 0x39,
  kScanHome = 0x47,  // keypad 7
  kScanUp = 0x48,    // keypad 8
  kScanPageUp = 0x49,
  kScanLeft = 0x4B,
  kScanRight = 0x4D,
  kScanEnd = 0x4F,  // keypad 1
  kScanDown = 0x50,
  kScanPageDown = 0x51,  // keypad 3
  kScanF12 = 0x58,
  // Six codes no keyboard has, held by game controllers for the movements
  // (forward, back, turn left, turn right, sidestep left, sidestep right), so
  // a pad steers whatever keys the player binds.
  kScanPadMoves = 0x60,
};

enum KeyCharacter : int {
  kCharBackspace = 8,
  kCharTab = 9,
  kCharEnter = 13,
  kCharEsc = 27,
};
