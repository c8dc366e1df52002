// The game's sounds as the framework loads them: a file refused or missing is
// named on standard error with the reason, a missing folder once for all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/sound.h"
#include "platform/headless.h"
#include "platform/headlessaudio.h"
#include "platform/soundfile.h"
#include "support/gamerun.h"
#include "support/testdata.h"

TEST(Sound, RefusedFilesAreNamedWithTheirReasonAMissingFolderOnce) {
  resetEverything();
  const std::string dir = scratchForThisTest("sounds") + "/";
  writeFile(dir + "ten.wav", wavBytes(kMaxSoundSeconds));
  writeFile(dir + "long.wav", wavBytes(kMaxSoundSeconds + 1));
  writeFile(dir + "text.wav", "no sound");
  std::filesystem::copy_file(dir + "ten.wav", dir + "big.wav");
  std::filesystem::resize_file(dir + "big.wav", 5 << 20);
  const std::string paths[] = {dir + "ten.wav", dir + "long.wav", dir + "text.wav", dir + "big.wav",
                               dir + "gone.wav"};
  const char* const reasons[] = {nullptr, "11.0 s long, longer than the 10 s a sound may last",
                                 "not a WAV file", "5.0 MB, larger than the 4 MB a sound may be",
                                 "No such file or directory"};
  SoundFile files[5];
  std::string said;
  for (int i = 0; i < 5; ++i) {
    files[i] = {paths[i].c_str(), 1};
    if (reasons[i]) said += "quillmoor: " + paths[i] + " stays silent: " + reasons[i] + "\n";
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(openSound(files, 5), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), said);
  EXPECT_EQ(headlessSoundLoaded(0), 1);

  const std::string elsewhere = dir + "nowhere/step.wav";
  const SoundFile lost = {elsewhere.c_str(), 1};
  testing::internal::CaptureStderr();
  EXPECT_EQ(openSound(&lost, 1), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "quillmoor: playing without sound: there is no folder " + dir + "nowhere\n");
  closeSound();
}

TEST(Sound, TheSameSoundFromTheSameSourceIsNotStackedWhileItPlays) {
  resetEverything();
  const std::string path = scratchForThisTest("sounds") + "/half.wav", empty = path + ".empty.wav";
  writeFile(path, wavBytes(0.5));
  writeFile(empty, wavBytes(0));
  const SoundFile files[] = {{path.c_str(), 1}, {path.c_str(), 1}, {empty.c_str(), 1}};
  ASSERT_EQ(openSound(files, 3), 1);
  playSound(0, 100, 0, 0);
  playSound(0, 100, 0, 0);  // the rule fired again in the same pass: not stacked
  playSound(0, 100, 0, 1);  // a second guard's call: its own event
  playSound(1, 100, 0, 0);  // another sound of the same source
  headlessAdvance(400000);
  playSound(0, 100, 0, 0);  // the first still sounds
  headlessAdvance(200000);
  playSound(0, 100, 0, 0);  // over: it starts again
  std::vector<int> played;
  for (int i = 0; i < headlessPlayedCount(); ++i) played.push_back(headlessPlayed(i).id);
  EXPECT_EQ(played, (std::vector<int>{0, 0, 1, 0}));
  playSound(2, 100, 0, 0);  // a file without frames plays nothing, and reads nothing beyond it
  loopSound(2, 100);
  int16_t mix[64];
  headlessMix(mix, 32);
  closeSound();
}
