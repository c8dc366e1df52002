// The SDL port's back ends: one per driver word of DriverOptions, each
// offering its modes, and the record of what the last mode list handed out.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "platform/sdlport.h"
#include "platform/softgl.h"

namespace {

// The back ends behind the driver words of DriverOptions, in the order they
// are asked: when two offer the same size and depth the framework takes the
// first, so a cleared word hands its modes to the next one.
constexpr SdlBackEnd kBackEnds[] = {
    {kOptDirectDraw, "DirectDraw", kSourceDesktop, kRendererAccelerated, kScreenDesktop, kMode2DAccel},
    {kOptVga, "VGA", kSourceVga, kRendererAccelerated, kScreenDesktop, 0},
    {kOptVgaModeX, "VGA ModeX", kSourceModeX, kRendererAccelerated, kScreenDesktop, 0},
    {kOptTarvok, "Tarvok", kSourceConsole, kRendererAccelerated, kScreenExclusive, kMode2DAccel},
    {kOptVbeAf, "VESA VBE/AF", kSourceMonitor, kRendererVsync, kScreenExclusive, kMode2DAccel},
    {kOptVbe, "VESA VBE 2.0", kSourceMonitor, kRendererSoftware, kScreenExclusive, 0},
    {kOptFullscreenDib, "Fullscreen DIB", kSourceDesktop, kRendererSoftware, kScreenDesktop, 0},
};
// Every back-end word names exactly one back end; kOptLinear names none, as
// it only chooses how the VBE back end copies.
constexpr bool oneBackEndPerWord() {
  for (int word = 0; word < kBackEndWordCount; ++word) {
    int named = 0;
    for (const SdlBackEnd& be : kBackEnds) named += be.driverWord == word ? 1 : 0;
    if (named != (word == kOptLinear ? 0 : 1)) return false;
  }
  return true;
}
static_assert(oneBackEndPerWord() && std::size(kBackEnds) == kBackEndWordCount - 1,
              "one back end per driver word");

// The VGA and ModeX back ends' depth: their 256-colour palette. The others
// offer every other candidate depth; the back buffer is x1R5G5B5 in every
// mode and present() converts, so each depth shows the game's colours.
constexpr int kPaletteDepth = 8;

// The ModeX sizes with their page counts: as many whole frames as fit into
// the 256 KB of VGA memory.
struct ModeXMode {
  int width, height, pages;
};
constexpr ModeXMode kModeXModes[] = {{320, 200, 4}, {320, 240, 3}, {320, 400, 2}, {320, 480, 1}};
constexpr int kVgaMemory = 256 * 1024;  // bytes, one byte a pixel
constexpr bool pagesFillVgaMemory() {
  for (const ModeXMode& m : kModeXModes) {
    if (m.pages != kVgaMemory / (m.width * m.height)) return false;
  }
  return true;
}
static_assert(pagesFillVgaMemory(), "ModeX pages are the frames VGA memory holds");

constexpr int kMaxListed = 512;
ListedMode g_listed[kMaxListed];  // by DisplayMode::id
int g_listedCount = 0;

// True when SDL has a renderer that draws with the graphics hardware (an
// OpenGL one on a software rasteriser does not count).
bool haveAcceleratedRenderer() {
  if (onlySoftwareGl() && !rendererChosenByUser()) return false;
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

}  // namespace

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
  auto add = [&](const SdlBackEnd& be, int w, int h, int depth, int pages, int kind,
                 const SDL_DisplayMode* real) {
    if (n >= max || n >= kMaxListed) return;
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
    l.backEnd = &be;
    l.width = w;
    l.height = h;
    if (real) l.monitor = *real;
    ++n;
    g_listedCount = n;
  };
  for (const SdlBackEnd& be : kBackEnds) {
    if (!driverWords[be.driverWord]) continue;
    switch (be.source) {
      case kSourceDesktop:
        for (int depth : kCandidateDepths) {
          if (depth == kPaletteDepth) continue;
          for (const Resolution& r : kCandidateResolutions) {
            if (r.width <= deskW && r.height <= deskH)
              add(be, r.width, r.height, depth, 2, kModePlain, nullptr);
          }
        }
        break;
      case kSourceConsole:
        if (!onConsole()) break;  // under X11 or Wayland there is no console to take over
        [[fallthrough]];
      case kSourceMonitor:
        for (int depth : kCandidateDepths) {
          if (depth == kPaletteDepth) continue;
          for (int i = 0; i < monitorCount; ++i)
            add(be, monitor[i].w, monitor[i].h, depth, 2, kModePlain, &monitor[i]);
        }
        break;
      case kSourceVga:
        add(be, 320, 200, kPaletteDepth, 1, kModeVga320, nullptr);  // 64000 bytes: one page
        break;
      case kSourceModeX:
        for (const ModeXMode& x : kModeXModes)
          add(be, x.width, x.height, kPaletteDepth, x.pages, kModeModeX, nullptr);
        break;
    }
  }
  return n;
}

const ListedMode* sdlListedFor(const DisplayMode* mode) {
  if (mode->id >= 0 && mode->id < g_listedCount) {
    const ListedMode& l = g_listed[mode->id];
    if (l.width == mode->width && l.height == mode->height &&
        std::strcmp(l.backEnd->name, mode->driverName) == 0)
      return &l;
  }
  return nullptr;
}
