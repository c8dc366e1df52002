// The mode list, setMode (windowed and full screen), the back buffer and
// swapBuffers, run over the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "framework/surface.h"
#include "platform/headless.h"
#include "support/headlessfixture.h"

namespace {

class ModesTest : public HeadlessFramework {
 protected:
  // Starts the framework over the given modes with the given filter word.
  Surface** start(std::vector<HeadlessMode> modes, int filter = 2) {
    if (!modes.empty()) headlessSetModes(modes.data(), static_cast<int>(modes.size()));
    DriverOptions o = kGameOptions;
    o.words[kOptModeFilter] = filter;
    setDriverOptions(o);
    return initFramework("Quillmoor!!!");
  }
  // "WxH/bpp/stretch" for every entry, in list order.
  static std::vector<std::string> listing() {
    std::vector<std::string> out;
    for (int i = 0; i < modeCount(); ++i) {
      const ModeInfo& m = modeAt(i);
      out.push_back(std::to_string(m.xRes) + "x" + std::to_string(m.yRes) + "/" +
                    std::to_string(m.bitsPerPixel) + "/" + std::to_string(m.fullScreenStretch));
    }
    return out;
  }
  static const ModeInfo* find(int w, int h, int bpp) {
    for (int i = 0; i < modeCount(); ++i) {
      const ModeInfo& m = modeAt(i);
      if (m.xRes == w && m.yRes == h && m.bitsPerPixel == bpp) return &m;
    }
    return nullptr;
  }
};

TEST_F(ModesTest, DefaultListWithTheGameFilterAddsTwoByTwoFallbacks) {
  ASSERT_NE(start({}), nullptr);
  const std::vector<std::string> want = {"320x240/15/2",  "400x300/15/2", "640x480/15/0", "800x600/15/0",
                                         "1024x768/15/0", "320x240/16/2", "400x300/16/2", "640x480/16/0",
                                         "800x600/16/0",  "1024x768/16/0"};
  EXPECT_EQ(listing(), want);
  EXPECT_EQ(fullScreenModeCount(), 10);
  // 320x240 is shown by the 640x480 mode of its depth; 512x384 gets no
  // fallback because 1024x768 is beyond the 800x600 limit.
  EXPECT_EQ(find(320, 240, 15)->modeId, find(640, 480, 15)->modeId);
  EXPECT_EQ(find(512, 384, 15), nullptr);
  EXPECT_STREQ(find(640, 480, 16)->driverName, "DirectDraw");
  EXPECT_EQ(find(640, 480, 16)->pages, 2);
}

TEST_F(ModesTest, OneByTwoFallbackAndThreeDAccelerationEndingTheSearch) {
  ASSERT_NE(start({headlessMode(320, 400, 15), headlessMode(320, 480, 15, kMode3DAccel),
                   headlessMode(640, 480, 15)}),
            nullptr);
  // 320x200 doubles its rows on 320x400; 320x240 finds the 3D-accelerated
  // 320x480 first, which ends the 1x2 search, and falls to 2x2 on 640x480.
  EXPECT_EQ(find(320, 200, 15)->fullScreenStretch, 1);
  EXPECT_EQ(find(320, 240, 15)->fullScreenStretch, 2);
  EXPECT_EQ(find(320, 400, 15)->fullScreenStretch, 0);
  EXPECT_EQ(find(320, 480, 15)->fullScreenStretch, 0);
  EXPECT_EQ(find(320, 480, 15)->modeFlags, kMode3DAccel);
}

TEST_F(ModesTest, VgaRuleFor320x200AtEightBits) {
  ASSERT_NE(start({headlessMode(320, 200, 8, 0, kOptDirectDraw, "Test", kModeVga320),
                   headlessMode(320, 400, 8, 0, kOptDirectDraw, "Test", kModeModeX)},
                  kFilter8),
            nullptr);
  const ModeInfo* m = find(320, 200, 8);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->fullScreenStretch, 0);
  EXPECT_EQ(m->modeId, 0);
  // ModeX modes are no candidates themselves but may show one stretched.
  EXPECT_EQ(find(320, 400, 8), nullptr);
  EXPECT_EQ(modeCount(), 1);

