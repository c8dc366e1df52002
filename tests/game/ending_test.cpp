// The ending: the bests file kept per maze, and Enter during the pause that
// plays again from exactly the state a fresh start has.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include "game/settings.h"
#include "game/startup.h"
#include "world/gamestate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "game/bests.h"
#include "game/ending.h"
#include "game/levelchoice.h"
#include "guards/guards.h"
#include "render/bodies.h"
#include "support/gamerun.h"
#include "support/subprocess.h"
#include "support/testdata.h"
#include "world/gamestate.h"
#include "world/level.h"

namespace {

// The replay with the clauses `after` added to its last line, then the lines of `more`.
GameRun playOn(const std::string& name, const std::string& after, const std::vector<std::string>& more,
               const std::vector<std::string>& args = {}) {
  std::vector<std::string> lines = replayLines(name);
  std::string& last = lines.back();
  last.insert(std::min(last.find('#'), last.size()), after + " ");
  lines.insert(lines.end(), more.begin(), more.end());
  const std::string path = scratchForThisTest("ending") + "/script.txt";
  std::ofstream f(path);
  for (const std::string& line : lines) f << line << '\n';
  f.close();
  return runGameFromFile(QUILL_GAME_DIR, path, args);
}

// Everything a run starts from and changes as it goes.
std::vector<double> snapshot() {
  std::vector<double> v = {player.x,          player.y,          player.heading,   double(score),
                           double(timeBonus), double(bonusTick), double(heldKeys), double(exitOpen),
                           double(showHelp),  double(showMap),   spinAngle,        double(runMillis())};
  for (const Guard& g : guards)
    v.insert(v.end(), {double(g.active), g.waypoints[g.currentWaypoint].x, g.waypoints[g.currentWaypoint].y});
  for (const PointObject& b : pointObjects) v.push_back(b.present);
  for (const KeyItem& k : keyItems) v.insert(v.end(), {double(k.active), k.x, k.y});
  return v;
}

std::vector<MazeBest> bestsOnDisk() {
  std::vector<MazeBest> mazes;
  const std::string text = readFile(bestsPath());
  EXPECT_TRUE(parseBests(text.data(), text.size(), mazes)) << text;
  return mazes;
}

}  // namespace

TEST(Ending, EnterDuringThePausePlaysAgainFromTheStartValues) {
  const std::vector<std::string> walk(20, "keys 48 4B");
  const GameRun fresh = runGame(QUILL_GAME_DIR, walk);
  const std::vector<double> freshState = snapshot();

  // Caught after 130 passes, Enter pressed while the message stands.
  const GameRun again = playOn("caught.txt", "; wait; key 1C", walk);
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(again.passes, static_cast<int>(replayLines("caught.txt").size() + walk.size()) + 1);
  EXPECT_EQ(snapshot(), freshState);
  EXPECT_TRUE(again.lastFrame == fresh.lastFrame) << "the new run's picture differs from a fresh start's";
}

TEST(Ending, PlayingAgainKeepsTheShapesTheRunShowed) {
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  settings.shapes = showShapes = 1;
  restartRun();
  EXPECT_EQ(showShapes, 1);
  resetSettings();
}

TEST(Ending, ARecordingWithThePauseKeyPlaysBackTheSame) {
  const std::string path = scratchForThisTest("record") + "/run.txt";
  const GameRun played =
      playOn("caught.txt", "; wait; key 1C", {"keys 48", "keys 48 4D", "keys 4D"}, {"--record", path});
  const std::vector<double> state = snapshot();
  EXPECT_NE(readFile(path).find("; wait; key 1C"), std::string::npos) << readFile(path);
  const GameRun back = runGameFromFile(QUILL_GAME_DIR, path);
  EXPECT_EQ(snapshot(), state);
  EXPECT_TRUE(back.lastFrame == played.lastFrame);

  const ChildRun c =
      runChild(std::string(QUILL_GAME_DIR) + "/quillmoor", QUILL_GAME_DIR,
               scratchForThisTest("replay-binary"), {{"QUILL_AUDIO", "headless"}}, 120, {"--replay", path});
  EXPECT_EQ(c.exitCode, 0) << c.err;
  EXPECT_EQ(c.out, "");
}

TEST(Ending, AWonRunKeepsItsBestsAndWithoutAKeyTheGameEnds) {
  const size_t lines = replayLines("winning.txt").size();
  const GameRun won = playOn("winning.txt", "", {});
  EXPECT_EQ(won.exitCode, 0);
  EXPECT_EQ(won.passes, static_cast<int>(lines)) << "no pass after the pause";
  const int time = runMillis(), wonScore = score;
  EXPECT_EQ(time % 40, 0) << "whole passes of 40 ms";

  // Space plays again, and a run caught at once beats neither best.
  const GameRun caught = playOn("winning.txt", "; wait; key 39", {"keys; quit"});
  EXPECT_EQ(caught.passes, won.passes + 1);
  const std::vector<MazeBest> mazes = bestsOnDisk();
  ASSERT_EQ(mazes.size(), 1u);
  EXPECT_EQ(mazes[0].maze, mazeFileHash((std::string(QUILL_GAME_DIR) + "/Level1.txt").c_str()));
  EXPECT_EQ(mazes[0].timeMillis, time);
  EXPECT_EQ(mazes[0].score, wonScore);
}

