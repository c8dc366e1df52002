// The headless display: modes, window, input, clock and presented pictures in memory.
#include "framework/display/headless.h"

#include "framework/display/fallbackfont.h"
#include "framework/scancodes.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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
  int frameWidth, frameHeight;
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
  bool held[256];

  HeadlessDialog dialog;
  int dialogFrameWidth, dialogFrameHeight;
  bool haveDialogFrame;
  int uiScale;
};
HeadlessState g_h;
std::vector<uint16_t> g_frame;        // grows only when a larger picture comes
std::vector<uint16_t> g_dialogFrame;  // the dialog's last picture
std::vector<std::string> g_script;    // the lines of the input script
bool g_envScriptChecked = false;

// The default list: three resolutions at 15 and 16 bits behind DirectDraw.
const Resolution kDefaultResolutions[] = {{640, 480}, {800, 600}, {1024, 768}};
static_assert(sizeof(kDefaultResolutions) / sizeof(kDefaultResolutions[0]) == 3, "three default sizes");

void setDefaults() {
  g_h.modeCount = 0;
  for (int depth : {15, 16}) {
    for (const Resolution& r : kDefaultResolutions) {
      HeadlessMode& m = g_h.modes[g_h.modeCount++];
      m = HeadlessMode{};
      m.mode.width = r.width;
      m.mode.height = r.height;
      m.mode.bitsPerPixel = depth;
      m.mode.pages = 2;
      m.mode.kind = kModePlain;
      std::snprintf(m.mode.driverName, sizeof m.mode.driverName, "%s", "DirectDraw");
      m.driverWord = 1;
    }
  }
  g_h.desktopWidth = 1280;
  g_h.desktopHeight = 1024;
  g_h.desktopBpp = 32;
  g_h.frameWidth = 8;
  g_h.frameHeight = 30;
  g_h.uiScale = 100;
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

void pushKind(int kind) {
  DisplayEvent e{};
  e.kind = kind;
  push(e);
}

// The scan code of the key that types a character, for scripted presses.
int scanForCharacter(int c) {
  static const char kRow1[] = "1234567890";
  static const char kRowQ[] = "qwertyuiop";
  static const char kRowA[] = "asdfghjkl";
  static const char kRowZ[] = "zxcvbnm";
  static_assert(sizeof kRow1 == 11 && sizeof kRowQ == 11 && sizeof kRowA == 10 && sizeof kRowZ == 8,
                "rows of a PC keyboard");
  switch (c) {
    case kCharEsc: return kScanEsc;
    case kCharEnter: return kScanEnter;
    case kCharBackspace: return kScanBackspace;
    case kCharTab: return kScanTab;
    case ' ': return kScanSpace;
    default: break;
  }
  const int lower = std::tolower(c);
  const char* p;
  if (c > 0 && (p = std::strchr(kRow1, c)) != nullptr) return kScanDigit1 + static_cast<int>(p - kRow1);
  if (lower > 0 && (p = std::strchr(kRowQ, lower)) != nullptr)
    return kScanLetterRowQ + static_cast<int>(p - kRowQ);
  if (lower > 0 && (p = std::strchr(kRowA, lower)) != nullptr)
    return kScanLetterRowA + static_cast<int>(p - kRowA);
  if (lower > 0 && (p = std::strchr(kRowZ, lower)) != nullptr)
    return kScanLetterRowZ + static_cast<int>(p - kRowZ);
  return 0;
}

// The character a pressed key types in scripted "key" clauses.
int characterForScan(int scan) {
  switch (scan) {
    case kScanEsc: return kCharEsc;
    case kScanEnter: return kCharEnter;
    case kScanTab: return kCharTab;
    case kScanSpace: return ' ';
    default: return 0;
  }
}

void loadScriptFromEnvironment() {
  if (g_envScriptChecked) return;
  g_envScriptChecked = true;
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

// Splits s at whitespace into words (at most max).
int splitWords(const std::string& s, std::string* words, int max) {
  int n = 0;
  size_t i = 0;
  while (i < s.size() && n < max) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i >= s.size()) break;
    size_t j = i;
    if (s[i] == '\'' && i + 2 < s.size() && s[i + 2] == '\'') {
      j = i + 3;  // a quoted character may be a blank
    } else {
      while (j < s.size() && !std::isspace(static_cast<unsigned char>(s[j]))) ++j;
    }
    words[n++] = s.substr(i, j - i);
    i = j;
  }
  return n;
}

