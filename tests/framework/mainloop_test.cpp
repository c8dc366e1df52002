// The main loop over the headless display: callback order, key table, event
// queue, activity, quit question, mode switches, pacing and waits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "platform/headless.h"
#include "support/headlessfixture.h"

namespace {

// What the callbacks saw, in order.
std::vector<std::string> g_log;
std::vector<Event> g_keyEvents;
std::vector<Event> g_mouseEvents;
std::vector<int64_t> g_frameTimes;
std::vector<int> g_switches;  // windowed flags given to the mode-switch callback
std::vector<int> g_suspends;
std::vector<int> g_activates;
int g_passes = 0;
int g_quitAfter = 0;  // the frame callback quits on this pass
int g_heldInPoll = 0;
int64_t g_stallOnPass = -1;

void onKey(Event* e) {
  g_log.push_back("key");
  g_keyEvents.push_back(*e);
  if ((e->message & 0xFF) == 27) requestQuit();
}
void onMouse(Event* e) {
  g_log.push_back("mouse");
  g_mouseEvents.push_back(*e);
}
void onPoll() {
  g_log.push_back("poll");
  g_heldInPoll = isKeyDown(0x48);
}
int onFrame() {
  g_log.push_back("frame");
  g_frameTimes.push_back(headlessNow());
  ++g_passes;
  if (g_passes == g_stallOnPass) headlessAdvance(200000);
  if (g_quitAfter && g_passes >= g_quitAfter) requestQuit();
  swapBuffers(2);
  return 0;
}
// Pictures between passes, each taking this long on the virtual clock.
int64_t g_betweenCost = 0;
std::vector<float> g_fractions;
int onBetween(float fraction) {
  if (fraction < 0) return 1;
  g_fractions.push_back(fraction);
  headlessAdvance(g_betweenCost);
  return 1;
}

int onFrameOther() {
  g_log.push_back("other");
  requestQuit();
  return 0;
}
void onSwitch(ModeInfo* m, int windowed) {
  ASSERT_NE(m, nullptr);
  g_switches.push_back(windowed);
}
int onSuspend(Surface*, int how) {
  g_suspends.push_back(how);
  return 1;
}
void onActivate(int state) { g_activates.push_back(state); }

class MainLoopTest : public HeadlessFramework {
 protected:
  void SetUp() override {
    HeadlessFramework::SetUp();
    g_log.clear();
    g_keyEvents.clear();
    g_mouseEvents.clear();
    g_frameTimes.clear();
    g_switches.clear();
    g_suspends.clear();
    g_activates.clear();
    g_passes = 0;
    g_quitAfter = 0;
    g_heldInPoll = 0;
    g_stallOnPass = -1;
    setFrameCallback(onFrame);
    setPollCallback(onPoll);
    setKeyDownCallback(onKey);
    setMouseDownCallback(onMouse);
    setSuspendCallback(onSuspend);
    setActivateCallback(onActivate);
  }
  // Framework up with the default headless modes, windowed or full screen at 640x480x15.
  void startMode(int windowed) {
    setDriverOptions(kGameOptions);
    slot = initFramework("Quillmoor!!!");
    ASSERT_NE(slot, nullptr);
    const ModeInfo* m = nullptr;
    for (int i = 0; i < modeCount(); ++i)
      if (modeAt(i).xRes == 640 && modeAt(i).bitsPerPixel == 15) m = &modeAt(i);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(setMode(m, windowed, 2, 1), 1);
  }
  // Passes of the log, split at each "frame" or "poll" that ends one.
  static int count(const std::string& what) {
    int n = 0;
    for (const std::string& s : g_log) n += s == what;
    return n;
  }
  Surface** slot = nullptr;
};

TEST_F(MainLoopTest, EachPassRunsEventsThenPollThenFrame) {
  startMode(1);
  headlessKeyDown(0x1E, 'a');
  headlessMouse(kDisplayMouseDown, 5, 6, 4, 1);
  headlessKeyUp(0x1E);
  headlessKeyDown(0x30, 'b');
  g_quitAfter = 2;
  EXPECT_EQ(runMainLoop(), 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"key", "mouse", "key", "poll", "frame", "poll", "frame"}));
  ASSERT_EQ(g_keyEvents.size(), 2u);
  EXPECT_EQ(g_keyEvents[0].what, kEventKeyDown);
  EXPECT_EQ(g_keyEvents[0].message, 'a' | 0x1E << 8);
  ASSERT_EQ(g_mouseEvents.size(), 1u);
  EXPECT_EQ(g_mouseEvents[0].message, 4);
  EXPECT_EQ(g_mouseEvents[0].whereX, 5);
  EXPECT_EQ(g_mouseEvents[0].modifiers & kModDoubleClick, kModDoubleClick);
  // The loop shut the display down and left the framework as it started.
  EXPECT_EQ(*slot, nullptr);
  EXPECT_FALSE(headlessWindow().exists);
}