  ASSERT_NE(start({headlessMode(320, 400, 8, 0, kOptDirectDraw, "Test", kModeModeX)}, kFilter8), nullptr);
  ASSERT_NE(find(320, 200, 8), nullptr);
  EXPECT_EQ(find(320, 200, 8)->fullScreenStretch, 1);
}

TEST_F(ModesTest, NoModeOfTheWantedDepthRetriesWithAllDepths) {
  ASSERT_NE(start({headlessMode(640, 480, 32), headlessMode(800, 600, 24)}), nullptr);
  EXPECT_EQ(listing(),
            (std::vector<std::string>{"400x300/24/2", "800x600/24/0", "320x240/32/2", "640x480/32/0"}));
  EXPECT_EQ(driverOptions().words[kOptModeFilter], 2) << "the filter is restored after the retry";
}

TEST_F(ModesTest, FilterFlagsAndDriverWords) {
  ASSERT_NE(start({headlessMode(640, 480, 15, kMode2DAccel), headlessMode(800, 600, 15),
                   headlessMode(1024, 768, 16, 0, kOptFullscreenDib)},
                  kFilter15_16 | kFilterOnly2D),
            nullptr);
  EXPECT_EQ(listing(), (std::vector<std::string>{"640x480/15/0"}));

  // Clearing word 7 drops the mode of that back end at the next enumeration.
  DriverOptions o = kGameOptions;
  setDriverOptions(o);
  EXPECT_NE(find(1024, 768, 16), nullptr);
  o.words[kOptFullscreenDib] = 0;
  setDriverOptions(o);
  EXPECT_EQ(find(1024, 768, 16), nullptr);
  EXPECT_NE(find(800, 600, 15), nullptr);
  // Every back end off: nothing at any depth.
  for (int w = 0; w < 8; ++w) o.words[w] = 0;
  setDriverOptions(o);
  EXPECT_EQ(modeCount(), 0);
}

TEST_F(ModesTest, WindowedOnlyEntriesUnderFlag40) {
  headlessSetDesktop(1024, 768, 32);
  ASSERT_NE(start({headlessMode(640, 480, 15)}, kFilter15_16 | kFilterWindowed), nullptr);
  const ModeInfo* w = find(320, 200, 32);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->modeId, -1);
  EXPECT_EQ(w->pages, 1);
  EXPECT_STREQ(w->driverName, "windowed");
  EXPECT_EQ(find(1024, 768, 32), nullptr) << "as large as the screen: no window";
  EXPECT_EQ(fullScreenModeCount(), 2);  // 640x480 and 320x240 shown on it at 2x2
}

TEST_F(ModesTest, WideModesOnlyWhereTheDisplayHasThem) {
  ASSERT_NE(start({headlessMode(1920, 1080, 15), headlessMode(1280, 1024, 15)}), nullptr);
  EXPECT_NE(find(1920, 1080, 15), nullptr);
  EXPECT_EQ(find(1920, 1200, 15), nullptr);
  EXPECT_EQ(find(1280, 800, 15), nullptr);
}

TEST_F(ModesTest, WindowStretchDefaults) {
  std::vector<HeadlessMode> all;
  for (const Resolution& r : kCandidateResolutions) all.push_back(headlessMode(r.width, r.height, 15));
  ASSERT_NE(start(all), nullptr);
  ASSERT_EQ(modeCount(), kResolutionCount);
  for (int i = 0; i < modeCount(); ++i) {
    const ModeInfo& m = modeAt(i);
    const bool small = m.xRes < 512 && m.yRes < 384;
    const bool tall320 = m.xRes == 320 && (m.yRes == 400 || m.yRes == 480);
    EXPECT_EQ(m.windowStretch, small || tall320 ? 2 : 0) << m.xRes << "x" << m.yRes;
  }
  EXPECT_EQ(find(512, 384, 15)->windowStretch, 0);
  EXPECT_EQ(find(400, 300, 15)->windowStretch, 2);
}

