// The main loop: input pump, event queue, key-state table, callbacks, the
// quit question, display-mode switches and the pacing of the passes.
#include "framework/mainloop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/framework.h"
#include "framework/recorder.h"
#include "framework/sound.h"
#include "framework/surface.h"
#include "platform/display.h"

namespace {

constexpr int kQueueSize = 100;        // events waiting beyond this are dropped
constexpr int64_t kWaitSlice = 10000;  // microseconds between two pumps of waitMillis

struct LoopState {
  FrameCallback frame;
  EventCallback keyDown;
  EventCallback mouseDown;
  PollCallback poll;
  ModeSwitchCallback modeSwitch;
  SuspendCallback suspend;
  ActivateCallback activate;
  BetweenCallback between;
  int classic;
  int active;
  int quit;
  int passRate;
  Event queue[kQueueSize];
  int queued;
  // Indexed by scan code: character | scan code << 8 while the key is down.
  uint16_t keys[kKeyTableSize];
  int mouseHeld;           // the game asked to hold the mouse
  int mouseMotion;         // pixels moved right since the game last took them
  const char* recordPath;  // the replay script the session's input goes to; nullptr for none
};
LoopState g_loop = {nullptr, nullptr, nullptr,          nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                    1,       0,       kPassesPerSecond, {},      0,       {},      0,       0,       nullptr};

// The pictures between passes: when the last one began, a decaying peak of
// what one costs (a picture that would run into the next pass is dropped),
// and the count behind picturesPerSecond.
struct Pacing {
  int64_t lastPicture;
  int64_t cost;
  int64_t secondStart;
  int picturesAtSecondStart;
  int perSecond;
};
Pacing g_pace = {};

// QUILL_PICTURE_LOG names a file that gets a line for each pass, each key
// press taken from the queue and each picture shown, with the clock's
// microseconds: what the benchmarks measure.
std::FILE* g_pictureLog = nullptr;
int g_picturesLogged = 0;

void logPictures() {
  if (!g_pictureLog) return;
  const int64_t now = display()->nowMicros();
  for (; g_picturesLogged < picturesPresented(); ++g_picturesLogged)
    std::fprintf(g_pictureLog, "picture %lld\n", static_cast<long long>(now));
}

constexpr int kUnknownRefresh = 60;  // hertz assumed when the screen does not tell

int refreshRate() {
  const DisplayDriver* d = display();
  return d->refreshRate ? d->refreshRate() : -1;
}

void showPassPicture() {
  g_loop.between(-1.0f);
  logPictures();
}

// Between a pass and the next one's time, pictures at the screen's rate, each
// from the time it starts at. The passes never wait for them: a picture that
// would end after `deadline` is not drawn. When none was shown, the pass's
// own picture is.
void drawBetween(int64_t passStart, int64_t deadline, int64_t period) {
  const DisplayDriver* d = display();
  const int hz = refreshRate();
  const int64_t interval = 1000000 / (hz > 0 ? hz : kUnknownRefresh);
  int shown = 0;
  while (!g_loop.quit) {
    const int64_t now = d->nowMicros();
    int64_t at = now;
    if (g_pace.lastPicture + interval > at) at = g_pace.lastPicture + interval;
    if (at + g_pace.cost > deadline) break;
    if (at > now) d->sleepMicros(at - now);
    const int64_t start = d->nowMicros();
    float fraction = static_cast<float>(start - passStart) / static_cast<float>(period);
    fraction = fraction < 0.0f ? 0.0f : (fraction > 1.0f ? 1.0f : fraction);
    if (!g_loop.between(fraction)) break;
    logPictures();
    const int64_t took = d->nowMicros() - start;
    g_pace.cost = took > g_pace.cost ? took : g_pace.cost - (g_pace.cost - took) / 8;
    g_pace.lastPicture = start;
    ++shown;
  }
  if (!shown) showPassPicture();
}

void countPictures(int64_t now) {
  const int64_t span = now - g_pace.secondStart;
  if (span < 1000000 && span >= 0) return;
  const int pictures = picturesPresented();
  if (span >= 1000000)
    g_pace.perSecond = static_cast<int>((pictures - g_pace.picturesAtSecondStart) * 1000000LL / span);
  g_pace.secondStart = now;
  g_pace.picturesAtSecondStart = pictures;
}

int32_t messageTime() { return static_cast<int32_t>(display()->nowMicros() / 1000); }

// The framework's own suspend handler: a full-screen program switched away
// (how 1) stops drawing until it comes back (how 2).
int suspendHandler(int how) {
  if (how != 1 && how != 2) return 1;
  g_loop.active = how == 2 ? 1 : 0;
  pauseSound(how == 1);  // the game stands still, and so does what it plays
  if (g_loop.suspend) return g_loop.suspend(currentSurface(), how);
  return 1;
}

void focusChanged(bool gained) {
  if (!gained) std::memset(g_loop.keys, 0, sizeof g_loop.keys);  // nothing stays held
  if (isFullScreen()) {
    suspendHandler(gained ? 2 : 1);
  } else if (g_loop.activate) {
    g_loop.activate(gained ? 1 : 0);
  }
}

void switchMode(int recreate) {
  ModeInfo* mode = nullptr;
  const int windowed = switchDisplayMode(recreate, &mode);
  if (windowed) {
    g_loop.active = 1;  // a window is never suspended
    pauseSound(0);
  }
  if (g_loop.modeSwitch) g_loop.modeSwitch(mode, windowed);
}

void queueEvent(const Event& e) {
  if (g_loop.queued < kQueueSize) g_loop.queue[g_loop.queued++] = e;
}

// One platform event: key table, queue, and what the window itself handles.
void handleEvent(const DisplayEvent& d) {
  recorderEvent(d);
  Event e{};
  e.when = messageTime();
  const int scan = d.scanCode & 0xFF;
  switch (d.kind) {
    case kDisplayKeyDown: {
      const uint16_t entry = static_cast<uint16_t>((d.character & 0xFF) | (scan << 8));
      g_loop.keys[scan] = entry;
      e.what = d.repeat ? kEventKeyRepeat : kEventKeyDown;
      e.message = entry | (d.repeat ? 1 << 16 : 0);
      e.modifiers = d.modifiers & (kModAlt | kModShift | kModControl);
      queueEvent(e);
      break;
    }
    case kDisplayKeyUp: {
      const uint16_t entry = g_loop.keys[scan];
      g_loop.keys[scan] = 0;
      e.what = kEventKeyUp;
      e.message = entry ? entry : scan << 8;
      e.modifiers = d.modifiers & (kModAlt | kModShift | kModControl);
      queueEvent(e);
      break;
    }
    case kDisplayMouseDown:
    case kDisplayMouseUp:
    case kDisplayMouseMove:
      e.what = d.kind == kDisplayMouseDown ? kEventMouseDown
               : d.kind == kDisplayMouseUp ? kEventMouseUp
                                           : kEventMouseMove;
      e.whereX = d.x;
      e.whereY = d.y;
      e.message = d.kind == kDisplayMouseMove ? 0 : d.button;
      if (d.kind == kDisplayMouseMove) g_loop.mouseMotion += d.dx;
      e.modifiers = d.modifiers | (d.doubleClick ? kModDoubleClick : 0);
      // Moves merge into a move still waiting, so a fast mouse cannot fill the queue.
      if (e.what == kEventMouseMove && g_loop.queued > 0 &&
          g_loop.queue[g_loop.queued - 1].what == kEventMouseMove) {
        Event& last = g_loop.queue[g_loop.queued - 1];
        last.whereX = e.whereX;
        last.whereY = e.whereY;
        last.modifiers = e.modifiers;
        break;
      }
      queueEvent(e);
      break;
    case kDisplayClose:
      // Full screen has no close button to press by accident; a window asks.
      if (!isFullScreen()) {
        // The question needs the pointer; the game gets it back after the answer.
        if (g_loop.mouseHeld) display()->holdMouse(0);
        const int yes = display()->askYesNo("Confirm Exit", "Are you sure you want to quit?");
        if (g_loop.mouseHeld) display()->holdMouse(1);
        if (yes) requestQuit();
      }
      break;
    case kDisplayQuit: requestQuit(); break;
    // Another program destroyed the window: the end, as after the question's Yes.
    case kDisplayWindowGone: requestQuit(); break;
    case kDisplaySwitch:
      if (hasDisplaySurface() && g_loop.modeSwitch) switchMode(0);
      break;
    case kDisplayChanged:
      if (!isSwitchingMode() && !isFullScreen() && hasDisplaySurface() && g_loop.modeSwitch) switchMode(1);
      break;
    case kDisplayFocusLost: focusChanged(false); break;
    case kDisplayFocusGained: focusChanged(true); break;
    default: break;
  }
}

// Pumps every pending platform event, then hands the queued events to their
// callbacks in order. Key repeats, key-ups and the other kinds are dropped.
void pumpAndDispatch() {
  g_loop.queued = 0;
  DisplayEvent d;
  while (display()->pollEvent(&d)) handleEvent(d);
  for (int i = 0; i < g_loop.queued; ++i) {
    g_loop.queue[i].prev = i > 0 ? &g_loop.queue[i - 1] : nullptr;
    g_loop.queue[i].next = i + 1 < g_loop.queued ? &g_loop.queue[i + 1] : nullptr;
  }
  const int count = g_loop.queued;
  for (int i = 0; i < count; ++i) {
    Event* e = &g_loop.queue[i];
    if (e->what == kEventKeyDown && g_pictureLog)
      std::fprintf(g_pictureLog, "key %lld\n", static_cast<long long>(display()->nowMicros()));
    if (e->what == kEventKeyDown && g_loop.keyDown) g_loop.keyDown(e);
    if (e->what == kEventMouseDown && g_loop.mouseDown) g_loop.mouseDown(e);
  }
  g_loop.queued = 0;
}
}  // namespace

