// The SDL port: the game's one window, either a normal window or full screen
// through one of seven back ends (one per driver word; the README's "Display
// back ends" table), the mode dialog's own window and its text, keyboard and
// mouse input, message boxes.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/display.h"
#include "platform/endsignals.h"
#include "platform/keymap.h"
#include "platform/pinmodules.h"
#include "platform/pixelconvert.h"
#include "platform/sdlgamepad.h"
#include "platform/ttftext.h"
#include "platform/x11watch.h"

namespace {

// Where a back end's modes come from.
enum ModeSource {
  kSourceDesktop,  // every candidate resolution that fits the desktop, scaled onto it
  kSourceMonitor,  // the modes the monitor really lists (SDL_GetDisplayMode)
  kSourceConsole,  // the same, only when SDL runs on the KMS/DRM console
  kSourceVga,      // the standard VGA 320x200 8-bit mode
  kSourceModeX,    // the ModeX modes 320x200, 320x240, 320x400, 320x480 at 8 bits
};
// How the picture reaches the screen.
enum RendererKind {
  kRendererAccelerated,  // SDL's accelerated renderer (software when none can be made)
  kRendererSoftware,     // SDL's software renderer
  kRendererVsync,        // the accelerated renderer, each present waiting for the retrace
};
enum ScreenKind {
  kScreenDesktop,    // the window covers the desktop at its resolution; the picture is scaled
  kScreenExclusive,  // the monitor is switched to the mode itself
};

// The back ends behind the driver words of DriverOptions, in the order they
// are asked: when two offer the same size and depth the framework takes the
// first, so a cleared word hands its modes to the next one.
struct SdlBackEnd {
  int driverWord;    // DriverOptions word that enables it
  const char* name;  // shown in the mode list (at most 15 characters)
  ModeSource source;
  RendererKind renderer;
  ScreenKind screen;
  int flags;  // mode flags; kMode2DAccel is added for accelerated renderers that exist
};
const SdlBackEnd kBackEnds[] = {
    {kOptDirectDraw, "DirectDraw", kSourceDesktop, kRendererAccelerated, kScreenDesktop, kMode2DAccel},
    {kOptVga, "VGA", kSourceVga, kRendererAccelerated, kScreenDesktop, 0},
    {kOptVgaModeX, "VGA ModeX", kSourceModeX, kRendererAccelerated, kScreenDesktop, 0},
    {kOptTarvok, "Tarvok", kSourceConsole, kRendererAccelerated, kScreenExclusive, kMode2DAccel},
    {kOptVbeAf, "VESA VBE/AF", kSourceMonitor, kRendererVsync, kScreenExclusive, kMode2DAccel},
    {kOptVbe, "VESA VBE 2.0", kSourceMonitor, kRendererSoftware, kScreenExclusive, 0},
    {kOptFullscreenDib, "Fullscreen DIB", kSourceDesktop, kRendererSoftware, kScreenDesktop, 0},
};
constexpr int kBackEndCount = sizeof(kBackEnds) / sizeof(kBackEnds[0]);
static_assert(kBackEndCount == 7, "one back end per driver box");

// Depths the 15/16/24/32-bit back ends offer; the back buffer is x1R5G5B5 in
// every mode and present() converts, so each depth shows the game's colours.
constexpr int kTrueColourDepths[] = {15, 16, 24, 32};
static_assert(sizeof(kTrueColourDepths) / sizeof(kTrueColourDepths[0]) == 4, "four depths");

// The ModeX sizes with their page counts: 256 KB of VGA memory over one frame.
struct ModeXMode {
  int width, height, pages;
};
const ModeXMode kModeXModes[] = {{320, 200, 4}, {320, 240, 3}, {320, 400, 2}, {320, 480, 1}};
static_assert(sizeof(kModeXModes) / sizeof(kModeXModes[0]) == 4, "four ModeX modes");

// What listModes handed out, by id, so enterFullScreen knows the back end and
// the monitor's mode behind a DisplayMode.
struct ListedMode {
  int backEnd;  // index into kBackEnds
  int width, height;
  SDL_DisplayMode monitor;  // the real mode for kScreenExclusive
};
constexpr int kMaxListed = 512;

struct SdlState {
  bool open;
  SDL_Window* window;
  SDL_Renderer* renderer;
  RendererKind rendererKind;  // what `renderer` is
  SDL_Texture* texture;
  int textureWidth, textureHeight;
  // The picture scaled by whole factors, on its way to a screen it does not
  // fill evenly; made when first needed, kept while its size stays.
  SDL_Texture* scaled;
  int scaledWidth, scaledHeight;
  int lastTargetWidth, lastTargetHeight;  // for repainting after an expose
  bool fullScreen;
  bool haveFrame;  // the texture holds a presented picture
  // How the full-screen back end now in use presents.
  bool vgaColours;   // brought down to 256 colours
  bool banked;       // copied with SDL_UpdateTexture instead of locking the texture
  bool fourByThree;  // shown at 4:3 whatever its pixel size, as the monitors of its day did
  bool linear;       // driver word kOptLinear at the last listModes
  bool exclusive;    // the monitor is switched to the mode: given back while the focus is away

