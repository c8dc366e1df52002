// The command line: the display back ends' switches and -nosound, as the game
// always took them, and the options for people and launchers: --help,
// --version, --window, --fullscreen, --mode WxH, --setup, --level FILE,
// --shapes, --classic, --record FILE, --replay FILE, --seed N and --daily.
#pragma once
#include <cstdint>
#include <cstdio>

struct DriverOptions;

enum LaunchDisplay { kLaunchAsChosen, kLaunchWindow, kLaunchFullScreen };

struct LaunchOptions {
  int help, version, setup, sound;
  int shapes;                 // --shapes: this run shows the items' shapes, whatever the settings say
  int classic;                // --classic: one picture a pass, none between, whatever the settings say
  int display;                // LaunchDisplay
  int modeWidth, modeHeight;  // --mode; 0 when not given
  const char* level;          // --level; nullptr when not given
  const char* record;         // --record FILE: the input goes there as a replay script
  const char* replay;         // --replay FILE: that script played back without a window
  int seeded;                 // --seed N: the certified maze of seed N
  uint64_t seed;
  int daily;        // --daily: the seed of today's date
  char error[160];  // a bad option: said with the usage, exit code 2
};

// Reads the options; anything else on the command line is ignored, as it always was.
LaunchOptions parseLaunchOptions(int argc, char** argv);
void printUsage(std::FILE* to);

// The largest seed: seeds are whole numbers that fit a signed 64-bit value.
constexpr uint64_t kLargestSeed = 0x7FFFFFFFFFFFFFFFull;
// A seed as given on a command line: decimal digits alone (no sign, no spaces),
// 0 to kLargestSeed. False for anything else, seed untouched.
bool parseSeed(const char* text, uint64_t& seed);

// Clears the DriverOptions word of every recognised switch (ASCII case ignored).
void parseCommandLine(int argc, char** argv, DriverOptions& options);
// The game's DriverOptions before any switch: every back end but OpenGL, 15/16-bit modes.
DriverOptions defaultGameOptions();
