// Whole games replayed from the scripts in tests/replays: the real start-up,
// main loop and frame callback on the headless port, fed one line per pass.
// The game has no randomness and the headless clock is virtual, so each
// replay ends the same way every time; a digest of the final state and the
// last picture pins that ending down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/recorder.h"
#include "game/frame.h"
#include "game/sounds.h"
#include "guards/guards.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/headlessaudio.h"
#include "render/bodies.h"
#include "render/camera.h"
#include "sim/routeplanner.h"
#include "sim/simplayer.h"
#include "support/gamerun.h"
#include "support/subprocess.h"
#include "support/testdata.h"
#include "world/gamestate.h"
#include "world/image16.h"
#include "world/pngfile.h"

namespace {

const std::string kReplays = std::string(QUILL_SOURCE_DIR) + "/tests/replays/";

GameRun playLines(const std::vector<std::string>& lines) {
  const std::string path = scratchForThisTest("replay") + "/script.txt";
  std::ofstream f(path);
  for (const std::string& line : lines) f << line << '\n';
  f.close();
  return runGameFromFile(QUILL_GAME_DIR, path);
}

GameRun play(const std::string& name) { return runGameFromFile(QUILL_GAME_DIR, kReplays + name); }

// The replay's first `passes` lines, the game ending right after the last
// one's pass ("quit" joins its clauses, its comment stays).
GameRun playPasses(const std::string& name, size_t passes) {
  std::vector<std::string> lines = replayLines(name);
  if (passes == 0 || passes > lines.size()) {
    ADD_FAILURE() << name << " has no pass " << passes;
    return GameRun{};
  }
  lines.resize(passes);
  std::string& last = lines.back();
  const size_t hash = std::min(last.find('#'), last.size());
  std::string code = last.substr(0, hash);
  while (!code.empty() && code.back() == ' ') code.pop_back();
  last = (code.empty() ? std::string("quit") : code + "; quit") + "  " + last.substr(hash);
  return playLines(lines);
}

// The replay up to and including the line tagged "@tag".
GameRun playTo(const std::string& name, const std::string& tag) {
  const std::vector<std::string> lines = replayLines(name);
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find("@" + tag) != std::string::npos) return playPasses(name, i + 1);
  ADD_FAILURE() << name << " has no line tagged @" << tag;
  return GameRun{};
}

// 64-bit FNV-1a over the final state and the last picture.
struct Digest {
  uint64_t h = 1469598103934665603ull;
  template <typename T>
  void add(const T& v) {
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    for (unsigned char b : bytes) h = (h ^ b) * 1099511628211ull;
  }
};

uint64_t stateDigest(const GameRun& r) {
  Digest d;
  d.add(player.x);
  d.add(player.y);
  d.add(player.heading);
  d.add(score);
  d.add(timeBonus);
  d.add(heldKeys);
  for (const Guard& g : guards) {
    d.add(g.active);
    d.add(g.waypoints[g.currentWaypoint].x);
    d.add(g.waypoints[g.currentWaypoint].y);
  }
  for (const PointObject& b : pointObjects) d.add(b.present);
  for (const KeyItem& k : keyItems) d.add(k.active);
  d.add(r.width);
  d.add(r.height);
  for (uint16_t p : r.lastFrame) d.add(p);
  return d.h;
}

std::string hex(uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016" PRIx64, v);
  return text;
}

// A changed digest means the game now plays or draws this replay differently:
// if that is meant, look at the pictures and put the new value here. Each
// replay ends on a picture without the frame-rate text (the help, or the
// meadow), since that text reads the real clock.
void expectDigest(const GameRun& r, uint64_t expected, const char* name) {
  const uint64_t got = stateDigest(r);
  EXPECT_EQ(hex(got), hex(expected)) << name << ": player " << player.x << ", " << player.y << " heading "
                                     << player.heading << ", score " << score << ", bonus " << timeBonus
                                     << ", items " << heldKeys << ", " << r.passes << " passes";
}

