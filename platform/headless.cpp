// The headless display: modes, window, input, clock and presented pictures in memory.
#include "platform/headless.h"

#include "platform/fallbackfont.h"
#include "platform/headlessscript.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxHeadlessModes = 256;
constexpr int kEventRing = 1024;  // more than any test or script pass queues
constexpr int kMaxAnswers = 64;

struct HeadlessState {
  bool open;
  int failOpen;
  int failFullScreen;
  HeadlessMode modes[kMaxHeadlessModes];
  int modeCount;
  int desktopWidth, desktopHeight, desktopBpp;
  int areaX, areaY, areaWidth, areaHeight;  // the work area; a width of 0 means the whole desktop
  int frameWidth, frameHeight;
  bool frameWhenShown;  // the frame reads 0 x 0 until the window was first shown
  HeadlessWindow window;

  DisplayEvent events[kEventRing];
  int eventHead, eventCount;
  int answers[kMaxAnswers];
  int answerHead, answerCount;
  int questions;
  char lastQuestion[256];
  char lastWarning[256];

  int64_t now;
  int presents;
  int passes;
  int frameWidthPx, frameHeightPx;
  int targetWidth, targetHeight;
  int waitMode;

  bool scriptLoaded;
  size_t scriptLine;
  bool scriptEnded;
  bool held[kScriptScanCodes];  // the keys the script's "keys" clauses hold

  HeadlessDialog dialog;
  int dialogFrameWidth, dialogFrameHeight;
  bool haveDialogFrame;
  int uiScale;
  int mouseHeld;    // holdMouse's last word
  int shiftHeld;    // what shiftHeld answers
  bool realSleep;   // the clock's waits also pass on the real clock
  int refreshRate;  // what refreshRate answers
};
HeadlessState g_h;
std::vector<uint16_t> g_frame;        // grows only when a larger picture comes
std::vector<uint16_t> g_dialogFrame;  // the dialog's last picture
std::vector<std::string> g_script;    // the lines of the input script
ScriptLine g_scriptLine;              // the line being applied; static, as it is large
std::vector<DisplayEvent> g_later;    // held back by "wait" until the program sleeps
bool g_envScriptChecked = false;

// The default list: three resolutions at 15 and 16 bits behind DirectDraw.
const Resolution kDefaultResolutions[] = {{640, 480}, {800, 600}, {1024, 768}};
const int kDefaultDepths[] = {15, 16};
static_assert(std::size(kDefaultResolutions) * std::size(kDefaultDepths) <= kMaxHeadlessModes,
              "the default list fits the mode table");

void setDefaults() {
  g_h.modeCount = 0;
  for (int depth : kDefaultDepths) {
    for (const Resolution& r : kDefaultResolutions) {
      HeadlessMode& m = g_h.modes[g_h.modeCount++];
      m = HeadlessMode{};
      m.mode.width = r.width;
      m.mode.height = r.height;
      m.mode.bitsPerPixel = depth;
      m.mode.pages = 2;
      m.mode.kind = kModePlain;
      std::snprintf(m.mode.driverName, sizeof m.mode.driverName, "%s", "DirectDraw");
      m.driverWord = kOptDirectDraw;
    }
  }
  g_h.desktopWidth = 1280;
  g_h.desktopHeight = 1024;
  g_h.desktopBpp = 32;
  g_h.frameWidth = 8;
  g_h.frameHeight = 30;
  g_h.uiScale = 100;
  // No screen, so no pictures between the passes, unless a run asks for a
  // screen's rate (QUILL_HEADLESS_REFRESH=60) to draw them on the virtual clock.
  const char* refresh = std::getenv("QUILL_HEADLESS_REFRESH");
  g_h.refreshRate = refresh && *refresh ? std::atoi(refresh) : -1;
}

void resetWindow() {
  const int created = g_h.window.created;
  g_h.window = HeadlessWindow{};
  g_h.window.x = g_h.window.y = -1;
  g_h.window.fullScreenModeId = -1;
  g_h.window.created = created;
}

void push(const DisplayEvent& e) {
  if (g_h.eventCount >= kEventRing) return;
  g_h.events[(g_h.eventHead + g_h.eventCount) % kEventRing] = e;
  ++g_h.eventCount;
}

