// --level: any level file by path or an installed one by name; a file the
// checker finds fault with is refused before any window, with its reasons.
#include "game/levelchoice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/gamerun.h"
#include "world/level.h"

namespace {
void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
}  // namespace

TEST(LevelChoice, AnyPlayableFileIsTakenAndFaultyOnesAreRefusedWithTheirReasons) {
  const std::string dir = scratchForThisTest("levels");
  std::ifstream shipped(QUILL_GAME_DIR "/Level1.txt", std::ios::binary);
  std::string level((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
  ASSERT_NE(level.find('D'), std::string::npos);
  std::string noExit = level;
  noExit[noExit.find('D')] = '*';
  std::string binary;
  for (int c = 0; c < 4096; ++c) binary += static_cast<char>(c * 37);
  writeFile(dir + "/empty.txt", "");
  writeFile(dir + "/binary.txt", binary);
  writeFile(dir + "/big.txt", std::string(2 << 20, '*'));
  writeFile(dir + "/noexit.txt", noExit);
  writeFile(dir + "/copy.txt", level);

  EXPECT_NE(levelFaults(dir + "/missing.txt").find("cannot open"), std::string::npos);
  EXPECT_NE(levelFaults(dir + "/big.txt").find("larger"), std::string::npos);
  for (const char* bad : {"empty", "binary", "noexit"})
    EXPECT_NE(levelFaults(dir + "/" + bad + ".txt"), "") << bad;
  EXPECT_EQ(levelFaults(dir + "/copy.txt"), "");

  EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--level", dir + "/noexit.txt"}).exitCode, 2);
  EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--level"}).exitCode, 2);
  EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--level=" + dir + "/copy.txt"}).exitCode, 0);
  EXPECT_EQ(runGame(QUILL_GAME_DIR, {"chars 27"}, {"--level", "Level1"}).exitCode, 0) << "by name";
  resetEverything();
  EXPECT_STREQ(levelPath(), kLevelFileName) << "each start begins from the shipped level";
}