constexpr uint64_t kWinningDigest = 0x3e373bf54ceaaed5ull;
constexpr uint64_t kCaughtDigest = 0x7e79d69bd9c53517ull;

int countColour(const GameRun& r, uint16_t c, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += pixelAt(r, x, y) == c;
  return n;
}

double guardDistanceSquared(int k) {
  const Waypoint& w = guards[k].waypoints[guards[k].currentWaypoint];
  const double dx = static_cast<double>(player.x) - w.x, dy = static_cast<double>(player.y) - w.y;
  return dx * dx + dy * dy;
}

void savePicture(const GameRun& r, const std::string& path) {
  char error[128];
  ASSERT_FALSE(r.lastFrame.empty());
  ASSERT_TRUE(writePng555(path.c_str(), r.lastFrame.data(), r.width, r.height, r.width, false, error))
      << error;
}

// The passes in which the headless audio back end started sound `id`.
std::vector<int> passesOf(int id) {
  std::vector<int> passes;
  for (int i = 0; i < headlessPlayedCount(); ++i)
    if (headlessPlayed(i).id == id) passes.push_back(headlessPlayed(i).pass);
  return passes;
}

}  // namespace

TEST(Replay, WinningRunTakesEverythingAndLeavesThroughTheExit) {
  const std::vector<std::string> lines = replayLines("winning.txt");
  const GameRun r = play("winning.txt");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "");
  // The exit is reached on the last line: no pass is left over.
  EXPECT_EQ(r.passes, static_cast<int>(lines.size()));
  EXPECT_EQ(heldKeys, 7);
  for (const PointObject& b : pointObjects) EXPECT_EQ(b.present, 0);
  EXPECT_GT(timeBonus, 0);
  EXPECT_EQ(score, 300 + timeBonus);
  ASSERT_EQ(r.width, 640);
  ASSERT_EQ(r.height, 480);

  // The meadow fills the screen, its first stored row at the bottom: row 10
  // shows stored row 479 - trunc(10 * 480 / 479) = 469.
  int meadow = 0;
  for (int c = 0; c < 639; ++c)
    meadow += pixelAt(r, c, 10) == meadowPicture.pixels[469 * 640 + c * 640 / 639];
  EXPECT_EQ(meadow, 639);
  // "Ausgang erreicht!" in white at (127, 339), the score in 0x4E20 at (127, 379).
  EXPECT_GT(countColour(r, 0x7FFF, 127, 339, 500, 375), 50);
  EXPECT_GT(countColour(r, 0x4E20, 127, 379, 500, 415), 30);

  expectDigest(r, kWinningDigest, "winning.txt");
}

TEST(Replay, CaughtRunEndsWithTheWhiteGuardsMessage) {
  const std::vector<std::string> lines = replayLines("caught.txt");
  const GameRun r = play("caught.txt");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_EQ(r.passes, static_cast<int>(lines.size()));
  EXPECT_LT(guardDistanceSquared(0), kReachLimit);
  EXPECT_EQ(score, 100);
  ASSERT_EQ(r.width, 640);
  // "Du bist gefangen worden!" in red at (127, 239).
  EXPECT_GT(countColour(r, 0x7C00, 127, 239, 500, 270), 50);
  expectDigest(r, kCaughtDigest, "caught.txt");
}

TEST(Replay, PicturesBetweenPassesEndEachReplayAsOnePictureAPassDoes) {
  // A screen at 60 Hz: the headless loop draws pictures between the passes
  // on its virtual clock.
  setenv("QUILL_HEADLESS_REFRESH", "60", 1);
  const GameRun won = play("winning.txt");
  EXPECT_GT(won.presents, 2 * won.passes);
  expectDigest(won, kWinningDigest, "winning.txt, smooth");
  const GameRun caught = play("caught.txt");
  unsetenv("QUILL_HEADLESS_REFRESH");
  expectDigest(caught, kCaughtDigest, "caught.txt, smooth");
}

