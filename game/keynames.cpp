#include "game/keynames.h"

#include <strings.h>

#include <iterator>

namespace {

// By PC set 1 scan code, 0x00..0x58.
const char* const kNames[] = {
    nullptr,      "Esc",        "1",        "2",      "3",           "4",           "5",
    "6",          "7",          "8",        "9",      "0",           "Minus",       "Equals",
    "Backspace",  "Tab",        "Q",        "W",      "E",           "R",           "T",
    "Y",          "U",          "I",        "O",      "P",           "LeftBracket", "RightBracket",
    "Enter",      "Ctrl",       "A",        "S",      "D",           "F",           "G",
    "H",          "J",          "K",        "L",      "Semicolon",   "Apostrophe",  "Grave",
    "Shift",      "Backslash",  "Z",        "X",      "C",           "V",           "B",
    "N",          "M",          "Comma",    "Period", "Slash",       "RightShift",  "KeypadStar",
    "Alt",        "Space",      "CapsLock", "F1",     "F2",          "F3",          "F4",
    "F5",         "F6",         "F7",       "F8",     "F9",          "F10",         "NumLock",
    "ScrollLock", "Home",       "Up",       "PageUp", "KeypadMinus", "Left",        "Keypad5",
    "Right",      "KeypadPlus", "End",      "Down",   "PageDown",    "Insert",      "Delete",
    nullptr,      nullptr,      nullptr,    "F11",    "F12",
};
static_assert(std::size(kNames) == 0x59, "every code up to F12");

}  // namespace

const char* keyName(int scanCode) {
  return scanCode >= 0 && scanCode < static_cast<int>(std::size(kNames)) ? kNames[scanCode] : nullptr;
}

int keyByName(const char* name) {
  if (!name) return 0;
  for (int code = 0; code < static_cast<int>(std::size(kNames)); ++code)
    if (kNames[code] && strcasecmp(kNames[code], name) == 0) return code;
  return 0;
}
