// The framework's display half: the mode list, setMode with its window or
// full-screen set-up, the back buffer, swapBuffers and the shut-down.
#include "framework/framework.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "framework/surface.h"
#include "platform/display.h"

namespace {

constexpr int kMaxAvailableModes = 256;

// The enumeration tries every candidate depth at every candidate resolution
// (display.h), each giving at most one entry of the mode list.
static_assert(std::size(kCandidateDepths) * kResolutionCount <= kMaxModes,
              "every candidate fits the mode list");

// Every back end allowed, OpenGL included, no depth offered: the framework's
// own defaults before the game hands over its record.
constexpr DriverOptions kDefaultOptions = {{1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}};

struct FrameworkState {
  bool initialised;
  char title[80];
  int screenWidth, screenHeight, desktopDepth;
  int areaX, areaY, areaWidth, areaHeight;  // the work area: where windows go, beside the panels
  int fullScreen;
  int stretch;
  int surfaceWidth, surfaceHeight;
  int targetWidth, targetHeight;
  int displayPages;  // 0 while no mode is set
  Surface* backBuffer;
  Surface* slot;  // the current-surface slot handed to the game
  int activePage, visualPage;
  int switching;
  bool window;
  int frameWidth, frameHeight;
  int windowX, windowY;
  ModeInfo lastMode;
  int lastPages, lastForceSystem;
  bool haveLastMode;
  // The last mode that was set successfully, to fall back to.
  ModeInfo workingMode;
  int workingWindowed;
  bool haveWorkingMode;
  int lastListChoice;
  int chosenDepth;
};

FrameworkState g_fw;
DriverOptions g_options = kDefaultOptions;
int g_switchOffered = 0;  // the main loop has a mode-switch callback; kept across shut-downs
// The icon every window made gets (the game's, see setWindowIcon); kept across shut-downs.
const uint32_t* g_icon = nullptr;
int g_iconWidth = 0, g_iconHeight = 0;
bool g_driversMarked = true;
DisplayMode g_available[kMaxAvailableModes];  // what the display layer offers
int g_availableCount = 0;
ModeInfo g_modes[kMaxModes];
int g_modeCount = 0;
int g_fullCount = 0;

void resetState() {
  g_fw = FrameworkState{};
  g_fw.windowX = g_fw.windowY = -1;
  g_fw.activePage = 1;
  g_fw.visualPage = 0;
  g_fw.lastListChoice = -1;
  g_fw.chosenDepth = -1;
}

// ---- mode enumeration ----

void registerDrivers() {
  if (!g_driversMarked) return;
  if (!display()->open()) return;  // try again once there is a display
  g_availableCount = display()->listModes(g_options.words, g_available, kMaxAvailableModes);
  if (g_availableCount < 0) g_availableCount = 0;
  g_driversMarked = false;
}

const DisplayMode* findAvailable(int width, int height, int depth, int kind) {
  for (int i = 0; i < g_availableCount; ++i) {
    const DisplayMode& m = g_available[i];
    if (m.kind == kind && m.width == width && m.height == height && m.bitsPerPixel == depth) return &m;
  }
  return nullptr;
}

const DisplayMode* findAvailableKind(int kind) {
  for (int i = 0; i < g_availableCount; ++i) {
    if (g_available[i].kind == kind) return &g_available[i];
  }
  return nullptr;
}

// A real mode that shows the candidate stretched: the first of the right
// depth and size up to 800 x 600; a 3D-accelerated one ends the search empty.
const DisplayMode* findStretchMode(int depth, int width, int height) {
  if (width > 800 || height > 600) return nullptr;
  for (int i = 0; i < g_availableCount; ++i) {
    const DisplayMode& m = g_available[i];
    if (m.bitsPerPixel != depth || m.width != width || m.height != height) continue;
    if (m.flags & kMode3DAccel) return nullptr;
    return &m;
  }
  return nullptr;
}

int windowStretchDefault(int xRes, int yRes) {
  return ((xRes < 512 && yRes < 384) || (xRes == 320 && (yRes == 400 || yRes == 480))) ? 2 : 0;
}

bool depthAllowed(int depth, int filter) {
  switch (depth) {
    case 8: return filter & kFilter8;
    case 15:
    case 16: return filter & kFilter15_16;
    case 24: return filter & kFilter24;
    case 32: return filter & kFilter32;
    default: return false;
  }
}

void addEntry(int modeId, int xRes, int yRes, int depth, int pages, int flags, const char* driverName,
              int fullScreenStretch) {
  if (g_modeCount >= kMaxModes) return;
  ModeInfo& e = g_modes[g_modeCount++];
  e = ModeInfo{};
  e.modeId = modeId;
  e.xRes = xRes;
  e.yRes = yRes;
  e.bitsPerPixel = depth;
  e.pages = pages;
  e.modeFlags = flags;
  std::snprintf(e.driverName, sizeof e.driverName, "%s", driverName);
  e.fullScreenStretch = fullScreenStretch;
  e.windowStretch = windowStretchDefault(xRes, yRes);
  if (modeId != -1) ++g_fullCount;
}

void addFullScreen(const DisplayMode& m, int xRes, int yRes, int depth, int flags, int stretch) {
  addEntry(m.id, xRes, yRes, depth, m.pages, flags, m.driverName, stretch);
}

void buildModeList(int filter, bool secondTry) {
  g_modeCount = 0;
  g_fullCount = 0;
  for (int depth : kCandidateDepths) {
    for (const Resolution& r : kCandidateResolutions) {
      if (depth < 8 || !depthAllowed(depth, filter)) continue;
      const DisplayMode* own = findAvailable(r.width, r.height, depth, kModePlain);
      const int flags = own ? own->flags : 0;
      if ((filter & kFilterOnly2D) && !(flags & kMode2DAccel)) continue;
      const int before = g_fullCount;
      if (!(filter & kFilterOnly3D) || (flags & kMode3DAccel)) {
        const DisplayMode* vga = nullptr;
        const DisplayMode* stretched = nullptr;
        if (own) {
          addFullScreen(*own, r.width, r.height, depth, flags, 0);
        } else if (r.width == 320 && r.height == 200 && depth == 8 &&
                   (vga = findAvailableKind(kModeVga320))) {
          addFullScreen(*vga, r.width, r.height, depth, flags, 0);
        } else if ((stretched = findStretchMode(depth, r.width, 2 * r.height)) != nullptr) {
          addFullScreen(*stretched, r.width, r.height, depth, stretched->flags, 1);
        } else if ((stretched = findStretchMode(depth, 2 * r.width, 2 * r.height)) != nullptr) {
          addFullScreen(*stretched, r.width, r.height, depth, stretched->flags, 2);
        }
      }
      if (g_fullCount == before && (filter & kFilterWindowed) && r.width < g_fw.screenWidth &&
          r.height < g_fw.screenHeight) {
        addEntry(-1, r.width, r.height, g_fw.desktopDepth, 1, 0, "windowed", 0);
      }
    }
  }
  // Hardware without a mode of the wanted depths still gets a list: all depths.
  if (g_fullCount == 0 && !secondTry) {
    buildModeList((filter & kFilterWindowed) | kFilter8 | kFilter15_16 | kFilter24 | kFilter32, true);
  }
}

const DisplayMode* availableById(int id) {
  for (int i = 0; i < g_availableCount; ++i) {
    if (g_available[i].id == id) return &g_available[i];
  }
  return nullptr;
}

// ---- setting a mode ----

void releaseMode() {
  if (g_fw.backBuffer) destroySurface(g_fw.backBuffer);
  g_fw.backBuffer = nullptr;
  g_fw.slot = nullptr;
  makeCurrentSurface(nullptr);
  g_fw.displayPages = 0;
}

// Shared by both kinds of setMode: drop the old mode; make the window once.
bool setUpWindow() {
  releaseMode();
  if (g_fw.window) return true;
  enumerateModes();
  if (!display()->open()) {
    setError(kErrNoHardware);
    return false;
  }
  if (!display()->createWindow(g_fw.title, g_switchOffered)) {
    setError(kErrGeneral);
    return false;
  }
  g_fw.window = true;
  if (g_icon) display()->setWindowIcon(g_icon, g_iconWidth, g_iconHeight);
  display()->frameSize(&g_fw.frameWidth, &g_fw.frameHeight);
  return true;
}

// The back buffer is x1R5G5B5 in system memory whatever the display's depth:
// the display layer converts when it presents, so a 16-bit mode shows the
// game's colours right.
bool makeBackBuffer() {
  Surface* s = createSurface(g_fw.surfaceWidth, g_fw.surfaceHeight);
  if (!s) return false;
  g_fw.backBuffer = s;
  g_fw.slot = s;
  makeCurrentSurface(s);
  if (g_fw.displayPages > 1) {
    g_fw.activePage = 1;
    g_fw.visualPage = 0;
    clearSurface();
  }
  return true;
}

// The window's client size for a mode: the surface, and the target that the
// stretch asks for, both fitted with the frame measured so far into the work
// area, so that no panel covers any of the window.
struct WindowFit {
  int surfaceWidth, surfaceHeight;
  int stretch;
  int targetWidth, targetHeight;
};

// A client area this large, framed, is smaller than the work area.
bool fitsWorkArea(int clientWidth, int clientHeight) {
  return clientWidth + g_fw.frameWidth < g_fw.areaWidth && clientHeight + g_fw.frameHeight < g_fw.areaHeight;
}

WindowFit fitWindow(const ModeInfo& m) {
  WindowFit f{m.xRes, m.yRes, m.windowStretch, 0, 0};
  if (f.surfaceWidth == 320 && (f.surfaceHeight == 200 || f.surfaceHeight == 400 || f.surfaceHeight == 480))
    f.surfaceHeight = 240;
  if (f.surfaceWidth == 640) f.surfaceHeight = 480;
  if (!fitsWorkArea(f.surfaceWidth, f.surfaceHeight)) {
    f.surfaceWidth = g_fw.areaWidth - g_fw.frameWidth;
    f.surfaceHeight = g_fw.areaHeight - g_fw.frameHeight;
    if (f.surfaceWidth < 1) f.surfaceWidth = 1;
    if (f.surfaceHeight < 1) f.surfaceHeight = 1;
  }
  f.targetWidth = f.surfaceWidth;
  f.targetHeight = f.surfaceHeight;
  if (f.stretch == 1) f.targetHeight = 2 * f.surfaceHeight;
  if (f.stretch == 2) {
    f.targetWidth = 2 * f.surfaceWidth;
    f.targetHeight = 2 * f.surfaceHeight;
  }
  if (!fitsWorkArea(f.targetWidth, f.targetHeight)) {
    f.stretch = 0;
    f.targetWidth = f.surfaceWidth;
    f.targetHeight = f.surfaceHeight;
  }
  return f;
}

void centreWindow(const WindowFit& f) {
  const int x = (g_fw.areaWidth - (f.targetWidth + g_fw.frameWidth)) / 2;
  const int y = (g_fw.areaHeight - (f.targetHeight + g_fw.frameHeight)) / 2;
  g_fw.windowX = g_fw.areaX + (x < 0 ? 0 : x);
  g_fw.windowY = g_fw.areaY + (y < 0 ? 0 : y);
}

void readDesktop() {
  display()->desktop(&g_fw.screenWidth, &g_fw.screenHeight, &g_fw.desktopDepth);
  display()->workArea(&g_fw.areaX, &g_fw.areaY, &g_fw.areaWidth, &g_fw.areaHeight);
}

int setWindowedMode(const ModeInfo& m) {
  if (m.windowStretch < 0 || m.windowStretch > 2) {
    setError(kErrInvalidMode);
    return 0;
  }
  g_fw.switching = 1;
  // The window comes first so that its frame is known before sizes are fitted.
  if (!setUpWindow()) {
    g_fw.switching = 0;
    return 0;
  }
  display()->leaveFullScreen();
  WindowFit f = fitWindow(m);
  const bool firstPlacing = g_fw.windowX < 0 || g_fw.windowY < 0;
  if (firstPlacing) centreWindow(f);
  display()->placeWindow(g_fw.windowX, g_fw.windowY, f.targetWidth, f.targetHeight);
  display()->showWindow();
  // A window manager frames a window only once it is shown: with the frame it
  // drew, fit (and the first time centre) again, so the whole window fits.
  int frameWidth = 0, frameHeight = 0;
  display()->frameSize(&frameWidth, &frameHeight);
  if (frameWidth != g_fw.frameWidth || frameHeight != g_fw.frameHeight) {
    g_fw.frameWidth = frameWidth;
    g_fw.frameHeight = frameHeight;
    f = fitWindow(m);
    if (firstPlacing) centreWindow(f);
    display()->placeWindow(g_fw.windowX, g_fw.windowY, f.targetWidth, f.targetHeight);
  }
  g_fw.fullScreen = 0;
  g_fw.stretch = f.stretch;
  g_fw.surfaceWidth = f.surfaceWidth;
  g_fw.surfaceHeight = f.surfaceHeight;
  g_fw.targetWidth = f.targetWidth;
  g_fw.targetHeight = f.targetHeight;
  g_fw.displayPages = 1;
  const bool ok = makeBackBuffer();
  g_fw.switching = 0;
  return ok ? 1 : 0;
}

int setFullScreenMode(const ModeInfo& m, int pages) {
  if (m.modeId == -1 || m.fullScreenStretch < 0 || m.fullScreenStretch > 2) {
    setError(kErrInvalidMode);
    return 0;
  }
  const DisplayMode* dm = availableById(m.modeId);
  if (!dm) {
    setError(kErrModeNotSupported);
    return 0;
  }
  const DisplayMode mode = *dm;  // the window set-up enumerates again
  g_fw.switching = 1;
  // Leaving a window: remember where it stood, to put it back there later.
  if (g_fw.window && !g_fw.fullScreen && g_fw.windowX >= 0 && g_fw.displayPages > 0) {
    display()->windowPosition(&g_fw.windowX, &g_fw.windowY);
  }
  g_fw.fullScreen = 1;
  if (!setUpWindow()) {
    g_fw.switching = 0;
    return 0;
  }
  if (!display()->enterFullScreen(&mode)) {
    setError(kErrModeNotSupported);
    g_fw.fullScreen = 0;
    g_fw.switching = 0;
    return 0;
  }
  int shown = mode.pages < pages ? mode.pages : pages;
  g_fw.displayPages = shown < 1 ? 1 : shown;
  g_fw.stretch = m.fullScreenStretch;
  g_fw.targetWidth = mode.width;
  g_fw.targetHeight = mode.height;
  g_fw.surfaceWidth = mode.width;
  g_fw.surfaceHeight = mode.height;
  if (m.fullScreenStretch == 1) g_fw.surfaceHeight = mode.height / 2;
  if (m.fullScreenStretch == 2) {
    g_fw.surfaceWidth = mode.width / 2;
    g_fw.surfaceHeight = mode.height / 2;
  }
  const bool ok = makeBackBuffer();
  g_fw.switching = 0;
  return ok ? 1 : 0;
}

// Shuts the display down before fatalError shows its box and ends the process.
void onFatalError(const char* text) {
  releaseMode();
  display()->close();
  display()->showWarning("Tesk Fatal Error!", text);
}

// Every way out of the process gives the desktop back its window and mode:
// an exit() in the middle of a switch (a font that fails to load) as much as
// a return from main after the dialog's Quit.
void shutDownAtExit() {
  if (g_fw.initialised || g_fw.window || g_fw.displayPages > 0) shutDownFramework();
}

ModeInfo g_noMode = {-1, 0, 0, 0, 0, 0, "", 0, 0};
}  // namespace