  // Where the player keeps the window: its outer top-left corner as a normal
  // window, never where maximizing or full screen moved it.
  int normalX, normalY;
  bool haveNormal;
  int placedWidth, placedHeight;  // the client size placeWindow gave it
  bool goneReported;              // the window destroyed from outside was told

  // The mode dialog's window.
  SDL_Window* dialog;
  SDL_Renderer* dialogRenderer;
  SDL_Texture* dialogTexture;
  int dialogWidth, dialogHeight;
  bool dialogFocused;  // the focus was asked for after the window showed
  bool dialogGoneReported;

  // PC scan code each SDL scancode's key-down reported, so its key-up clears
  // the same entry whatever happened to the locks in between.
  uint8_t downScan[SDL_NUM_SCANCODES];
  // An SDL event can give several framework events (alt+Enter: the key, then
  // the switch; a pad unplugged: every key it held let go).
  DisplayEvent pending[kMaxPadEvents + 4];
  int pendingCount;
};
SdlState g_sdl;

// Why the last open() found no display, with what to do: one line for the
// fatal error that follows ("" while open() has not failed).
std::string g_noDisplay;

uint32_t g_vgaLut[kColourLutSize];  // x1R5G5B5 -> the 3-3-2 palette's ARGB8888
bool g_lutReady = false;
ListedMode g_listed[kMaxListed];
int g_listedCount = 0;
std::vector<uint8_t> g_staging;  // ARGB rows for banked presents; grows with the picture only

void releaseScaled() {
  if (g_sdl.scaled) SDL_DestroyTexture(g_sdl.scaled);
  g_sdl.scaled = nullptr;
  g_sdl.scaledWidth = g_sdl.scaledHeight = 0;
}

void releaseTexture() {
  releaseScaled();
  if (g_sdl.texture) SDL_DestroyTexture(g_sdl.texture);
  g_sdl.texture = nullptr;
  g_sdl.textureWidth = g_sdl.textureHeight = 0;
  g_sdl.haveFrame = false;
}

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
  g_noDisplay = std::string("no display to show the game on (") + why +
                "); start it in a desktop session, or without a screen under Xvfb: xvfb-run -a scripts/run";
}

int sdlOpen() {
  if (g_sdl.open) return 1;
  // The close button asks first; SDL must not turn it into a quit by itself.
  SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // A software renderer draws in software: SDL would otherwise hand its
  // pixels to the GL stack (loaded for the dialog alone, and slow to start).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The port gives an exclusive mode back on focus loss itself (see translate).
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // SDL's own double-click radius (32 pixels) spans two lines of the mode list.
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, std::to_string(kDoubleClickRadius).c_str());
  // SIGINT and SIGTERM are caught below, so that the desktop gets its mode back first.
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
  if (!g_lutReady) {
    buildVgaColourLut(g_vgaLut);
    g_lutReady = true;
  }
  return 1;
}

void sdlDestroyWindow() {
  releaseTexture();
  if (g_sdl.renderer) SDL_DestroyRenderer(g_sdl.renderer);
  destroyWatchedWindow(g_sdl.window);
  g_sdl.renderer = nullptr;
  g_sdl.window = nullptr;
  g_sdl.fullScreen = g_sdl.exclusive = false;
  g_sdl.haveNormal = g_sdl.goneReported = false;
}

void destroyDialog() {
  if (g_sdl.dialogTexture) SDL_DestroyTexture(g_sdl.dialogTexture);
  if (g_sdl.dialogRenderer) SDL_DestroyRenderer(g_sdl.dialogRenderer);
  destroyWatchedWindow(g_sdl.dialog);
  g_sdl.dialogTexture = nullptr;
  g_sdl.dialogRenderer = nullptr;
  g_sdl.dialog = nullptr;
  g_sdl.dialogWidth = g_sdl.dialogHeight = 0;
  g_sdl.dialogFocused = g_sdl.dialogGoneReported = false;
}

void sdlLeaveFullScreen();

void sdlClose() {
  if (!g_sdl.open) return;
  destroyDialog();
  ttfCloseFonts();
  sdlLeaveFullScreen();  // the monitor gets the desktop's mode back before anything else
  sdlDestroyWindow();
  closePads();
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (!windowsLeftBehind()) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  std::memset(&g_sdl, 0, sizeof g_sdl);
  finishEndSignals();  // a caught SIGINT or SIGTERM ends the process here, the desktop restored
}

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

// True when SDL has a renderer that draws with the graphics hardware.
bool haveAcceleratedRenderer() {
  const int n = SDL_GetNumRenderDrivers();
  for (int i = 0; i < n; ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED)) return true;
  }
  return false;
}

