// The SDL port's mouse held for turning, and the Shift key asked of the
// desktop before any window of ours has the keyboard.
#include <SDL.h>

#include <initializer_list>

#include "platform/sdlport.h"

#ifdef QUILL_HAVE_X11
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

void sdlHoldMouse(int on) {
  if (!g_sdl.open) return;
  // Relative mode hides the pointer and keeps reporting motion at the window's edge.
  SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
}

int sdlShiftHeld() {
#ifdef QUILL_HAVE_X11
  // The X server knows the keyboard whoever has the focus; a connection of our
  // own asks it without waiting for SDL's window.
  if (Display* x = XOpenDisplay(nullptr)) {
    char keys[32];
    XQueryKeymap(x, keys);
    int held = 0;
    for (KeySym sym : {XK_Shift_L, XK_Shift_R}) {
      const KeyCode code = XKeysymToKeycode(x, sym);
      if (code != 0 && (keys[code / 8] & (1 << (code % 8)))) held = 1;
    }
    XCloseDisplay(x);
    return held;
  }
#endif
  if (!g_sdl.open) return 0;
  SDL_PumpEvents();
  return (SDL_GetModState() & KMOD_SHIFT) != 0;
}
