// The running half of the framework: callbacks, the main loop with its input
// pump and key-state table, isKeyDown and requestQuit.
#pragma once
#include <cstdint>

struct Surface;
struct ModeInfo;

// The key-state table has an entry for every scan code, which is one byte.
constexpr int kKeyTableSize = 256;

enum EventType : int32_t {
  kEventKeyDown = 1,
  kEventKeyRepeat = 2,
  kEventKeyUp = 4,
  kEventMouseDown = 8,
  kEventMouseUp = 16,
  kEventMouseMove = 32,
  kEventTimer = 64,
};

struct Event {
  int32_t which;
  int32_t what;
  int32_t when;
  int32_t whereX, whereY;
  int32_t message;    // keys: bits 0-7 character, 8-15 scan code, 16-31 repeat count
  int32_t modifiers;  // 0x01 left, 0x02 right, 0x18 shift, 0x20 control, 0x40 alt, 0x8000 double click
  Event* next;
  Event* prev;
};

using FrameCallback = int (*)();
using EventCallback = void (*)(Event*);
using PollCallback = void (*)();
using ModeSwitchCallback = void (*)(ModeInfo*, int windowed);
using SuspendCallback = int (*)(Surface*, int how);
using ActivateCallback = void (*)(int state);
// A picture drawn only to be shown, between two passes: `fraction` is how far
// the time has come from the last pass (0) to the next (1). Returns 1 when it
// presented a picture, 0 when the last pass left nothing to draw between
// (a page or an ending stands still). A fraction below 0 asks for the last
// pass's own picture, when no picture between was shown after it.
using BetweenCallback = int (*)(float fraction);

void setFrameCallback(FrameCallback cb);
void setKeyDownCallback(EventCallback cb);
void setMouseDownCallback(EventCallback cb);
void setPollCallback(PollCallback cb);
void setModeSwitchCallback(ModeSwitchCallback cb);
void setSuspendCallback(SuspendCallback cb);
void setActivateCallback(ActivateCallback cb);
void setBetweenCallback(BetweenCallback cb);

int runMainLoop();
// The main loop records the input of every pass into `path`, from its start
// to its end, as a replay script for the headless port (framework/recorder.h);
// nullptr records nothing. The path must live until the loop ends.
void recordInputTo(const char* path);
void requestQuit();
// Holds the mouse in the game's window for turning (on) or gives it back
// (off); it is given back around the quit question by itself.
void holdMouse(int on);
// The pixels the mouse moved right (negative: left) since the last call.
int takeMouseMotion();
// What alt+Enter does: a window goes full screen, full screen back to a window.
void switchWindowAndFullScreen();
int isKeyDown(int scanCode);

// Passes per second the loop paces itself to; 0 runs unpaced (tests, soak).
constexpr int kPassesPerSecond = 25;
void setPassRate(int passesPerSecond);
// A blocking wait during which the platform stays responsive (its messages are
// processed, no game input is handled). The endings use it for their 5 s pause.
void waitMillis(int milliseconds);
// waitMillis that a press of one of the `count` keys in `scanCodes` ends
// early: returns that key's scan code, or 0 when the time ran out or the
// window was closed (the quit is then requested).
int waitMillisForKeys(int milliseconds, const int* scanCodes, int count);

// Classic pictures (on): one picture a pass, drawn by the pass, as the game
// always showed them. Off (the default), the loop also draws pictures between
// the passes at the screen's refresh rate, whenever a between callback is set
// and the display shows pictures; the passes keep their pace either way.
void setClassicPictures(int on);
// 1 when this pass is followed by pictures between passes: the pass then
// leaves its picture for them (they show it) instead of presenting it.
int drawsBetweenPasses();
// Pictures presented in the last whole second, passes and between alike.
int picturesPerSecond();

// ---- For the framework and tests; the game does not call these. ----

// 1 while the frame callback is called each pass (0 while a full-screen
// program is switched away).
int isActive();
// Tests only: empty callback slots, queue and key table; active 1, quit 0,
// pass rate kPassesPerSecond.
void resetMainLoop();
