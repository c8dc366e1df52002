// Notices a window of ours that another program destroyed (a window
// manager's kill command, xdotool windowclose). Until the notice arrives,
// drawing into the dead window makes the X server report errors that would
// end the process; for our own windows those errors only mark them gone.
// A connection that breaks (the server ended, or xdotool windowkill) ends the
// process at once with code 1 and one line. And keys held down since before
// the mode dialog opened, which SDL reports as fresh presses once the X
// server repeats them. Does nothing when SDL does not run on X11.
#pragma once
#include <SDL.h>

// After SDL's video came up: the X error handlers and the event filter.
void startWindowWatch();
// Watches an SDL window (the game's or the dialog's) from now on; called
// again after SDL may have made a new X window for it (a new renderer).
void watchWindow(SDL_Window* window);
// True once the window was destroyed from outside.
bool windowGone(SDL_Window* window);
// Destroys the window with SDL and stops watching it. A window already gone
// is left to the process's end instead (SDL would wait for it to unmap).
void destroyWatchedWindow(SDL_Window* window);
// True once a window was left so: SDL's video must then not be shut down,
// which would destroy it after all.
bool windowsLeftBehind();
// The keys held down now (Enter held through the start-up) do not act until
// let go: their presses, the keyboard's own repeats, are dropped until their
// release. `window` is one of ours, watched. forgetHeldKeys() ends it.
void ignoreHeldKeys(SDL_Window* window);
void forgetHeldKeys();