bool onConsole() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && SDL_strcasecmp(driver, "KMSDRM") == 0;
}

// A monitor mode is worth offering when the framework can use it: a
// candidate size, or twice one (rows or both) up to 800 x 600 for stretching.
bool usefulMonitorSize(int w, int h) {
  for (const Resolution& r : kCandidateResolutions) {
    if (w == r.width && h == r.height) return true;
    if (w <= 800 && h <= 600 && h == 2 * r.height && (w == r.width || w == 2 * r.width)) return true;
  }
  return false;
}

// Distinct useful sizes of the monitor, each with its first (best refresh) mode.
int monitorModes(SDL_DisplayMode* out, int max) {
  int n = 0;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count && n < max; ++i) {
    SDL_DisplayMode dm;
    if (SDL_GetDisplayMode(0, i, &dm) != 0 || !usefulMonitorSize(dm.w, dm.h)) continue;
    bool seen = false;
    for (int k = 0; k < n && !seen; ++k) seen = out[k].w == dm.w && out[k].h == dm.h;
    if (!seen) out[n++] = dm;
  }
  return n;
}

int sdlListModes(const int32_t* driverWords, DisplayMode* out, int max) {
  if (!g_sdl.open) return 0;
  int deskW, deskH, deskBpp;
  sdlDesktop(&deskW, &deskH, &deskBpp);
  g_sdl.linear = driverWords[kOptLinear] != 0;
  const bool accelerated = haveAcceleratedRenderer();
  SDL_DisplayMode monitor[64];
  const int monitorCount = monitorModes(monitor, 64);
  int n = 0;
  g_listedCount = 0;
  auto add = [&](int b, int w, int h, int depth, int pages, int kind, const SDL_DisplayMode* real) {
    if (n >= max || n >= kMaxListed) return;
    const SdlBackEnd& be = kBackEnds[b];
    DisplayMode& m = out[n];
    m = DisplayMode{};
    m.id = n;
    m.width = w;
    m.height = h;
    m.bitsPerPixel = depth;
    m.pages = pages;
    m.flags = be.flags & (accelerated ? ~0 : ~kMode2DAccel);
    m.kind = kind;
    std::snprintf(m.driverName, sizeof m.driverName, "%s", be.name);
    ListedMode& l = g_listed[n];
    l = ListedMode{};
    l.backEnd = b;
    l.width = w;
    l.height = h;
    if (real) l.monitor = *real;
    ++n;
    g_listedCount = n;
  };
  for (int b = 0; b < kBackEndCount; ++b) {
    const SdlBackEnd& be = kBackEnds[b];
    if (!driverWords[be.driverWord]) continue;
    switch (be.source) {
      case kSourceDesktop:
        for (int depth : kTrueColourDepths) {
          for (const Resolution& r : kCandidateResolutions) {
            if (r.width <= deskW && r.height <= deskH)
              add(b, r.width, r.height, depth, 2, kModePlain, nullptr);
          }
        }
        break;
      case kSourceConsole:
        if (!onConsole()) break;  // under X11 or Wayland there is no console to take over
        [[fallthrough]];
      case kSourceMonitor:
        for (int depth : kTrueColourDepths) {
          for (int i = 0; i < monitorCount; ++i)
            add(b, monitor[i].w, monitor[i].h, depth, 2, kModePlain, &monitor[i]);
        }
        break;
      case kSourceVga:
        add(b, 320, 200, 8, 1, kModeVga320, nullptr);  // 64000 bytes: one page
        break;
      case kSourceModeX:
        for (const ModeXMode& x : kModeXModes) add(b, x.width, x.height, 8, x.pages, kModeModeX, nullptr);
        break;
    }
  }
  return n;
}