// Keeps a presented picture as rows without padding; the buffer only grows.
void copyFrame(const PixelBuffer* picture, std::vector<uint16_t>& out) {
  const size_t width = static_cast<size_t>(picture->width);
  const size_t need = width * static_cast<size_t>(picture->height);
  if (out.size() < need) out.resize(need);
  for (int y = 0; y < picture->height; ++y) {
    std::memcpy(&out[static_cast<size_t>(y) * width], pixelRow(picture, y), width * 2);
  }
}

void pushKind(int kind) {
  DisplayEvent e{};
  e.kind = kind;
  push(e);
}

// Held keys change first, then the answers and the events in their order.
void applyScriptLine(const ScriptLine& line) {
  if (line.keysGiven) {
    for (int s = 0; s < kScriptScanCodes; ++s) {
      if (line.held[s] && !g_h.held[s]) headlessKeyDown(s, 0);
      if (!line.held[s] && g_h.held[s]) headlessKeyUp(s);
      g_h.held[s] = line.held[s];
    }
  }
  for (int i = 0; i < line.answerCount; ++i) headlessAnswer(line.answers[i]);
  for (int i = 0; i < line.eventCount; ++i) {
    const ScriptEvent& e = line.events[i];
    if (e.releaseOfPress && g_h.held[e.event.scanCode]) continue;  // a held key stays down
    if (line.waitFrom >= 0 && i >= line.waitFrom) {
      g_later.push_back(e.event);
    } else {
      push(e.event);
    }
  }
}

void deliverLater() {
  for (const DisplayEvent& e : g_later) push(e);
  g_later.clear();
}

void loadScriptFromEnvironment() {
  if (g_envScriptChecked) return;
  g_envScriptChecked = true;
  // A scripted run at the game's own pace, so SDL's disk audio driver hears
  // it as a player would; the clock the game reads stays the virtual one.
  const char* sleep = std::getenv("QUILL_HEADLESS_SLEEP");
  g_h.realSleep = sleep && std::strcmp(sleep, "1") == 0;
  const char* path = std::getenv("QUILL_INPUT");
  if (path && *path && !headlessLoadScript(path)) {
    // A run meant to be scripted must not spin forever without its script.
    std::fprintf(stderr, "headless: cannot read the input script %s; ending at once\n", path);
    g_script.clear();
    g_h.scriptLoaded = true;
    g_h.scriptLine = 0;
    g_h.scriptEnded = false;
  }
}

// ---- the driver table ----

int hOpen() {
  if (g_h.failOpen) return 0;
  if (!g_h.open) {
    g_h.open = true;
    loadScriptFromEnvironment();
  }
  return 1;
}

void hDestroyWindow() { resetWindow(); }

void hCloseDialog() {
  if (!g_h.dialog.open) return;
  g_h.dialog.open = 0;
  g_h.eventHead = g_h.eventCount = 0;  // what was typed into it stays there
}

void hClose() {
  if (!g_h.open) return;
  hCloseDialog();
  hDestroyWindow();
  g_h.eventHead = g_h.eventCount = 0;
  g_h.open = false;
}

void hDesktop(int* width, int* height, int* bitsPerPixel) {
  *width = g_h.open ? g_h.desktopWidth : 0;
  *height = g_h.open ? g_h.desktopHeight : 0;
  *bitsPerPixel = g_h.open ? g_h.desktopBpp : 0;
}

void hWorkArea(int* x, int* y, int* width, int* height) {
  const bool whole = g_h.areaWidth <= 0;
  *x = g_h.open && !whole ? g_h.areaX : 0;
  *y = g_h.open && !whole ? g_h.areaY : 0;
  *width = !g_h.open ? 0 : whole ? g_h.desktopWidth : g_h.areaWidth;
  *height = !g_h.open ? 0 : whole ? g_h.desktopHeight : g_h.areaHeight;
}

int hListModes(const int32_t* driverWords, DisplayMode* out, int max) {
  if (!g_h.open) return 0;
  int n = 0;
  for (int i = 0; i < g_h.modeCount && n < max; ++i) {
    const HeadlessMode& m = g_h.modes[i];
    if (m.driverWord >= 0 && m.driverWord < kBackEndWordCount && !driverWords[m.driverWord]) continue;
    out[n] = m.mode;
    out[n].id = i;  // the index in the whole list, so ids stay put when words change
    ++n;
  }
  return n;
}

