// The display layer's pure parts (colour conversion, letterboxing, key
// translation) and the headless port's input script.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "framework/mainloop.h"
#include "platform/headless.h"
#include "platform/keymap.h"
#include "platform/pixelconvert.h"
#include "platform/softgl.h"
#include "support/headlessfixture.h"
#include "support/testdata.h"

namespace {

TEST(ColourConversion, LookupWidensEachFieldAndIgnoresBit15) {
  std::vector<uint32_t> lut(kColourLutSize);
  buildColourLut(lut.data());
  EXPECT_EQ(lut[0], 0xFF000000u);
  EXPECT_EQ(lut[0x7FFF], 0xFFFFFFFFu);
  EXPECT_EQ(lut[0x7C00], 0xFFFF0000u);
  EXPECT_EQ(lut[0x03E0], 0xFF00FF00u);
  EXPECT_EQ(lut[0x001F], 0xFF0000FFu);
  EXPECT_EQ(lut[0x01E0], 0xFF007B00u);  // green 15 -> 0x7B
  EXPECT_EQ(lut[0x0421], 0xFF080808u);  // 1 in each field -> 8

  // Padded rows on both sides: only the pixels are read and written.
  const int w = 3, h = 2, srcPitch = 10, dstPitch = 20;
  std::vector<uint16_t> src(srcPitch / 2 * h, 0x1234);
  const uint16_t px[2][3] = {{0x7FFF, 0x8000, 0x7C00}, {0x001F, 0xFFFF, 0}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) src[y * srcPitch / 2 + x] = px[y][x];
  std::vector<uint32_t> dst(dstPitch / 4 * h, 0xDEADBEEF);
  convertThroughLut(reinterpret_cast<const uint8_t*>(src.data()), srcPitch, w, h,
                    reinterpret_cast<uint8_t*>(dst.data()), dstPitch, lut.data());
  EXPECT_EQ(dst[0], 0xFFFFFFFFu);
  EXPECT_EQ(dst[1], 0xFF000000u) << "bit 15 alone is black";
  EXPECT_EQ(dst[2], 0xFFFF0000u);
  EXPECT_EQ(dst[3], 0xDEADBEEFu);
  EXPECT_EQ(dst[4], 0xDEADBEEFu);
  EXPECT_EQ(dst[5], 0xFF0000FFu);
  EXPECT_EQ(dst[6], 0xFFFFFFFFu);
  EXPECT_EQ(dst[7], 0xFF000000u);
  EXPECT_EQ(dst[8], 0xDEADBEEFu);
}

// The computed conversions (sixteen or eight pixels at a time as AVX2, AVX or SSE2 code, and
// the scalar loop other processors and the ends of rows take) give the
// table's colour for every pixel value, bit 15 set or not, and keep to the pixels of padded rows at
// every width, so every split between the wide loop and the row's end is seen.
TEST(ColourConversion, ComputedPathsEqualTheTable) {
  std::vector<uint32_t> lut(kColourLutSize);
  buildColourLut(lut.data());
  constexpr int kValues = 65536;
  std::vector<uint16_t> all(kValues);
  for (int v = 0; v < kValues; ++v) all[v] = static_cast<uint16_t>(v);
  using Convert = void (*)(const uint8_t*, int, int, int, uint8_t*, int);
  for (Convert convert : {Convert(convertToArgb), Convert(convertToArgbSse2), Convert(convertToArgbScalar)}) {
    std::vector<uint32_t> out(kValues);
    // 256 rows of 256 pixels, so the whole range also goes through the row loop.
    convert(reinterpret_cast<const uint8_t*>(all.data()), 512, 256, 256,
            reinterpret_cast<uint8_t*>(out.data()), 1024);
    for (int v = 0; v < kValues; ++v) ASSERT_EQ(out[v], lut[v & 0x7FFF]) << "value " << v;

    for (int w = 1; w <= 81; ++w) {
      const int h = 3, srcPitch = 2 * w + 6, dstPitch = 4 * w + 12;  // odd pads on both sides
      std::vector<uint8_t> src(static_cast<size_t>(srcPitch) * h);
      for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 37 + w);
      std::vector<uint8_t> dst(static_cast<size_t>(dstPitch) * h + 4, 0xA5);
      convert(src.data(), srcPitch, w, h, dst.data(), dstPitch);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          uint16_t in;
          uint32_t got;
          std::memcpy(&in, &src[static_cast<size_t>(y) * srcPitch + 2 * x], 2);
          std::memcpy(&got, &dst[static_cast<size_t>(y) * dstPitch + 4 * x], 4);
          ASSERT_EQ(got, lut[in & 0x7FFF]) << "width " << w << " at " << x << "," << y;
        }
        for (int b = 4 * w; b < dstPitch; ++b)
          ASSERT_EQ(dst[static_cast<size_t>(y) * dstPitch + b], 0xA5) << "width " << w << " wrote its pad";
      }
    }
  }
}

