#include "platform/x11watch.h"

#ifdef QUILL_HAVE_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace {

// The game's window and the mode dialog's: never more than two at once.
struct Watched {
  SDL_Window* window;
  Display* display;
  Window xid;
  Window frame;  // the window manager's frame around it, 0 without one
  bool gone;
};
Watched g_watched[2];
XErrorHandler g_nextHandler = nullptr;  // SDL's own, for every error not about our windows
bool g_started = false;
bool g_leftBehind = false;  // a window destroyed from outside was not handed back to SDL
pid_t g_owner = 0;          // the game's process; SDL shows its message boxes from a child
// Keys held down when ignoreHeldKeys() was called and not let go since, by X
// key code (XQueryKeymap's bit vector), and whether the key press SDL reports
// next is one of theirs.
char g_heldKeys[32];
bool g_dropKeyDown = false;

Watched* find(SDL_Window* window) {
  for (Watched& w : g_watched) {
    if (window && w.window == window) return &w;
  }
  return nullptr;
}

int onXError(Display* display, XErrorEvent* error) {
  for (Watched& w : g_watched) {
    if (w.xid != 0 && error->resourceid == w.xid) {
      w.gone = true;
      return 0;
    }
    // SDL asks about the frame too; the window manager drops it with the window.
    if (w.frame != 0 && error->resourceid == w.frame) return 0;
    // Once the window is gone SDL goes on to ask about what a failed query
    // left in its variables: any missing window or drawable is the same news.
    if (w.gone && (error->error_code == BadWindow || error->error_code == BadDrawable)) return 0;
  }
  return g_nextHandler ? g_nextHandler(display, error) : 0;
}

// The connection to the X server is gone. Xlib's own handler would call
// exit(), whose handlers give the display back over that dead connection and
// wait for an answer forever; nothing can be given back any more (the server
// ended, or it dropped us and undid our windows itself), so: one line and out.
// A message box's child process leaves the line to the game.
int onXIOError(Display* display) {
  if (getpid() == g_owner) {
    const char* name = display ? DisplayString(display) : nullptr;
    std::fprintf(stderr, "display: lost the connection to the X display \"%s\"\n", name ? name : "");
    std::fflush(nullptr);
  }
  _exit(1);
}

// A key press or release of a key held since ignoreHeldKeys(): a release
// frees the key, a press marks SDL's key-down that follows it for dropping.
void noteHeldKey(const XEvent& x) {
  g_dropKeyDown = false;
  if (x.type != KeyPress && x.type != KeyRelease) return;
  const unsigned code = x.xkey.keycode;
  if (code >= 8 * sizeof g_heldKeys) return;
  char& byte = g_heldKeys[code / 8];
  const char bit = static_cast<char>(1 << (code % 8));
  if (!(byte & bit)) return;
  if (x.type == KeyRelease) {
    byte = static_cast<char>(byte & ~bit);
  } else {
    g_dropKeyDown = true;
  }
}

// Sees every event as SDL queues it, each X event just before what SDL makes
// of it; drops the copies of X events SDL would queue, and the key-downs of
// keys held since ignoreHeldKeys().
int onEvent(void*, SDL_Event* event) {
  if (event->type == SDL_KEYDOWN && g_dropKeyDown) {
    g_dropKeyDown = false;
    return 0;
  }
  if (event->type != SDL_SYSWMEVENT) return 1;
  const SDL_SysWMmsg* msg = event->syswm.msg;
  if (!msg || msg->subsystem != SDL_SYSWM_X11) return 0;
  const XEvent& x = msg->msg.x11.event;
  noteHeldKey(x);
  for (Watched& w : g_watched) {
    if (w.xid == 0) continue;
    if (x.type == DestroyNotify && x.xdestroywindow.window == w.xid) w.gone = true;
    if (x.type == ReparentNotify && x.xreparent.window == w.xid) w.frame = x.xreparent.parent;
  }
  return 0;
}

}  // namespace

void startWindowWatch() {
  for (Watched& w : g_watched) w = Watched{};
  const char* driver = SDL_GetCurrentVideoDriver();
  g_started = driver && SDL_strcmp(driver, "x11") == 0;
  if (!g_started) return;
  // SDL closes its X connection at shut-down and puts its first handler back.
  g_nextHandler = XSetErrorHandler(onXError);
  g_owner = getpid();
  XSetIOErrorHandler(onXIOError);
  // A write to an X server that has gone away would otherwise end the process
  // by SIGPIPE, without a word, whenever it comes before the read that notices:
  // ignored, the write fails and the IO error handler above says what happened.
  std::signal(SIGPIPE, SIG_IGN);
  SDL_SetEventFilter(onEvent, nullptr);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void watchWindow(SDL_Window* window) {
  if (!g_started || !window) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Watched* w = find(window);
  for (Watched& free : g_watched) {
    if (!w && free.window == nullptr) w = &free;
  }
  // SDL makes a new X window when a renderer needs another kind (OpenGL):
  // from then on only the new one counts.
  if (w) *w = Watched{window, info.info.x11.display, info.info.x11.window, 0, false};
}

bool windowGone(SDL_Window* window) {
  const Watched* w = find(window);
  return w && w->gone;
}

void destroyWatchedWindow(SDL_Window* window) {
  if (!window) return;
  Watched* w = find(window);
  if (w && w->gone) {
    // SDL would hide the window first and wait for an unmap that a dead
    // window may never send: the X side is gone already, the rest goes with
    // the process. Its last errors arrive here, while they are still ours.
    XSync(w->display, False);
    *w = Watched{};
    g_leftBehind = true;
    return;
  }
  SDL_DestroyWindow(window);
  if (w) *w = Watched{};
}

bool windowsLeftBehind() { return g_leftBehind; }

void ignoreHeldKeys(SDL_Window* window) {
  forgetHeldKeys();
  const Watched* w = find(window);
  if (w && w->display) XQueryKeymap(w->display, g_heldKeys);
}

void forgetHeldKeys() {
  for (char& byte : g_heldKeys) byte = 0;
  g_dropKeyDown = false;
}

#else

void startWindowWatch() {}
void watchWindow(SDL_Window*) {}
bool windowGone(SDL_Window*) { return false; }
void destroyWatchedWindow(SDL_Window* window) {
  if (window) SDL_DestroyWindow(window);
}
bool windowsLeftBehind() { return false; }
void ignoreHeldKeys(SDL_Window*) {}
void forgetHeldKeys() {}

#endif
