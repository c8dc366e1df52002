// The display layer: one table of functions between the framework and the
// platform. Two back ends fill it: SDL for the game, headless (in memory) for
// tests and tools. Nothing outside platform/ sees SDL.
#pragma once
#include <cstdint>

#include "platform/pixelbuffer.h"

// The words of the game's DriverOptions. listModes reads words 0-7: each one,
// when non-zero, lets the back end of that name offer its modes (kOptLinear
// chooses linear over banked memory for the VBE back end). The framework
// reads words 8-10 itself.
enum DriverWord {
  kOptTarvok = 0,
  kOptDirectDraw = 1,
  kOptVga = 2,
  kOptVgaModeX = 3,
  kOptVbe = 4,
  kOptLinear = 5,
  kOptVbeAf = 6,
  kOptFullscreenDib = 7,
  kOptOpenGl = 8,
  kOptOpenGlType = 9,
  kOptModeFilter = 10,
  kDriverWordCount = 11,
};
constexpr int kBackEndWordCount = kOptOpenGl;  // words 0-7, the ones listModes reads
// What a mode offers beyond its size and depth (DisplayMode::flags).
enum DisplayModeFlag : int32_t {
  kModeStereo = 0x20,
  kMode2DAccel = 0x400,
  kMode3DAccel = 0x800,
};

// One mode a back end offers.
struct DisplayMode {
  int id;             // the back end's own number, unique within one listModes result
  int width, height;  // size of the real mode in pixels
  int bitsPerPixel;   // 4, 8, 15, 16, 24 or 32
  int pages;          // display pages the mode offers, at least 1
  int flags;          // DisplayModeFlag bits
  int kind;           // kModePlain, or one of the fixed VGA modes below
  char driverName[16];
};
enum DisplayModeKind {
  kModePlain = 0,   // an ordinary mode, matched by size and depth
  kModeVga320 = 1,  // the standard VGA 320x200 8-bit mode
  kModeModeX = 2,   // a ModeX mode (320x200, 320x240, 320x400, 320x480 at 8 bits)
};

// The resolutions every depth is tried at, in the order they are tried.
struct Resolution {
  int width, height;
};
constexpr int kResolutionCount = 19;
extern const Resolution kCandidateResolutions[kResolutionCount];
// The depths every resolution is tried at, in order: the VGA back ends'
// 256-colour palette first, then true colour.
constexpr int kCandidateDepths[] = {8, 15, 16, 24, 32};

// What the platform tells the framework. Key events carry PC set 1 scan codes.
enum DisplayEventKind {
  kDisplayNone = 0,
  kDisplayKeyDown,      // scanCode, character, repeat (1 for an auto-repeat), modifiers
  kDisplayKeyUp,        // scanCode, modifiers
  kDisplayMouseDown,    // x, y in client pixels, button (1 left, 4 right), doubleClick, modifiers
  kDisplayMouseUp,      // x, y, button, modifiers
  kDisplayMouseMove,    // x, y, modifiers; dx, dy the motion (all of it while the mouse is held)
  kDisplayClose,        // the window's close button
  kDisplaySwitch,       // alt+Enter or the maximize button: toggle windowed / full screen
  kDisplayChanged,      // the desktop's display settings changed
  kDisplayFocusLost,    // the program lost the keyboard focus
  kDisplayFocusGained,  // ... and got it back
  kDisplayQuit,         // the platform asks the program to end (signal, session end)
  kDisplayMouseWheel,   // x, y of the pointer, wheel (notches, positive away from the user), modifiers
  kDisplayWindowGone,   // another program destroyed the game's window
};
// Modifier bits, the same values the framework's Event uses.
enum : int {
  kModLeftButton = 0x01,
  kModRightButton = 0x02,
  kModShift = 0x18,
  kModControl = 0x20,
  kModAlt = 0x40,
  kModDoubleClick = 0x8000,
};

// How far apart the two presses of a double click may be, in pixels either
// way: a few, as on classic desktops, so two quick clicks on neighbouring list
// lines (about 13 pixels apart) stay two clicks.
constexpr int kDoubleClickRadius = 4;

struct DisplayEvent {
  int kind;
  int scanCode;   // 0..255
  int character;  // 0..255, 0 when the key types nothing
  int repeat;
  int x, y;
  int button;
  int doubleClick;
  int modifiers;
  int wheel;   // kDisplayMouseWheel only
  int dx, dy;  // kDisplayMouseMove only: pixels moved, right and down positive
};