bool parseNumber(const std::string& w, int base, int* out) {
  if (w.empty()) return false;
  std::string digits = w;
  if (base == 16 && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits = digits.substr(2);
  }
  char* end = nullptr;
  const long v = std::strtol(digits.c_str(), &end, base);
  if (digits.empty() || *end != 0 || v < 0 || v > 255) return false;
  *out = static_cast<int>(v);
  return true;
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

int hListModes(const int32_t* driverWords, DisplayMode* out, int max) {
  if (!g_h.open) return 0;
  int n = 0;
  for (int i = 0; i < g_h.modeCount && n < max; ++i) {
    const HeadlessMode& m = g_h.modes[i];
    if (m.driverWord >= 0 && m.driverWord < 8 && !driverWords[m.driverWord]) continue;
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
  *width = g_h.window.exists ? g_h.frameWidth : 0;
  *height = g_h.window.exists ? g_h.frameHeight : 0;
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

void hPresent(const Surface* surface, int targetWidth, int targetHeight, int waitMode) {
  if (!g_h.window.exists || !surface || !surface->pixels) return;
  const size_t need = static_cast<size_t>(surface->width) * static_cast<size_t>(surface->height);
  if (g_frame.size() < need) g_frame.resize(need);
  for (int y = 0; y < surface->height; ++y) {
    std::memcpy(&g_frame[static_cast<size_t>(y) * static_cast<size_t>(surface->width)], pixelRow(surface, y),
                static_cast<size_t>(surface->width) * 2);
  }
  g_h.frameWidthPx = surface->width;
  g_h.frameHeightPx = surface->height;
  g_h.targetWidth = targetWidth;
  g_h.targetHeight = targetHeight;
  g_h.waitMode = waitMode;
  ++g_h.presents;
}

void hBeginPass() {
  ++g_h.passes;
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
}

int64_t hNowMicros() { return g_h.now; }

void hSleepMicros(int64_t micros) {
  if (micros > 0) g_h.now += micros;
}

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

void hPresentDialog(const Surface* surface) {
  if (!g_h.dialog.open || !surface || !surface->pixels) return;
  const size_t need = static_cast<size_t>(surface->width) * static_cast<size_t>(surface->height);
  if (g_dialogFrame.size() < need) g_dialogFrame.resize(need);
  for (int y = 0; y < surface->height; ++y) {
    std::memcpy(&g_dialogFrame[static_cast<size_t>(y) * static_cast<size_t>(surface->width)],
                pixelRow(surface, y), static_cast<size_t>(surface->width) * 2);
  }
  g_h.dialogFrameWidth = surface->width;
  g_h.dialogFrameHeight = surface->height;
  g_h.haveDialogFrame = true;
  ++g_h.dialog.presents;
}

int hUiScalePercent() { return g_h.open ? g_h.uiScale : 100; }

const DisplayDriver kHeadlessDriver = {
    .name = "headless",
    .open = hOpen,
    .close = hClose,
    .desktop = hDesktop,
    .listModes = hListModes,
    .createWindow = hCreateWindow,
    .destroyWindow = hDestroyWindow,
    .frameSize = hFrameSize,
    .placeWindow = hPlaceWindow,
    .windowPosition = hWindowPosition,
    .showWindow = hShowWindow,
    .enterFullScreen = hEnterFullScreen,
    .leaveFullScreen = hLeaveFullScreen,
    .present = hPresent,
    .beginPass = hBeginPass,
    .pollEvent = hPollEvent,
    .askYesNo = hAskYesNo,
    .showWarning = hShowWarning,
    .nowMicros = hNowMicros,
    .sleepMicros = hSleepMicros,
    .openDialog = hOpenDialog,
    .presentDialog = hPresentDialog,
    .closeDialog = hCloseDialog,
    .uiScalePercent = hUiScalePercent,
    .textMetrics = fallbackTextMetrics,
    .renderText = fallbackRenderText,
};

void resetState() {
  g_h = HeadlessState{};
  setDefaults();
  resetWindow();
  g_script.clear();
}

struct HeadlessInit {
  HeadlessInit() { resetState(); }
};
HeadlessInit g_init;  // defined after the state above, so constructed after it
}  // namespace

const DisplayDriver* headlessDisplayDriver() { return &kHeadlessDriver; }

void resetHeadless() {
  resetState();
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

void headlessSetFrame(int width, int height) {
  g_h.frameWidth = width;
  g_h.frameHeight = height;
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

int headlessApplyScriptLine(const char* text) {
  std::string line = text ? text : "";
  const size_t hash = line.find('#');
  if (hash != std::string::npos) line.erase(hash);
  // Parse every clause first, so a bad line queues nothing.
  DisplayEvent staged[512];
  int staged_n = 0;
  int answers[8];
  int answers_n = 0;
  bool newHeld[256];
  bool keysGiven = false;
  std::memcpy(newHeld, g_h.held, sizeof newHeld);
  auto stage = [&](const DisplayEvent& e) {
    if (staged_n < static_cast<int>(sizeof staged / sizeof staged[0])) staged[staged_n++] = e;
  };
  auto fail = [&](const std::string& why) {
    std::fprintf(stderr, "headless: bad input line \"%s\": %s\n", text ? text : "", why.c_str());
    return 0;
  };
  size_t start = 0;
  while (start <= line.size()) {
    size_t end = line.find(';', start);
    if (end == std::string::npos) end = line.size();
    const std::string clause = line.substr(start, end - start);
    start = end + 1;
    std::string w[64];
    const int n = splitWords(clause, w, 64);
    if (n == 0) continue;
    if (w[0] == "keys") {
      if (!keysGiven) std::memset(newHeld, 0, sizeof newHeld);
      keysGiven = true;
      for (int i = 1; i < n; ++i) {
        int scan;
        if (!parseNumber(w[i], 16, &scan)) return fail("scan code \"" + w[i] + "\"");
        newHeld[scan] = true;
      }
    } else if (w[0] == "chars") {
      for (int i = 1; i < n; ++i) {
        int ch;
        if (w[i].size() == 3 && w[i][0] == '\'' && w[i][2] == '\'') {
          ch = static_cast<unsigned char>(w[i][1]);
        } else if (!parseNumber(w[i], 10, &ch)) {
          return fail("character \"" + w[i] + "\"");
        }
        DisplayEvent e{};
        e.kind = kDisplayKeyDown;
        e.scanCode = scanForCharacter(ch);
        e.character = ch;
        stage(e);
        e.kind = kDisplayKeyUp;
        e.character = -1;  // marks the release of a press, dropped below for a held key
        stage(e);
      }
    } else if (w[0] == "close" && n <= 2) {
      if (n == 2 && w[1] != "yes" && w[1] != "no") return fail("close answers yes or no");
      if (answers_n < 8) answers[answers_n++] = n == 2 && w[1] == "yes";
      DisplayEvent e{};
      e.kind = kDisplayClose;
      stage(e);
    } else if (w[0] == "switch" && n == 1) {
      DisplayEvent e{};
      e.kind = kDisplaySwitch;
      stage(e);
    } else if (w[0] == "focus" && n == 2 && (w[1] == "lost" || w[1] == "gained")) {
      DisplayEvent e{};
      e.kind = w[1] == "lost" ? kDisplayFocusLost : kDisplayFocusGained;
      stage(e);
    } else if (w[0] == "display" && n == 1) {
      DisplayEvent e{};
      e.kind = kDisplayChanged;
      stage(e);
    } else if (w[0] == "key" && n >= 2) {
      int scans[64];
      int scanCount = 0;
      int mods = 0;
      for (int i = 1; i < n; ++i) {
        if (w[i] == "shift") {
          mods |= kModShift;
        } else if (w[i] == "ctrl") {
          mods |= kModControl;
        } else if (w[i] == "alt") {
          mods |= kModAlt;
        } else if (!parseNumber(w[i], 16, &scans[scanCount++])) {
          return fail("scan code \"" + w[i] + "\"");
        }
      }
      if (scanCount == 0) return fail("key without a scan code");
      for (int i = 0; i < scanCount; ++i) {
        DisplayEvent e{};
        e.kind = kDisplayKeyDown;
        e.scanCode = scans[i];
        e.character = characterForScan(scans[i]);
        e.modifiers = mods;
        stage(e);
        e.kind = kDisplayKeyUp;
        e.character = -1;
        stage(e);
      }
    } else if ((w[0] == "click" || w[0] == "doubleclick") && n == 3) {
      int xy[2];
      for (int i = 0; i < 2; ++i) {
        char* end = nullptr;
        const long v = std::strtol(w[1 + i].c_str(), &end, 10);
        if (*end != 0 || v < -100000 || v > 100000) return fail("point \"" + w[1 + i] + "\"");
        xy[i] = static_cast<int>(v);
      }
      DisplayEvent e{};
      e.kind = kDisplayMouseDown;
      e.x = xy[0];
      e.y = xy[1];
      e.button = 1;
      e.doubleClick = w[0] == "doubleclick";
      e.modifiers = kModLeftButton;
      stage(e);
      e.kind = kDisplayMouseUp;
      e.doubleClick = 0;
      e.modifiers = 0;
      stage(e);
    } else if (w[0] == "wheel" && n == 4) {
      int v[3];
      for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        const long x = std::strtol(w[1 + i].c_str(), &end, 10);
        if (*end != 0 || x < -100000 || x > 100000) return fail("number \"" + w[1 + i] + "\"");
        v[i] = static_cast<int>(x);
      }
      DisplayEvent e{};
      e.kind = kDisplayMouseWheel;
      e.wheel = v[0];
      e.x = v[1];
      e.y = v[2];
      stage(e);
    } else if (w[0] == "quit" && n == 1) {
      DisplayEvent e{};
      e.kind = kDisplayQuit;
      stage(e);
    } else {
      return fail("unknown clause \"" + clause + "\"");
    }
  }
  // Held keys change first, then the presses and commands in their order.
  if (keysGiven) {
    for (int s = 0; s < 256; ++s) {
      if (newHeld[s] && !g_h.held[s]) headlessKeyDown(s, 0);
      if (!newHeld[s] && g_h.held[s]) headlessKeyUp(s);
    }
    std::memcpy(g_h.held, newHeld, sizeof newHeld);
  }
  for (int i = 0; i < answers_n; ++i) headlessAnswer(answers[i]);
  for (int i = 0; i < staged_n; ++i) {
    DisplayEvent e = staged[i];
    if (e.kind == kDisplayKeyUp && e.character == -1) {
      if (g_h.held[e.scanCode]) continue;  // a held key stays down
      e.character = 0;
    }
    push(e);
  }
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
