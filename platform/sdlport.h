// The SDL port's state shared between its files, for those files alone:
// sdlport.cpp (open, close, message boxes, clock, the driver table),
// sdlmodes.cpp (the back ends and their modes), sdlwindow.cpp (the window,
// full screen and present), sdlinput.cpp (events) and sdldialog.cpp.
#pragma once
#include <SDL.h>

#include "platform/display.h"
#include "platform/sdlgamepad.h"

// How the picture reaches the screen.
enum RendererKind {
  kRendererAccelerated,  // SDL's accelerated renderer (software when none can be made)
  kRendererSoftware,     // SDL's software renderer
  kRendererVsync,        // the accelerated renderer, each present waiting for the retrace
};
// Where a back end's modes come from.
enum ModeSource {
  kSourceDesktop,  // every candidate resolution that fits the desktop, scaled onto it
  kSourceMonitor,  // the modes the monitor really lists (SDL_GetDisplayMode)
  kSourceConsole,  // the same, only when SDL runs on the KMS/DRM console
  kSourceVga,      // the standard VGA 320x200 8-bit mode
  kSourceModeX,    // the ModeX modes 320x200, 320x240, 320x400, 320x480 at 8 bits
};
enum ScreenKind {
  kScreenDesktop,    // the window covers the desktop at its resolution; the picture is scaled
  kScreenExclusive,  // the monitor is switched to the mode itself
};

// One back end behind a driver word of DriverOptions.
struct SdlBackEnd {
  int driverWord;    // DriverOptions word that enables it
  const char* name;  // shown in the mode list (at most 15 characters)
  ModeSource source;
  RendererKind renderer;
  ScreenKind screen;
  int flags;  // mode flags; kMode2DAccel is added for accelerated renderers that exist
};

// What listModes handed out for one id: the back end and the monitor's mode
// behind a DisplayMode.
struct ListedMode {
  const SdlBackEnd* backEnd;
  int width, height;
  SDL_DisplayMode monitor;  // the real mode for kScreenExclusive
};

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
// All zero while the port is closed; open() and close() clear it.
extern SdlState g_sdl;

// ---- sdlport.cpp ----
void sdlDesktop(int* width, int* height, int* bitsPerPixel);
void sdlWorkArea(int* x, int* y, int* width, int* height);

// ---- sdlmodes.cpp ----
int sdlListModes(const int32_t* driverWords, DisplayMode* out, int max);
// What the last listModes handed out as `mode`; nullptr for a mode it did not offer.
const ListedMode* sdlListedFor(const DisplayMode* mode);

// ---- sdlwindow.cpp ----
int sdlCreateWindow(const char* title, int maximizeBox);
// Destroys the window with its renderer and textures; nothing without one.
void sdlDestroyWindow();
void sdlFrameSize(int* width, int* height);
void sdlPlaceWindow(int x, int y, int clientWidth, int clientHeight);
void sdlWindowPosition(int* x, int* y);
void sdlShowWindow();
void sdlSetWindowIcon(const uint32_t* argb, int width, int height);
int sdlEnterFullScreen(const DisplayMode* mode);
void sdlLeaveFullScreen();
void sdlPresent(const PixelBuffer* picture, int targetWidth, int targetHeight, int waitMode);
int sdlRefreshRate();
// Drops the textures (a lost render device): the next present makes them anew.
void sdlReleaseTexture();
// Shows the last presented picture again (after an expose or a resize);
// nothing before the first present or once the window is gone.
void sdlRepaint();
// The window moved: where it stands now is remembered as the player's place
// when it is a normal window of the size it was given.
void sdlNoteWindowMoved();

// ---- sdlinput.cpp ----
int sdlPollEvent(DisplayEvent* out);

// ---- sdlpointer.cpp ----
void sdlHoldMouse(int on);
int sdlShiftHeld();

// ---- sdldialog.cpp ----
int sdlOpenDialog(const char* title, int x, int y, int width, int height);
void sdlPresentDialog(const PixelBuffer* picture);
void sdlCloseDialog();
// Destroys the dialog's window, renderer and texture; keeps pending input.
void sdlDestroyDialog();
// Draws the dialog's last picture again; nothing without a dialog.
void sdlDrawDialog();
int sdlUiScalePercent();