// ---- options and the mode list ----

void markDriversForRegistration() { g_driversMarked = true; }

void enumerateModes() {
  registerDrivers();
  buildModeList(g_options.words[kOptModeFilter], false);
}

void setDriverOptions(const DriverOptions& options) {
  if (std::memcmp(&options, &g_options, sizeof options) == 0) return;
  g_options = options;
  g_driversMarked = true;
  enumerateModes();
}

const DriverOptions& driverOptions() { return g_options; }

int modeCount() { return g_modeCount; }
int fullScreenModeCount() { return g_fullCount; }
const ModeInfo& modeAt(int index) {
  if (index < 0 || index >= g_modeCount) return g_noMode;
  return g_modes[index];
}

Surface** initFramework(const char* title) {
  setFatalHandler(onFatalError);
  static const bool atExit = std::atexit(shutDownAtExit) == 0;
  (void)atExit;
  if (g_fw.displayPages > 0 || g_fw.window) shutDownFramework();
  resetState();
  std::snprintf(g_fw.title, sizeof g_fw.title, "%s", title ? title : "");
  if (!display()->open()) {
    setError(kErrNoHardware);  // no display to show anything on
    return nullptr;
  }
  readDesktop();
  g_fw.initialised = true;
  g_driversMarked = true;
  enumerateModes();
  return &g_fw.slot;
}

