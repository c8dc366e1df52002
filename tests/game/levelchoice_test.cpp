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

TEST(LevelChoice, ARecordingNamesItsMazeAndReplaysOnlyOnIt) {
  const std::string dir = scratchForThisTest("recorded");
  const std::string shipped = QUILL_GAME_DIR "/Level1.txt";
  std::ifstream in(shipped, std::ios::binary);
  std::string other((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  other[other.find("* * * * *") + 2] = ' ';  // another maze: a pillar less
  writeFile(dir + "/other.txt", other);
  writeFile(dir + "/run.txt",
            "# Recorded...\n# " + recordingMazeNote(shipped) + "\nkey 50 50; chars 13\nquit\n");
  writeFile(dir + "/byhand.txt", "key 50 50; chars 13\nquit\n");

  EXPECT_EQ(replayMazeFault(dir + "/run.txt", shipped), "");
  EXPECT_EQ(replayMazeFault(dir + "/byhand.txt", dir + "/other.txt"), "") << "a script names no maze";
  const std::string fault = replayMazeFault(dir + "/run.txt", dir + "/other.txt");
  EXPECT_NE(fault.find("Level1.txt"), std::string::npos) << fault;
  const GameRun r =
      runGame(QUILL_GAME_DIR, {}, {"--level", dir + "/other.txt", "--replay", dir + "/run.txt"});
  EXPECT_EQ(r.exitCode, 2);
}
