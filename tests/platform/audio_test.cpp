// The SDL2_mixer back end on SDL's dummy output (it mixes on its thread and
// throws the result away): opening, loading with the panned copies, playing
// from every side, the loop, pause and close, and a file that is not there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/audio.h"
#include "platform/soundfile.h"
#include "support/testdata.h"

TEST(SdlAudio, PlaysEverySoundFromEverySideOnTheDummyOutput) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const AudioDriver* a = sdlAudioDriver();
  char why[160] = "";
  ASSERT_EQ(a->open(why, sizeof why), 1) << why;
  EXPECT_EQ(a->open(why, sizeof why), 1) << "opening again changes nothing";
  const std::string dir = std::string(QUILL_GAME_DIR) + "/sounds/";
  EXPECT_EQ(a->load(0, (dir + "stepheavy.wav").c_str(), 1, why, sizeof why), 1);
  EXPECT_EQ(a->load(1, (dir + "wind.wav").c_str(), 0, why, sizeof why), 1);
  EXPECT_EQ(a->load(2, (dir + "no-such.wav").c_str(), 0, why, sizeof why), 0);
  // At 8000 Hz, resampled to the mixer's rate: the longest sound taken, one too long refused.
  const std::string scratch = scratchDir("mixer-lengths");
  writeFile(scratch + "/ten.wav", wavBytes(kMaxSoundSeconds));
  writeFile(scratch + "/eleven.wav", wavBytes(kMaxSoundSeconds + 1));
  EXPECT_EQ(a->load(3, (scratch + "/ten.wav").c_str(), 1, why, sizeof why), 1) << why;
  EXPECT_EQ(a->load(3, (scratch + "/eleven.wav").c_str(), 1, why, sizeof why), 0);
  EXPECT_STREQ(why, "11.0 s long, longer than the 10 s a sound may last");
  EXPECT_EQ(a->load(kMaxSounds, (dir + "wind.wav").c_str(), 0, why, sizeof why), 0) << "no such number";
  EXPECT_EQ(a->load(0, (dir + "step.wav").c_str(), 1, why, sizeof why), 1)
      << "a number loaded again is replaced";
  a->loop(1, 40);
  for (int pan = -kPanFull - 50; pan <= kPanFull + 50; pan += 25) a->play(0, kFullVolume, pan);
  a->play(2, kFullVolume, 0);  // holds nothing: silent
  a->play(-1, kFullVolume, 0);
  a->pause(1);
  a->pause(0);
  a->close();
  a->close();
  a->play(0, kFullVolume, 0);  // closed: nothing
  unsetenv("SDL_AUDIODRIVER");
}
