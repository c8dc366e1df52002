// The end of a run: its results against this maze's bests, shown under the
// ending's message through the pause, and the keys that play on at once
// (Enter, Space, the game controller's A) instead of ending the program: the
// same maze again, or after a win the next maze of the shipped set.
#pragma once

// One pass of the run went by: the rules' clock, kPassesPerSecond a second.
void countRunPass();
// Called once the ending's message is drawn: records the bests, shows the
// results and waits out the pause. True when the player asked to play on
// and the new run is set up; false when the program is to end (the quit is
// requested, and the surface holds the message alone again, as before the results).
bool finishRun(bool won);
// The rules' time of the run so far, in milliseconds.
int runMillis();
// Tests only: the run's clock back to its start.
void resetEnding();
