// The player's settings: keys, mouse, volumes, the help at start, the cues,
// the shapes, the remembered mode and the classic pictures, kept in $XDG_CONFIG_HOME/quillmoor/settings.ini
// (~/.config/quillmoor/ when unset). Without the file the game starts as it
// always has. A bad file never stops the game: what can be read is used, the
// rest keeps its default, and one line on stderr says so.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The movements a key can be bound to, in the order of their bits (game/controls.h).
enum Action { kActForward, kActBack, kActTurnLeft, kActTurnRight, kActSideLeft, kActSideRight, kActionCount };
constexpr int kKeysPerAction = 2;

struct Settings {
  int keys[kActionCount][kKeysPerAction];  // scan codes, 0 for none
  int padButtons[kActionCount];            // the game controller's button (PadButton), -1 for none
  int mouseTurning;                        // 1: horizontal mouse motion turns the player
  int mouseSpeed;                          // hundredths of a degree per pixel of motion
  int effectsVolume, windVolume;           // percent
  int helpAtStart;                         // the help overlay is on at the start
  int soundCues;                           // the direction cues for guards heard
  int shapes;                              // the items, their guards and tiles show shapes too
  int modeWidth, modeHeight, modeBits;     // the mode chosen last; 0 before any
  int windowed, stretch;                   // and how it was started
  int askForMode;                          // 0: start in the remembered mode without the dialog
  int classicPictures;                     // 1: one picture a pass, none drawn between passes
};

struct SettingsEntry {
  std::string section, key, value;
};
// The file as read: every entry in order, the ones the game does not know
// included, so that rewriting the file keeps them.
struct SettingsFile {
  std::vector<SettingsEntry> entries;
  int unreadable;  // 1: the file is there but could not be read; it is never written over
};

extern Settings settings;
Settings defaultSettings();

// The file's path from the environment; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string settingsPath();
// Reads the file into `settings`; says on stderr, in one line, what it could not read.
void loadSettings();
// Hands the pad buttons of `settings` to the game controllers.
void applyPadButtons();
// The name of a pad button ("A", "DpadUp", ...), "-" for -1.
const char* padButtonName(int button);
// Writes `settings` atomically (a temporary file renamed over the old one);
// false when it could not, said once per run on stderr.
bool saveSettings();

// ---- Pure parts, for tests and the fuzzer ----
// Reads INI text over `out` (which holds the defaults) and records every entry
// in `file`; returns how many lines or values could not be used.
int parseSettings(const char* data, size_t size, Settings& out, SettingsFile& file);
// The file's text for `s`: the entries read, known values updated in place,
// changed values the file lacked added to their section.
std::string formatSettings(const Settings& s, const SettingsFile& file);

// Tests only.
void resetSettings();