TEST_F(ModesTest, WindowedSizesFollowTheCorrections) {
  Surface** slot = start({});
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(*slot, nullptr);

  ModeInfo m = {-1, 640, 400, 15, 1, 0, "windowed", 0, 0};
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  ASSERT_NE(*slot, nullptr);
  EXPECT_EQ(*slot, currentSurface());
  EXPECT_EQ((*slot)->width, 640);
  EXPECT_EQ((*slot)->height, 480);
  const HeadlessWindow& w = headlessWindow();
  EXPECT_EQ(w.clientWidth, 640);
  EXPECT_EQ(w.clientHeight, 480);
  EXPECT_TRUE(w.shown);
  // Centred on 1280x1024 with the 8x30 frame.
  EXPECT_EQ(w.x, (1280 - 648) / 2);
  EXPECT_EQ(w.y, (1024 - 510) / 2);

  m = {-1, 320, 200, 15, 1, 0, "windowed", 0, 0};
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(displayState().surfaceWidth, 320);
  EXPECT_EQ(displayState().surfaceHeight, 240);
  m.windowStretch = 2;
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(displayState().surfaceHeight, 240);
  EXPECT_EQ(w.clientWidth, 640);
  EXPECT_EQ(w.clientHeight, 480);
  EXPECT_EQ(w.created, 1) << "the window is made once and kept";
  EXPECT_EQ(w.x, (1280 - 648) / 2) << "later modes keep the remembered position";
}

TEST_F(ModesTest, WindowedSizeAsLargeAsTheScreenOrTooLargeToDouble) {
  headlessSetDesktop(1024, 768, 16);
  ASSERT_NE(start({}), nullptr);
  ModeInfo m = {-1, 1024, 768, 15, 1, 0, "windowed", 0, 0};
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(displayState().surfaceWidth, 1024 - 8);
  EXPECT_EQ(displayState().surfaceHeight, 768 - 30);

  // A window manager that frames the window only once it is shown: the fit
  // and the centring follow the frame it reports then, so the whole window,
  // frame included, lies on the screen.
  headlessSetFrame(2, 25, 1);
  ASSERT_NE(start({}), nullptr);
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  const HeadlessWindow& w = headlessWindow();
  EXPECT_EQ(displayState().surfaceWidth, 1024 - 2);
  EXPECT_EQ(displayState().surfaceHeight, 768 - 25);
  EXPECT_EQ(w.clientWidth, 1022);
  EXPECT_EQ(w.clientHeight, 743);
  EXPECT_EQ(w.x, 0);
  EXPECT_EQ(w.y, 0);
  m = {-1, 640, 480, 15, 1, 0, "windowed", 0, 0};
  ASSERT_NE(start({}), nullptr);
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(w.x, (1024 - 642) / 2);
  EXPECT_EQ(w.y, (768 - 505) / 2);

  // A 40-pixel panel along the top: windows fit and centre below it.
  headlessSetWorkArea(0, 40, 1024, 728);
  ASSERT_NE(start({}), nullptr);
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(w.y, 40 + (728 - 505) / 2);
  m = {-1, 1024, 768, 15, 1, 0, "windowed", 0, 0};
  ASSERT_NE(start({}), nullptr);
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(w.clientHeight, 728 - 25);
  EXPECT_EQ(w.y, 40);
  headlessSetWorkArea(0, 0, 0, 0);

  headlessSetFrame(8, 30);
  headlessSetDesktop(600, 500, 16);
  ASSERT_NE(start({}), nullptr);
  m = {-1, 320, 240, 15, 1, 0, "windowed", 0, 2};
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(displayState().stretch, 0);
  EXPECT_EQ(displayState().targetWidth, 320);
  EXPECT_EQ(displayState().targetHeight, 240);
}

TEST_F(ModesTest, BadRequestsFailWithACodeAndKeepTheModeSet) {
  ASSERT_NE(start({}), nullptr);
  ModeInfo ok = {-1, 640, 480, 15, 1, 0, "windowed", 0, 0};
  ASSERT_EQ(setMode(&ok, 1, 2, 1), 1);
  Surface* before = currentSurface();

  ModeInfo bad = ok;
  bad.windowStretch = 3;
  EXPECT_EQ(setMode(&bad, 1, 2, 1), 0);
  EXPECT_EQ(getError(), kErrInvalidMode);
  EXPECT_EQ(setMode(&ok, 0, 2, 1), 0) << "a windowed-only entry has no full-screen mode";
  EXPECT_EQ(getError(), kErrInvalidMode);
  EXPECT_EQ(currentSurface(), before);
  EXPECT_EQ(hasDisplaySurface(), 1);
}

