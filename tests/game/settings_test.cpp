// The settings file: a round trip that keeps what the game does not know,
// and bad files that never stop the game nor lose what could be read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/settings.h"
#include "platform/gamepad.h"
#include "platform/scancodes.h"
#include "support/gamerun.h"
#include "support/testdata.h"

namespace {

struct SettingsFiles : ::testing::Test {
  std::string dir, path;
  void SetUp() override {
    dir = scratchForThisTest("settings");
    path = dir + "/quillmoor/settings.ini";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    resetSettings();
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    resetSettings();
  }
  // Loads the file and returns what the game said on stderr.
  std::string load() {
    testing::internal::CaptureStderr();
    loadSettings();
    return testing::internal::GetCapturedStderr();
  }
};

int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(SettingsFiles, WhatThePlayerChangedIsKeptAndSoIsWhatTheGameDoesNotKnow) {
  EXPECT_EQ(load(), "") << "no file: the defaults, silently";
  EXPECT_EQ(settings.keys[kActForward][0], kScanUp);
  mkdir((dir + "/quillmoor").c_str(), 0755);
  writeFile(path,
            "[keys]\nforward = W Up\n[pad]\nback = A\n[mouse]\nspeed = 25\n[later]\nsomething = kept ; a "
            "comment\n");
  EXPECT_EQ(load(), "");
  EXPECT_EQ(settings.keys[kActForward][0], kScanLetterRowQ + 1);
  EXPECT_EQ(settings.mouseSpeed, 25);
  EXPECT_EQ(settings.padButtons[kActBack], kPadA);

  settings.effectsVolume = 40;
  settings.shapes = 1;
  settings.modeWidth = 800, settings.modeHeight = 600, settings.modeBits = 16;
  ASSERT_TRUE(saveSettings());
  const std::string text = readFile(path);
  for (const char* line : {"forward = W Up\n", "speed = 25\n", "something = kept\n", "effects = 40\n",
                           "mode = 800x600x16\n", "shapes = on\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  EXPECT_EQ(text.find("wind"), std::string::npos) << "defaults are not written";
  const Settings saved = settings;
  load();
  EXPECT_EQ(std::memcmp(&settings, &saved, sizeof saved), 0);
}

TEST_F(SettingsFiles, ABadFileStartsWithTheDefaultsForWhatItCouldNotRead) {
  mkdir((dir + "/quillmoor").c_str(), 0755);
  // Cut in the middle of a line: what came before it stands.
  writeFile(path, "[mouse]\nspeed = 30\n[keys]\nback = Do");
  std::string said = load();
  EXPECT_EQ(settings.mouseSpeed, 30);
  EXPECT_EQ(settings.keys[kActBack][0], kScanDown);
  EXPECT_EQ(lines(said), 1) << said;

  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919 + i / 13) & 0xFF);
  writeFile(path, noise + "\n[later]\nkept = yes\n");
  said = load();
  EXPECT_LE(lines(said), 1) << said;
  EXPECT_TRUE(saveSettings());
  const std::string rewritten = readFile(path);
  EXPECT_NE(rewritten.find("kept = yes"), std::string::npos);
  EXPECT_TRUE(std::all_of(rewritten.begin(), rewritten.end(), [](char c) {
    return static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t';
  })) << "binary junk is not written back";

  // A file that cannot be read is never written over.
  std::remove(path.c_str());
  mkdir(path.c_str(), 0755);
  said = load();
  EXPECT_EQ(lines(said), 1) << said;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(saveSettings());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "said once, when it was read";
  struct stat st;
  EXPECT_TRUE(stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));

  // A folder that cannot be made costs one line and nothing else.
  writeFile(dir + "/plain", "");
  setenv("XDG_CONFIG_HOME", (dir + "/plain").c_str(), 1);
  resetSettings();
  EXPECT_EQ(load(), "");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(saveSettings());
  EXPECT_EQ(lines(testing::internal::GetCapturedStderr()), 1);
}

}  // namespace
