// The options page (F2): keys, mouse, volumes, the help at start, full screen
// and the mode dialog, drawn with the game's font over the paused game. The
// page changes `settings` and saves them when it closes.
#pragma once

struct Event;

// 1 while the page is open: the rules, the guards and the stopwatch stand still.
int optionsOpen();
void openOptions();
void closeOptions();
// A key press while the page is open (arrows, Enter, Space, Backspace, Esc, F2).
void optionsKey(const Event& event);
// A click at surface pixel (x, y) while the page is open.
void optionsClick(int x, int y);
// The page over the last picture of the view, dimmed.
void drawOptions();

// What the page changes beyond the settings themselves is applied through
// these, set by the start-up: the sound volumes and the switch to full screen.
struct OptionsHooks {
  void (*volumesChanged)();
  void (*toggleFullScreen)();
};
void setOptionsHooks(const OptionsHooks& hooks);

// ---- For tests ----
// The row the cursor is on, and whether a key row waits for a key.
int optionsRow();
int optionsCapturing();
// Binds `scanCode` to slot `slot` of action `action`, as pressing it while
// capturing does; false for a key the game keeps for itself. The key leaves
// any other action it was bound to.
bool bindKey(int action, int slot, int scanCode);
void resetOptions();