int hCreateWindow(const char* title, int maximizeBox) {
  if (!g_h.open) return 0;
  if (g_h.window.exists) return 1;
  resetWindow();
  g_h.window.exists = 1;
  g_h.window.maximizeBox = maximizeBox;
  g_h.window.x = 0;
  g_h.window.y = 0;
  g_h.window.clientWidth = 320;
  g_h.window.clientHeight = 200;
  ++g_h.window.created;
  std::snprintf(g_h.window.title, sizeof g_h.window.title, "%s", title ? title : "");
  return 1;
}

void hFrameSize(int* width, int* height) {
  const bool framed = g_h.window.exists && (g_h.window.shown || !g_h.frameWhenShown);
  *width = framed ? g_h.frameWidth : 0;
  *height = framed ? g_h.frameHeight : 0;
}

void hPlaceWindow(int x, int y, int clientWidth, int clientHeight) {
  if (!g_h.window.exists) return;
  g_h.window.x = x;
  g_h.window.y = y;
  g_h.window.clientWidth = clientWidth;
  g_h.window.clientHeight = clientHeight;
}

void hWindowPosition(int* x, int* y) {
  *x = g_h.window.exists ? g_h.window.x : -1;
  *y = g_h.window.exists ? g_h.window.y : -1;
}

void hShowWindow() {
  if (g_h.window.exists) g_h.window.shown = 1;
}

void hSetWindowIcon(const uint32_t*, int, int) {}  // nothing shows it

int hEnterFullScreen(const DisplayMode* mode) {
  if (!g_h.window.exists || !mode) return 0;
  if (g_h.failFullScreen > 0) {
    --g_h.failFullScreen;
    return 0;
  }
  if (mode->id < 0 || mode->id >= g_h.modeCount) return 0;
  g_h.window.fullScreen = 1;
  g_h.window.fullScreenModeId = mode->id;
  g_h.window.shown = 1;
  return 1;
}

void hLeaveFullScreen() {
  g_h.window.fullScreen = 0;
  g_h.window.fullScreenModeId = -1;
}

void hPresent(const PixelBuffer* picture, int targetWidth, int targetHeight, int waitMode) {
  if (!g_h.window.exists || !picture || !picture->pixels) return;
  copyFrame(picture, g_frame);
  g_h.frameWidthPx = picture->width;
  g_h.frameHeightPx = picture->height;
  g_h.targetWidth = targetWidth;
  g_h.targetHeight = targetHeight;
  g_h.waitMode = waitMode;
  ++g_h.presents;
}

void hBeginPass() {
  ++g_h.passes;
  deliverLater();
  if (!g_h.scriptLoaded || g_h.scriptEnded) return;
  if (g_h.scriptLine < g_script.size()) {
    headlessApplyScriptLine(g_script[g_h.scriptLine].c_str());
    ++g_h.scriptLine;
  } else {
    g_h.scriptEnded = true;
    pushKind(kDisplayQuit);
  }
}

int hPollEvent(DisplayEvent* out) {
  if (!g_h.open || g_h.eventCount == 0) return 0;
  *out = g_h.events[g_h.eventHead];
  g_h.eventHead = (g_h.eventHead + 1) % kEventRing;
  --g_h.eventCount;
  return 1;
}

int hAskYesNo(const char* caption, const char* text) {
  ++g_h.questions;
  std::snprintf(g_h.lastQuestion, sizeof g_h.lastQuestion, "%s: %s", caption ? caption : "",
                text ? text : "");
  if (g_h.answerCount == 0) return 0;
  const int a = g_h.answers[g_h.answerHead];
  g_h.answerHead = (g_h.answerHead + 1) % kMaxAnswers;
  --g_h.answerCount;
  return a ? 1 : 0;
}

void hShowWarning(const char* caption, const char* text) {
  std::snprintf(g_h.lastWarning, sizeof g_h.lastWarning, "%s: %s", caption ? caption : "", text ? text : "");
  std::fprintf(stderr, "%s\n", g_h.lastWarning);
}

int64_t hNowMicros() { return g_h.now; }