void setFrameCallback(FrameCallback cb) { g_loop.frame = cb; }
void setKeyDownCallback(EventCallback cb) { g_loop.keyDown = cb; }
void setMouseDownCallback(EventCallback cb) { g_loop.mouseDown = cb; }
void setPollCallback(PollCallback cb) { g_loop.poll = cb; }
void setModeSwitchCallback(ModeSwitchCallback cb) {
  g_loop.modeSwitch = cb;
  setModeSwitchOffered(cb != nullptr);
}
void setSuspendCallback(SuspendCallback cb) { g_loop.suspend = cb; }
void setActivateCallback(ActivateCallback cb) { g_loop.activate = cb; }
void setBetweenCallback(BetweenCallback cb) { g_loop.between = cb; }
void setClassicPictures(int on) { g_loop.classic = on ? 1 : 0; }
int drawsBetweenPasses() {
  return g_loop.between && !g_loop.classic && g_loop.passRate > 0 && g_loop.active && refreshRate() >= 0 ? 1
                                                                                                         : 0;
}
int picturesPerSecond() { return g_pace.perSecond; }

int isActive() { return g_loop.active; }

int runMainLoop() {
  const DisplayDriver* d = display();
  g_loop.quit = 0;
  const char* recordPath = g_loop.recordPath;
#ifdef QUILL_RECORDER
  if (!recordPath) recordPath = std::getenv("QUILL_RECORD");
#endif
  if (const Surface* s = currentSurface()) recorderOpen(recordPath, getMaxX(s) + 1, getMaxY(s) + 1);
  int64_t deadline = d->nowMicros();
  g_pace = {};
  g_pace.secondStart = deadline;
  g_pace.picturesAtSecondStart = picturesPresented();
  const char* logPath = std::getenv("QUILL_PICTURE_LOG");
  g_pictureLog = logPath && *logPath ? std::fopen(logPath, "w") : nullptr;
  g_picturesLogged = picturesPresented();
  while (!g_loop.quit) {
    if (g_pictureLog) std::fprintf(g_pictureLog, "pass %lld\n", static_cast<long long>(d->nowMicros()));
    d->beginPass();
    pumpAndDispatch();
    recorderEndPass(g_loop.keys);
    if (g_loop.poll) g_loop.poll();
    if (g_loop.active && g_loop.frame) g_loop.frame();
    const int between = drawsBetweenPasses();
    // The pass's picture is shown when no pictures between follow it (the last
    // pass's is the last one shown, as without them).
    if (g_loop.between && (g_loop.quit || !between)) showPassPicture();
    logPictures();
    if (g_loop.quit || g_loop.passRate <= 0) continue;
    // Absolute deadlines keep the rate exact; after a stall of more than a
    // period the loop starts again from now rather than racing to catch up.
    const int64_t period = 1000000 / g_loop.passRate;
    const int64_t passStart = deadline;
    deadline += period;
    int64_t now = d->nowMicros();
    if (now - deadline > period) {
      deadline = now;
      if (between) showPassPicture();
    } else {
      if (between) drawBetween(passStart, deadline, period);
      now = d->nowMicros();
      if (deadline > now) d->sleepMicros(deadline - now);
    }
    countPictures(d->nowMicros());
  }
  if (g_pictureLog) std::fclose(g_pictureLog);
  g_pictureLog = nullptr;
  recorderClose();
  holdMouse(0);  // the desktop gets its pointer back before the window goes
  shutDownFramework();
  closeSound();
  g_loop.active = 1;
  g_loop.queued = 0;
  std::memset(g_loop.keys, 0, sizeof g_loop.keys);
  return 0;
}

