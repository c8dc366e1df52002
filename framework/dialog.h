// The mode-selection dialog without its window: the control table, the
// dialog's state, filling the mode list, the commands, the layout in pixels
// and what a key, a click or the wheel does. chooseMode (dialog.cpp) draws
// this state and feeds it the display layer's input.
#pragma once
#include <cstdint>

#include "framework/framework.h"
#include "framework/surface.h"
#include "platform/display.h"

enum DialogControlKind {
  kCtlCentredText,  // static text, centred, clipped to its box
  kCtlText,         // static text, left-aligned
  kCtlListBox,      // the mode list: border, vertical scroll bar, double clicks
  kCtlGroupBox,     // an etched frame with its title at the top left
  kCtlRadio,        // set and cleared by the dialog, never by itself
  kCtlCheckBox,     // toggles itself
  kCtlButton,
  kCtlDefaultButton,  // thicker border; Enter presses it
};

// Identifiers of the controls (0 for those nobody asks about).
enum DialogId {
  kIdRunDemo = 1,
  kIdQuit = 2,
  kIdModeList = 100,
  kIdStretch = 101,
  kIdDepth8 = 102,
  kIdDepth15 = 103,
  kIdDepth16 = 104,
  kIdDepth24 = 105,
  kIdDepth32 = 106,
  kIdHeading = 107,
  kIdSubtitle = 108,
  kIdTarvok = 109,
  kIdVga = 110,
  kIdDirectDraw = 111,
  kIdGlMicrosoft = 112,
  kIdGlSgi = 113,
  kIdGlMesa = 114,
  kIdGlAuto = 115,
  kIdModeX = 116,
  kIdStartWindowed = 117,
  kIdFullscreenDib = 121,
  kIdVbeAf = 122,
  kIdVbe = 123,
  kIdDontAsk = 124,  // later starts go straight to the mode chosen
};

// One control: position and size in dialog units (a quarter of the font's
// average character width across, an eighth of its height down).
struct DialogControl {
  int id;
  int kind;
  const char* text;
  int x, y, width, height;
};
constexpr int kDialogControlCount = 29;
extern const DialogControl kDialogControls[kDialogControlCount];
constexpr int kDialogWidthUnits = 223;
constexpr int kDialogHeightUnits = 271;

// Index of a control in kDialogControls by identifier; -1 for an unknown one.
int dialogControlIndex(int id);

constexpr int kDialogLineLength = 96;  // longest list line with its terminator
constexpr char kNoModesLine[] = "No available modes";

enum DialogResult { kDialogOpen = 0, kDialogRun = 1, kDialogQuit = 2 };

// The scroll bar part a drag holds.
enum ListPart { kPartNone, kPartLine, kPartUpArrow, kPartDownArrow, kPartPageUp, kPartPageDown, kPartThumb };

struct DialogState {
  int checked[kDialogControlCount];
  int enabled[kDialogControlCount];
  // The list box: its lines and, per line, the index of its ModeInfo in the
  // framework's mode list (the index map). With no mode for the chosen depth
  // it holds the one line "No available modes" and hasModes is 0.
  char lines[kMaxModes][kDialogLineLength];
  int lineMode[kMaxModes];
  int lineCount;
  int hasModes;
  int selected;      // the selected line
  int topLine;       // the first line shown
  int visibleLines;  // lines the list shows at once (from the layout)
  int focus;         // control index with the keyboard focus, -1 for none
  // Mouse: the control pressed and not yet released, whether the pointer is
  // still on it, and the scroll bar drag.
  int pressed;
  int pressedInside;
  int dragPart;
  int dragOffset;  // pointer to thumb top, in pixels, while the thumb is dragged
  // The last press on a list line (-1: none): the second press of a double
  // click must land on the same line within kDoubleClickRadius of it.
  int clickLine;
  int clickX, clickY;
  int result;         // DialogResult
  ModeInfo chosen;    // the mode handed back on kDialogRun
  int startWindowed;  // "Start windowed" when the dialog closed with kDialogRun
};