TEST_F(MainLoopTest, QuitInsideAPassLetsThePassFinish) {
  startMode(1);
  headlessKeyDown(0x01, 27);
  runMainLoop();
  EXPECT_EQ(g_log, (std::vector<std::string>{"key", "poll", "frame"}));

  // A later registration replaces the earlier one.
  g_log.clear();
  startMode(1);
  setFrameCallback(onFrameOther);
  runMainLoop();
  EXPECT_EQ(g_log, (std::vector<std::string>{"poll", "other"}));
}

TEST_F(MainLoopTest, HeldKeyGivesOneKeyDownAndStaysDownUntilReleased) {
  startMode(1);
  setPassRate(0);
  headlessKeyDown(0x48, '8');
  headlessKeyRepeat(0x48, '8');
  headlessKeyRepeat(0x48, '8');
  g_quitAfter = 1;
  runMainLoop();
  EXPECT_EQ(g_keyEvents.size(), 1u);
  EXPECT_EQ(g_heldInPoll, 1);

  // The state survives passes without events and ends with the key-up.
  startMode(1);
  g_passes = 0;
  g_quitAfter = 3;
  headlessKeyDown(0x48, 0);
  runMainLoop();
  EXPECT_EQ(g_heldInPoll, 1);
  startMode(1);
  g_passes = 0;
  headlessKeyDown(0x48, 0);
  headlessKeyUp(0x48);
  runMainLoop();
  EXPECT_EQ(g_heldInPoll, 0);
  EXPECT_EQ(isKeyDown(0x48), 0);
}

TEST_F(MainLoopTest, KeyTableIgnoresHighBitsAndFocusLossReleasesEverything) {
  startMode(1);
  setPollCallback(nullptr);
  headlessKeyDown(0x4B, 0);
  headlessKeyDown(0x50, 0);
  g_quitAfter = 1;
  setFrameCallback([]() -> int {
    static int frames = 0;
    if (++frames > 1) return 0;
    EXPECT_EQ(isKeyDown(0x4B), 1);
    EXPECT_EQ(isKeyDown(0x14B), 1) << "only the low 8 bits index the table";
    EXPECT_EQ(isKeyDown(0x50), 1);
    EXPECT_EQ(isKeyDown(0x48), 0);
    headlessPost(kDisplayFocusLost);
    return 0;
  });
  // Two passes: the focus loss queued in the first is seen by the second.
  setPollCallback([] {
    static int pass = 0;
    if (++pass == 2) {
      EXPECT_EQ(isKeyDown(0x4B), 0);
      EXPECT_EQ(isKeyDown(0x50), 0);
      requestQuit();
    }
  });
  runMainLoop();
  EXPECT_EQ(g_activates, (std::vector<int>{0}));
}

TEST_F(MainLoopTest, The101stWaitingEventIsDropped) {
  startMode(1);
  for (int i = 0; i < 101; ++i) headlessKeyDown(i % 200 + 1, 'x');
  g_quitAfter = 1;
  runMainLoop();
  EXPECT_EQ(g_keyEvents.size(), 100u);
  EXPECT_EQ((g_keyEvents.back().message >> 8) & 0xFF, 100);
}

TEST_F(MainLoopTest, MouseMovesMergeWhileWaiting) {
  startMode(1);
  headlessMouse(kDisplayMouseMove, 1, 1);
  headlessMouse(kDisplayMouseMove, 2, 2);
  headlessMouse(kDisplayMouseMove, 3, 4);
  headlessMouse(kDisplayMouseDown, 3, 4, 1);
  g_quitAfter = 1;
  runMainLoop();
  ASSERT_EQ(g_mouseEvents.size(), 1u);
  EXPECT_EQ(g_mouseEvents[0].message, 1);
}

