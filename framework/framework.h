// The game framework: mode list, mode dialog, window or full screen, back
// buffer and swapBuffers. One process-wide instance.
#pragma once
#include <cstdint>

#include "platform/display.h"

struct Surface;

// Eleven words handed over by the game, indexed by DriverWord (in the display
// layer's header); see the README for which back end each driver word switches.
struct DriverOptions {
  int32_t words[kDriverWordCount];
};
// Mode filter flags (word kOptModeFilter).
enum : int32_t {
  kFilter8 = 0x01,
  kFilter15_16 = 0x02,
  kFilter24 = 0x04,
  kFilter32 = 0x08,
  kFilterOnly2D = 0x10,
  kFilterOnly3D = 0x20,
  kFilterWindowed = 0x40,
};

struct ModeInfo {
  int modeId;  // -1 for a windowed-only entry
  int xRes, yRes;
  int bitsPerPixel;
  int pages;
  int modeFlags;  // kModeStereo, kMode2DAccel, kMode3DAccel
  char driverName[16];
  int fullScreenStretch;  // 0 none, 1 rows doubled (1x2), 2 both doubled (2x2)
  int windowStretch;      // 0 or 2
};

constexpr int kMaxModes = 128;

void setDriverOptions(const DriverOptions& options);
const DriverOptions& driverOptions();
// The icon of every window made from now on: width x height ARGB8888 pixels,
// rows from the top, kept by address (they must outlive the framework).
void setWindowIcon(const uint32_t* argb, int width, int height);
// Returns the address of the current-surface slot; the game reads the surface
// through it every time, because a mode switch replaces the surface.
Surface** initFramework(const char* title);
// The mode-selection dialog. options[0] is the start-windowed flag (in and out).
// Returns 1 to run, 0 to quit; `out` is written only on 1.
int chooseMode(ModeInfo* out, int32_t* options);
int setMode(const ModeInfo* mode, int windowed, int pages, int forceSystemBuffer);
int swapBuffers(int waitMode);

// The enumerated mode list (read by the dialog and by tests).
int modeCount();
int fullScreenModeCount();
const ModeInfo& modeAt(int index);
void enumerateModes();
void markDriversForRegistration();

// ---- For the main loop, the mode dialog and tests; the game does not call these. ----

// How many pictures swapBuffers has shown since the program started.
int picturesPresented();

// The main loop tells whether a mode-switch callback is registered: a window
// made from then on offers the switch by its maximize box (alt+Enter works
// only with the callback too). Kept until resetFramework.
void setModeSwitchOffered(int offered);
// The desktop size read by initFramework.
int screenWidth();
// Whether a Shift key is held now (asked of the desktop; works before any window of ours).
int shiftHeldNow();
// The surface row under a pointer at row y of the game's window (or screen).
int surfaceRowAt(int y);
int screenHeight();
// The mode now set.
int isFullScreen();
int hasDisplaySurface();  // a mode is set (window or full screen)
int isSwitchingMode();    // setMode is running
// The switch command: with recreate 0 toggles between windowed and full screen,
// with 1 sets the windowed mode anew, both with the last mode given to setMode.
// If that fails it goes back to the mode that worked before, and if that fails
// too it ends in fatalError: the game never draws without a surface. Returns
// the windowed flag of the mode now set; *mode receives the last mode.
int switchDisplayMode(int recreate, ModeInfo** mode);
// Releases the mode, the window and the display, and resets the state as
// initFramework does (the DriverOptions are kept).
void shutDownFramework();
// The dialog's memory between openings: the mode chosen last (-1 at first)
// and the depth whose modes it lists (-1 at first).
int lastListChoice();
void setLastListChoice(int index);
int chosenDepth();
void setChosenDepth(int depth);

// What the mode now set looks like.
struct DisplayState {
  int fullScreen;
  int stretch;                      // 0, 1 or 2 as in ModeInfo
  int surfaceWidth, surfaceHeight;  // the back buffer
  int targetWidth, targetHeight;    // what it is shown at
  int pages, activePage, visualPage;
  int windowX, windowY;  // remembered window position, -1 until placed
  int frameWidth, frameHeight;
};
DisplayState displayState();
// Tests only: forget everything, including the DriverOptions.
void resetFramework();
