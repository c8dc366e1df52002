// The headless port's input script: one line per main-loop pass, a list of
// clauses that become the pass's input events.
//
// When QUILL_INPUT names a file (or headlessLoadScript is
// given one), each line of it is the input of one main-loop pass, read when
// the pass begins. A line is a list of clauses separated by ';':
//   keys 48 4B     the scan codes (hexadecimal, "0x" optional) held from this
//                  pass on: newly listed keys go down, keys no longer listed go
//                  up; "keys" alone lets every key go
//   chars 49 '2'   character presses: decimal codes or a quoted character;
//                  each gives a key-down and key-up of the key that types it
//   close yes      the close button; the quit question is answered yes (or no,
//                  the default)
//   switch         alt+Enter
//   focus lost     the program loses the focus ("focus gained" gets it back)
//   display        the desktop's display settings changed
//   quit           the platform asks the program to end
//   key 50 0F shift  presses (down and up) the keys of the scan codes in
//                  turn, each with the modifiers named (shift, ctrl, alt);
//                  Tab, Enter, Esc and Space type their characters, others none
//   click 120 80   a left click at a point of the dialog window (or of the
//                  game's window when no dialog is open); "doubleclick" the
//                  second click of a double click there
//   wheel -2 120 80  the mouse wheel turned by notches (positive away from
//                  the user) with the pointer at the point
//   mouse 12 -3    the mouse moved by 12 pixels to the right and 3 up
//   wait           the events of the clauses after it come once the program
//                  sleeps (or the next pass begins): keys pressed during a
//                  pause the game waits out within its pass
// A '#' starts a comment that runs to the end of the line. A line with no
// clause (empty or only a comment) changes nothing: held keys stay held.
// After the last line the port asks the program to end (as "quit").
//
// The mode dialog reads the script too, one line per pass of its own loop, so
// a run of the whole game begins with the dialog's input: "chars 13" takes
// the selected line (line 0 at the first opening), "key 50 50; chars 13"
// the third one, "chars 27" quits before the game's window opens.
#pragma once

#include "platform/display.h"

constexpr int kMaxLineEvents = 512;    // events of one line; more are dropped
constexpr int kMaxLineAnswers = 8;     // close clauses of one line that are answered
constexpr int kScriptScanCodes = 256;  // the held-key set, by scan code

// One event a line asks for. The key-up of a press is dropped by the port
// when the key stays held after the line, so a held key stays down.
struct ScriptEvent {
  DisplayEvent event;
  bool releaseOfPress;
};

// What one line asks for, read without touching the port. The port applies
// it in this order: the held keys change first (when keysGiven), then the
// answers wait for the coming questions, then the events queue in order.
struct ScriptLine {
  bool keysGiven;                // a "keys" clause came: held is the whole new set
  bool held[kScriptScanCodes];   // the keys its "keys" clauses hold
  int answers[kMaxLineAnswers];  // 1 yes, 0 no
  int answerCount;
  ScriptEvent events[kMaxLineEvents];
  int eventCount;
  int waitFrom;  // events from this one on come once the program sleeps; -1 none
};

// Reads one script line into out. Returns 0 for a malformed line (out then
// asks for nothing), with a message on stderr.
int readScriptLine(const char* line, ScriptLine* out);
