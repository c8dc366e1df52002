// The SDL back end: one window that is either a normal window or covers the
// desktop (full screen keeps the desktop resolution and scales the picture,
// proportions kept, nearest neighbour), keyboard and mouse input, message boxes.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "framework/display/display.h"
#include "framework/display/keymap.h"
#include "framework/display/pixelconvert.h"
#include "framework/framework.h"

namespace {

// The back ends behind the driver words of DriverOptions. Each offers every
// candidate resolution that fits the desktop at its depths; a cleared word
// leaves its back end out of the next listModes. More back ends go here.
struct SdlBackEnd {
  int driverWord;     // DriverOptions word that enables it
  const char* name;   // shown in the mode list
  int depths[2];      // bits per pixel offered
  int pages;          // the renderer double-buffers
  int flags;
};
const SdlBackEnd kBackEnds[] = {
    {kOptDirectDraw, "DirectDraw", {15, 16}, 2, 0},
};
constexpr int kBackEndCount = sizeof(kBackEnds) / sizeof(kBackEnds[0]);
static_assert(kBackEndCount >= 1, "at least one full-screen back end");

struct SdlState {
  bool open;
  SDL_Window* window;
  SDL_Renderer* renderer;
  SDL_Texture* texture;
  int textureWidth, textureHeight;
  int lastTargetWidth, lastTargetHeight;  // for repainting after an expose
  bool fullScreen;
  bool haveFrame;  // the texture holds a presented picture
  // PC scan code each SDL scancode's key-down reported, so its key-up clears
  // the same entry whatever happened to the locks in between.
  uint8_t downScan[SDL_NUM_SCANCODES];
  // An SDL event can give two framework events (alt+Enter: the key, then the switch).
  DisplayEvent pending[4];
  int pendingCount;
};
SdlState g_sdl;

uint32_t g_lut[kColourLutSize];  // x1R5G5B5 -> ARGB8888
bool g_lutReady = false;

void releaseTexture() {
  if (g_sdl.texture) SDL_DestroyTexture(g_sdl.texture);
  g_sdl.texture = nullptr;
  g_sdl.textureWidth = g_sdl.textureHeight = 0;
  g_sdl.haveFrame = false;
}

int sdlOpen() {
  if (g_sdl.open) return 1;
  // The close button asks first; SDL must not turn it into a quit by itself.
  SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "display: SDL video unavailable: %s\n", SDL_GetError());
    return 0;
  }
  std::memset(&g_sdl, 0, sizeof g_sdl);
  g_sdl.open = true;
  if (!g_lutReady) {
    buildColourLut(g_lut);
    g_lutReady = true;
  }
  return 1;
}

void sdlDestroyWindow() {
  releaseTexture();
  if (g_sdl.renderer) SDL_DestroyRenderer(g_sdl.renderer);
  if (g_sdl.window) SDL_DestroyWindow(g_sdl.window);
  g_sdl.renderer = nullptr;
  g_sdl.window = nullptr;
  g_sdl.fullScreen = false;
}

