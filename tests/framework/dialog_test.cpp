// The mode dialog: opening, the mode list, the commands, keyboard and mouse,
// and chooseMode's loop driven through the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/framework.h"
#include "framework/mainloop.h"
#include "platform/headless.h"
#include "support/headlessfixture.h"
#include "support/testdata.h"

namespace {

class DialogTest : public HeadlessFramework {
 protected:
  void start(const std::vector<HeadlessMode>& modes = {}, const DriverOptions& options = kGameOptions) {
    if (!modes.empty()) headlessSetModes(modes.data(), static_cast<int>(modes.size()));
    setDriverOptions(options);
    ASSERT_NE(initFramework("Quillmoor!!!"), nullptr);
  }
  // The layout chooseMode makes on the headless display (built-in font at 11 pixels).
  static DialogLayout layout() {
    TextMetrics m{};
    headlessDisplayDriver()->textMetrics(11, 0, &m);
    return computeDialogLayout(m, 11, 100);
  }
  static std::string lineOf(const DialogState& d, const char* size) {
    for (int i = 0; i < d.lineCount; ++i) {
      if (std::strncmp(d.lines[i], size, std::strlen(size)) == 0) return d.lines[i];
    }
    return "";
  }
  static int checkedOf(const DialogState& d, int id) { return d.checked[dialogControlIndex(id)]; }
  static int enabledOf(const DialogState& d, int id) { return d.enabled[dialogControlIndex(id)]; }
  static void centreOf(int id, int* x, int* y) {
    const Rect r = layout().controls[dialogControlIndex(id)];
    *x = (r.left + r.right) / 2;
    *y = (r.top + r.bottom) / 2;
  }
  static void lineCentre(int visibleRow, int* x, int* y) {
    const DialogLayout l = layout();
    *x = (l.listItems.left + l.listItems.right) / 2;
    *y = l.listItems.top + visibleRow * l.itemHeight + l.itemHeight / 2;
  }
  // Every candidate size at 15 bits behind one back end: one line each, more than the list shows.
  static std::vector<HeadlessMode> manyModes() {
    std::vector<HeadlessMode> v;
    for (const Resolution& r : kCandidateResolutions)
      v.push_back(headlessMode(r.width, r.height, 15, 0, kOptDirectDraw, "DirectDraw"));
    return v;
  }
};

TEST_F(DialogTest, FirstOpeningWithTheGameOptions) {
  start();
  DialogState d;
  openDialogState(d, 1, layout().visibleLines);
  EXPECT_TRUE(checkedOf(d, kIdDepth15));
  EXPECT_TRUE(enabledOf(d, kIdDepth15));
  EXPECT_TRUE(enabledOf(d, kIdDepth16));
  EXPECT_FALSE(checkedOf(d, kIdDepth16));
  for (int id : {kIdDepth8, kIdDepth24, kIdDepth32}) EXPECT_FALSE(enabledOf(d, id)) << id;
  for (int id : {kIdGlAuto, kIdGlMicrosoft, kIdGlSgi, kIdGlMesa}) EXPECT_FALSE(enabledOf(d, id)) << id;
  EXPECT_TRUE(checkedOf(d, kIdGlAuto));
  EXPECT_TRUE(checkedOf(d, kIdStartWindowed));
  EXPECT_FALSE(checkedOf(d, kIdStretch));
  for (int id : {kIdTarvok, kIdDirectDraw, kIdVga, kIdModeX, kIdVbe, kIdVbeAf, kIdFullscreenDib}) {
    EXPECT_TRUE(checkedOf(d, id)) << id;
  }
  EXPECT_EQ(d.selected, 0);
  EXPECT_TRUE(d.hasModes);
  EXPECT_EQ(chosenDepth(), 15);
  // Only 15-bit modes, in the mode list's order, through the index map.
  ASSERT_EQ(d.lineCount, 5);
  EXPECT_STREQ(d.lines[0], "320x240 15bit  2 page (DirectDraw) - 2x2 stretched");
  EXPECT_STREQ(d.lines[2], "640x480 15bit  2 page (DirectDraw)");
  for (int i = 0; i < d.lineCount; ++i) EXPECT_EQ(modeAt(d.lineMode[i]).bitsPerPixel, 15);
  // The focus starts on the list, the first control that takes it.
  EXPECT_EQ(d.focus, dialogControlIndex(kIdModeList));

  // A caller that starts full screen gets "Start windowed" clear.
  openDialogState(d, 0, layout().visibleLines);
  EXPECT_FALSE(checkedOf(d, kIdStartWindowed));
}

TEST_F(DialogTest, OpeningFollowsOtherFiltersAndOpenGl) {
  // All depths, OpenGL allowed with type 2: "8" is the first allowed depth
  // and "SGI" is checked; a depth chosen before wins over the first allowed.
  start({headlessMode(640, 480, 8, 0, kOptDirectDraw, "DirectDraw"),
         headlessMode(640, 480, 32, 0, kOptDirectDraw, "DirectDraw")},
        DriverOptions{{1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0x0F}});
  DialogState d;
  openDialogState(d, 1, 8);
  EXPECT_TRUE(checkedOf(d, kIdDepth8));
  EXPECT_TRUE(checkedOf(d, kIdGlSgi));
  EXPECT_FALSE(checkedOf(d, kIdGlAuto));
  EXPECT_TRUE(enabledOf(d, kIdGlMesa));
  dialogCommand(d, kIdGlMesa);
  EXPECT_TRUE(checkedOf(d, kIdGlMesa));
  EXPECT_FALSE(checkedOf(d, kIdGlSgi));
  EXPECT_EQ(driverOptions().words[kOptOpenGlType], 3);

  dialogCommand(d, kIdDepth32);
  ASSERT_EQ(d.lineCount, 2);
  EXPECT_STREQ(d.lines[0], "320x240 32bit  2 page (DirectDraw) - 2x2 stretched");
  EXPECT_STREQ(d.lines[1], "640x480 32bit  2 page (DirectDraw)");
  openDialogState(d, 1, 8);
  EXPECT_TRUE(checkedOf(d, kIdDepth32));
  EXPECT_FALSE(checkedOf(d, kIdDepth8));
}

TEST_F(DialogTest, DepthButtonsRefillAndTheLastRunDemoIsRemembered) {
  start();
  DialogState d;
  openDialogState(d, 1, 8);
  d.selected = 3;  // 800x600
  dialogCommand(d, kIdRunDemo);
  ASSERT_EQ(d.result, kDialogRun);
  EXPECT_EQ(d.chosen.xRes, 800);
  EXPECT_EQ(d.chosen.bitsPerPixel, 15);
  EXPECT_EQ(d.chosen.windowStretch, 0);
  EXPECT_EQ(lastListChoice(), d.lineMode[3]);

  openDialogState(d, 1, 8);
  EXPECT_EQ(d.selected, 3) << "the line chosen last time";
  dialogCommand(d, kIdDepth16);
  EXPECT_TRUE(checkedOf(d, kIdDepth16));
  EXPECT_FALSE(checkedOf(d, kIdDepth15));
  ASSERT_EQ(d.lineCount, 5);
  for (int i = 0; i < d.lineCount; ++i) {
    EXPECT_NE(std::strstr(d.lines[i], " 16bit "), nullptr) << d.lines[i];
    EXPECT_EQ(modeAt(d.lineMode[i]).bitsPerPixel, 16);
  }
  EXPECT_EQ(d.selected, 0) << "the remembered mode is not among the 16-bit ones";
  dialogCommand(d, kIdDepth15);
  EXPECT_EQ(d.selected, 3);
}

TEST_F(DialogTest, ClearingEveryDriverBoxLeavesNoModesAndRunDemoDoesNothing) {
  start();
  DialogState d;
  openDialogState(d, 1, 8);
  const int boxes[] = {kIdTarvok, kIdDirectDraw, kIdVga, kIdModeX, kIdVbe, kIdVbeAf, kIdFullscreenDib};
  for (int id : boxes) dialogCommand(d, id);
  for (int word : {0, 1, 2, 3, 4, 6, 7}) EXPECT_EQ(driverOptions().words[word], 0) << word;
  EXPECT_EQ(driverOptions().words[kOptLinear], 1) << "no box stands for word 5";
  ASSERT_EQ(d.lineCount, 1);
  EXPECT_STREQ(d.lines[0], "No available modes");
  EXPECT_FALSE(d.hasModes);
  EXPECT_FALSE(enabledOf(d, kIdModeList));
  dialogCommand(d, kIdRunDemo);
  EXPECT_EQ(d.result, kDialogOpen);
  // Nor a double click on the one line, nor Enter.
  int x, y;
  lineCentre(0, &x, &y);
  dialogMouseDown(d, layout(), x, y, 1);
  dialogKey(d, layout(), 0x1C, 13, 0);
  EXPECT_EQ(d.result, kDialogOpen);
  EXPECT_NE(d.focus, dialogControlIndex(kIdModeList)) << "the focus left the disabled list";

  dialogCommand(d, kIdDirectDraw);  // its back end offers the modes again
  EXPECT_TRUE(d.hasModes);
  EXPECT_TRUE(enabledOf(d, kIdModeList));
  EXPECT_EQ(d.lineCount, 5);
}

TEST_F(DialogTest, DriverBoxesSwitchTheirBackEndForTheNextEnumeration) {
  // The same size behind two back ends: the first offered wins, a cleared box hands it on.
  start({headlessMode(640, 480, 15, kMode2DAccel, kOptDirectDraw, "DirectDraw"),
         headlessMode(640, 480, 15, 0, kOptFullscreenDib, "Fullscreen DIB"),
         headlessMode(800, 600, 15, 0, kOptVbe, "VESA VBE 2.0")});
  DialogState d;
  openDialogState(d, 1, 8);
  EXPECT_EQ(lineOf(d, "640x480"), "640x480 15bit  2 page (DirectDraw) - 2D accel");
  EXPECT_EQ(lineOf(d, "400x300"), "400x300 15bit  2 page (VESA VBE 2.0) - 2x2 stretched");
  dialogCommand(d, kIdDirectDraw);
  EXPECT_EQ(lineOf(d, "640x480"), "640x480 15bit  2 page (Fullscreen DIB)");
  dialogCommand(d, kIdVbe);
  EXPECT_EQ(lineOf(d, "800x600"), "");
  EXPECT_EQ(lineOf(d, "400x300"), "");
  // "Start windowed" and "2x2 stretch" change only themselves.
  const int lines = d.lineCount;
  dialogCommand(d, kIdStretch);
  dialogCommand(d, kIdStartWindowed);
  EXPECT_TRUE(checkedOf(d, kIdStretch));
  EXPECT_FALSE(checkedOf(d, kIdStartWindowed));
  EXPECT_EQ(d.lineCount, lines);
}

TEST(DialogLines, PageFieldAndSuffixes) {
  char line[kDialogLineLength];
  ModeInfo m = {3, 640, 480, 16, 2, 0, "DirectDraw", 0, 0};
  formatModeLine(m, line, sizeof line);
  EXPECT_STREQ(line, "640x480 16bit  2 page (DirectDraw)");
  m.pages = 12;
  m.fullScreenStretch = 1;
  m.modeFlags = kModeStereo | kMode2DAccel | kMode3DAccel;
  formatModeLine(m, line, sizeof line);
  EXPECT_STREQ(line, "640x480 16bit 12 page (DirectDraw) - 1x2 stretched - stereo - 2D accel - 3D accel");
  m.fullScreenStretch = 2;
  m.modeFlags = kMode3DAccel;
  formatModeLine(m, line, sizeof line);
  EXPECT_STREQ(line, "640x480 16bit 12 page (DirectDraw) - 2x2 stretched - 3D accel");
  // A windowed-only entry says so and nothing else.
  ModeInfo w = {-1, 320, 240, 32, 1, kMode2DAccel, "windowed", 2, 2};
  formatModeLine(w, line, sizeof line);
  EXPECT_STREQ(line, "320x240 32bit  1 page (windowed) - windowed only");
  // An unterminated driver name stops at 15 characters; a short buffer is cut, not overrun.
  ModeInfo longName = m;
  std::memset(longName.driverName, 'x', sizeof longName.driverName);
  formatModeLine(longName, line, sizeof line);
  EXPECT_NE(std::strstr(line, "(xxxxxxxxxxxxxxx)"), nullptr) << line;
  char small[12];
  std::memset(small, '#', sizeof small);
  formatModeLine(m, small, 10);
  EXPECT_STREQ(small, "640x480 1");
  EXPECT_EQ(small[10], '#');
}

TEST_F(DialogTest, KeyboardMovesTheFocusAndTheSelection) {
  start(manyModes());
  const DialogLayout l = layout();
  DialogState d;
  openDialogState(d, 1, l.visibleLines);
  ASSERT_EQ(d.lineCount, kResolutionCount);
  ASSERT_LT(l.visibleLines, kResolutionCount);
  dialogKey(d, l, 0x4F, 0, 0);  // End
  EXPECT_EQ(d.selected, kResolutionCount - 1);
  EXPECT_EQ(d.topLine, kResolutionCount - l.visibleLines);
  dialogKey(d, l, 0x47, 0, 0);  // Home
  EXPECT_EQ(d.selected, 0);
  EXPECT_EQ(d.topLine, 0);
  dialogKey(d, l, 0x51, 0, 0);  // Page Down
  EXPECT_EQ(d.selected, l.visibleLines - 1);
  dialogKey(d, l, 0x48, 0, 0);  // Up
  EXPECT_EQ(d.selected, l.visibleLines - 2);
  dialogKey(d, l, 0x48, '8', 0);  // keypad 8 with Num Lock types a digit: jumps to "800x600"
  EXPECT_EQ(std::string(d.lines[d.selected]).substr(0, 7), "800x600");

  // Tab: list -> the checked depth -> Start windowed -> 2x2 stretch -> ...; Shift+Tab back.
  dialogKey(d, l, 0x0F, 9, 0);
  EXPECT_EQ(d.focus, dialogControlIndex(kIdDepth15));
  dialogKey(d, l, 0x4D, 0, 0);  // Right selects the next radio button
  EXPECT_TRUE(checkedOf(d, kIdDepth16));
  EXPECT_EQ(d.focus, dialogControlIndex(kIdDepth16));
  dialogKey(d, l, 0x4D, 0, 0);  // "24" is disabled and ends the group
  EXPECT_TRUE(checkedOf(d, kIdDepth16));
  dialogKey(d, l, 0x4B, 0, 0);
  EXPECT_TRUE(checkedOf(d, kIdDepth15));
  dialogKey(d, l, 0x0F, 9, 0);
  EXPECT_EQ(d.focus, dialogControlIndex(kIdStartWindowed));
  dialogKey(d, l, 0x39, ' ', 0);  // Space toggles the box, once however long it is held
  for (int k = 0; k < 3; ++k) dialogKey(d, l, 0x39, ' ', 0, 1);
  EXPECT_FALSE(checkedOf(d, kIdStartWindowed));
  dialogKey(d, l, 0x0F, 9, kModShift);
  EXPECT_EQ(d.focus, dialogControlIndex(kIdDepth15));
  // Backwards from the list wraps round past the disabled OpenGL group to Quit.
  dialogKey(d, l, 0x0F, 9, kModShift);
  dialogKey(d, l, 0x0F, 9, kModShift);
  EXPECT_EQ(d.focus, dialogControlIndex(kIdQuit));
  dialogKey(d, l, 0x1C, 13, 0);  // Enter on a focused push button presses that one
  EXPECT_EQ(d.result, kDialogQuit);
}

TEST_F(DialogTest, MouseClicksButtonsWhenReleasedOverThemAndScrollsTheList) {
  start(manyModes());
  const DialogLayout l = layout();
  DialogState d;
  openDialogState(d, 1, l.visibleLines);
  int x, y;
  centreOf(kIdStretch, &x, &y);
  dialogMouseDown(d, l, x, y, 0);
  EXPECT_FALSE(checkedOf(d, kIdStretch)) << "nothing happens before the release";
  dialogMouseUp(d, l, x, y);
  EXPECT_TRUE(checkedOf(d, kIdStretch));
  EXPECT_EQ(d.focus, dialogControlIndex(kIdStretch));
  // Pressed on Quit, let go elsewhere: nothing.
  centreOf(kIdQuit, &x, &y);
  dialogMouseDown(d, l, x, y, 0);
  dialogMouseMove(d, l, 1, 1);
  EXPECT_FALSE(d.pressedInside);
  dialogMouseUp(d, l, 1, 1);
  EXPECT_EQ(d.result, kDialogOpen);
  // Clicks on disabled controls do nothing.
  centreOf(kIdDepth32, &x, &y);
  dialogMouseDown(d, l, x, y, 0);
  dialogMouseUp(d, l, x, y);
  EXPECT_FALSE(checkedOf(d, kIdDepth32));

  // The wheel scrolls three lines a notch; the arrows one; the track a page.
  const Rect list = l.controls[dialogControlIndex(kIdModeList)];
  dialogWheel(d, l, list.left + 5, list.top + 5, -1);
  EXPECT_EQ(d.topLine, 3);
  dialogWheel(d, l, list.left + 5, list.top + 5, 5);
  EXPECT_EQ(d.topLine, 0);
  dialogWheel(d, l, 1, 1, -1);
  EXPECT_EQ(d.topLine, 0) << "the wheel scrolls the list only over it";
  const int sx = (l.scrollBar.left + l.scrollBar.right) / 2;
  dialogMouseDown(d, l, sx, l.scrollBar.bottom - 2, 0);
  dialogMouseUp(d, l, sx, l.scrollBar.bottom - 2);
  EXPECT_EQ(d.topLine, 1);
  dialogMouseDown(d, l, sx, l.scrollBar.bottom - l.scrollWidth - 1, 0);
  EXPECT_EQ(d.topLine, 1 + l.visibleLines);  // a page on
  dialogMouseUp(d, l, 0, 0);
  // Dragging the thumb to the top of the track.
  const Rect thumb = listThumb(d, l);
  ASSERT_GT(thumb.bottom, thumb.top);
  dialogMouseDown(d, l, sx, thumb.top + 1, 0);
  dialogMouseMove(d, l, sx, 0);
  EXPECT_EQ(d.topLine, 0);
  dialogMouseUp(d, l, sx, 0);

  // A click selects the line under it; a double click runs it, but only when
  // both presses are on that line within a few pixels: quick presses on two
  // lines, or far apart on one, are clicks.
  lineCentre(2, &x, &y);
  dialogMouseDown(d, l, x, y, 0);
  dialogMouseUp(d, l, x, y);
  EXPECT_EQ(d.selected, 2);
  EXPECT_EQ(d.result, kDialogOpen);
  lineCentre(3, &x, &y);
  dialogMouseDown(d, l, x, y, 1);
  dialogMouseUp(d, l, x, y);
  lineCentre(4, &x, &y);
  dialogMouseDown(d, l, x, y, 1);
  dialogMouseUp(d, l, x, y);
  dialogMouseDown(d, l, x + 4 * kDoubleClickRadius, y, 1);
  dialogMouseUp(d, l, x + 4 * kDoubleClickRadius, y);
  EXPECT_EQ(d.selected, 4);
  EXPECT_EQ(d.result, kDialogOpen);
  dialogMouseDown(d, l, x + 4 * kDoubleClickRadius - 2, y + 1, 1);
  EXPECT_EQ(d.result, kDialogRun);
  EXPECT_EQ(d.chosen.xRes, modeAt(d.lineMode[4]).xRes);
  EXPECT_EQ(d.chosen.windowStretch, 2) << "\"2x2 stretch\" was checked";
}

TEST_F(DialogTest, ChooseModeRunsOnTheHeadlessPortAndClosesItsWindow) {
  start();
  // Down and its repeat (the list's arrows repeat), then Enter: the third
  // 15-bit line, 640x480.
  headlessKeyDown(0x50, 0);
  headlessKeyRepeat(0x50, 0);
  headlessKeyDown(0x1C, 13);
  ModeInfo out{};
  int32_t options[1] = {1};
  ASSERT_EQ(chooseMode(&out, options), 1);
  EXPECT_EQ(out.xRes, 640);
  EXPECT_EQ(out.yRes, 480);
  EXPECT_EQ(out.bitsPerPixel, 15);
  EXPECT_EQ(out.windowStretch, 0);
  EXPECT_EQ(options[0], 1);
  const HeadlessDialog& dlg = headlessDialog();
  EXPECT_FALSE(dlg.open) << "closed before the game's window opens";
  EXPECT_EQ(dlg.opened, 1);
  EXPECT_GE(dlg.presents, 1);
  const DialogLayout l = layout();
  EXPECT_EQ(dlg.width, l.width);
  EXPECT_EQ(dlg.height, l.height);
  EXPECT_EQ(dlg.x, (1280 - l.width) / 2);
  EXPECT_EQ(dlg.y, (1024 - l.height) / 2);
  EXPECT_EQ(headlessPendingEvents(), 0);

  // Mouse alone: "16", "2x2 stretch", "Start windowed" off, then "Run Demo".
  int x, y;
  for (int id : {kIdDepth16, kIdStretch, kIdStartWindowed, kIdRunDemo}) {
    centreOf(id, &x, &y);
    headlessClick(x, y);
  }
  ASSERT_EQ(chooseMode(&out, options), 1);
  EXPECT_EQ(out.bitsPerPixel, 16);
  EXPECT_EQ(out.xRes, 320) << "line 0: the 640x480 choice is not a 16-bit line";
  EXPECT_EQ(out.windowStretch, 2);
  EXPECT_EQ(options[0], 0);
  EXPECT_EQ(headlessDialog().opened, 2);

  // The next opening remembers the depth and the stretch; Esc quits and writes nothing.
  headlessKeyDown(0x01, 27);
  ModeInfo untouched{};
  untouched.xRes = 1234;
  options[0] = 1;
  EXPECT_EQ(chooseMode(&untouched, options), 0);
  EXPECT_EQ(untouched.xRes, 1234);
  EXPECT_EQ(options[0], 1);
  EXPECT_TRUE(checkedOf(lastDialogState(), kIdDepth16));
  EXPECT_TRUE(checkedOf(lastDialogState(), kIdStretch));

  // The close button and a request to end the program quit too.
  headlessPost(kDisplayClose);
  EXPECT_EQ(chooseMode(&untouched, options), 0);
  headlessPost(kDisplayQuit);
  EXPECT_EQ(chooseMode(&untouched, options), 0);
  EXPECT_EQ(untouched.xRes, 1234);
}

TEST_F(DialogTest, ChooseModeReadsTheInputScriptOneLinePerPass) {
  start();
  const std::string path = scratchDir("dialog_script") + "/input.txt";
  writeFile(path,
            "\nkey 50 50 # two lines down\nkey 0F 0F 0F; key 39 # Tab to 2x2 stretch, Space\nchars 13\n");
  ASSERT_EQ(headlessLoadScript(path.c_str()), 1);
  ModeInfo out{};
  int32_t options[1] = {1};
  ASSERT_EQ(chooseMode(&out, options), 1);
  EXPECT_EQ(out.xRes, 640);
  EXPECT_EQ(out.windowStretch, 2);
  EXPECT_EQ(headlessPassCount(), 4);

  // A script that ends while the dialog is open quits it.
  writeFile(path, "key 50\n");
  ASSERT_EQ(headlessLoadScript(path.c_str()), 1);
  EXPECT_EQ(chooseMode(&out, options), 0);
}

TEST_F(DialogTest, DrawingShowsStatesAndFitsTheWindow) {
  start();
  headlessKeyDown(0x01, 27);
  ModeInfo out{};
  int32_t options[1] = {1};
  ASSERT_EQ(chooseMode(&out, options), 0);
  int w = 0, h = 0;
  const uint16_t* frame = headlessDialogFrame(&w, &h);
  ASSERT_NE(frame, nullptr);
  const DialogLayout l = lastDialogLayout();
  ASSERT_EQ(w, l.width);
  ASSERT_EQ(h, l.height);
  auto at = [&](int x, int y) { return frame[static_cast<size_t>(y) * w + x]; };
  auto countInk = [&](Rect r, uint16_t colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += at(x, y) == colour;
    }
    return n;
  };
  // Line 0 is selected: its row is filled with the selection colour.
  const uint16_t selection = (0x0A >> 3) << 10 | (0x24 >> 3) << 5 | (0x6A >> 3);
  const Rect row0 = {l.listItems.left, l.listItems.top, l.listItems.right, l.listItems.top + l.itemHeight};
  EXPECT_GT(countInk(row0, selection), (row0.right - row0.left) * l.itemHeight / 2);
  // A checked box has black ink in its square, a clear one none.
  auto square = [&](int id) {
    const Rect r = l.controls[dialogControlIndex(id)];
    const int top = r.top + (r.bottom - r.top - l.boxSize) / 2;
    return Rect{r.left + 2, top + 2, r.left + l.boxSize - 2, top + l.boxSize - 2};
  };
  EXPECT_GT(countInk(square(kIdStartWindowed), 0), 5);
  EXPECT_EQ(countInk(square(kIdStretch), 0), 0);
  // Disabled labels are grey, enabled ones black.
  auto labelRect = [&](int id) {
    Rect r = l.controls[dialogControlIndex(id)];
    r.left += l.boxSize;
    return r;
  };
  const uint16_t grey = 0x10 << 10 | 0x10 << 5 | 0x10;
  EXPECT_GT(countInk(labelRect(kIdDepth8), grey), 0);
  EXPECT_EQ(countInk(labelRect(kIdDepth8), 0), 0);
  EXPECT_GT(countInk(labelRect(kIdDepth16), 0), 0);
}

}  // namespace