// Makes the window's renderer the wanted kind (a new renderer drops the texture).
bool useRenderer(RendererKind kind) {
  if (!g_sdl.window) return false;
  if (g_sdl.renderer && g_sdl.rendererKind == kind) return true;
  releaseTexture();
  if (g_sdl.renderer) SDL_DestroyRenderer(g_sdl.renderer);
  g_sdl.renderer = nullptr;
  Uint32 flags = kind == kRendererSoftware ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED;
  if (kind == kRendererVsync) flags |= SDL_RENDERER_PRESENTVSYNC;
  g_sdl.renderer = SDL_CreateRenderer(g_sdl.window, -1, flags);
  if (!g_sdl.renderer && kind != kRendererSoftware) {
    // No graphics hardware to draw with: the picture is the same in software.
    g_sdl.renderer = SDL_CreateRenderer(g_sdl.window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!g_sdl.renderer) {
    std::fprintf(stderr, "display: cannot create a renderer: %s\n", SDL_GetError());
    return false;
  }
  g_sdl.rendererKind = kind;
  watchWindow(g_sdl.window);
  pinLoadedModules();  // the GL libraries and driver a renderer may have brought
  return true;
}

const ListedMode* listedFor(const DisplayMode* mode) {
  if (mode->id >= 0 && mode->id < g_listedCount) {
    const ListedMode& l = g_listed[mode->id];
    if (l.width == mode->width && l.height == mode->height &&
        std::strcmp(kBackEnds[l.backEnd].name, mode->driverName) == 0) {
      return &l;
    }
  }
  return nullptr;
}

int sdlCreateWindow(const char* title, int maximizeBox) {
  if (!g_sdl.open) return 0;
  if (g_sdl.window) return 1;
  // SDL gives a maximize box only to a resizable window; the picture is
  // letterboxed, so a window dragged to another size still shows it whole.
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  if (maximizeBox) flags |= SDL_WINDOW_RESIZABLE;
  g_sdl.window = SDL_CreateWindow(title ? title : "", 0, 0, 320, 200, flags);
  if (!g_sdl.window) {
    std::fprintf(stderr, "display: cannot create the window: %s\n", SDL_GetError());
    return 0;
  }
  if (!useRenderer(kRendererAccelerated)) {
    destroyWatchedWindow(g_sdl.window);
    g_sdl.window = nullptr;
    return 0;
  }
  return 1;
}

void sdlFrameSize(int* width, int* height) {
  *width = *height = 0;
  if (!g_sdl.window) return;
  // A window manager tells its frame in a property that SDL reads as events come.
  SDL_PumpEvents();
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(g_sdl.window, &top, &left, &bottom, &right) != 0) return;
  *width = left + right;
  *height = top + bottom;
}

