// The SDL port's input: SDL's events turned into the framework's, each kind
// by a small function of its own, with the keys pads and keyboard share.
#include <cstring>
#include <iterator>

#include "platform/endsignals.h"
#include "platform/keymap.h"
#include "platform/sdlport.h"
#include "platform/x11watch.h"

namespace {

int modifiersOf(Uint16 mod) {
  int m = 0;
  if (mod & KMOD_ALT) m |= kModAlt;
  if (mod & KMOD_SHIFT) m |= kModShift;
  if (mod & KMOD_CTRL) m |= kModControl;
  return m;
}

int mouseModifiers() {
  const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  int m = modifiersOf(static_cast<Uint16>(SDL_GetModState()));
  if (buttons & SDL_BUTTON_LMASK) m |= kModLeftButton;
  if (buttons & SDL_BUTTON_RMASK) m |= kModRightButton;
  return m;
}

void pushPending(const DisplayEvent& e) {
  if (g_sdl.pendingCount < static_cast<int>(std::size(g_sdl.pending))) {
    g_sdl.pending[g_sdl.pendingCount++] = e;
  }
}

void pushPendingKind(int kind) {
  DisplayEvent e{};
  e.kind = kind;
  pushPending(e);
}

template <typename Source>
void pushPadEvents(Source source) {
  DisplayEvent keys[kMaxPadEvents];
  const int count = source(keys);
  for (int i = 0; i < count; ++i) {
    if (g_sdl.dialog) padKeyInDialog(keys[i]);
    pushPending(keys[i]);
  }
}

void keyDown(const SDL_KeyboardEvent& key) {
  const SDL_Keysym& k = key.keysym;
  const int scan = pcScanCode(k.scancode);
  if (scan != 0) {
    g_sdl.downScan[k.scancode] = static_cast<uint8_t>(scan);
    padsKeyboardPressed(scan);
    int locks = 0;
    if (k.mod & KMOD_NUM) locks |= kKeyNumLock;
    if (k.mod & KMOD_SHIFT) locks |= kKeyShift;
    if (k.mod & KMOD_CAPS) locks |= kKeyCapsLock;
    DisplayEvent e{};
    e.kind = kDisplayKeyDown;
    e.scanCode = scan;
    e.character = keyCharacter(k.scancode, k.sym, locks);
    e.repeat = key.repeat ? 1 : 0;
    e.modifiers = modifiersOf(k.mod);
    pushPending(e);
  }
  // One switch per press: auto-repeats of a held alt+Enter do nothing.
  const bool enter = k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER;
  if (enter && (k.mod & KMOD_ALT) != 0 && !key.repeat) pushPendingKind(kDisplaySwitch);
}

void keyUp(const SDL_KeyboardEvent& key) {
  const SDL_Keysym& k = key.keysym;
  int scan = g_sdl.downScan[k.scancode];
  if (scan == 0) scan = pcScanCode(k.scancode);
  g_sdl.downScan[k.scancode] = 0;
  if (scan == 0 || !padsKeyboardReleased(scan)) return;  // a pad still holds it
  DisplayEvent e{};
  e.kind = kDisplayKeyUp;
  e.scanCode = scan;
  e.modifiers = modifiersOf(k.mod);
  pushPending(e);
}

// The left and right buttons; the others mean nothing to the game.
void mouseButton(const SDL_MouseButtonEvent& b) {
  if (b.button != SDL_BUTTON_LEFT && b.button != SDL_BUTTON_RIGHT) return;
  DisplayEvent e{};
  e.kind = b.type == SDL_MOUSEBUTTONDOWN ? kDisplayMouseDown : kDisplayMouseUp;
  e.x = b.x;
  e.y = b.y;
  e.button = b.button == SDL_BUTTON_LEFT ? 1 : 4;
  e.doubleClick = b.type == SDL_MOUSEBUTTONDOWN && b.clicks == 2;
  e.modifiers = mouseModifiers();
  pushPending(e);
}

void mouseWheel(const SDL_MouseWheelEvent& w) {
  const int notches = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -w.y : w.y;
  if (notches == 0) return;
  DisplayEvent e{};
  e.kind = kDisplayMouseWheel;
  e.wheel = notches;
  SDL_GetMouseState(&e.x, &e.y);
  e.modifiers = mouseModifiers();
  pushPending(e);
}

void mouseMotion(const SDL_MouseMotionEvent& m) {
  DisplayEvent e{};
  e.kind = kDisplayMouseMove;
  e.x = m.x;
  e.y = m.y;
  e.dx = m.xrel;
  e.dy = m.yrel;
  e.modifiers = mouseModifiers();
  pushPending(e);
}

// What the dialog window itself tells: repaint, close, and the focus that a
// bare X server without a window manager gives nobody unless asked.
void dialogWindowEvent(Uint8 what) {
  switch (what) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
      if (!g_sdl.dialogFocused) {
        g_sdl.dialogFocused = true;
        SDL_RaiseWindow(g_sdl.dialog);
        SDL_SetWindowInputFocus(g_sdl.dialog);
      }
      sdlDrawDialog();
      break;
    case SDL_WINDOWEVENT_CLOSE: pushPendingKind(kDisplayClose); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: std::memset(g_sdl.downScan, 0, sizeof g_sdl.downScan); break;
    default: break;
  }
}