TEST(Letterbox, KeepsProportionsCentred) {
  Rect r = letterboxRect(640, 480, 1920, 1080);
  EXPECT_EQ(r.left, 240);
  EXPECT_EQ(r.right, 1680);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.bottom, 1080);

  r = letterboxRect(640, 480, 640, 480);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(r.bottom, 480);

  r = letterboxRect(640, 480, 1280, 1920);  // a portrait monitor: bars above and below
  EXPECT_EQ(r.right - r.left, 1280);
  EXPECT_EQ(r.bottom - r.top, 960);
  EXPECT_EQ(r.top, 480);

  r = letterboxRect(0, 480, 640, 480);
  EXPECT_EQ(r.right - r.left, 0);
}

// Full screen scales by whole factors first, each direction on its own, and
// leaves only the rest to the filtered step; the 320- and 640-wide modes of
// other shapes take the 4:3 shape of their monitors.
TEST(PresentScale, WholeFactorsFirstThenTheRest) {
  PresentScale p = planPresent(640, 480, 640, 480, 1920, 1080);
  EXPECT_EQ(p.dst.left, 240);
  EXPECT_EQ(p.dst.right, 1680);
  EXPECT_EQ(p.scaledWidth, 1280);
  EXPECT_EQ(p.scaledHeight, 960);

  p = planPresent(320, 200, 4, 3, 1920, 1080);
  EXPECT_EQ(p.dst.right - p.dst.left, 1440);
  EXPECT_EQ(p.dst.bottom - p.dst.top, 1080);
  EXPECT_EQ(p.scaledWidth, 1280) << "4 across";
  EXPECT_EQ(p.scaledHeight, 1000) << "5 down: the pixels stay taller than wide";

  p = planPresent(640, 480, 640, 480, 1280, 960);  // an even fit needs no filtered step
  EXPECT_EQ(p.scaledWidth, 1280);
  EXPECT_EQ(p.scaledHeight, 960);
  EXPECT_EQ(p.dst.right - p.dst.left, 1280);

  p = planPresent(1600, 1200, 1600, 1200, 1280, 1024);  // larger than the screen: filtered down
  EXPECT_EQ(p.scaledWidth, 1600);
  EXPECT_EQ(p.dst.right - p.dst.left, 1280);
  EXPECT_EQ(p.dst.bottom - p.dst.top, 960);

  for (const auto& m : {std::pair{320, 200}, {320, 400}, {320, 480}, {640, 350}, {640, 400}})
    EXPECT_TRUE(showsAtFourByThree(m.first, m.second));
  for (const auto& m : {std::pair{320, 240}, {640, 480}, {800, 600}, {1280, 1024}})
    EXPECT_FALSE(showsAtFourByThree(m.first, m.second));
}

int scan(const char* name) { return pcScanCode(sdlScancodeByName(name)); }

