// The SDL2_mixer back end on SDL's dummy output (it mixes on its thread and
// throws the result away): opening, loading, playing from every side, the
// loop, pause and close, and a file that is not there; and the mix it shares
// with the headless back end: the pan law and the loop's fades.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/soundfile.h"
#include "platform/voices.h"
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
  EXPECT_EQ(a->lengthMillis(1), 8000);
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

TEST(Voices, ThePanKeepsThePowerWhereverTheSoundIs) {
  double left, right;
  for (int pan = -kPanFull; pan <= kPanFull; pan += 32) {
    panGains(pan, &left, &right);
    EXPECT_NEAR(left * left + right * right, 1.0, 1e-12) << pan;
  }
  panGains(0, &left, &right);
  EXPECT_NEAR(left, std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(right, left, 1e-12);
  panGains(-kPanFull - 9, &left, &right);
  EXPECT_EQ(left, 1.0) << "beyond the left side: the left side";
  EXPECT_NEAR(right, 0.0, 1e-12);
}

// The wind through the shared mix: it rises from silence, and settles to silence when it stops.
TEST(Voices, TheLoopFadesInAndOut) {
  static VoiceMix mix{};
  char why[160] = "";
  ASSERT_EQ(voiceLoad(mix, 0, (std::string(QUILL_GAME_DIR) + "/sounds/wind.wav").c_str(), 0, why, sizeof why),
            1)
      << why;
  voiceLoop(mix, 0, kFullVolume);
  const int fade = static_cast<int>(kLoopFadeInSeconds * kMixRate), tenth = kMixRate / 10;
  std::vector<int16_t> out(2 * static_cast<size_t>(fade + tenth));
  voiceRender(mix, out.data(), fade + tenth);
  const auto loudest = [&](int from, int frames) {
    int peak = 0;
    for (int i = 2 * from; i < 2 * (from + frames); ++i)
      peak = std::max(peak, std::abs(out[static_cast<size_t>(i)]));
    return peak;
  };
  EXPECT_LE(loudest(0, 10), 2) << "no jump at the start";
  EXPECT_LT(loudest(0, tenth), loudest(fade, tenth) / 2) << "the first tenth of a second is still rising";
  EXPECT_EQ(voiceFadeOut(mix), 1);
  const int settle = static_cast<int>(kFadeOutSeconds * kMixRate);
  voiceRender(mix, out.data(), settle - 10);
  EXPECT_LE(loudest(settle - 20, 10), 2) << "settles to silence";
  voiceRender(mix, out.data(), 20);
  EXPECT_EQ(voiceFadeOut(mix), 0) << "nothing sounds any more";
  voiceFreeAll(mix);
}