void focusLost() {
  // Keys let go while another window has the focus never send their key-up
  // here; forget them all.
  std::memset(g_sdl.downScan, 0, sizeof g_sdl.downScan);
  padsFocusLost();
  pushPendingKind(kDisplayFocusLost);
  // The player switched away from a mode the monitor was switched to: the
  // desktop gets its own back while the window is iconic (SDL sets the
  // game's mode again when the window is restored).
  if (g_sdl.exclusive) SDL_MinimizeWindow(g_sdl.window);
}

void gameWindowEvent(const SDL_WindowEvent& w) {
  switch (w.event) {
    case SDL_WINDOWEVENT_CLOSE: pushPendingKind(kDisplayClose); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: focusLost(); break;
    case SDL_WINDOWEVENT_MOVED: sdlNoteWindowMoved(); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      pushPendingKind(kDisplayFocusGained);
      pushPadEvents(padsFocusGained);
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      // The maximize box means "full screen": undo the maximizing itself.
      SDL_RestoreWindow(g_sdl.window);
      if (!g_sdl.fullScreen) pushPendingKind(kDisplaySwitch);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: sdlRepaint(); break;
    default: break;
  }
}

// By the window it is about. The dialog's window leaves news behind when it
// closes (its focus loss, queued as it went): that is no window's any more,
// and taken for the game's it would minimize an exclusive full screen at once.
void windowEvent(const SDL_WindowEvent& w) {
  if (g_sdl.dialog && w.windowID == SDL_GetWindowID(g_sdl.dialog)) {
    dialogWindowEvent(w.event);
  } else if (g_sdl.window && w.windowID == SDL_GetWindowID(g_sdl.window)) {
    gameWindowEvent(w);
  }
}

// Turns one SDL event into framework events on the pending list.
void translate(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_KEYDOWN: keyDown(ev.key); break;
    case SDL_KEYUP: keyUp(ev.key); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: mouseButton(ev.button); break;
    case SDL_MOUSEWHEEL: mouseWheel(ev.wheel); break;
    case SDL_MOUSEMOTION: mouseMotion(ev.motion); break;
    case SDL_WINDOWEVENT: windowEvent(ev.window); break;
    case SDL_DISPLAYEVENT: pushPendingKind(kDisplayChanged); break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: sdlReleaseTexture(); break;  // made anew at the next present
    case SDL_QUIT: pushPendingKind(kDisplayQuit); break;
    default: pushPadEvents([&ev](DisplayEvent* out) { return padEvent(ev, out); }); break;
  }
}

// What ends the program from outside: a caught end signal, or a
// window that another program destroyed. Each is told once.
void noticeEndings() {
  if (takeEndSignal()) pushPendingKind(kDisplayQuit);
  if (windowGone(g_sdl.window) && !g_sdl.goneReported) {
    g_sdl.goneReported = true;
    pushPendingKind(kDisplayWindowGone);
  }
  if (windowGone(g_sdl.dialog) && !g_sdl.dialogGoneReported) {
    g_sdl.dialogGoneReported = true;
    pushPendingKind(kDisplayClose);  // the dialog closed: as its close button
  }
}

}  // namespace

int sdlPollEvent(DisplayEvent* out) {
  if (!g_sdl.open) return 0;
  SDL_Event ev;
  while (g_sdl.pendingCount == 0 && SDL_PollEvent(&ev)) translate(ev);
  if (g_sdl.pendingCount == 0) noticeEndings();
  if (g_sdl.pendingCount == 0) return 0;
  *out = g_sdl.pending[0];
  for (int i = 1; i < g_sdl.pendingCount; ++i) g_sdl.pending[i - 1] = g_sdl.pending[i];
  --g_sdl.pendingCount;
  return 1;
}