// Metrics of the dialog font at one pixel size (see textMetrics).
struct TextMetrics {
  int ascent;        // pixels above the baseline
  int descent;       // pixels below it
  int height;        // ascent + descent: the height of one line of text
  int averageWidth;  // the dialog base unit: (width of "A".."Z""a".."z" / 26 + 1) / 2
};

// The driver table. The framework calls these from its one thread only. Unless
// said otherwise a function may be called whether or not open() succeeded and
// does nothing harmful when the display is not open.
struct DisplayDriver {
  const char* name;

  // Brings the platform display up. Calling it again while open does nothing
  // and returns 1. Returns 0 and leaves nothing open when there is no display
  // to show anything on (a display that shows nothing, like SDL's offscreen
  // driver, counts only when asked for by name). While open, SIGINT, SIGTERM
  // and SIGHUP arrive as one kDisplayQuit.
  int (*open)();
  // Leaves full screen (the monitor gets the desktop's mode back), destroys
  // the window and everything open() made, and drops pending events.
  // Afterwards open() may be called again. When one of those signals asked the
  // program to end, close() then ends the process by that signal.
  void (*close)();
  // The desktop's size in pixels and its depth. Needs open(); zeros otherwise.
  void (*desktop)(int* width, int* height, int* bitsPerPixel);
  // The part of the desktop that windows may cover: without the panels and
  // docks it keeps for itself (the window manager's work area), in desktop
  // pixels. The whole desktop where the platform does not tell. Needs open();
  // zeros otherwise.
  void (*workArea)(int* x, int* y, int* width, int* height);
  // Writes the modes that the back ends enabled in driverWords (the game's
  // DriverOptions words, indexed by DriverWord; words 0-7 non-zero = may be
  // used) offer, at most max of them, in the back end's order, and returns how
  // many it wrote. The ids stay valid until the next call. Needs open();
  // returns 0 otherwise.
  int (*listModes)(const int32_t* driverWords, DisplayMode* out, int max);

  // Creates the one top-level window, hidden, at (0, 0) with a 320x200 client
  // area, a caption with the title, a minimize box, no sizing border, and a
  // maximize box only when maximizeBox is 1. Needs open(). Returns 1 on
  // success; when a window exists already it returns 1 and changes nothing.
  int (*createWindow)(const char* title, int maximizeBox);
  // Destroys the window if there is one, with everything made to show
  // pictures on it; nothing without one. Afterwards createWindow makes a new
  // one and windowPosition reads (-1, -1).
  void (*destroyWindow)();
  // Window size minus client size in each direction; 0 where the platform
  // draws no frame or does not tell. A window manager frames a window only
  // once it is shown, so the frame of a window not yet shown may read 0.
  void (*frameSize)(int* width, int* height);
  // Moves the window so that its outer top-left corner is at (x, y) and gives
  // it a client area of clientWidth x clientHeight. Needs a window.
  void (*placeWindow)(int x, int y, int clientWidth, int clientHeight);
  // The window's outer top-left corner where it stands as a normal window:
  // where placeWindow or the player last put it, not where maximizing moved
  // it; (-1, -1) without a window.
  void (*windowPosition)(int* x, int* y);
  // Shows the window, raises it and gives it the keyboard focus. Needs a
  // window; nothing without one.
  void (*showWindow)();
  // Gives the window an icon for the taskbar and the window switcher:
  // width x height ARGB8888 pixels, rows from the top, read during the call.
  // Needs a window; nothing without one.
  void (*setWindowIcon)(const uint32_t* argb, int width, int height);

  // Makes the window cover the screen showing `mode`. The mode must come from
  // the last listModes. Needs a window. Returns 1 on success, 0 when the mode
  // cannot be set (the window is then left windowed). A back end that
  // switches the monitor's mode gives the desktop its mode back while the
  // program has lost the focus, and takes the game's again on its return.
  int (*enterFullScreen)(const DisplayMode* mode);
  // Returns the window to a normal window; nothing when not in full screen.
  void (*leaveFullScreen)();

  // Shows the x1R5G5B5 picture on the window, scaled to targetWidth x
  // targetHeight, or to the largest rectangle of that shape the window holds
  // (in full screen, 4:3 for the 320- and 640-wide modes of other shapes): by
  // whole factors with nearest neighbour, the rest of the way filtered.
  // Whatever of the window the picture does not cover stays black. waitMode 1
  // waits for the retrace, 0 and 2 do not. The picture is only read, during
  // the call.
  // Needs a window; nothing without one or once another program destroyed it.
  void (*present)(const PixelBuffer* picture, int targetWidth, int targetHeight, int waitMode);