void requestQuit() { g_loop.quit = 1; }

void recordInputTo(const char* path) { g_loop.recordPath = path; }

void holdMouse(int on) {
  on = on ? 1 : 0;
  if (on == g_loop.mouseHeld) return;
  g_loop.mouseHeld = on;
  display()->holdMouse(on);
}

int takeMouseMotion() {
  const int moved = g_loop.mouseMotion;
  g_loop.mouseMotion = 0;
  return moved;
}

void switchWindowAndFullScreen() {
  if (hasDisplaySurface() && g_loop.modeSwitch) switchMode(0);
}

int isKeyDown(int scanCode) { return g_loop.keys[scanCode & 0xFF] != 0 ? 1 : 0; }

void setPassRate(int passesPerSecond) { g_loop.passRate = passesPerSecond > 0 ? passesPerSecond : 0; }

void waitMillis(int milliseconds) { waitMillisForKeys(milliseconds, nullptr, 0); }

// The game's input waits, the keys asked for aside; the window still answers
// the platform. Releases and focus changes keep the key table true, the close
// button or a quit ends the wait early (and the program after the pass); a
// mode switch is ignored, since the game is in the middle of a frame.
int waitMillisForKeys(int milliseconds, const int* scanCodes, int count) {
  if (milliseconds <= 0) return 0;
  const DisplayDriver* d = display();
  const int64_t end = d->nowMicros() + static_cast<int64_t>(milliseconds) * 1000;
  for (;;) {
    DisplayEvent e;
    while (d->pollEvent(&e)) {
      switch (e.kind) {
        case kDisplayKeyDown:
          for (int i = 0; i < count && !e.repeat; ++i) {
            if (scanCodes[i] != e.scanCode) continue;
            recorderPauseKey(e.scanCode);
            return e.scanCode;
          }
          break;
        case kDisplayKeyUp: g_loop.keys[e.scanCode & 0xFF] = 0; break;
        case kDisplayFocusLost: focusChanged(false); break;
        case kDisplayFocusGained: focusChanged(true); break;
        case kDisplayClose:
        case kDisplayQuit:
        case kDisplayWindowGone: requestQuit(); return 0;
        default: break;
      }
    }
    const int64_t now = d->nowMicros();
    if (now >= end) return 0;
    d->sleepMicros(end - now < kWaitSlice ? end - now : kWaitSlice);
  }
}

void resetMainLoop() {
  std::memset(&g_loop, 0, sizeof g_loop);
  g_pace = {};
  setModeSwitchOffered(0);
  g_loop.active = 1;
  g_loop.passRate = kPassesPerSecond;
}