TEST(Replay, RedGuardTakesItsItemBackAndTheItemIsPickedUpAgain) {
  playTo("takeback.txt", "takenback");
  EXPECT_EQ(heldKeys & 1, 0);
  EXPECT_EQ(keyItems[0].active, 1) << "the red item lies at its place again";
  EXPECT_EQ(guards[1].active, 0) << "the red guard has left play";
  EXPECT_LT(guardDistanceSquared(1), kReachLimit);

  const GameRun r = play("takeback.txt");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_EQ(r.passes, static_cast<int>(replayLines("takeback.txt").size()));
  EXPECT_EQ(heldKeys, 1);
  EXPECT_EQ(keyItems[0].active, 0);
  EXPECT_EQ(guards[1].active, 1) << "picking the item up again releases its guard again";
  expectDigest(r, 0x4c851306b39ed1a7ull, "takeback.txt");
}

TEST(Replay, TogglesSwitchEveryViewAndTheGameGoesOn) {
  const std::string pictures = std::string(QUILL_BUILD_DIR) + "/replay-pictures";
  std::filesystem::create_directories(pictures);

  const GameRun stereo = playTo("toggles.txt", "stereo");
  EXPECT_EQ(stereoView, 1);
  // The stereo pair keeps the view at four fifths of the surface's height.
  EXPECT_EQ(viewRect.bottom, 4 * 479 / 5);
  savePicture(stereo, pictures + "/toggles-stereo.png");

  const GameRun map = playTo("toggles.txt", "map");
  EXPECT_EQ(stereoView, 0);
  EXPECT_EQ(showMap, 1);
  EXPECT_EQ(showGuardsOnMap, 1);
  savePicture(map, pictures + "/toggles-map.png");

  const GameRun off = playTo("toggles.txt", "alloff");
  EXPECT_EQ(
      showMap + showGuardsOnMap + showHelp + showFloorPoints + showTextures + showObjects + showSkyAndFloor,
      0);
  savePicture(off, pictures + "/toggles-alloff.png");

  // Only a full-screen game stops drawing while it is switched away, so the
  // standstill proves the switch to full screen.
  const GameRun away = playTo("toggles.txt", "away");
  const int bonus = timeBonus, tick = bonusTick;
  const GameRun stillAway = playTo("toggles.txt", "stillaway");
  EXPECT_EQ(stillAway.passes, away.passes + 12);
  EXPECT_EQ(stillAway.presents, away.presents);
  EXPECT_EQ(timeBonus, bonus);
  EXPECT_EQ(bonusTick, tick);

  const GameRun r = play("toggles.txt");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_EQ(r.passes, static_cast<int>(replayLines("toggles.txt").size()));
  EXPECT_EQ(r.presents - stillAway.presents, r.passes - stillAway.passes)
      << "drawing goes on after the return";
  EXPECT_EQ(stereoView + showMap + showGuardsOnMap, 0);
  EXPECT_EQ(showHelp + showFloorPoints + showTextures + showObjects + showSkyAndFloor, 5);
  expectDigest(r, 0x3f4907fb6810cda2ull, "toggles.txt");
}

// Pictures of the winning run every 100 passes and at its end, for a person
// to follow the route: build/replay-pictures/winning-NNNN.png.
TEST(Replay, WinningRunPicturesForAPerson) {
  const std::vector<std::string> lines = replayLines("winning.txt");
  const std::string dir = std::string(QUILL_BUILD_DIR) + "/replay-pictures";
  std::filesystem::create_directories(dir);
  size_t header = 0;
  while (header < lines.size() && lines[header].rfind("#", 0) == 0) ++header;
  for (size_t pass = 100; pass < lines.size() - header; pass += 100) {
    std::vector<std::string> prefix(lines.begin(), lines.begin() + static_cast<long>(header + 1 + pass));
    const GameRun r = playLines(prefix);
    char name[64];
    std::snprintf(name, sizeof name, "/winning-%04zu.png", pass);
    savePicture(r, dir + name);
  }
  savePicture(play("winning.txt"), dir + "/winning-end.png");
}