// ---- setMode and swapBuffers ----

namespace {
int g_picturesPresented = 0;  // never reset: the main loop counts differences
}  // namespace

int setMode(const ModeInfo* mode, int windowed, int pages, int forceSystemBuffer) {
  if (!mode) {
    setError(kErrInvalidMode);
    return 0;
  }
  if (!g_fw.initialised) {
    setError(kErrNotInstalled);
    return 0;
  }
  const ModeInfo m = *mode;  // the caller's record may live in the mode list
  g_fw.lastMode = m;
  g_fw.lastPages = pages;
  g_fw.lastForceSystem = forceSystemBuffer;
  g_fw.haveLastMode = true;
  const int ok = windowed ? setWindowedMode(m) : setFullScreenMode(m, pages);
  if (ok) {
    g_fw.workingMode = m;
    g_fw.workingWindowed = windowed ? 1 : 0;
    g_fw.haveWorkingMode = true;
  }
  return ok;
}

int swapBuffers(int waitMode) {
  if (!g_fw.backBuffer) return 0;
  display()->present(g_fw.backBuffer, g_fw.targetWidth, g_fw.targetHeight, waitMode);
  ++g_picturesPresented;
  if (g_fw.displayPages <= 1) return 1;
  g_fw.visualPage = g_fw.activePage;
  g_fw.activePage = (g_fw.activePage + 1) % g_fw.displayPages;
  return 1;
}

