// One call that puts every module of the game back to the start of a process,
// each through its own reset, for tests that run the game more than once.
#pragma once

// Framework (modes, main loop, dialog, stopwatch, sound), headless back ends,
// start-up, game state, level, guards, settings and the run's ending. The back ends chosen stay chosen.
void resetAllModules();