void sdlPlaceWindow(int x, int y, int clientWidth, int clientHeight) {
  if (!g_sdl.window) return;
  if (SDL_GetWindowFlags(g_sdl.window) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(g_sdl.window);
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(g_sdl.window, &top, &left, &bottom, &right);
  SDL_SetWindowSize(g_sdl.window, clientWidth, clientHeight);
  SDL_SetWindowPosition(g_sdl.window, x + left, y + top);  // SDL places the client area
  g_sdl.normalX = x;
  g_sdl.normalY = y;
  g_sdl.haveNormal = true;
  g_sdl.placedWidth = clientWidth;
  g_sdl.placedHeight = clientHeight;
}

// A move of the window counts as the player's when the window is a normal
// one of the size it was given: maximizing moves and resizes it at once.
void noteWindowMoved(int clientX, int clientY) {
  if (g_sdl.fullScreen || !g_sdl.haveNormal) return;
  if (SDL_GetWindowFlags(g_sdl.window) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(g_sdl.window, &w, &h);
  if (w != g_sdl.placedWidth || h != g_sdl.placedHeight) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(g_sdl.window, &top, &left, &bottom, &right);
  g_sdl.normalX = clientX - left;
  g_sdl.normalY = clientY - top;
}

void sdlWindowPosition(int* x, int* y) {
  *x = *y = -1;
  if (!g_sdl.window) return;
  if (g_sdl.haveNormal) {
    *x = g_sdl.normalX;
    *y = g_sdl.normalY;
    return;
  }
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(g_sdl.window, &top, &left, &bottom, &right);
  SDL_GetWindowPosition(g_sdl.window, x, y);
  *x -= left;
  *y -= top;
}

void sdlShowWindow() {
  if (!g_sdl.window) return;
  SDL_ShowWindow(g_sdl.window);
  SDL_RaiseWindow(g_sdl.window);
}

int sdlEnterFullScreen(const DisplayMode* mode) {
  if (!g_sdl.window || !mode) return 0;
  const ListedMode* listed = listedFor(mode);
  if (!listed) {
    std::fprintf(stderr, "display: mode %d (%dx%d, %s) was not offered\n", mode->id, mode->width,
                 mode->height, mode->driverName);
    return 0;
  }
  const SdlBackEnd& be = kBackEnds[listed->backEnd];
  if (!useRenderer(be.renderer)) return 0;
  // Cover the screen first: without a window manager (a bare X server) the
  // full-screen request alone leaves the window as small as it was.
  int coverW = listed->monitor.w, coverH = listed->monitor.h, bpp = 0;
  if (be.screen != kScreenExclusive) sdlDesktop(&coverW, &coverH, &bpp);
  if (!g_sdl.fullScreen && coverW > 0 && coverH > 0) {
    SDL_SetWindowPosition(g_sdl.window, 0, 0);
    SDL_SetWindowSize(g_sdl.window, coverW, coverH);
  }
  if (be.screen == kScreenExclusive) {
    SDL_DisplayMode want = listed->monitor;
    if (SDL_SetWindowDisplayMode(g_sdl.window, &want) != 0 ||
        SDL_SetWindowFullscreen(g_sdl.window, SDL_WINDOW_FULLSCREEN) != 0) {
      std::fprintf(stderr, "display: cannot switch the monitor to %dx%d: %s\n", want.w, want.h,
                   SDL_GetError());
      SDL_SetWindowFullscreen(g_sdl.window, 0);
      return 0;
    }
  } else if (SDL_SetWindowFullscreen(g_sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    std::fprintf(stderr, "display: cannot enter full screen: %s\n", SDL_GetError());
    return 0;
  }
  g_sdl.fullScreen = true;
  g_sdl.vgaColours = mode->bitsPerPixel == 8;
  // Where we scale the picture onto the desktop ourselves, the old shapes are
  // ours to keep; an exclusive mode is shaped by the monitor.
  g_sdl.fourByThree = be.screen == kScreenDesktop && (be.source == kSourceVga || be.source == kSourceModeX ||
                                                      showsAtFourByThree(mode->width, mode->height));
  g_sdl.banked = be.driverWord == kOptVbe && !g_sdl.linear;
  g_sdl.exclusive = be.screen == kScreenExclusive;
  SDL_ShowWindow(g_sdl.window);
  SDL_RaiseWindow(g_sdl.window);
  return 1;
}

void sdlLeaveFullScreen() {
  if (!g_sdl.window || !g_sdl.fullScreen) return;
  SDL_SetWindowFullscreen(g_sdl.window, 0);
  g_sdl.fullScreen = g_sdl.exclusive = false;
  g_sdl.vgaColours = g_sdl.fourByThree = g_sdl.banked = false;
  useRenderer(kRendererAccelerated);  // a window draws as it did before
}

// The picture scaled by whole factors into a render target: false when the
// renderer cannot draw into a texture.
bool scaleByWholeFactors(int width, int height) {
  if (!g_sdl.scaled || g_sdl.scaledWidth != width || g_sdl.scaledHeight != height) {
    releaseScaled();
    g_sdl.scaled =
        SDL_CreateTexture(g_sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
    if (!g_sdl.scaled) return false;
    SDL_SetTextureScaleMode(g_sdl.scaled, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(g_sdl.scaled, SDL_BLENDMODE_NONE);
    g_sdl.scaledWidth = width;
    g_sdl.scaledHeight = height;
  }
  if (SDL_SetRenderTarget(g_sdl.renderer, g_sdl.scaled) != 0) return false;
  SDL_SetTextureScaleMode(g_sdl.texture, SDL_ScaleModeNearest);
  const bool drawn = SDL_RenderCopy(g_sdl.renderer, g_sdl.texture, nullptr, nullptr) == 0;
  SDL_SetRenderTarget(g_sdl.renderer, nullptr);
  return drawn;
}

// Draws the texture into the renderer's output, letterboxed to the target's
// proportions (4:3 for the old shapes); the bars are cleared every time so
// nothing old shows in them. Every picture pixel becomes the same whole number
// of screen pixels, and only the last fraction of the way is filtered, so
// columns and rows come out even (at 640x480 on 1920x1080: 2 x 2 pixels each,
// then 1.125 times that), where plain nearest-neighbour scaling would mix
// columns two and three pixels wide.
void drawTexture(int targetWidth, int targetHeight) {
  int outW = 0, outH = 0;
  if (SDL_GetRendererOutputSize(g_sdl.renderer, &outW, &outH) != 0) return;
  SDL_Texture* shown = g_sdl.texture;
  PresentScale plan{};
  if (g_sdl.haveFrame) {
    plan = g_sdl.fourByThree
               ? planPresent(g_sdl.textureWidth, g_sdl.textureHeight, 4, 3, outW, outH)
               : planPresent(g_sdl.textureWidth, g_sdl.textureHeight, targetWidth, targetHeight, outW, outH);
    const int w = plan.dst.right - plan.dst.left, h = plan.dst.bottom - plan.dst.top;
    const bool even = plan.scaledWidth == w && plan.scaledHeight == h;
    const bool whole = plan.scaledWidth == g_sdl.textureWidth && plan.scaledHeight == g_sdl.textureHeight;
    if (even || whole) {
      SDL_SetTextureScaleMode(g_sdl.texture, even ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    } else if (scaleByWholeFactors(plan.scaledWidth, plan.scaledHeight)) {
      shown = g_sdl.scaled;
    } else {
      SDL_SetTextureScaleMode(g_sdl.texture, SDL_ScaleModeNearest);  // no render targets: as before
    }
  }
  SDL_SetRenderDrawColor(g_sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(g_sdl.renderer);
  if (g_sdl.haveFrame) {
    const SDL_Rect dst = {plan.dst.left, plan.dst.top, plan.dst.right - plan.dst.left,
                          plan.dst.bottom - plan.dst.top};
    SDL_RenderCopy(g_sdl.renderer, shown, nullptr, &dst);
  }
  SDL_RenderPresent(g_sdl.renderer);
}

void sdlPresent(const PixelBuffer* picture, int targetWidth, int targetHeight, int waitMode) {
  if (!g_sdl.renderer || !picture || !picture->pixels || windowGone(g_sdl.window)) return;
  if (!g_sdl.texture || g_sdl.textureWidth != picture->width || g_sdl.textureHeight != picture->height) {
    releaseTexture();
    g_sdl.texture = SDL_CreateTexture(g_sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                      picture->width, picture->height);
    if (!g_sdl.texture) {
      std::fprintf(stderr, "display: cannot create a %dx%d texture: %s\n", picture->width, picture->height,
                   SDL_GetError());
      return;
    }
    SDL_SetTextureBlendMode(g_sdl.texture, SDL_BLENDMODE_NONE);  // opaque: a plain copy
    g_sdl.textureWidth = picture->width;
    g_sdl.textureHeight = picture->height;
  }
  // The 8-bit look goes through its palette's table; true colour is computed.
  auto convert = [&](uint8_t* out, int pitch) {
    if (g_sdl.vgaColours) {
      convertThroughLut(picture->pixels, picture->bytesPerLine, picture->width, picture->height, out, pitch,
                        g_vgaLut);
    } else {
      convertToArgb(picture->pixels, picture->bytesPerLine, picture->width, picture->height, out, pitch);
    }
  };
  if (g_sdl.banked) {
    // Banked access: the picture goes over in one copy instead of straight
    // into the locked texture memory.
    const int pitch = picture->width * 4;
    const size_t need = static_cast<size_t>(pitch) * static_cast<size_t>(picture->height);
    if (g_staging.size() < need) g_staging.resize(need);
    convert(g_staging.data(), pitch);
    if (SDL_UpdateTexture(g_sdl.texture, nullptr, g_staging.data(), pitch) != 0) return;
  } else {
    void* texPixels = nullptr;
    int texPitch = 0;
    if (SDL_LockTexture(g_sdl.texture, nullptr, &texPixels, &texPitch) != 0) return;
    convert(static_cast<uint8_t*>(texPixels), texPitch);
    SDL_UnlockTexture(g_sdl.texture);
  }
  g_sdl.haveFrame = true;
  g_sdl.lastTargetWidth = targetWidth;
  g_sdl.lastTargetHeight = targetHeight;
  drawTexture(targetWidth, targetHeight);
}

void sdlBeginPass() {}

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
  if (g_sdl.pendingCount < static_cast<int>(sizeof g_sdl.pending / sizeof g_sdl.pending[0])) {
    g_sdl.pending[g_sdl.pendingCount++] = e;
  }
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

void drawDialog() {
  if (!g_sdl.dialogRenderer) return;
  SDL_SetRenderDrawColor(g_sdl.dialogRenderer, 0, 0, 0, 255);
  SDL_RenderClear(g_sdl.dialogRenderer);
  if (g_sdl.dialogTexture) SDL_RenderCopy(g_sdl.dialogRenderer, g_sdl.dialogTexture, nullptr, nullptr);
  SDL_RenderPresent(g_sdl.dialogRenderer);
}

// What the dialog window itself tells: repaint, close, and the focus that a
// bare X server without a window manager gives nobody unless asked.
void dialogWindowEvent(Uint8 what) {
  DisplayEvent e{};
  switch (what) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
      if (!g_sdl.dialogFocused) {
        g_sdl.dialogFocused = true;
        SDL_RaiseWindow(g_sdl.dialog);
        SDL_SetWindowInputFocus(g_sdl.dialog);
      }
      drawDialog();
      break;
    case SDL_WINDOWEVENT_CLOSE:
      e.kind = kDisplayClose;
      pushPending(e);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST: std::memset(g_sdl.downScan, 0, sizeof g_sdl.downScan); break;
    default: break;
  }
}

// Turns one SDL event into framework events on the pending list.
void translate(const SDL_Event& ev) {
  DisplayEvent e{};
  switch (ev.type) {
    case SDL_KEYDOWN: {
      const SDL_Keysym& k = ev.key.keysym;
      const int scan = pcScanCode(k.scancode);
      const bool altEnter = (k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER) &&
                            (k.mod & KMOD_ALT) != 0;
      if (scan != 0) {
        g_sdl.downScan[k.scancode] = static_cast<uint8_t>(scan);
        padsKeyboardPressed(scan);
        int locks = 0;
        if (k.mod & KMOD_NUM) locks |= kKeyNumLock;
        if (k.mod & KMOD_SHIFT) locks |= kKeyShift;
        if (k.mod & KMOD_CAPS) locks |= kKeyCapsLock;
        e.kind = kDisplayKeyDown;
        e.scanCode = scan;
        e.character = keyCharacter(k.scancode, k.sym, locks);
        e.repeat = ev.key.repeat ? 1 : 0;
        e.modifiers = modifiersOf(k.mod);
        pushPending(e);
      }
      // One switch per press: auto-repeats of a held alt+Enter do nothing.
      if (altEnter && !ev.key.repeat) {
        DisplayEvent s{};
        s.kind = kDisplaySwitch;
        pushPending(s);
      }
      break;
    }
    case SDL_KEYUP: {
      const SDL_Keysym& k = ev.key.keysym;
      int scan = g_sdl.downScan[k.scancode];
      if (scan == 0) scan = pcScanCode(k.scancode);
      g_sdl.downScan[k.scancode] = 0;
      if (scan == 0 || !padsKeyboardReleased(scan)) break;  // a pad still holds it
      e.kind = kDisplayKeyUp;
      e.scanCode = scan;
      e.modifiers = modifiersOf(k.mod);
      pushPending(e);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (ev.button.button != SDL_BUTTON_LEFT && ev.button.button != SDL_BUTTON_RIGHT) break;
      e.kind = ev.type == SDL_MOUSEBUTTONDOWN ? kDisplayMouseDown : kDisplayMouseUp;
      e.x = ev.button.x;
      e.y = ev.button.y;
      e.button = ev.button.button == SDL_BUTTON_LEFT ? 1 : 4;
      e.doubleClick = ev.type == SDL_MOUSEBUTTONDOWN && ev.button.clicks == 2;
      e.modifiers = mouseModifiers();
      pushPending(e);
      break;
    case SDL_MOUSEWHEEL: {
      const int notches = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
      if (notches == 0) break;
      e.kind = kDisplayMouseWheel;
      e.wheel = notches;
      SDL_GetMouseState(&e.x, &e.y);
      e.modifiers = mouseModifiers();
      pushPending(e);
      break;
    }
    case SDL_MOUSEMOTION:
      e.kind = kDisplayMouseMove;
      e.x = ev.motion.x;
      e.y = ev.motion.y;
      e.modifiers = mouseModifiers();
      pushPending(e);
      break;
    case SDL_WINDOWEVENT:
      if (g_sdl.dialog && ev.window.windowID == SDL_GetWindowID(g_sdl.dialog)) {
        dialogWindowEvent(ev.window.event);
        break;
      }
      switch (ev.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          e.kind = kDisplayClose;
          pushPending(e);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Keys let go while another window has the focus never send their
          // key-up here; forget them all.
          std::memset(g_sdl.downScan, 0, sizeof g_sdl.downScan);
          padsFocusLost();
          e.kind = kDisplayFocusLost;
          pushPending(e);
          // The player switched away from a mode the monitor was switched
          // to: the desktop gets its own back while the window is iconic
          // (SDL sets the game's mode again when the window is restored).
          if (g_sdl.exclusive) SDL_MinimizeWindow(g_sdl.window);
          break;
        case SDL_WINDOWEVENT_MOVED: noteWindowMoved(ev.window.data1, ev.window.data2); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          e.kind = kDisplayFocusGained;
          pushPending(e);
          pushPadEvents(padsFocusGained);
          break;
        case SDL_WINDOWEVENT_MAXIMIZED:
          // The maximize box means "full screen": undo the maximizing itself.
          SDL_RestoreWindow(g_sdl.window);
          if (!g_sdl.fullScreen) {
            e.kind = kDisplaySwitch;
            pushPending(e);
          }
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (g_sdl.renderer && g_sdl.haveFrame && !windowGone(g_sdl.window))
            drawTexture(g_sdl.lastTargetWidth, g_sdl.lastTargetHeight);
          break;
        default: break;
      }
      break;
    case SDL_DISPLAYEVENT:
      e.kind = kDisplayChanged;
      pushPending(e);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      releaseTexture();  // made anew at the next present
      break;
    case SDL_QUIT:
      e.kind = kDisplayQuit;
      pushPending(e);
      break;
    default: pushPadEvents([&ev](DisplayEvent* out) { return padEvent(ev, out); }); break;
  }
}

// What ends the program from outside: a caught SIGINT or SIGTERM, or a
// window that another program destroyed. Each is told once.
void noticeEndings() {
  DisplayEvent e{};
  if (takeEndSignal()) {
    e.kind = kDisplayQuit;
    pushPending(e);
  }
  if (windowGone(g_sdl.window) && !g_sdl.goneReported) {
    g_sdl.goneReported = true;
    e.kind = kDisplayWindowGone;
    pushPending(e);
  }
  if (windowGone(g_sdl.dialog) && !g_sdl.dialogGoneReported) {
    g_sdl.dialogGoneReported = true;
    e.kind = kDisplayClose;  // the dialog closed: as its close button
    pushPending(e);
  }
}

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

int sdlAskYesNo(const char* caption, const char* text) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  const SDL_MessageBoxData box = {
      SDL_MESSAGEBOX_INFORMATION, g_sdl.window, caption, text, 2, buttons, nullptr};
  int answer = 0;
  if (SDL_ShowMessageBox(&box, &answer) != 0) {
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
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}

int64_t sdlNowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void sdlSleepMicros(int64_t micros) {
  if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

int sdlOpenDialog(const char* title, int x, int y, int width, int height) {
  if (!g_sdl.open || width < 1 || height < 1) return 0;
  if (g_sdl.dialog) {
    SDL_SetWindowSize(g_sdl.dialog, width, height);
    SDL_SetWindowPosition(g_sdl.dialog, x, y);
    g_sdl.dialogWidth = width;
    g_sdl.dialogHeight = height;
    return 1;
  }
  // No caption bar: the dialog draws its own frame.
  g_sdl.dialog =
      SDL_CreateWindow(title ? title : "", x, y, width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
  if (!g_sdl.dialog) {
    std::fprintf(stderr, "display: cannot open the dialog window: %s\n", SDL_GetError());
    return 0;
  }
  // A dialog redraws only when something changes: software drawing is plenty.
  g_sdl.dialogRenderer = SDL_CreateRenderer(g_sdl.dialog, -1, SDL_RENDERER_SOFTWARE);
  if (!g_sdl.dialogRenderer) g_sdl.dialogRenderer = SDL_CreateRenderer(g_sdl.dialog, -1, 0);
  if (!g_sdl.dialogRenderer) {
    std::fprintf(stderr, "display: cannot draw the dialog: %s\n", SDL_GetError());
    destroyDialog();
    return 0;
  }
  pinLoadedModules();
  watchWindow(g_sdl.dialog);
  g_sdl.dialogWidth = width;
  g_sdl.dialogHeight = height;
  SDL_ShowWindow(g_sdl.dialog);
  SDL_RaiseWindow(g_sdl.dialog);
  SDL_SetWindowInputFocus(g_sdl.dialog);
  return 1;
}

void sdlPresentDialog(const PixelBuffer* picture) {
  if (!g_sdl.dialogRenderer || !picture || !picture->pixels) return;
  int tw = 0, th = 0;
  if (g_sdl.dialogTexture) SDL_QueryTexture(g_sdl.dialogTexture, nullptr, nullptr, &tw, &th);
  if (!g_sdl.dialogTexture || tw != picture->width || th != picture->height) {
    if (g_sdl.dialogTexture) SDL_DestroyTexture(g_sdl.dialogTexture);
    g_sdl.dialogTexture = SDL_CreateTexture(g_sdl.dialogRenderer, SDL_PIXELFORMAT_ARGB8888,
                                            SDL_TEXTUREACCESS_STREAMING, picture->width, picture->height);
    if (!g_sdl.dialogTexture) return;
  }
  void* texPixels = nullptr;
  int texPitch = 0;
  if (SDL_LockTexture(g_sdl.dialogTexture, nullptr, &texPixels, &texPitch) != 0) return;
  convertToArgb(picture->pixels, picture->bytesPerLine, picture->width, picture->height,
                static_cast<uint8_t*>(texPixels), texPitch);
  SDL_UnlockTexture(g_sdl.dialogTexture);
  drawDialog();
}

void sdlCloseDialog() {
  if (!g_sdl.dialog) return;
  destroyDialog();
  // Keys and clicks meant for the dialog must not reach the game's window.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
  g_sdl.pendingCount = 0;
}

int sdlUiScalePercent() {
  if (!g_sdl.open) return 100;
  int percent = 0;
  const char* forced = std::getenv("QUILL_UI_SCALE");  // for checking the large layout on a plain screen
  if (forced && *forced) {
    percent = std::atoi(forced);
  } else {
    float ddpi = 0, hdpi = 0, vdpi = 0;
    if (SDL_GetDisplayDPI(0, &ddpi, &hdpi, &vdpi) != 0 || hdpi <= 0) return 100;
    percent = static_cast<int>(hdpi / 96.0f * 100.0f);
  }
  percent = percent / 25 * 25;  // in quarter steps, down, as desktops offer them
  if (percent < 100) percent = 100;
  if (percent > 300) percent = 300;
  return percent;
}

const DisplayDriver kSdlDriver = {
    .name = "sdl",
    .open = sdlOpen,
    .close = sdlClose,
    .desktop = sdlDesktop,
    .listModes = sdlListModes,
    .createWindow = sdlCreateWindow,
    .destroyWindow = sdlDestroyWindow,
    .frameSize = sdlFrameSize,
    .placeWindow = sdlPlaceWindow,
    .windowPosition = sdlWindowPosition,
    .showWindow = sdlShowWindow,
    .enterFullScreen = sdlEnterFullScreen,
    .leaveFullScreen = sdlLeaveFullScreen,
    .present = sdlPresent,
    .beginPass = sdlBeginPass,
    .pollEvent = sdlPollEvent,
    .askYesNo = sdlAskYesNo,
    .showWarning = sdlShowWarning,
    .nowMicros = sdlNowMicros,
    .sleepMicros = sdlSleepMicros,
    .openDialog = sdlOpenDialog,
    .presentDialog = sdlPresentDialog,
    .closeDialog = sdlCloseDialog,
    .uiScalePercent = sdlUiScalePercent,
    .textMetrics = ttfTextMetrics,
    .renderText = ttfRenderText,
};
}  // namespace

const DisplayDriver* sdlDisplayDriver() { return &kSdlDriver; }