TEST(Replay, TheRealBinaryPlaysEachReplayFromItsFile) {
  const std::string scratch = scratchForThisTest("replay-binary");
  for (const char* name : {"winning.txt", "caught.txt", "takeback.txt", "toggles.txt"}) {
    const ChildRun c = runChild(std::string(QUILL_GAME_DIR) + "/quillmoor", QUILL_GAME_DIR, scratch,
                                {{"QUILL_DISPLAY", "headless"}, {"QUILL_INPUT", kReplays + name}}, 120);
    EXPECT_FALSE(c.timedOut) << name;
    EXPECT_EQ(c.signal, 0) << name;
    EXPECT_EQ(c.exitCode, 0) << name << ": " << c.err;
    EXPECT_EQ(c.out, "") << name;
  }
}

// The recorder writes each pass as a line the headless port reads back: held
// keys, presses in their order (a held key's press lives in its keys clause,
// F12 is always pressed), window events, and a close that ended the game.
TEST(Recorder, WritesOneScriptLinePerPass) {
  const std::string path = scratchForThisTest("recorder") + "/recorded.txt";
  ASSERT_EQ(recorderOpen(path.c_str(), 640, 480), 1);
  uint16_t keys[256] = {};
  auto press = [](int scan, int character, int repeat = 0) {
    DisplayEvent e{};
    e.kind = kDisplayKeyDown;
    e.scanCode = scan;
    e.character = character;
    e.repeat = repeat;
    recorderEvent(e);
  };
  auto event = [](int kind) {
    DisplayEvent e{};
    e.kind = kind;
    recorderEvent(e);
  };

  keys[0x48] = 0x4800;
  press(0x48, 0);
  recorderEndPass(keys);
  press(0x48, 0, 1);  // a repeat is no press
  keys[0x4B] = 0x4B00;
  press(0x4B, 0);
  recorderEndPass(keys);
  keys[0x48] = keys[0x4B] = 0;
  press(0x03, '2');
  press(0x01, 27);
  event(kDisplaySwitch);
  press(0x35, '#');
  recorderEndPass(keys);
  keys[0x58] = 0x5800;
  press(0x58, 0);
  press(0x1F, 0);  // a tap of a key that types nothing
  event(kDisplayFocusLost);
  event(kDisplayClose);
  recorderEndPass(keys);
  event(kDisplayClose);
  recorderEndPass(keys);
  recorderClose();
  EXPECT_EQ(recorderActive(), 0);

  std::vector<std::string> lines;
  std::ifstream f(path);
  for (std::string line; std::getline(f, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[2], kDialogChoose640 + std::string("  # the mode dialog: 640x480, 15 bits, in a window"));
  EXPECT_EQ(lines[3], "keys 48");
  EXPECT_EQ(lines[4], "keys 48 4B");
  EXPECT_EQ(lines[5], "keys; chars '2' 27; switch; chars 35");
  EXPECT_EQ(lines[6], "keys; key 58; key 1F; focus lost; close no");
  EXPECT_EQ(lines[7], "keys; close yes");
  resetHeadless();
  for (const std::string& line : lines) EXPECT_EQ(headlessApplyScriptLine(line.c_str()), 1) << line;
}

#ifdef QUILL_RECORDER
// Recording a replay while it plays gives a script that plays the same game.
TEST(Recorder, ARecordingPlaysBackTheSameGame) {
  for (const char* name : {"toggles.txt", "winning.txt"}) {
    const std::string path = scratchForThisTest("recorder") + "/recorded.txt";
    setenv("QUILL_RECORD", path.c_str(), 1);
    const GameRun original = play(name);
    unsetenv("QUILL_RECORD");
    const uint64_t expected = stateDigest(original);
    const GameRun again = runGameFromFile(QUILL_GAME_DIR, path);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(hex(stateDigest(again)), hex(expected)) << name << " recorded as " << path;
  }
}
#endif

// Writes a winning route for the current level and guards into
// build/replay-planned/winning.txt, for when a change to the rules breaks
// winning.txt: look at its pictures, then copy it over. Run by hand:
//   build/tests/test_game --gtest_also_run_disabled_tests --gtest_filter='*PlanAWinningRoute'
TEST(Replay, DISABLED_PlanAWinningRoute) {
  // The quickest win of the simulated player, seeing the guards without delay.
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  routeplan::Snapshot start;
  routeplan::save(start);
  std::string route;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    std::string keys;
    if (simplay::playPlanned(start, 0, seed, &keys).outcome == routeplan::kEscaped &&
        (route.empty() || keys.size() < route.size()))
      route = keys;
  }
  ASSERT_FALSE(route.empty()) << "the simulated player found no way to win";

  // The lines, with a note wherever the real frame collects something.
  startGameWithoutLoop(QUILL_GAME_DIR, 640, 480);
  std::vector<std::string> lines = {
      "# A winning run: the three bodies and the three items, each noted where it is taken, then the exit.",
      "# One line per main-loop pass (25 a second); \"keys\" lists the scan codes held:",
      "# 48 forward, 50 back, 4B turn left, 4D turn right, 4F sidestep left, 51 sidestep right.",
      "# The white guard hunts from the start; each picked-up item releases its guard.",
      "# The overview map (heading up) shows the walls seen so far and the guards.",
      kDialogChoose640 + std::string("  # the mode dialog: 640x480, 15 bits, in a window")};
  const char* itemNames[3] = {"red", "green", "blue"};
  for (size_t pass = 0; pass < route.size(); ++pass) {
    const int held = heldKeys, before = score;
    int present[3];
    for (int b = 0; b < 3; ++b) present[b] = pointObjects[b].present;
    routeplan::applyKey(route[pass]);
    runFrame();
    std::string note;
    for (int b = 0; b < 3; ++b)
      if (present[b] && !pointObjects[b].present) note += "; body " + std::to_string(b + 1);
    for (int i = 0; i < 3; ++i)
      if (!(held & (1 << i)) && (heldKeys & (1 << i))) note += std::string("; ") + itemNames[i] + " item";
    if (held == 7 && score > before) note += "; the exit";
    std::string line = "keys" + routeplan::scanCodeOf(route[pass]);
    if (pass == 0)
      line += "; chars '1' '2' '9'",
          note = "; the frame rate for the help, the overview map with the guards" + note;
    if (!note.empty()) line += "  # " + note.substr(2);
    lines.push_back(line);
  }
  const std::string dir = std::string(QUILL_BUILD_DIR) + "/replay-planned";
  std::filesystem::create_directories(dir);
  {
    std::ofstream f(dir + "/winning.txt");
    for (const std::string& line : lines) f << line << '\n';
  }
  const GameRun r = runGameFromFile(QUILL_GAME_DIR, dir + "/winning.txt");
  EXPECT_EQ(heldKeys, 7);
  EXPECT_EQ(score, 300 + timeBonus);
  EXPECT_EQ(r.passes, static_cast<int>(lines.size()));
  std::printf("%zu passes, score %d: %s/winning.txt\n", route.size(), score, dir.c_str());
}

