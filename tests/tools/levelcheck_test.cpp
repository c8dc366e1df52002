// The level checker: the shipped level passes, and each kind of silent fault
// in a level file is named.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/testdata.h"

namespace {

const std::string kTool = QUILL_BUILD_DIR "/tools/quillmoor-levelcheck";

int check(const std::string& path, std::string& out) {
  // One folder per test: ctest runs the tests of this program side by side.
  const std::string outFile = scratchDir(std::string("levelcheck_output_") +
                                         testing::UnitTest::GetInstance()->current_test_info()->name()) +
                              "/out.txt";
  const int status = std::system((kTool + " " + path + " >" + outFile + " 2>&1").c_str());
  out = readFile(outFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(LevelCheck, TheShippedLevelIsSound) {
  std::string out;
  EXPECT_EQ(check(QUILL_SOURCE_DIR "/data/Level1.txt", out), 0) << out;
  EXPECT_TRUE(has(out, ": ok")) << out;
}

TEST(LevelCheck, NamesWhatTheReaderPassesOverSilently) {
  const std::string dir = scratchDir("levelcheck_faults");
  // Split line, short line, unreachable cell, blocked exit front, repeated and missing markers.
  writeFile(dir + "/bad.txt",
            "6\n8\n7\n"
            "********\n"
            "*R G**w*\n"
            "*   *B**\n"
            "*  R ***D\n"
            "*  *\n"
            "************************\n");
  std::string out;
  EXPECT_EQ(check(dir + "/bad.txt", out), 1);
  EXPECT_TRUE(has(out, "guard count 7 is above 4")) << out;
  EXPECT_TRUE(has(out, "line 9 holds 24 or more characters")) << out;
  EXPECT_TRUE(has(out, "line 8 (row y 1) has 4 characters")) << out;
  EXPECT_TRUE(has(out, "marker 'R' (red item) appears 2 times")) << out;
  EXPECT_TRUE(has(out, "no exit marker 'D'")) << out;  // column 8 lies outside the width
  EXPECT_TRUE(has(out, "no red guard marker 'r'")) << out;
  EXPECT_TRUE(has(out, "open cell (6, 4) cannot be reached")) << out;
  EXPECT_TRUE(has(out, "on the level's edge")) << out;
  EXPECT_TRUE(has(out, "body 1 at (10, 5) stands in a blocked cell")) << out;

  writeFile(dir + "/exit.txt", "4\n7\n0\n*******\n*RGB* D\n*  ****\n*******\n");
  EXPECT_EQ(check(dir + "/exit.txt", out), 1);
  EXPECT_TRUE(has(out, "the cell in front of the exit, (5, 2), cannot be reached")) << out;
  writeFile(dir + "/front.txt", "3\n5\n0\n*****\n* R*D\n*****\n");
  EXPECT_EQ(check(dir + "/front.txt", out), 1);
  EXPECT_TRUE(has(out, "the cell in front of the exit, (3, 1), is blocked")) << out;
}

TEST(LevelCheck, AMissingFileIsAnError) {
  std::string out;
  EXPECT_EQ(check(scratchDir("levelcheck_missing") + "/none.txt", out), 1);
  EXPECT_TRUE(has(out, "cannot open")) << out;
}

}  // namespace
