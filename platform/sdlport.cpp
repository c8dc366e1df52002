// The SDL port: opening and closing SDL's video, the desktop, message boxes,
// the clock and the driver table. The window, the modes, the input and the
// mode dialog's window each have a file of their own beside it (sdlport.h).
#include "platform/sdlport.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/endsignals.h"
#include "platform/pinmodules.h"
#include "platform/ttftext.h"
#include "platform/x11watch.h"

SdlState g_sdl;

namespace {

// Why the last open() found no display, with what to do: one line for the
// fatal error that follows ("" while open() has not failed).
std::string g_noDisplay;

// SDL's video drivers that show nothing; used only when SDL_VIDEODRIVER names them.
const char* const kInvisibleDrivers[] = {"offscreen", "dummy", "evdev"};

bool invisibleDriver(const char* name) {
  for (const char* invisible : kInvisibleDrivers) {
    if (SDL_strcasecmp(name, invisible) == 0) return true;
  }
  return false;
}

// Without a display SDL would fall back to a driver that shows nothing, and
// the mode dialog would wait for a click nobody can give: unless the user
// names a driver, SDL may try only the ones that show something.
void offerVisibleDriversOnly() {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (asked && *asked) return;
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* name = SDL_GetVideoDriver(i);
    if (!name || invisibleDriver(name)) continue;
    if (!drivers.empty()) drivers += ',';
    drivers += name;
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

void noteNoDisplay() {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  char why[160];
  if (asked && *asked) {
    std::snprintf(why, sizeof why, "SDL_VIDEODRIVER=%s cannot be used", asked);
  } else if (x11 && *x11) {
    std::snprintf(why, sizeof why, "cannot reach the X display \"%s\"", x11);
  } else if (wayland && *wayland) {
    std::snprintf(why, sizeof why, "cannot reach the Wayland display \"%s\"", wayland);
  } else {
    std::snprintf(why, sizeof why, "DISPLAY is not set");
  }
  // The advice names the command as it was run (glibc keeps argv[0]'s base
  // name): an installed game's player has no build scripts.
  g_noDisplay = std::string("no display to show the game on (") + why +
                "); start it in a desktop session, or without a screen under Xvfb: xvfb-run -a " +
                program_invocation_short_name;
}

int sdlOpen() {
  if (g_sdl.open) return 1;
  // The close button asks first; SDL must not turn it into a quit by itself.
  SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // A software renderer draws in software: SDL would otherwise hand its
  // pixels to the GL stack (loaded for the dialog alone, and slow to start).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The port gives an exclusive mode back on focus loss itself (sdlinput.cpp).
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // SDL's own double-click radius (32 pixels) spans two lines of the mode list.
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, std::to_string(kDoubleClickRadius).c_str());
  // SIGINT, SIGTERM and SIGHUP are caught below, so that the desktop gets its mode back first.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  offerVisibleDriversOnly();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    noteNoDisplay();
    return 0;
  }
  g_noDisplay.clear();
  std::memset(&g_sdl, 0, sizeof g_sdl);
  g_sdl.open = true;
  openPads();
  pinLoadedModules();  // the X libraries and the session bus SDL's video loaded
  catchEndSignals();
  startWindowWatch();
  return 1;
}

void sdlClose() {
  if (!g_sdl.open) return;
  sdlDestroyDialog();
  ttfCloseFonts();
  sdlLeaveFullScreen();  // the monitor gets the desktop's mode back before anything else
  sdlDestroyWindow();
  closePads();
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (!windowsLeftBehind()) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  std::memset(&g_sdl, 0, sizeof g_sdl);
  finishEndSignals();  // a caught end signal ends the process here, the desktop restored
}

int sdlAskYesNo(const char* caption, const char* text) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  const SDL_MessageBoxData box = {
      SDL_MESSAGEBOX_INFORMATION, g_sdl.window, caption, text, 2, buttons, nullptr};
  if (!openModalBox()) return 1;  // a signal asked to end already: as a Yes, the orderly way
  int answer = 0;
  const int shown = SDL_ShowMessageBox(&box, &answer);
  closeModalBox();
  if (shown != 0) {
    // No box could be shown: the user asked to close, so do it.
    std::fprintf(stderr, "display: cannot ask \"%s\": %s\n", text, SDL_GetError());
    return 1;
  }
  return answer == 1 ? 1 : 0;
}

void sdlShowWarning(const char* caption, const char* text) {
  if (!g_noDisplay.empty()) {
    // Nowhere to show a box: the one line says what is wrong and what to do.
    std::fprintf(stderr, "%s: %s: %s\n", caption, text, g_noDisplay.c_str());
    return;
  }
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  if (!openModalBox()) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
  closeModalBox();
}

int64_t sdlNowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void sdlSleepMicros(int64_t micros) {
  if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

void sdlBeginPass() {}

const DisplayDriver kSdlDriver = {
    .name = "sdl",
    .open = sdlOpen,
    .close = sdlClose,
    .desktop = sdlDesktop,
    .workArea = sdlWorkArea,
    .listModes = sdlListModes,
    .createWindow = sdlCreateWindow,
    .destroyWindow = sdlDestroyWindow,
    .frameSize = sdlFrameSize,
    .placeWindow = sdlPlaceWindow,
    .windowPosition = sdlWindowPosition,
    .showWindow = sdlShowWindow,
    .setWindowIcon = sdlSetWindowIcon,
    .enterFullScreen = sdlEnterFullScreen,
    .leaveFullScreen = sdlLeaveFullScreen,
    .present = sdlPresent,
    .beginPass = sdlBeginPass,
    .pollEvent = sdlPollEvent,
    .askYesNo = sdlAskYesNo,
    .showWarning = sdlShowWarning,
    .holdMouse = sdlHoldMouse,
    .shiftHeld = sdlShiftHeld,
    .nowMicros = sdlNowMicros,
    .sleepMicros = sdlSleepMicros,
    .refreshRate = sdlRefreshRate,
    .openDialog = sdlOpenDialog,
    .presentDialog = sdlPresentDialog,
    .closeDialog = sdlCloseDialog,
    .uiScalePercent = sdlUiScalePercent,
    .textMetrics = ttfTextMetrics,
    .renderText = ttfRenderText,
};
}  // namespace

void sdlDesktop(int* width, int* height, int* bitsPerPixel) {
  *width = *height = *bitsPerPixel = 0;
  if (!g_sdl.open) return;
  SDL_DisplayMode dm;
  if (SDL_GetDesktopDisplayMode(0, &dm) != 0) return;
  *width = dm.w;
  *height = dm.h;
  // A 24-bit colour desktop keeps its pixels in 32-bit words.
  *bitsPerPixel = SDL_BYTESPERPIXEL(dm.format) == 4 ? 32 : static_cast<int>(SDL_BITSPERPIXEL(dm.format));
}

void sdlWorkArea(int* x, int* y, int* width, int* height) {
  *x = *y = *width = *height = 0;
  if (!g_sdl.open) return;
  SDL_Rect area;
  if (SDL_GetDisplayUsableBounds(0, &area) == 0 && area.w > 0 && area.h > 0) {
    *x = area.x;
    *y = area.y;
    *width = area.w;
    *height = area.h;
    return;
  }
  int bpp = 0;
  sdlDesktop(width, height, &bpp);
}

const DisplayDriver* sdlDisplayDriver() { return &kSdlDriver; }