  // Marks the start of one main-loop pass (the headless port reads one line
  // of its input script here). Called once per pass before pollEvent.
  void (*beginPass)();
  // Takes the next pending platform event. Returns 1 and fills out, or 0
  // when none is waiting. Never blocks.
  int (*pollEvent)(DisplayEvent* out);

  // A modal Yes/No question over the window (standing alone without one).
  // Blocks until answered; returns 1 for Yes, 0 for No. It follows the
  // player's own close, so where no box can be shown at all the answer is Yes.
  // An end signal while it is open ends the process at once, by that signal;
  // one caught before answers Yes without a box.
  int (*askYesNo)(const char* caption, const char* text);
  // A modal warning with one OK button, with or without a window and even
  // when open() failed. Writes "caption: text" as one line on standard error
  // too, since no box may show; after open() failed for want of a display,
  // that line goes on to say so and what to do, and no box is tried.
  void (*showWarning)(const char* caption, const char* text);

  // Holds the pointer in the game's window, hidden, reporting every motion as
  // dx, dy however far it goes (on), or gives it back (off). The platform lets
  // go by itself while the window is not focused and while askYesNo waits,
  // and holds again afterwards; close() gives it back for good.
  void (*holdMouse)(int on);
  // Whether a Shift key is down right now, asked of the desktop itself, so it
  // answers before any window of ours has the keyboard; 0 where it cannot tell.
  int (*shiftHeld)();

  // A monotonic clock in microseconds; never goes backward.
  int64_t (*nowMicros)();
  // Blocks for about the given time (at least 0). The clock moves on by it.
  void (*sleepMicros)(int64_t micros);
  // How often the screen showing the window refreshes, in hertz: 0 when the
  // platform does not tell, -1 where nothing is shown (pictures between the
  // passes would go nowhere). Needs a window; -1 without one.
  int (*refreshRate)();

  // ---- The mode dialog's window and text ----

  // Opens the dialog window: its own top-level window, separate from the one
  // createWindow makes, without a caption bar where the platform allows it,
  // whose client area of width x height pixels has its top-left corner at
  // (x, y). It is shown, raised and given the keyboard focus. Needs open().
  // Returns 1 on success; 0 (nothing left open) when no window can be made.
  // While it is open, pollEvent delivers its input with coordinates in its
  // client pixels; a key already held down as it opens (Enter held through
  // the start-up) acts only once let go and pressed again. Opening it again
  // while open moves and resizes it.
  int (*openDialog)(const char* title, int x, int y, int width, int height);
  // Shows the x1R5G5B5 picture 1:1 in the dialog window (it should have the
  // dialog's size; a smaller one leaves the rest black). Nothing without one.
  void (*presentDialog)(const PixelBuffer* picture);
  // Closes the dialog window and drops its pending input, so nothing typed in
  // it reaches the game's window. Nothing when none is open.
  void (*closeDialog)();
  // How much larger than at 96 dots per inch the screen wants user-interface
  // pixels, in percent (100, 125, ..., at most 300). 100 without open().
  int (*uiScalePercent)();

  // The dialog font: a sans-serif face (the SDL port uses SDL2_ttf with DejaVu
  // Sans, bold as asked; the headless port, and the SDL port when no font file
  // can be read, use a built-in 5x7 pixel font with fixed metrics, so tests do
  // not depend on the fonts of the machine). pixelSize is the em size.
  // Fills out and returns 1; 0 only for a pixelSize below 1.
  int (*textMetrics)(int pixelSize, int bold, TextMetrics* out);
  // Rasterises UTF-8 text as coverage (0 blank .. 255 ink), the baseline at
  // row `ascent` of textMetrics, the first glyph starting at column 0, into
  // coverage[row * pitch + column] for columns below maxWidth and rows below
  // maxHeight; coverage outside the text is left untouched, so the caller
  // clears the buffer first. coverage may be nullptr to only measure.
  // Returns the text's advance width in pixels (what it would need unclipped).
  int (*renderText)(const char* utf8, int pixelSize, int bold, uint8_t* coverage, int pitch, int maxWidth,
                    int maxHeight);
};

// The back end in use. Unless selectDisplay chose one, the first call picks
// headless when QUILL_DISPLAY is "headless" and SDL otherwise.
const DisplayDriver* display();
// Chooses the back end for the next initFramework (not while a mode is set).
void selectDisplay(const DisplayDriver* driver);

const DisplayDriver* sdlDisplayDriver();
const DisplayDriver* headlessDisplayDriver();
