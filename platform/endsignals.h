// SIGINT and SIGTERM end the program the orderly way: the handler only notes
// the signal, the display hands it on as a quit (no quit question), and once
// the desktop has its window and mode back the process ends by that signal,
// so a shell sees how it ended. A second signal ends it at once.
#pragma once

// Catches both signals from now on.
void catchEndSignals();
// The signal caught since, reported once; 0 when none came.
int takeEndSignal();
// With a signal caught: ends the process by it. Otherwise puts the earlier
// handlers back.
void finishEndSignals();
