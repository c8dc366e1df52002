// The SDL port's window for the mode dialog: a borderless top-level window
// of its own beside the game's, showing the dialog's picture 1:1.
#include <cstdio>
#include <cstdlib>

#include "platform/pinmodules.h"
#include "platform/pixelconvert.h"
#include "platform/sdlport.h"
#include "platform/x11watch.h"

void sdlDestroyDialog() {
  if (g_sdl.dialogTexture) SDL_DestroyTexture(g_sdl.dialogTexture);
  if (g_sdl.dialogRenderer) SDL_DestroyRenderer(g_sdl.dialogRenderer);
  destroyWatchedWindow(g_sdl.dialog);
  forgetHeldKeys();
  g_sdl.dialogTexture = nullptr;
  g_sdl.dialogRenderer = nullptr;
  g_sdl.dialog = nullptr;
  g_sdl.dialogWidth = g_sdl.dialogHeight = 0;
  g_sdl.dialogFocused = g_sdl.dialogGoneReported = false;
}

void sdlDrawDialog() {
  if (!g_sdl.dialogRenderer) return;
  SDL_SetRenderDrawColor(g_sdl.dialogRenderer, 0, 0, 0, 255);
  SDL_RenderClear(g_sdl.dialogRenderer);
  if (g_sdl.dialogTexture) SDL_RenderCopy(g_sdl.dialogRenderer, g_sdl.dialogTexture, nullptr, nullptr);
  SDL_RenderPresent(g_sdl.dialogRenderer);
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
    sdlDestroyDialog();
    return 0;
  }
  pinLoadedModules();
  watchWindow(g_sdl.dialog);
  ignoreHeldKeys(g_sdl.dialog);  // only keys pressed from now on may choose
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
  sdlDrawDialog();
}

void sdlCloseDialog() {
  if (!g_sdl.dialog) return;
  sdlDestroyDialog();
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
