// The game's sounds as the framework loads them: a file refused or missing is
// named on standard error with the reason, a missing folder once for all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/sound.h"
#include "platform/headlessaudio.h"
#include "platform/soundfile.h"
#include "support/gamerun.h"
#include "support/testdata.h"

TEST(Sound, RefusedFilesAreNamedWithTheirReasonAMissingFolderOnce) {
  resetEverything();
  const std::string dir = scratchForThisTest("sounds");
  const std::pair<const char*, std::string> made[] = {
      {"ten", wavBytes(kMaxSoundSeconds)}, {"long", wavBytes(kMaxSoundSeconds + 1)}, {"text", "no sound"}};
  for (const auto& [name, bytes] : made) writeFile(dir + "/" + name + ".wav", bytes);
  std::filesystem::copy_file(dir + "/ten.wav", dir + "/big.wav");
  std::filesystem::resize_file(dir + "/big.wav", 5 << 20);
  std::string paths[5];
  SoundFile files[5];
  for (int i = 0; const char* name : {"ten", "long", "text", "big", "gone"}) {
    paths[i] = dir + "/" + name + ".wav";
    files[i] = {paths[i].c_str(), 1};
    ++i;
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(openSound(files, 5), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "quillmoor: " + paths[1] + " stays silent: 11.0 s long, longer than the 10 s a sound may last\n" +
                "quillmoor: " + paths[2] + " stays silent: not a WAV file\n" + "quillmoor: " + paths[3] +
                " stays silent: 5.0 MB, larger than the 4 MB a sound may be\n" + "quillmoor: " + paths[4] +
                " stays silent: No such file or directory\n");
  EXPECT_EQ(headlessSoundLoaded(0), 1);

  const std::string elsewhere = dir + "/nowhere/step.wav";
  const SoundFile lost = {elsewhere.c_str(), 1};
  testing::internal::CaptureStderr();
  EXPECT_EQ(openSound(&lost, 1), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "quillmoor: playing without sound: there is no folder " + dir + "/nowhere\n");
  closeSound();
}
