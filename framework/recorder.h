// The input recorder: writes what a person does in the game as a script for
// the headless port, one line per main-loop pass, so that the session plays
// back the same way with QUILL_DISPLAY=headless QUILL_INPUT=<file>.
// The main loop records into the file the game names (--record), or in builds
// with the CMake option QUILL_RECORDER into the one QUILL_RECORD names.
#pragma once
#include <cstdint>

#include "framework/mainloop.h"

struct DisplayEvent;

// Starts a recording into `path` (a null or empty path records nothing): a
// header and the line that answers the mode dialog. Returns 1 when recording.
int recorderOpen(const char* path, int width, int height);
// A comment line the next recordings carry in their header after "# " (the
// game names the maze there); nullptr for none. Kept by address.
void setRecordingNote(const char* note);
// One platform event of this pass's input pump, in the order they come: key
// presses (repeats are left out), alt+Enter, display changes, focus, close, quit.
void recorderEvent(const DisplayEvent& event);
// Ends the pass: one line from the keys held now (the main loop's key table,
// non-zero while a key is down) and the events of the pass.
void recorderEndPass(const uint16_t keys[kKeyTableSize]);
// A key that ended a pause of the game within the pass just ended (an
// ending's wait): written after a "wait" clause, so it plays back during the pause.
void recorderPauseKey(int scanCode);
// Writes the last line and closes the file; a close question in that last
// pass was answered yes, since the game ended there.
void recorderClose();
int recorderActive();
