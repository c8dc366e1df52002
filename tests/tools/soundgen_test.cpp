// The generated sounds: every file the game plays is there, 16-bit mono PCM of
// its exact length, below full scale, silent at both ends (no click), and the
// generator writes the same bytes every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/sounds.h"
#include "support/gamerun.h"
#include "support/testdata.h"
#include "tools/soundgen/sounds.h"

namespace {

uint32_t le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}
int16_t sample(const std::string& b, size_t i) { return static_cast<int16_t>(le(b, 44 + 2 * i, 2)); }

}  // namespace

TEST(SoundGenerator, EveryGameSoundIsAQuietCleanWaveFileOfItsLength) {
  for (int id = 0; id < kSoundCount; ++id) {
    const std::string path = soundPath(id);
    const std::string name = path.substr(path.find('/') + 1);
    SCOPED_TRACE(name);
    const SoundRecipe* recipe = nullptr;
    for (const SoundRecipe& r : kRecipes)
      if (name == r.name) recipe = &r;
    ASSERT_NE(recipe, nullptr) << "the game plays a sound the generator does not make";

    const std::string b = readFile(std::string(QUILL_GAME_DIR) + "/" + path);
    const size_t samples = static_cast<size_t>(samplesFor(recipe->seconds));
    ASSERT_EQ(b.size(), 44 + 2 * samples);
    EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(le(b, 20, 2), 1u);  // PCM
    EXPECT_EQ(le(b, 22, 2), 1u);  // mono
    EXPECT_EQ(le(b, 24, 4), 44100u);
    EXPECT_EQ(le(b, 34, 2), 16u);
    EXPECT_EQ(le(b, 40, 4), 2 * samples);

    int peak = 0;
    for (size_t i = 0; i < samples; ++i) peak = std::max(peak, std::abs(sample(b, i)));
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_NEAR(peak, recipe->peak * 32767, 2);
    // Soft ends: the first and last samples are near silence (the loop joins
    // its ends instead, so only its ends must meet).
    const int first = sample(b, 0), last = sample(b, samples - 1);
    if (id == kSoundWind) {
      EXPECT_LT(std::abs(first - last), peak / 20);
    } else {
      EXPECT_LT(std::abs(first), peak / 100);
      EXPECT_LT(std::abs(last), peak / 100);
    }
  }
}

TEST(SoundGenerator, WritesTheSameBytesEveryTime) {
  const std::string dir = scratchForThisTest("soundgen");
  const std::string cmd = std::string(QUILL_BUILD_DIR) + "/tools/quillmoor-soundgen '" + dir + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const SoundRecipe& r : kRecipes) {
    SCOPED_TRACE(r.name);
    const std::string again = readFile(dir + "/" + r.name);
    EXPECT_FALSE(again.empty());
    EXPECT_TRUE(again == readFile(std::string(QUILL_GAME_DIR) + "/sounds/" + r.name));
  }
  EXPECT_NE(std::system((std::string(QUILL_BUILD_DIR) + "/tools/quillmoor-soundgen 2>/dev/null").c_str()), 0)
      << "no folder: usage and a failure code";
}