void sdlClose() {
  if (!g_sdl.open) return;
  sdlDestroyWindow();
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  std::memset(&g_sdl, 0, sizeof g_sdl);
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

int sdlListModes(const int32_t* driverWords, DisplayMode* out, int max) {
  if (!g_sdl.open) return 0;
  int deskW, deskH, deskBpp;
  sdlDesktop(&deskW, &deskH, &deskBpp);
  int n = 0;
  for (int b = 0; b < kBackEndCount; ++b) {
    const SdlBackEnd& be = kBackEnds[b];
    if (!driverWords[be.driverWord]) continue;
    for (int depth : be.depths) {
      for (const Resolution& r : kCandidateResolutions) {
        if (r.width > deskW || r.height > deskH) continue;
        if (n >= max) return n;
        DisplayMode& m = out[n];
        m = DisplayMode{};
        m.id = n;
        m.width = r.width;
        m.height = r.height;
        m.bitsPerPixel = depth;
        m.pages = be.pages;
        m.flags = be.flags;
        m.kind = kModePlain;
        std::snprintf(m.driverName, sizeof m.driverName, "%s", be.name);
        ++n;
      }
    }
  }
  return n;
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
  g_sdl.renderer = SDL_CreateRenderer(g_sdl.window, -1, 0);
  if (!g_sdl.renderer) g_sdl.renderer = SDL_CreateRenderer(g_sdl.window, -1, SDL_RENDERER_SOFTWARE);
  if (!g_sdl.renderer) {
    std::fprintf(stderr, "display: cannot create a renderer: %s\n", SDL_GetError());
    SDL_DestroyWindow(g_sdl.window);
    g_sdl.window = nullptr;
    return 0;
  }
  return 1;
}

void sdlFrameSize(int* width, int* height) {
  *width = *height = 0;
  if (!g_sdl.window) return;
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
}

void sdlWindowPosition(int* x, int* y) {
  *x = *y = -1;
  if (!g_sdl.window) return;
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
  if (SDL_SetWindowFullscreen(g_sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    std::fprintf(stderr, "display: cannot enter full screen: %s\n", SDL_GetError());
    return 0;
  }
  g_sdl.fullScreen = true;
  SDL_ShowWindow(g_sdl.window);
  SDL_RaiseWindow(g_sdl.window);
  return 1;
}

void sdlLeaveFullScreen() {
  if (!g_sdl.window || !g_sdl.fullScreen) return;
  SDL_SetWindowFullscreen(g_sdl.window, 0);
  g_sdl.fullScreen = false;
}

// Draws the texture into the renderer's output, letterboxed to the target's
// proportions; the bars are cleared every time so nothing old shows in them.
void drawTexture(int targetWidth, int targetHeight) {
  int outW = 0, outH = 0;
  if (SDL_GetRendererOutputSize(g_sdl.renderer, &outW, &outH) != 0) return;
  SDL_SetRenderDrawColor(g_sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(g_sdl.renderer);
  if (g_sdl.haveFrame) {
    const Rect r = letterboxRect(targetWidth, targetHeight, outW, outH);
    const SDL_Rect dst = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_RenderCopy(g_sdl.renderer, g_sdl.texture, nullptr, &dst);
  }
  SDL_RenderPresent(g_sdl.renderer);
}

void sdlPresent(const Surface* surface, int targetWidth, int targetHeight, int waitMode) {
  if (!g_sdl.renderer || !surface || !surface->pixels) return;
  if (!g_sdl.texture || g_sdl.textureWidth != surface->width || g_sdl.textureHeight != surface->height) {
    releaseTexture();
    g_sdl.texture = SDL_CreateTexture(g_sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                      surface->width, surface->height);
    if (!g_sdl.texture) {
      std::fprintf(stderr, "display: cannot create a %dx%d texture: %s\n", surface->width, surface->height,
                   SDL_GetError());
      return;
    }
    SDL_SetTextureScaleMode(g_sdl.texture, SDL_ScaleModeNearest);
    g_sdl.textureWidth = surface->width;
    g_sdl.textureHeight = surface->height;
  }
  void* texPixels = nullptr;
  int texPitch = 0;
  if (SDL_LockTexture(g_sdl.texture, nullptr, &texPixels, &texPitch) != 0) return;
  convertToArgb(surface->pixels, surface->bytesPerLine, surface->width, surface->height,
                static_cast<uint8_t*>(texPixels), texPitch, g_lut);
  SDL_UnlockTexture(g_sdl.texture);
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
      if (scan == 0) break;
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
    case SDL_MOUSEMOTION:
      e.kind = kDisplayMouseMove;
      e.x = ev.motion.x;
      e.y = ev.motion.y;
      e.modifiers = mouseModifiers();
      pushPending(e);
      break;
    case SDL_WINDOWEVENT:
      switch (ev.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          e.kind = kDisplayClose;
          pushPending(e);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Keys let go while another window has the focus never send their
          // key-up here; forget them all.
          std::memset(g_sdl.downScan, 0, sizeof g_sdl.downScan);
          e.kind = kDisplayFocusLost;
          pushPending(e);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          e.kind = kDisplayFocusGained;
          pushPending(e);
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
          if (g_sdl.renderer && g_sdl.haveFrame) drawTexture(g_sdl.lastTargetWidth, g_sdl.lastTargetHeight);
          break;
        default:
          break;
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
    default:
      break;
  }
}

int sdlPollEvent(DisplayEvent* out) {
  if (!g_sdl.open) return 0;
  SDL_Event ev;
  while (g_sdl.pendingCount == 0 && SDL_PollEvent(&ev)) translate(ev);
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
  const SDL_MessageBoxData box = {SDL_MESSAGEBOX_INFORMATION, g_sdl.window, caption, text, 2, buttons, nullptr};
  int answer = 0;
  if (SDL_ShowMessageBox(&box, &answer) != 0) {
    // No box could be shown: the user asked to close, so do it.
    std::fprintf(stderr, "display: cannot ask \"%s\": %s\n", text, SDL_GetError());
    return 1;
  }
  return answer == 1 ? 1 : 0;
}

void sdlShowWarning(const char* caption, const char* text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr) != 0) {
    std::fprintf(stderr, "display: cannot show a message box: %s\n", SDL_GetError());
  }
}

int64_t sdlNowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void sdlSleepMicros(int64_t micros) {
  if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

const DisplayDriver kSdlDriver = {
    "sdl",          sdlOpen,          sdlClose,          sdlDesktop,         sdlListModes,
    sdlCreateWindow, sdlDestroyWindow, sdlFrameSize,      sdlPlaceWindow,     sdlWindowPosition,
    sdlShowWindow,  sdlEnterFullScreen, sdlLeaveFullScreen, sdlPresent,        sdlBeginPass,
    sdlPollEvent,   sdlAskYesNo,      sdlShowWarning,    sdlNowMicros,       sdlSleepMicros,
};
}  // namespace

const DisplayDriver* sdlDisplayDriver() { return &kSdlDriver; }