TEST_F(ModesTest, FullScreenStretchesAndPages) {
  Surface** slot = start({headlessMode(640, 480, 16), headlessMode(320, 480, 16)});
  ASSERT_NE(slot, nullptr);

  ASSERT_EQ(setMode(find(640, 480, 16), 0, 2, 1), 1);
  DisplayState d = displayState();
  EXPECT_EQ(d.fullScreen, 1);
  EXPECT_EQ(d.pages, 2);
  EXPECT_EQ(d.activePage, 1);
  EXPECT_EQ(d.visualPage, 0);
  EXPECT_EQ((*slot)->width, 640);
  // The back buffer stays x1R5G5B5 on a 16-bit mode; the display converts.
  EXPECT_EQ((*slot)->bitsPerPixel, 15);
  EXPECT_EQ(std::memcmp(&(*slot)->format, &kPixelFormat555, sizeof(PixelFormat)), 0);
  EXPECT_EQ(headlessWindow().fullScreen, 1);

  setColor(0x7C00);
  putPixel(3, 2);
  EXPECT_EQ(swapBuffers(2), 1);
  d = displayState();
  EXPECT_EQ(d.visualPage, 1);
  EXPECT_EQ(d.activePage, 0);
  swapBuffers(2);
  EXPECT_EQ(displayState().visualPage, 0);
  EXPECT_EQ(headlessPresentCount(), 2);
  int fw = 0, fh = 0;
  const uint16_t* frame = headlessLastFrame(&fw, &fh);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(fw, 640);
  EXPECT_EQ(frame[2 * 640 + 3], 0x7C00);

  // 1x2: rows doubled on 320x480; 2x2: both halved on 640x480.
  ASSERT_EQ(setMode(find(320, 240, 16), 0, 2, 1), 1);
  d = displayState();
  EXPECT_EQ(d.stretch, 1);
  EXPECT_EQ(d.surfaceWidth, 320);
  EXPECT_EQ(d.surfaceHeight, 240);
  EXPECT_EQ(d.targetHeight, 480);
  ASSERT_EQ(setMode(find(320, 240, 16), 0, 1, 1), 1);
  EXPECT_EQ(displayState().pages, 1) << "no more pages than asked for";

  ASSERT_NE(start({headlessMode(640, 480, 16)}), nullptr);
  ASSERT_EQ(setMode(find(320, 240, 16), 0, 2, 1), 1);
  d = displayState();
  EXPECT_EQ(d.stretch, 2);
  EXPECT_EQ(d.surfaceWidth, 320);
  EXPECT_EQ(d.surfaceHeight, 240);
  swapBuffers(2);
  int tw = 0, th = 0;
  headlessLastTarget(&tw, &th);
  EXPECT_EQ(tw, 640);
  EXPECT_EQ(th, 480);
}

TEST_F(ModesTest, FullScreenFailureAndShutDown) {
  Surface** slot = start({});
  ASSERT_NE(slot, nullptr);
  headlessFailFullScreen(1);
  EXPECT_EQ(setMode(find(640, 480, 15), 0, 2, 1), 0);
  EXPECT_EQ(getError(), kErrModeNotSupported);
  EXPECT_EQ(*slot, nullptr);
  EXPECT_EQ(swapBuffers(2), 0) << "nothing to show";

  ASSERT_EQ(setMode(find(640, 480, 15), 0, 2, 1), 1);
  shutDownFramework();
  EXPECT_EQ(*slot, nullptr);
  EXPECT_EQ(currentSurface(), nullptr);
  EXPECT_EQ(hasDisplaySurface(), 0);
  EXPECT_FALSE(headlessWindow().exists);
  EXPECT_EQ(displayState().windowX, -1);
}

TEST_F(ModesTest, InitFrameworkWithoutADisplayAndLongTitles) {
  headlessFailOpen(1);
  EXPECT_EQ(initFramework("x"), nullptr);
  EXPECT_EQ(getError(), kErrNoHardware);
  headlessFailOpen(0);

  const std::string title(120, 'q');
  ASSERT_NE(initFramework(title.c_str()), nullptr);
  ModeInfo m = {-1, 640, 480, 15, 1, 0, "windowed", 0, 0};
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  EXPECT_EQ(std::strlen(headlessWindow().title), 79u);
}

}  // namespace
