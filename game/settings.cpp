#include "game/settings.h"

#include <ini.h>
#include <strings.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "game/controls.h"
#include "game/keynames.h"
#include "game/savefile.h"
#include "platform/gamepad.h"
#include "platform/scancodes.h"

Settings settings = defaultSettings();

namespace {

// A settings file is a few hundred bytes; anything past this is not ours to rewrite.
constexpr size_t kMaxSettingsBytes = 64 * 1024;

SettingsFile g_file;
bool g_saidCannotWrite = false;

enum Kind { kNumber, kSwitch, kKeys, kMode, kPadButton };
// Every setting the game knows: where it stands in the file and what it holds.
struct Field {
  const char* section;
  const char* key;
  Kind kind;
  int Settings::*value;  // kNumber, kSwitch
  int lo, hi;            // kNumber's range; kKeys' action
};
const Field kFields[] = {
    {"keys", "forward", kKeys, nullptr, kActForward, 0},
    {"keys", "back", kKeys, nullptr, kActBack, 0},
    {"keys", "turnleft", kKeys, nullptr, kActTurnLeft, 0},
    {"keys", "turnright", kKeys, nullptr, kActTurnRight, 0},
    {"keys", "sideleft", kKeys, nullptr, kActSideLeft, 0},
    {"keys", "sideright", kKeys, nullptr, kActSideRight, 0},
    {"pad", "forward", kPadButton, nullptr, kActForward, 0},
    {"pad", "back", kPadButton, nullptr, kActBack, 0},
    {"pad", "turnleft", kPadButton, nullptr, kActTurnLeft, 0},
    {"pad", "turnright", kPadButton, nullptr, kActTurnRight, 0},
    {"pad", "sideleft", kPadButton, nullptr, kActSideLeft, 0},
    {"pad", "sideright", kPadButton, nullptr, kActSideRight, 0},
    {"mouse", "turning", kSwitch, &Settings::mouseTurning, 0, 1},
    {"mouse", "speed", kNumber, &Settings::mouseSpeed, 1, 100},
    {"sound", "effects", kNumber, &Settings::effectsVolume, 0, 100},
    {"sound", "wind", kNumber, &Settings::windVolume, 0, 100},
    {"game", "help", kSwitch, &Settings::helpAtStart, 0, 1},
    {"game", "cues", kSwitch, &Settings::soundCues, 0, 1},
    {"game", "shapes", kSwitch, &Settings::shapes, 0, 1},
    {"display", "mode", kMode, nullptr, 0, 0},
    {"display", "window", kSwitch, &Settings::windowed, 0, 1},
    {"display", "stretch", kSwitch, &Settings::stretch, 0, 1},
    {"display", "ask", kSwitch, &Settings::askForMode, 0, 1},
    {"display", "classic", kSwitch, &Settings::classicPictures, 0, 1},
};
static_assert(std::size(kFields) == 2 * kActionCount + 12, "one line per setting");

// By PadButton.
const char* const kPadButtonNames[] = {"A",     "B",      "X",         "Y",          "Back",
                                       "Guide", "Start",  "LeftStick", "RightStick", "LB",
                                       "RB",    "DpadUp", "DpadDown",  "DpadLeft",   "DpadRight"};
static_assert(std::size(kPadButtonNames) == kPadButtonCount, "a name for every button");
// The pad's key of an action: its movement keys come in the actions' order.
constexpr int padKeyOf(int action) { return static_cast<int>(kPadKeyForward) + action; }
static_assert(padKeyOf(kActBack) == kPadKeyBack && padKeyOf(kActSideRight) == kPadKeySideRight,
              "the pad's movement keys in the actions' order");
constexpr bool isMovement(int padKey) { return padKey >= padKeyOf(0) && padKey < padKeyOf(kActionCount); }

bool parsePadButton(const char* text, int& out) {
  if (strcasecmp(text, "none") == 0) return out = -1, true;
  for (int b = 0; b < kPadButtonCount; ++b)
    if (strcasecmp(text, kPadButtonNames[b]) == 0) return out = b, true;
  return false;
}
static_assert(std::size(kSteering) == kActionCount, "a built-in key for every action");
static_assert(
    [] {
      for (int a = 0; a < kActionCount; ++a)
        if (kSteering[a].move != moveOfAction(a)) return false;
      return true;
    }(),
    "the built-in keys in the actions' order");

const Field* findField(const char* section, const char* key) {
  for (const Field& f : kFields)
    if (strcasecmp(f.section, section) == 0 && strcasecmp(f.key, key) == 0) return &f;
  return nullptr;
}

bool parseInt(const char* text, int lo, int hi, int& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

bool parseSwitch(const char* text, int& out) {
  for (const char* yes : {"on", "yes", "true", "1"})
    if (strcasecmp(text, yes) == 0) return out = 1, true;
  for (const char* no : {"off", "no", "false", "0"})
    if (strcasecmp(text, no) == 0) return out = 0, true;
  return false;
}

// Up to two key names, separated by spaces or commas; "none" for no key.
bool parseKeys(const char* text, int (&keys)[kKeysPerAction]) {
  int found[kKeysPerAction] = {};
  int n = 0;
  char word[32];
  for (const char* p = text; *p;) {
    while (*p == ' ' || *p == ',') ++p;
    size_t len = std::strcspn(p, " ,");
    if (len == 0) break;
    if (len >= sizeof word || n == kKeysPerAction) return false;
    std::memcpy(word, p, len);
    word[len] = '\0';
    p += len;
    if (strcasecmp(word, "none") == 0) continue;
    const int code = keyByName(word);
    if (code == 0) return false;
    found[n++] = code;
  }
  for (int i = 0; i < kKeysPerAction; ++i) keys[i] = found[i];
  return true;
}

// "640x480x15", or "640x480" for 15 bits.
bool parseMode(const char* text, Settings& s) {
  int w = 0, h = 0, bits = 15, used = 0;
  const int n = std::sscanf(text, "%5dx%5d%n", &w, &h, &used);
  if (n != 2) return false;
  if (text[used] == 'x') {
    int more = 0;
    if (std::sscanf(text + used + 1, "%2d%n", &bits, &more) != 1) return false;
    used += 1 + more;
  }
  if (text[used] != '\0' || w < 1 || h < 1 || (bits != 15 && bits != 16)) return false;
  s.modeWidth = w, s.modeHeight = h, s.modeBits = bits;
  return true;
}

bool apply(const Field& f, const char* value, Settings& s) {
  switch (f.kind) {
    case kNumber: return parseInt(value, f.lo, f.hi, s.*f.value);
    case kSwitch: return parseSwitch(value, s.*f.value);
    case kKeys: return parseKeys(value, s.keys[f.lo]);
    case kMode: return parseMode(value, s);
    case kPadButton: return parsePadButton(value, s.padButtons[f.lo]);
  }
  return false;
}

std::string format(const Field& f, const Settings& s) {
  char text[64];
  switch (f.kind) {
    case kNumber: std::snprintf(text, sizeof text, "%d", s.*f.value); break;
    case kSwitch: std::snprintf(text, sizeof text, "%s", s.*f.value ? "on" : "off"); break;
    case kKeys: {
      std::string keys;
      for (int code : s.keys[f.lo]) {
        const char* name = keyName(code);
        if (!name) continue;
        if (!keys.empty()) keys += ' ';
        keys += name;
      }
      return keys.empty() ? "none" : keys;
    }
    case kMode: std::snprintf(text, sizeof text, "%dx%dx%d", s.modeWidth, s.modeHeight, s.modeBits); break;
    case kPadButton: {
      const int b = s.padButtons[f.lo];
      return b < 0 ? "none" : kPadButtonNames[b];
    }
  }
  return text;
}

struct ParseState {
  Settings* out;
  SettingsFile* file;
  int bad;
};

// Text a person could have written: no control characters (a tab aside).
bool plainText(const char* text) {
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
    if ((*c < 0x20 && *c != '\t') || *c == 0x7F) return false;
  return true;
}

int onEntry(void* user, const char* section, const char* key, const char* value) {
  ParseState& p = *static_cast<ParseState*>(user);
  // Binary junk is no entry worth keeping when the file is written again, nor
  // is one without a name (written back, " = value" would read as the value's
  // continuation) or whose line, "key = value", would not fit the parser's line.
  if (!*key || !plainText(section) || !plainText(key) || !plainText(value) ||
      std::strlen(key) + std::strlen(value) + 4 >= INI_MAX_LINE) {
    ++p.bad;
    return 1;
  }
  p.file->entries.push_back({section, key, value});
  if (const Field* f = findField(section, key)) {
    if (!apply(*f, value, *p.out)) ++p.bad;
  }
  return 1;  // unknown keys are kept, not errors
}

bool isDefault(const Field& f, const Settings& s) {
  static const Settings kDefaults = defaultSettings();
  return format(f, s) == format(f, kDefaults);
}

}  // namespace

Settings defaultSettings() {
  Settings s{};
  // The keypad's keys first, then the letters a laptop player reaches for.
  const int letters[kActionCount] = {
      kScanLetterRowQ + 1,  // W
      kScanLetterRowA + 1,  // S
      kScanLetterRowQ,      // Q
      kScanLetterRowQ + 2,  // E
      kScanLetterRowA,      // A
      kScanLetterRowA + 2,  // D
  };
  for (int a = 0; a < kActionCount; ++a) {
    s.keys[a][0] = kSteering[a].scanCode;
    s.keys[a][1] = letters[a];
  }
  // The pad's movements as its own table has them: the d-pad and the shoulders.
  for (int a = 0; a < kActionCount; ++a) s.padButtons[a] = -1;
  for (int b = 0; b < kPadButtonCount; ++b) {
    const int key = kDefaultPadButtonKeys[b];
    if (isMovement(key)) s.padButtons[key - padKeyOf(0)] = b;
  }
  s.mouseTurning = 1;
  s.mouseSpeed = 10;
  s.effectsVolume = s.windVolume = 100;
  s.helpAtStart = 1;
  s.soundCues = 0;
  s.shapes = 0;
  s.windowed = 1;
  s.stretch = 0;
  s.askForMode = 1;
  return s;
}

int parseSettings(const char* data, size_t size, Settings& out, SettingsFile& file) {
  ParseState state{&out, &file, 0};
  const int firstBadLine = parseIniText(data, size, onEntry, &state);
  return state.bad + (firstBadLine != 0 ? 1 : 0);
}

std::string formatSettings(const Settings& s, const SettingsFile& file) {
  std::vector<SettingsEntry> out = file.entries;
  for (const Field& f : kFields) {
    bool present = false;
    size_t lastOfSection = out.size();
    for (size_t i = 0; i < out.size(); ++i) {
      if (strcasecmp(out[i].section.c_str(), f.section) != 0) continue;
      lastOfSection = i;
      if (strcasecmp(out[i].key.c_str(), f.key) != 0) continue;
      out[i].value = format(f, s);
      present = true;
    }
    if (present || isDefault(f, s)) continue;
    const SettingsEntry e{f.section, f.key, format(f, s)};
    out.insert(lastOfSection == out.size() ? out.end() : out.begin() + lastOfSection + 1, e);
  }
  std::string text = "# Quillmoor's settings, written by the game: see quillmoor(6).\n";
  const std::string* section = nullptr;
  for (const SettingsEntry& e : out) {
    if (!section || *section != e.section) {
      text += (section ? "\n[" : "[") + e.section + "]\n";
      section = &e.section;
    }
    text += e.key + " = " + e.value + "\n";
  }
  return text;
}

std::string settingsPath() { return playerFilePath("XDG_CONFIG_HOME", ".config", "settings.ini"); }

void loadSettings() {
  settings = defaultSettings();
  g_file = SettingsFile{};
  const std::string path = settingsPath();
  if (path.empty()) return;
  const FileText read = readWholeFile(path, kMaxSettingsBytes);
  if (read.why) {
    std::fprintf(
        stderr,
        "quillmoor: cannot read the settings in %s (%s); starting with the defaults and leaving the file "
        "as it is\n",
        path.c_str(), read.why);
    g_file.unreadable = 1;
    return;
  }
  if (parseSettings(read.text.data(), read.text.size(), settings, g_file) > 0)
    std::fprintf(
        stderr,
        "quillmoor: some lines of the settings in %s could not be used; the defaults stand for them\n",
        path.c_str());
}

bool saveSettings() {
  const std::string path = settingsPath();
  const auto cannot = [&](const char* why) {
    if (!g_saidCannotWrite)
      std::fprintf(stderr,
                   "quillmoor: the settings cannot be saved in %s (%s); they hold until the game ends\n",
                   path.empty() ? "any folder: neither XDG_CONFIG_HOME nor HOME is set" : path.c_str(), why);
    g_saidCannotWrite = true;
    return false;
  };
  if (path.empty()) return cannot("no folder");
  if (g_file.unreadable) return false;  // said when it was read: the file stays as it is
  const std::string text = formatSettings(settings, g_file);
  const std::string failed = writePlayerFile(path, text);
  if (!failed.empty()) return cannot(failed.c_str());
  // Later saves keep what this one wrote, unknown entries included.
  SettingsFile written{};
  Settings ignored = defaultSettings();
  parseSettings(text.data(), text.size(), ignored, written);
  g_file = written;
  return true;
}

const char* padButtonName(int button) {
  return button >= 0 && button < kPadButtonCount ? kPadButtonNames[button] : "-";
}

void applyPadButtons() {
  resetPadButtonKeys();
  // A button keeps its own job (the map, the help, quitting) unless a movement takes it.
  for (int b = 0; b < kPadButtonCount; ++b) {
    const int key = kDefaultPadButtonKeys[b];
    if (isMovement(key)) setPadButtonKey(b, -1);
  }
  for (int a = 0; a < kActionCount; ++a)
    if (settings.padButtons[a] >= 0) setPadButtonKey(settings.padButtons[a], padKeyOf(a));
}

void resetSettings() {
  settings = defaultSettings();
  g_file = SettingsFile{};
  g_saidCannotWrite = false;
}