TEST_F(MainLoopTest, FullScreenFocusLossSkipsOnlyTheFrameCallback) {
  startMode(0);
  setPassRate(0);
  headlessPost(kDisplayFocusLost);
  setPollCallback([] {
    static int pass = 0;
    ++pass;
    g_log.push_back("poll");
    if (pass == 3) headlessPost(kDisplayFocusGained);
    if (pass == 5) requestQuit();
  });
  runMainLoop();
  // Passes 1-3 inactive; the focus comes back at the start of pass 4.
  EXPECT_EQ(count("poll"), 5);
  EXPECT_EQ(count("frame"), 2);
  EXPECT_EQ(g_suspends, (std::vector<int>{1, 2}));
  EXPECT_TRUE(g_activates.empty());
}

TEST_F(MainLoopTest, CloseAsksInAWindowOnly) {
  startMode(1);
  headlessPost(kDisplayClose);  // answered No
  g_quitAfter = 2;
  runMainLoop();
  EXPECT_EQ(g_passes, 2);
  EXPECT_EQ(headlessQuestionsAsked(), 1);
  EXPECT_STREQ(headlessLastQuestion(), "Confirm Exit: Are you sure you want to quit?");

  startMode(1);
  g_passes = 0;
  g_quitAfter = 0;
  g_log.clear();
  headlessAnswer(1);
  headlessPost(kDisplayClose);
  runMainLoop();
  EXPECT_EQ(g_log, (std::vector<std::string>{"poll", "frame"})) << "Yes ends the loop after the pass";

  startMode(0);
  g_passes = 0;
  g_quitAfter = 2;
  headlessPost(kDisplayClose);
  runMainLoop();
  EXPECT_EQ(headlessQuestionsAsked(), 2) << "full screen: no question";
  EXPECT_EQ(g_passes, 2);
}

TEST_F(MainLoopTest, SwitchTogglesAndTellsTheGame) {
  startMode(0);
  setPassRate(0);
  headlessPost(kDisplaySwitch);
  g_quitAfter = 1;
  runMainLoop();
  EXPECT_TRUE(g_switches.empty()) << "no mode-switch callback, no switch";

  setModeSwitchCallback(onSwitch);
  startMode(0);
  g_passes = 0;
  EXPECT_EQ(headlessWindow().maximizeBox, 1);
  setFrameCallback([]() -> int {
    ++g_passes;
    if (g_passes == 1) {
      EXPECT_EQ(isFullScreen(), 1);
      headlessPost(kDisplaySwitch);
    } else if (g_passes == 2) {
      EXPECT_EQ(isFullScreen(), 0);
      EXPECT_NE(currentSurface(), nullptr);
      headlessPost(kDisplaySwitch);
    } else {
      EXPECT_EQ(isFullScreen(), 1);
      requestQuit();
    }
    return 0;
  });
  runMainLoop();
  EXPECT_EQ(g_switches, (std::vector<int>{1, 0}));
}

TEST_F(MainLoopTest, FailedSwitchReturnsToTheModeThatWorked) {
  setModeSwitchCallback(onSwitch);
  startMode(1);
  headlessFailFullScreen(1);
  headlessPost(kDisplaySwitch);
  g_quitAfter = 1;
  setPollCallback([] {
    EXPECT_EQ(isFullScreen(), 0);
    EXPECT_NE(currentSurface(), nullptr);
    EXPECT_EQ(hasDisplaySurface(), 1);
  });
  runMainLoop();
  EXPECT_EQ(g_switches, (std::vector<int>{1}));
}

// A window far larger than any back buffer may be fits this desktop only
// shrunk; once the desktop grows, neither the new mode nor the old one can
// be made again.
void switchWithNoWayBack() {
  setModeSwitchCallback(onSwitch);
  if (!initFramework("Quillmoor!!!")) std::exit(2);
  ModeInfo huge = {-1, 20000, 20000, 15, 1, 0, "windowed", 0, 0};
  if (setMode(&huge, 1, 2, 1) != 1) std::exit(3);
  headlessSetDesktop(40000, 40000, 32);
  headlessPost(kDisplayChanged);
  runMainLoop();
  std::exit(0);
}

