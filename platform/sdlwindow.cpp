// The SDL port's game window: made, placed and shown, taken to full screen
// and back, and the back buffer presented on it.
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/pinmodules.h"
#include "platform/pixelconvert.h"
#include "platform/sdlport.h"
#include "platform/softgl.h"
#include "platform/x11watch.h"

namespace {

uint32_t g_vgaLut[kColourLutSize];  // x1R5G5B5 -> the 3-3-2 palette's ARGB8888
bool g_lutReady = false;
std::vector<uint8_t> g_staging;  // ARGB rows for banked presents; grows with the picture only

void releaseScaled() {
  if (g_sdl.scaled) SDL_DestroyTexture(g_sdl.scaled);
  g_sdl.scaled = nullptr;
  g_sdl.scaledWidth = g_sdl.scaledHeight = 0;
}

// Makes the window's renderer the wanted kind (a new renderer drops the texture).
bool useRenderer(RendererKind kind) {
  if (!g_sdl.window) return false;
  if (g_sdl.renderer && g_sdl.rendererKind == kind) return true;
  sdlReleaseTexture();
  if (g_sdl.renderer) SDL_DestroyRenderer(g_sdl.renderer);
  g_sdl.renderer = nullptr;
  // Without a graphics card the "accelerated" renderer is a software
  // rasteriser that costs several times SDL's own software renderer.
  const bool chosen = rendererChosenByUser();
  const bool software = kind == kRendererSoftware || (!chosen && onlySoftwareGl());
  Uint32 flags = software ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED;
  if (kind == kRendererVsync && !software) flags |= SDL_RENDERER_PRESENTVSYNC;
  g_sdl.renderer = SDL_CreateRenderer(g_sdl.window, -1, flags);
  if (g_sdl.renderer && !software && !chosen && rendererIsSoftwareGl(g_sdl.renderer)) {
    SDL_DestroyRenderer(g_sdl.renderer);
    g_sdl.renderer = SDL_CreateRenderer(g_sdl.window, -1, SDL_RENDERER_SOFTWARE);
  }
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

}  // namespace

void sdlReleaseTexture() {
  releaseScaled();
  if (g_sdl.texture) SDL_DestroyTexture(g_sdl.texture);
  g_sdl.texture = nullptr;
  g_sdl.textureWidth = g_sdl.textureHeight = 0;
  g_sdl.haveFrame = false;
}

void sdlDestroyWindow() {
  sdlReleaseTexture();
  if (g_sdl.renderer) SDL_DestroyRenderer(g_sdl.renderer);
  destroyWatchedWindow(g_sdl.window);
  g_sdl.renderer = nullptr;
  g_sdl.window = nullptr;
  g_sdl.fullScreen = g_sdl.exclusive = false;
  g_sdl.haveNormal = g_sdl.goneReported = false;
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
// Where it went is read from SDL now, not from the event: a window manager
// framing a new window sends moves that the placing after them overtakes, and
// their stale positions would shift the window at its next return from full
// screen.
void sdlNoteWindowMoved() {
  if (g_sdl.fullScreen || !g_sdl.haveNormal) return;
  if (SDL_GetWindowFlags(g_sdl.window) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(g_sdl.window, &w, &h);
  if (w != g_sdl.placedWidth || h != g_sdl.placedHeight) return;
  int top = 0, left = 0, bottom = 0, right = 0, clientX = 0, clientY = 0;
  SDL_GetWindowBordersSize(g_sdl.window, &top, &left, &bottom, &right);
  SDL_GetWindowPosition(g_sdl.window, &clientX, &clientY);
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

void sdlSetWindowIcon(const uint32_t* argb, int width, int height) {
  if (!g_sdl.window || !argb || width < 1 || height < 1) return;
  // SDL copies the pixels into the window's icon property at once.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height, 32,
                                                         width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(g_sdl.window, icon);
  SDL_FreeSurface(icon);
}

int sdlEnterFullScreen(const DisplayMode* mode) {
  if (!g_sdl.window || !mode) return 0;
  const ListedMode* listed = sdlListedFor(mode);
  if (!listed) {
    std::fprintf(stderr, "display: mode %d (%dx%d, %s) was not offered\n", mode->id, mode->width,
                 mode->height, mode->driverName);
    return 0;
  }
  const SdlBackEnd& be = *listed->backEnd;
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
  if (g_sdl.vgaColours && !g_lutReady) {
    buildVgaColourLut(g_vgaLut);
    g_lutReady = true;
  }
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

void sdlPresent(const PixelBuffer* picture, int targetWidth, int targetHeight, int waitMode) {
  if (!g_sdl.renderer || !picture || !picture->pixels || windowGone(g_sdl.window)) return;
  if (!g_sdl.texture || g_sdl.textureWidth != picture->width || g_sdl.textureHeight != picture->height) {
    sdlReleaseTexture();
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

// The refresh of the display the window stands on (in exclusive full screen,
// of the mode switched to); 0 when SDL does not know it.
int sdlRefreshRate() {
  if (!g_sdl.window || windowGone(g_sdl.window)) return -1;
  SDL_DisplayMode mode;
  if (g_sdl.exclusive && SDL_GetWindowDisplayMode(g_sdl.window, &mode) == 0) return mode.refresh_rate;
  const int index = SDL_GetWindowDisplayIndex(g_sdl.window);
  if (index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0) return mode.refresh_rate;
  return 0;
}

void sdlRepaint() {
  if (g_sdl.renderer && g_sdl.haveFrame && !windowGone(g_sdl.window))
    drawTexture(g_sdl.lastTargetWidth, g_sdl.lastTargetHeight);
}