// The dialog's geometry in pixels for one font and screen scale.
struct DialogLayout {
  int baseX, baseY;  // dialog base units: average character width and line height
  int scale;         // percent of the 96-dpi size for frames, boxes and the scroll bar
  int fontPixels;    // em size of the dialog font
  int fontAscent, fontHeight;
  int frame;                           // width of the dialog's own raised frame
  int width, height;                   // the whole dialog window
  Rect controls[kDialogControlCount];  // right and bottom exclusive
  int boxSize;                         // check box and radio button squares
  int scrollWidth;                     // the list's scroll bar
  int itemHeight;                      // one list line
  int visibleLines;                    // list lines shown at once (the list's height is cut to whole lines)
  Rect listItems;                      // where the lines are drawn
  Rect scrollBar;
};

// The list line of a mode: "%dx%d %dbit %2d page (%s)" and its suffixes.
void formatModeLine(const ModeInfo& mode, char* out, int size);

// Sets up the state as the dialog opens: buttons enabled by the filter,
// OpenGL group, "Start windowed" from startWindowed, the depth chosen before
// (or the first allowed), "2x2 stretch" as chosen at the last Run Demo,
// driver boxes from the DriverOptions, the list filled, the focus on the
// first control that takes it. Reads and changes the framework's options.
// visibleLines is the list's height in lines (DialogLayout::visibleLines).
void openDialogState(DialogState& d, int startWindowed, int visibleLines);
// Reads the driver boxes into the DriverOptions, enumerates the modes anew
// and lists those of the checked depth, selecting the line chosen last time.
void fillModeList(DialogState& d);
// A control's command (a click, Space or Enter on it). Check boxes toggle
// first. Does nothing for disabled controls and after the dialog closed.
void dialogCommand(DialogState& d, int id);

DialogLayout computeDialogLayout(const TextMetrics& font, int fontPixels, int scalePercent);
// The scroll bar's thumb (empty when the list has nothing to scroll).
Rect listThumb(const DialogState& d, const DialogLayout& l);
// Which part of the list box a point is on; *line gets the line under it for kPartLine.
int listHitTest(const DialogState& d, const DialogLayout& l, int x, int y, int* line);
// Shows a line: scrolls as little as possible.
void scrollToLine(DialogState& d, const DialogLayout& l, int line);
void scrollListBy(DialogState& d, const DialogLayout& l, int lines);

// Input, as the display layer reports it (scan codes of PC set 1, the
// modifier bits of DisplayEvent, points in dialog pixels). A key's auto-repeat
// (repeat 1) only moves: it never toggles a box or presses a button.
void dialogKey(DialogState& d, const DialogLayout& l, int scanCode, int character, int modifiers,
               int repeat = 0);
// doubleClick is the platform's word that the press came quickly after the
// last one; it runs a line only when both presses are on that line and close together.
void dialogMouseDown(DialogState& d, const DialogLayout& l, int x, int y, int doubleClick);
void dialogMouseUp(DialogState& d, const DialogLayout& l, int x, int y);
void dialogMouseMove(DialogState& d, const DialogLayout& l, int x, int y);
void dialogWheel(DialogState& d, const DialogLayout& l, int x, int y, int notches);

// The state and layout of the dialog shown last, as it was when it closed.
const DialogState& lastDialogState();
const DialogLayout& lastDialogLayout();
// Forgets the windowed stretch remembered from the last Run Demo (tests).
void resetDialog();
// The stretch (0 or 2) the dialog opens with beside a remembered list choice,
// as if it had been run in an earlier start.
void setLastStretch(int stretch);
// Whether "Nicht mehr fragen" is ticked when the dialog opens; after it
// closes, lastDialogState() tells whether the player left it ticked.
void setDialogDontAsk(int dontAsk);
// Draws the state into a surface of the layout's size (dialog.cpp).
void drawDialog(Surface* s, const DialogState& d, const DialogLayout& l);