// What the player hears, from the headless audio back end: each sound starts
// in the pass whose rule fires, which the game's state at the end of that pass
// and of the one before confirms (the replays may change; the passes are found, not written down).
TEST(ReplaySound, TheCaptureSoundsInTheCapturePassAfterTheWhiteGuardsSteps) {
  const GameRun r = play("caught.txt");
  EXPECT_EQ(passesOf(kSoundCapture), std::vector<int>{r.passes}) << "the capture ends the game in its pass";
  // Only the white guard walks: its heavy steps, a cell (ten passes) apart,
  // louder as it closes in.
  EXPECT_TRUE(passesOf(kSoundStep).empty());
  std::vector<int> volumes;
  for (int i = 0; i < headlessPlayedCount(); ++i)
    if (headlessPlayed(i).id == kSoundHeavyStep) volumes.push_back(headlessPlayed(i).volume);
  ASSERT_GE(volumes.size(), 3u);
  EXPECT_LT(volumes[volumes.size() - 3], volumes.back());
  const std::vector<int> steps = passesOf(kSoundHeavyStep);
  for (size_t i = 1; i < steps.size(); ++i) EXPECT_GE(steps[i] - steps[i - 1], 10);
  EXPECT_EQ(passesOf(kSoundWind).size(), 1u);
  const uint64_t withSound = stateDigest(r);

  // -nosound: nothing opened or played, and the very same game.
  const GameRun silent = runGameFromFile(QUILL_GAME_DIR, kReplays + "caught.txt", {"-NoSound"});
  EXPECT_EQ(headlessPlayedCount(), 0);
  EXPECT_EQ(headlessAudioIsOpen(), 0);
  EXPECT_EQ(silent.stdoutText, "");
  EXPECT_EQ(hex(stateDigest(silent)), hex(withSound));
}