// ---- for the main loop, the dialog and tests ----

int screenWidth() { return g_fw.screenWidth; }
int picturesPresented() { return g_picturesPresented; }
int shiftHeldNow() { return display()->shiftHeld(); }

int surfaceRowAt(int y) {
  // A window shows the picture at its target size; full screen at the
  // desktop's height (bars only ever stand beside it).
  const int shown = g_fw.fullScreen ? g_fw.screenHeight : g_fw.targetHeight;
  if (shown <= 0 || g_fw.surfaceHeight <= 0) return y;
  return static_cast<int>(static_cast<long long>(y) * g_fw.surfaceHeight / shown);
}
int screenHeight() { return g_fw.screenHeight; }
int isFullScreen() { return g_fw.fullScreen; }
int hasDisplaySurface() { return g_fw.displayPages > 0 ? 1 : 0; }
int isSwitchingMode() { return g_fw.switching; }

int switchDisplayMode(int recreate, ModeInfo** mode) {
  if (mode) *mode = &g_fw.lastMode;
  if (!g_fw.haveLastMode) return g_fw.fullScreen ? 0 : 1;
  const int windowed = recreate ? 1 : g_fw.fullScreen;
  const ModeInfo before = g_fw.workingMode;
  const int beforeWindowed = g_fw.workingWindowed;
  const bool haveBefore = g_fw.haveWorkingMode;
  // A changed desktop may have a new size: fit the window to the one now.
  if (recreate) readDesktop();
  const ModeInfo wanted = g_fw.lastMode;
  if (setMode(&wanted, windowed, g_fw.lastPages, g_fw.lastForceSystem)) return windowed;
  int code = getError();
  std::fprintf(stderr, "framework: switching the display failed: %s\n", errorMessage(code));
  // The old back buffer is gone; never go on without one.
  if (haveBefore && setMode(&before, beforeWindowed, g_fw.lastPages, g_fw.lastForceSystem))
    return beforeWindowed;
  const int again = getError();
  if (again) code = again;
  fatalError(errorMessage(code));
}