TEST(Ending, AfterAWinEnterGoesOnToTheNextMazeOfTheSetOnly) {
  playOn("winning.txt", "; wait; key 1C", {"keys; quit"});
  EXPECT_STREQ(levelPath(), "Level2.txt");
  EXPECT_EQ(levelMaps[0].markers[kMark_w].y, 17) << "Level2's white guard starts in its top row";

  playOn("caught.txt", "; wait; key 1C", {"keys; quit"});
  EXPECT_STREQ(levelPath(), kLevelFileName) << "a capture plays the same maze again";

  // A file of the player's own, even a copy of a shipped maze, is played again.
  const std::string own = scratchForThisTest("own") + "/Level1.txt";
  std::ofstream(own) << readFile(std::string(QUILL_GAME_DIR) + "/Level1.txt");
  playOn("winning.txt", "; wait; key 1C", {"keys; quit"}, {"--level", own});
  EXPECT_EQ(levelPath(), own);
}

TEST(Bests, TheFileReadsBackAndACutOrDamagedOneIsRejectedWhole) {
  const std::vector<MazeBest> two = {{0x0123456789abcdefull, 23400, 1040}, {42, kNoBestTime, 100}};
  const std::string text = formatBests(two);
  std::vector<MazeBest> back;
  ASSERT_TRUE(parseBests(text.data(), text.size(), back)) << text;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(formatBests(back), text);
  // Cut anywhere before its last line's end, the file is no shorter list.
  for (size_t n = 0; n + 1 < text.size(); ++n)
    EXPECT_FALSE(parseBests(text.data(), n, back)) << "cut after " << n << " bytes";
  for (const char* bad : {"[0123456789abcdef]\nscore = 5\nscore = x\n[end]\nmazes = 1\n",
                          "[0123456789ABCDEG]\nscore = 5\n[end]\nmazes = 1\n",
                          "[0123456789abcdef]\ntime_ms = -3\n[end]\nmazes = 1\n",
                          "[0000000000000001]\nscore = 1\n[0000000000000001]\nscore = 2\n[end]\nmazes = 2\n",
                          "[end]\nmazes = 0\n[0000000000000001]\nscore = 1\n", "\x7f\x45LF\x01\x02"}) {
    EXPECT_FALSE(parseBests(bad, std::strlen(bad), back)) << bad;
    EXPECT_TRUE(back.empty());
  }
}

TEST(Bests, ADamagedFileIsReplacedAndAnUnreadableOneLeftAsItIs) {
  const std::string dir = scratchForThisTest("bests");
  const char* before = std::getenv("XDG_DATA_HOME");
  const std::string kept = before ? before : "";  // the isolated folder of the test run, if any
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  const std::string path = dir + "/quillmoor/bests.ini";
  EXPECT_EQ(bestsPath(), path);
  resetBests();

  testing::internal::CaptureStderr();
  EXPECT_TRUE(recordRun(7, false, 9000, 300).newScore) << "no file yet";
  const BestsNow won = recordRun(7, true, 20000, 1200);
  EXPECT_TRUE(won.newTime && won.newScore);
  const BestsNow slower = recordRun(7, true, 25000, 900);
  EXPECT_FALSE(slower.newTime || slower.newScore);
  EXPECT_EQ(slower.best.timeMillis, 20000);
  EXPECT_EQ(slower.best.score, 1200);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  writeFile(path, "[0000000000000007]\nscore = 99");
  resetBests();  // as a new start of the game
  testing::internal::CaptureStderr();
  EXPECT_EQ(recordRun(7, false, 1000, 50).best.score, 50) << "the damaged file's score is not believed";
  EXPECT_NE(testing::internal::GetCapturedStderr().find("damaged"), std::string::npos);
  std::vector<MazeBest> mazes;
  const std::string text = readFile(path);
  EXPECT_TRUE(parseBests(text.data(), text.size(), mazes)) << "written anew";

  // A folder in the file's place cannot be read (as root too) and stays.
  std::remove(path.c_str());
  mkdir(path.c_str(), 0755);
  resetBests();
  testing::internal::CaptureStderr();
  EXPECT_EQ(recordRun(7, true, 1000, 50).best.timeMillis, 1000);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  struct stat st {};
  EXPECT_TRUE(stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
  kept.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", kept.c_str(), 1);
}