TEST(ReplaySound, AnItemAndItsGuardsCallSoundInThePickUpPassAndTheTakingBackInItsPass) {
  play("takeback.txt");
  const std::vector<int> items = passesOf(kSoundItem), calls = passesOf(kSoundCallRed);
  const std::vector<int> takeBacks = passesOf(kSoundTakeBack), steps = passesOf(kSoundStep);
  ASSERT_EQ(items.size(), 2u) << "picked up, taken back, picked up again";
  EXPECT_EQ(calls, items) << "each pick-up releases the red guard";
  ASSERT_EQ(takeBacks.size(), 1u);
  ASSERT_FALSE(steps.empty());
  EXPECT_GT(steps.front(), items[0]) << "the red guard is heard only once it is released";

  playPasses("takeback.txt", static_cast<size_t>(items[0] - 1));
  EXPECT_EQ(heldKeys & 1, 0);
  playPasses("takeback.txt", static_cast<size_t>(items[0]));
  EXPECT_EQ(heldKeys & 1, 1);
  EXPECT_EQ(guards[1].active, 1);
  playPasses("takeback.txt", static_cast<size_t>(takeBacks[0] - 1));
  EXPECT_EQ(heldKeys & 1, 1);
  playPasses("takeback.txt", static_cast<size_t>(takeBacks[0]));
  EXPECT_EQ(heldKeys & 1, 0);
  EXPECT_EQ(guards[1].active, 0);
}

TEST(ReplaySound, TheWinningRunHearsEveryCrystalTheOpenExitAndTheFanfare) {
  const GameRun r = play("winning.txt");
  EXPECT_EQ(passesOf(kSoundCrystal).size(), 3u);
  EXPECT_GE(passesOf(kSoundItem).size(), 3u);
  ASSERT_EQ(passesOf(kSoundExit).size(), 1u);
  EXPECT_EQ(passesOf(kSoundFanfare), std::vector<int>{r.passes});
  // The exit opens with the last item.
  EXPECT_EQ(passesOf(kSoundExit).front(), passesOf(kSoundItem).back());
  EXPECT_TRUE(passesOf(kSoundCapture).empty());
}

TEST(ReplaySound, SoundHoldsWhileTheFullScreenGameIsSwitchedAway) {
  playTo("toggles.txt", "stillaway");
  EXPECT_EQ(headlessAudioIsPaused(), 1);
  play("toggles.txt");
  EXPECT_EQ(headlessAudioIsPaused(), 0);
}
