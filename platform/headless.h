// The headless display: a complete back end that keeps everything in memory.
// Tests set its mode list and desktop, queue input, script the answers of
// message boxes, read every presented picture and drive a virtual clock, so
// the whole game runs without a screen and pacing is tested without waiting.
//
// Select it with selectDisplay(headlessDisplayDriver()) before initFramework,
// or run the game with QUILL_DISPLAY=headless.
#pragma once
#include <cstdint>

#include "platform/display.h"

// Everything back to the start: default modes and desktop, no window, empty
// queues, no script, clock at 0, nothing presented.
void resetHeadless();

// The modes listModes offers (copied). Each mode's driverWord tells which
// DriverOptions word enables it (outside 0-7: always offered); mode.id is
// ignored, the port numbers the modes by their index in this list. The default list: 640x480, 800x600 and
// 1024x768 at 15 and 16 bits, two pages, "DirectDraw" (word 1).
struct HeadlessMode {
  DisplayMode mode;
  int driverWord;
};
void headlessSetModes(const HeadlessMode* modes, int count);
// Desktop size and depth (default 1280 x 1024 x 32) and the window frame
// (default 8 x 30). With whenShown the frame reads 0 x 0 until the window has
// been shown, as under a window manager that frames a window once it maps it.
void headlessSetDesktop(int width, int height, int bitsPerPixel);
// The work area (default: the whole desktop, which a width of 0 asks for again).
void headlessSetWorkArea(int x, int y, int width, int height);
void headlessSetFrame(int width, int height, int whenShown = 0);
// open() fails while this is set (a machine without a display).
void headlessFailOpen(int fail);
// The next `count` enterFullScreen calls fail.
void headlessFailFullScreen(int count);

// Input, waiting for the next pollEvent calls.
void headlessKeyDown(int scanCode, int character, int modifiers = 0);
void headlessKeyRepeat(int scanCode, int character, int modifiers = 0);
void headlessKeyUp(int scanCode);
void headlessMouse(int kind, int x, int y, int button = 0, int doubleClick = 0);
// A press and release of the left button at (x, y); doubleClick marks the
// press as the second of a double click.
void headlessClick(int x, int y, int doubleClick = 0);
void headlessWheel(int notches, int x, int y);
// kDisplayClose, kDisplaySwitch, kDisplayChanged, kDisplayFocusLost,
// kDisplayFocusGained or kDisplayQuit.
void headlessPost(int kind);
int headlessPendingEvents();
// Whether the game holds the mouse now; the Shift key as the desktop will report it.
int headlessMouseHeld();
void headlessSetShiftHeld(int held);

// Answers for the coming askYesNo calls, in order; without one the answer is No.
void headlessAnswer(int yes);
int headlessQuestionsAsked();
// The caption and text of the last question and of the last warning ("" if none).
const char* headlessLastQuestion();
const char* headlessLastWarning();

// Reads a script (the format is in headlessscript.h) from a file; returns 0
// when it cannot be read.
int headlessLoadScript(const char* path);
// Applies one script line as if a pass had read it: its events wait for the
// next pollEvent calls. Returns 0 (and changes nothing) for a malformed line,
// with a message on stderr.
int headlessApplyScriptLine(const char* line);

// The virtual clock: starts at 0; sleepMicros moves it on.
int64_t headlessNow();
void headlessAdvance(int64_t micros);

// What the screen would show.
int headlessPresentCount();
int headlessPassCount();  // beginPass calls
// The last presented picture as width x height x1R5G5B5 pixels without
// padding (nullptr before the first present), and the target it was scaled to.
const uint16_t* headlessLastFrame(int* width, int* height);
void headlessLastTarget(int* width, int* height);
int headlessLastWaitMode();

struct HeadlessWindow {
  int exists;
  int shown;
  int maximizeBox;
  int x, y;  // outer top-left corner
  int clientWidth, clientHeight;
  int fullScreen;
  int fullScreenModeId;  // id of the mode entered, -1 when windowed
  int created;           // how many windows were created so far
  char title[80];
};
const HeadlessWindow& headlessWindow();

// The mode dialog's window (openDialog .. closeDialog).
struct HeadlessDialog {
  int open;
  int x, y, width, height;  // client area on the screen
  int opened;               // how many times it was opened so far
  int presents;             // presentDialog calls while open
  char title[80];
};
const HeadlessDialog& headlessDialog();
// The last picture presentDialog showed (nullptr before one), width x height
// x1R5G5B5 without padding; kept after the dialog closes.
const uint16_t* headlessDialogFrame(int* width, int* height);
// What uiScalePercent answers (default 100).
void headlessSetUiScale(int percent);
// What refreshRate answers: -1 (the default: nothing is shown, so the main
// loop draws no pictures between passes), 0 (unknown) or hertz.
void headlessSetRefreshRate(int hz);