TEST(SoftwareGl, TheRasterisersOfMesaAreKnownByTheirNames) {
  EXPECT_TRUE(softwareRasteriserName("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(softwareRasteriserName("Software Rasterizer"));
  EXPECT_TRUE(softwareRasteriserName("softpipe"));
  EXPECT_FALSE(softwareRasteriserName("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(softwareRasteriserName(nullptr));
}

TEST(KeyTranslation, KeypadAndGreyKeysShareTheirScanCodes) {
  const struct {
    const char* keypad;
    const char* grey;
    int code;
  } pairs[] = {{"Keypad 8", "Up", 0x48},    {"Keypad 2", "Down", 0x50}, {"Keypad 4", "Left", 0x4B},
               {"Keypad 6", "Right", 0x4D}, {"Keypad 1", "End", 0x4F},  {"Keypad 3", "PageDown", 0x51}};
  for (const auto& p : pairs) {
    EXPECT_EQ(scan(p.keypad), p.code) << p.keypad;
    EXPECT_EQ(scan(p.grey), p.code) << p.grey;
  }
  EXPECT_EQ(scan("Escape"), 0x01);
  EXPECT_EQ(scan("1"), 0x02);
  EXPECT_EQ(scan("9"), 0x0A);
  EXPECT_EQ(scan("0"), 0x0B);
  EXPECT_EQ(scan("Return"), 0x1C);
  EXPECT_EQ(scan("A"), 0x1E);
  EXPECT_EQ(scan("Q"), 0x10);
  EXPECT_EQ(scan("M"), 0x32);
  EXPECT_EQ(scan("F1"), 0x3B);
  EXPECT_EQ(scan("F12"), 0x58);
  EXPECT_EQ(pcScanCode(-1), 0);
  EXPECT_EQ(pcScanCode(100000), 0);
}

TEST(KeyTranslation, CharactersAsTheKeyTypesThem) {
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Escape"), 27, 0), 27);
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Return"), 13, 0), 13);
  EXPECT_EQ(keyCharacter(sdlScancodeByName("1"), '1', 0), '1');
  EXPECT_EQ(keyCharacter(sdlScancodeByName("0"), '0', kKeyShift), '0');
  // Keypad digits only while Num Lock is on; the arrows type nothing.
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Keypad 8"), 0, kKeyNumLock), '8');
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Keypad 0"), 0, kKeyNumLock), '0');
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Keypad 8"), 0, 0), 0);
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Up"), 0, kKeyNumLock), 0);
  // Letters follow the layout's keycode; shift and Caps Lock cancel out.
  EXPECT_EQ(keyCharacter(sdlScancodeByName("A"), 'a', 0), 'a');
  EXPECT_EQ(keyCharacter(sdlScancodeByName("A"), 'a', kKeyShift), 'A');
  EXPECT_EQ(keyCharacter(sdlScancodeByName("A"), 'a', kKeyShift | kKeyCapsLock), 'a');
  EXPECT_EQ(keyCharacter(sdlScancodeByName("Q"), 'a', 0), 'a') << "AZERTY";
}

class HeadlessScript : public HeadlessFramework {
 protected:
  void SetUp() override {
    HeadlessFramework::SetUp();
    ASSERT_NE(initFramework("t"), nullptr);  // opens the port
  }
  static std::vector<DisplayEvent> drain() {
    std::vector<DisplayEvent> out;
    DisplayEvent e;
    while (headlessDisplayDriver()->pollEvent(&e)) out.push_back(e);
    return out;
  }
};

// One event as text: "down 48 c0", "up 4B", "press 10,20 m1", "wheel -2 at 50,60", ...
std::string describe(const DisplayEvent& e) {
  char t[64];
  switch (e.kind) {
    case kDisplayKeyDown: std::snprintf(t, sizeof t, "down %02X c%d", e.scanCode, e.character); break;
    case kDisplayKeyUp: std::snprintf(t, sizeof t, "up %02X", e.scanCode); break;
    case kDisplayMouseDown: std::snprintf(t, sizeof t, "press %d,%d d%d", e.x, e.y, e.doubleClick); break;
    case kDisplayMouseUp: std::snprintf(t, sizeof t, "release %d,%d", e.x, e.y); break;
    case kDisplayMouseWheel: std::snprintf(t, sizeof t, "wheel %d at %d,%d", e.wheel, e.x, e.y); break;
    case kDisplayClose: return "close";
    case kDisplaySwitch: return "switch";
    case kDisplayFocusLost: return "focus-";
    case kDisplayFocusGained: return "focus+";
    case kDisplayChanged: return "display";
    case kDisplayQuit: return "quit";
    default: std::snprintf(t, sizeof t, "kind %d", e.kind); break;
  }
  std::string s = t;
  if (e.modifiers) s += " m" + std::to_string(e.modifiers);
  return s;
}

// Each line is applied after the one before, so held keys carry over.
TEST_F(HeadlessScript, EveryClauseBecomesItsEvents) {
  const struct {
    const char* line;
    std::vector<std::string> events;
  } kLines[] = {
      {"keys 48 4B; chars 49 '2'  # walk and toggle",
       {"down 48 c0", "down 4B c0", "down 02 c49", "up 02", "down 03 c50", "up 03"}},
      {"", {}},  // nothing changes: the keys stay held
      {"keys 0x48; key 48 4B", {"up 4B", "down 48 c0", "down 4B c0", "up 4B"}},  // a held key is not released
      {"chars ' ' 13 'Q'", {"down 39 c32", "up 39", "down 1C c13", "up 1C", "down 10 c81", "up 10"}},
      {"keys; key 0F 01 shift", {"up 48", "down 0F c9 m24", "up 0F m24", "down 01 c27 m24", "up 01 m24"}},
      {"click 10 20; doubleclick -30 40; wheel -2 50 60",
       {"press 10,20 d0 m1", "release 10,20", "press -30,40 d1 m1", "release -30,40", "wheel -2 at 50,60"}},
      {"close yes; switch; focus lost; focus gained; display; quit",
       {"close", "switch", "focus-", "focus+", "display", "quit"}},
  };
  for (const auto& l : kLines) {
    ASSERT_EQ(headlessApplyScriptLine(l.line), 1) << l.line;
    std::vector<std::string> got;
    for (const DisplayEvent& e : drain()) got.push_back(describe(e));
    EXPECT_EQ(got, l.events) << l.line;
  }
  EXPECT_EQ(headlessDisplayDriver()->askYesNo("c", "t"), 1) << "close yes answered the question";

  // Malformed lines queue nothing, not even their good clauses.
  for (const char* bad : {"jump",         "keys 1FF",      "keys zz",      "keys 0x",        "chars 300",
                          "chars -1",     "close maybe",   "close yes no", "focus",          "focus away",
                          "switch now",   "chars 49; fly", "key",          "key shift",      "key zz",
                          "key 0F hyper", "click 1",       "click a b",    "click 100001 0", "wheel 1 2",
                          "wheel 1 2 3x"}) {
    EXPECT_EQ(headlessApplyScriptLine(bad), 0) << bad;
    EXPECT_TRUE(drain().empty()) << bad;
  }
}

int g_scriptPass = 0;
std::vector<int> g_heldPerPass;
std::vector<int> g_charsSeen;

TEST_F(HeadlessScript, AScriptFileDrivesTheMainLoopOneLinePerPass) {
  const std::string dir = scratchDir("headless_script");
  const std::string path = dir + "/input.txt";
  writeFile(path, "keys 48\n\n# still held\nkeys; chars 49\n");
  ASSERT_EQ(headlessLoadScript(path.c_str()), 1);
  EXPECT_EQ(headlessLoadScript((dir + "/missing.txt").c_str()), 0);

  ModeInfo m = {-1, 640, 480, 15, 1, 0, "windowed", 0, 0};
  ASSERT_EQ(setMode(&m, 1, 2, 1), 1);
  g_scriptPass = 0;
  g_heldPerPass.clear();
  g_charsSeen.clear();
  setKeyDownCallback([](Event* e) { g_charsSeen.push_back(e->message & 0xFF); });
  setPollCallback([] {
    ++g_scriptPass;
    g_heldPerPass.push_back(isKeyDown(0x48));
  });
  runMainLoop();  // ends after the last line
  EXPECT_EQ(g_heldPerPass, (std::vector<int>{1, 1, 1, 0, 0}));
  EXPECT_EQ(g_charsSeen, (std::vector<int>{0, '1'}));
}

}  // namespace