void hSleepMicros(int64_t micros) {
  if (micros > 0) {
    g_h.now += micros;
    if (g_h.realSleep) std::this_thread::sleep_for(std::chrono::microseconds(micros));
  }
  deliverLater();
}

int hRefreshRate() { return g_h.refreshRate; }

int hOpenDialog(const char* title, int x, int y, int width, int height) {
  if (!g_h.open || width < 1 || height < 1) return 0;
  if (!g_h.dialog.open) {
    ++g_h.dialog.opened;
    g_h.dialog.presents = 0;
  }
  g_h.dialog.open = 1;
  g_h.dialog.x = x;
  g_h.dialog.y = y;
  g_h.dialog.width = width;
  g_h.dialog.height = height;
  std::snprintf(g_h.dialog.title, sizeof g_h.dialog.title, "%s", title ? title : "");
  return 1;
}

void hPresentDialog(const PixelBuffer* picture) {
  if (!g_h.dialog.open || !picture || !picture->pixels) return;
  copyFrame(picture, g_dialogFrame);
  g_h.dialogFrameWidth = picture->width;
  g_h.dialogFrameHeight = picture->height;
  g_h.haveDialogFrame = true;
  ++g_h.dialog.presents;
}

int hUiScalePercent() { return g_h.open ? g_h.uiScale : 100; }

void hHoldMouse(int on) { g_h.mouseHeld = on ? 1 : 0; }
int hShiftHeld() { return g_h.shiftHeld; }

const DisplayDriver kHeadlessDriver = {
    .name = "headless",
    .open = hOpen,
    .close = hClose,
    .desktop = hDesktop,
    .workArea = hWorkArea,
    .listModes = hListModes,
    .createWindow = hCreateWindow,
    .destroyWindow = hDestroyWindow,
    .frameSize = hFrameSize,
    .placeWindow = hPlaceWindow,
    .windowPosition = hWindowPosition,
    .showWindow = hShowWindow,
    .setWindowIcon = hSetWindowIcon,
    .enterFullScreen = hEnterFullScreen,
    .leaveFullScreen = hLeaveFullScreen,
    .present = hPresent,
    .beginPass = hBeginPass,
    .pollEvent = hPollEvent,
    .askYesNo = hAskYesNo,
    .showWarning = hShowWarning,
    .holdMouse = hHoldMouse,
    .shiftHeld = hShiftHeld,
    .nowMicros = hNowMicros,
    .sleepMicros = hSleepMicros,
    .refreshRate = hRefreshRate,
    .openDialog = hOpenDialog,
    .presentDialog = hPresentDialog,
    .closeDialog = hCloseDialog,
    .uiScalePercent = hUiScalePercent,
    .textMetrics = fallbackTextMetrics,
    .renderText = fallbackRenderText,
};

void resetPort() {
  g_h = HeadlessState{};
  setDefaults();
  resetWindow();
  g_script.clear();
  g_later.clear();
}

struct HeadlessInit {
  HeadlessInit() { resetPort(); }
};
HeadlessInit g_init;  // defined after the state above, so constructed after it
}  // namespace

const DisplayDriver* headlessDisplayDriver() { return &kHeadlessDriver; }

void resetHeadless() {
  resetPort();
  // A test that resets sets up its own input; QUILL_INPUT is for whole runs.
  g_envScriptChecked = true;
}

void headlessSetModes(const HeadlessMode* modes, int count) {
  if (count < 0) count = 0;
  if (count > kMaxHeadlessModes) count = kMaxHeadlessModes;
  for (int i = 0; i < count; ++i) g_h.modes[i] = modes[i];
  g_h.modeCount = count;
}

void headlessSetDesktop(int width, int height, int bitsPerPixel) {
  g_h.desktopWidth = width;
  g_h.desktopHeight = height;
  g_h.desktopBpp = bitsPerPixel;
}

void headlessSetWorkArea(int x, int y, int width, int height) {
  g_h.areaX = x;
  g_h.areaY = y;
  g_h.areaWidth = width;
  g_h.areaHeight = height;
}

void headlessSetFrame(int width, int height, int whenShown) {
  g_h.frameWidth = width;
  g_h.frameHeight = height;
  g_h.frameWhenShown = whenShown != 0;
}