void shutDownFramework() {
  releaseMode();
  display()->close();
  g_driversMarked = true;
  resetState();
}

int lastListChoice() { return g_fw.lastListChoice; }
void setLastListChoice(int index) { g_fw.lastListChoice = index; }
int chosenDepth() { return g_fw.chosenDepth; }
void setChosenDepth(int depth) { g_fw.chosenDepth = depth; }

DisplayState displayState() {
  DisplayState d{};
  d.fullScreen = g_fw.fullScreen;
  d.stretch = g_fw.stretch;
  d.surfaceWidth = g_fw.surfaceWidth;
  d.surfaceHeight = g_fw.surfaceHeight;
  d.targetWidth = g_fw.targetWidth;
  d.targetHeight = g_fw.targetHeight;
  d.pages = g_fw.displayPages;
  d.activePage = g_fw.activePage;
  d.visualPage = g_fw.visualPage;
  d.windowX = g_fw.windowX;
  d.windowY = g_fw.windowY;
  d.frameWidth = g_fw.frameWidth;
  d.frameHeight = g_fw.frameHeight;
  return d;
}

void setModeSwitchOffered(int offered) { g_switchOffered = offered ? 1 : 0; }

void setWindowIcon(const uint32_t* argb, int width, int height) {
  g_icon = argb;
  g_iconWidth = width;
  g_iconHeight = height;
}

void resetFramework() {
  shutDownFramework();
  g_options = kDefaultOptions;
  g_switchOffered = 0;
  setWindowIcon(nullptr, 0, 0);
  g_availableCount = 0;
  g_modeCount = 0;
  g_fullCount = 0;
}
