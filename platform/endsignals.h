// SIGINT, SIGTERM and SIGHUP (a closed terminal) end the program the orderly
// way: the handler only notes the signal, the display hands it on as a quit
// (no quit question), and once the desktop has its window and mode back the
// process ends by that signal, so a shell sees how it ended. A second signal
// ends it at once.
#pragma once

// Catches the three signals from now on.
void catchEndSignals();
// The signal caught since, reported once; 0 when none came.
int takeEndSignal();
// With a signal caught: ends the process by it. Otherwise puts the earlier
// handlers back.
void finishEndSignals();

// Around a modal message box, inside which the program waits where no quit
// can be handed on: while it is open a signal ends the process at once, by
// that signal, and the box with it (SDL shows its X11 boxes from a child
// process, which would outlive us). Boxes stand over a window, so no monitor
// mode is lost. openModalBox() returns false, and opens nothing, when a signal
// came already: the box is not to be shown, the orderly end is on its way.
bool openModalBox();
void closeModalBox();