void headlessFailOpen(int fail) { g_h.failOpen = fail; }
void headlessFailFullScreen(int count) { g_h.failFullScreen = count; }

void headlessKeyDown(int scanCode, int character, int modifiers) {
  DisplayEvent e{};
  e.kind = kDisplayKeyDown;
  e.scanCode = scanCode & 0xFF;
  e.character = character & 0xFF;
  e.modifiers = modifiers;
  push(e);
}

void headlessKeyRepeat(int scanCode, int character, int modifiers) {
  DisplayEvent e{};
  e.kind = kDisplayKeyDown;
  e.scanCode = scanCode & 0xFF;
  e.character = character & 0xFF;
  e.repeat = 1;
  e.modifiers = modifiers;
  push(e);
}

void headlessKeyUp(int scanCode) {
  DisplayEvent e{};
  e.kind = kDisplayKeyUp;
  e.scanCode = scanCode & 0xFF;
  push(e);
}

void headlessMouse(int kind, int x, int y, int button, int doubleClick) {
  DisplayEvent e{};
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.button = button;
  e.doubleClick = doubleClick;
  push(e);
}

void headlessClick(int x, int y, int doubleClick) {
  headlessMouse(kDisplayMouseDown, x, y, 1, doubleClick);
  headlessMouse(kDisplayMouseUp, x, y, 1, 0);
}

void headlessWheel(int notches, int x, int y) {
  DisplayEvent e{};
  e.kind = kDisplayMouseWheel;
  e.x = x;
  e.y = y;
  e.wheel = notches;
  push(e);
}

void headlessPost(int kind) { pushKind(kind); }
int headlessMouseHeld() { return g_h.mouseHeld; }
void headlessSetShiftHeld(int held) { g_h.shiftHeld = held ? 1 : 0; }

int headlessPendingEvents() { return g_h.eventCount; }

void headlessAnswer(int yes) {
  if (g_h.answerCount >= kMaxAnswers) return;
  g_h.answers[(g_h.answerHead + g_h.answerCount) % kMaxAnswers] = yes;
  ++g_h.answerCount;
}
int headlessQuestionsAsked() { return g_h.questions; }
const char* headlessLastQuestion() { return g_h.lastQuestion; }
const char* headlessLastWarning() { return g_h.lastWarning; }

int headlessLoadScript(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 0;
  g_script.clear();
  std::string line;
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') {
      g_script.push_back(line);
      line.clear();
      any = false;
    } else if (c != '\r') {
      line.push_back(static_cast<char>(c));
    }
  }
  if (any) g_script.push_back(line);
  std::fclose(f);
  g_h.scriptLoaded = true;
  g_h.scriptLine = 0;
  g_h.scriptEnded = false;
  return 1;
}

int headlessApplyScriptLine(const char* line) {
  if (!readScriptLine(line, &g_scriptLine)) return 0;
  applyScriptLine(g_scriptLine);
  return 1;
}

int64_t headlessNow() { return g_h.now; }
void headlessAdvance(int64_t micros) {
  if (micros > 0) g_h.now += micros;
}

int headlessPresentCount() { return g_h.presents; }
int headlessPassCount() { return g_h.passes; }

const uint16_t* headlessLastFrame(int* width, int* height) {
  if (width) *width = g_h.presents ? g_h.frameWidthPx : 0;
  if (height) *height = g_h.presents ? g_h.frameHeightPx : 0;
  return g_h.presents ? g_frame.data() : nullptr;
}

void headlessLastTarget(int* width, int* height) {
  *width = g_h.targetWidth;
  *height = g_h.targetHeight;
}

int headlessLastWaitMode() { return g_h.waitMode; }

const HeadlessWindow& headlessWindow() { return g_h.window; }

const HeadlessDialog& headlessDialog() { return g_h.dialog; }

const uint16_t* headlessDialogFrame(int* width, int* height) {
  if (width) *width = g_h.haveDialogFrame ? g_h.dialogFrameWidth : 0;
  if (height) *height = g_h.haveDialogFrame ? g_h.dialogFrameHeight : 0;
  return g_h.haveDialogFrame ? g_dialogFrame.data() : nullptr;
}

void headlessSetUiScale(int percent) { g_h.uiScale = percent; }
void headlessSetRefreshRate(int hz) { g_h.refreshRate = hz; }