TEST_F(MainLoopTest, FailedSwitchWithNoWayBackIsFatal) {
  EXPECT_EXIT(switchWithNoWayBack(), ::testing::ExitedWithCode(1),
              "Tesk Fatal Error!: Not enough memory to perform operation");
}

TEST_F(MainLoopTest, PacingKeepsTheRateOnAbsoluteDeadlines) {
  startMode(1);
  g_quitAfter = 60;
  g_stallOnPass = 30;
  runMainLoop();
  ASSERT_EQ(g_frameTimes.size(), 60u);
  const int64_t period = 1000000 / kPassesPerSecond;
  for (size_t i = 1; i < g_frameTimes.size(); ++i) {
    const int64_t gap = g_frameTimes[i] - g_frameTimes[i - 1];
    if (i == 30) {
      EXPECT_EQ(gap, 200000) << "after the stall the next pass starts at once";
    } else {
      EXPECT_EQ(gap, period) << "pass " << i << ": no burst after the stall";
    }
  }

  // Unpaced, the loop never sleeps.
  startMode(1);
  setPassRate(0);
  g_frameTimes.clear();
  g_passes = 0;
  g_stallOnPass = -1;
  g_quitAfter = 10;
  const int64_t before = headlessNow();
  runMainLoop();
  EXPECT_EQ(headlessNow(), before);
}

TEST_F(MainLoopTest, PicturesBetweenPassesComeAtTheScreensRateAndAreDroppedBeforeAPassWaits) {
  headlessSetRefreshRate(60);
  setBetweenCallback(onBetween);
  const int64_t period = 1000000 / kPassesPerSecond;
  for (const int64_t cost : {0, 30000, 50000}) {
    startMode(1);
    g_frameTimes.clear();
    g_fractions.clear();
    g_passes = 0;
    g_quitAfter = 50;
    g_betweenCost = cost;
    runMainLoop();
    ASSERT_EQ(g_frameTimes.size(), 50u);
    // Only the first picture, of unknown cost, may hold a pass up (the next
    // one then starts on the old beat again).
    for (size_t i = 3; i < g_frameTimes.size(); ++i)
      EXPECT_EQ(g_frameTimes[i] - g_frameTimes[i - 1], period) << "pass " << i << ", pictures of " << cost;
    for (const float f : g_fractions) EXPECT_TRUE(f >= 0 && f <= 1) << f;
    const size_t expected = cost == 0 ? 49 * 60 / 25 : (cost == 30000 ? 49 : 1);
    EXPECT_NEAR(static_cast<double>(g_fractions.size()), static_cast<double>(expected), 2.0) << cost;
  }
  // Classic pictures: none between.
  startMode(1);
  g_fractions.clear();
  g_passes = 0;
  g_quitAfter = 10;
  setClassicPictures(1);
  runMainLoop();
  EXPECT_TRUE(g_fractions.empty());
}

TEST_F(MainLoopTest, WaitMillisKeepsTheKeyTableTrueAndIgnoresInput) {
  startMode(1);
  const int64_t t0 = headlessNow();
  waitMillis(5000);
  EXPECT_EQ(headlessNow() - t0, 5000000);

  // A key released during the wait is up afterwards; presses and switches are dropped.
  setModeSwitchCallback(onSwitch);
  g_quitAfter = 1;
  headlessKeyDown(0x48, 0);
  setPollCallback([] {
    static int pass = 0;
    if (++pass == 1) {
      EXPECT_EQ(isKeyDown(0x48), 1);
      headlessKeyUp(0x48);
      headlessKeyDown(0x02, '1');
      headlessPost(kDisplaySwitch);
      waitMillis(100);
      EXPECT_EQ(isKeyDown(0x48), 0);
    }
  });
  runMainLoop();
  EXPECT_EQ(g_keyEvents.size(), 1u);
  EXPECT_TRUE(g_switches.empty());

  // Closing the window ends the wait early and the loop after the pass.
  startMode(1);
  setPollCallback(nullptr);
  setFrameCallback([]() -> int {
    ++g_passes;
    const int64_t t = headlessNow();
    headlessPost(kDisplayClose);
    waitMillis(5000);
    EXPECT_LT(headlessNow() - t, 5000000);
    return 0;
  });
  g_passes = 0;
  runMainLoop();
  EXPECT_EQ(g_passes, 1);
}

}  // namespace
