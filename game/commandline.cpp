#include "game/commandline.h"

#include <strings.h>

#include <cstring>

#include "framework/framework.h"

namespace {

// Each switch clears one DriverOptions word.
struct Switch {
  const char* text;
  int word;
};
const Switch kSwitches[] = {
    {"-notarvok", kOptTarvok}, {"-nodirectdraw", kOptDirectDraw},
    {"-novga", kOptVga},       {"-novgax", kOptVgaModeX},
    {"-novbe", kOptVbe},       {"-nolinear", kOptLinear},
    {"-novbeaf", kOptVbeAf},
};

constexpr int kLargestSide = 16384;  // no display mode is larger

// "WxH" with both sides in 1..kLargestSide and nothing after them.
bool parseSize(const char* text, int& w, int& h) {
  int used = 0;
  if (std::sscanf(text, "%6dx%6d%n", &w, &h, &used) != 2 || text[used] != '\0') return false;
  return w >= 1 && h >= 1 && w <= kLargestSide && h <= kLargestSide;
}

}  // namespace

bool parseSeed(const char* text, uint64_t& seed) {
  if (!text || !*text) return false;
  uint64_t v = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(*c - '0');
    if (v > (kLargestSeed - digit) / 10) return false;
    v = v * 10 + digit;
  }
  seed = v;
  return true;
}

DriverOptions defaultGameOptions() { return DriverOptions{{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 2}}; }

void parseCommandLine(int argc, char** argv, DriverOptions& options) {
  for (int i = 1; i < argc; ++i) {
    if (!argv[i]) continue;
    for (const Switch& s : kSwitches)
      if (strcasecmp(argv[i], s.text) == 0) options.words[s.word] = 0;
  }
}

LaunchOptions parseLaunchOptions(int argc, char** argv) {
  LaunchOptions o{};
  o.sound = 1;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!a) continue;
    if (strcasecmp(a, "-nosound") == 0) o.sound = 0;
    if (std::strcmp(a, "--help") == 0) o.help = 1;
    if (std::strcmp(a, "--version") == 0) o.version = 1;
    if (std::strcmp(a, "--setup") == 0) o.setup = 1;
    if (std::strcmp(a, "--shapes") == 0) o.shapes = 1;
    if (std::strcmp(a, "--classic") == 0) o.classic = 1;
    if (std::strcmp(a, "--window") == 0) o.display = kLaunchWindow;
    if (std::strcmp(a, "--fullscreen") == 0) o.display = kLaunchFullScreen;
    if (std::strcmp(a, "--level") == 0 || std::strncmp(a, "--level=", 8) == 0) {
      o.level = a[7] == '=' ? a + 8 : (i + 1 < argc ? argv[++i] : nullptr);
      if (!o.level || !*o.level)
        std::snprintf(o.error, sizeof o.error, "--level needs a level file, for example --level Level1.txt");
      continue;
    }
    if (std::strcmp(a, "--daily") == 0) o.daily = 1;
    if (std::strcmp(a, "--seed") == 0 || std::strncmp(a, "--seed=", 7) == 0) {
      const char* n = a[6] == '=' ? a + 7 : (i + 1 < argc ? argv[++i] : nullptr);
      o.seeded = 1;
      if (!n)
        std::snprintf(o.error, sizeof o.error, "--seed needs a number, for example --seed 42");
      else if (!parseSeed(n, o.seed))
        std::snprintf(o.error, sizeof o.error, "--seed %.40s: not a whole number from 0 to %llu", n,
                      static_cast<unsigned long long>(kLargestSeed));
      continue;
    }
    const char** file = std::strcmp(a, "--record") == 0   ? &o.record
                        : std::strcmp(a, "--replay") == 0 ? &o.replay
                                                          : nullptr;
    if (file) {
      *file = i + 1 < argc ? argv[++i] : nullptr;
      if (!*file || !**file) std::snprintf(o.error, sizeof o.error, "%s needs a file name", a);
      continue;
    }
    const bool joined = std::strncmp(a, "--mode=", 7) == 0;
    if (std::strcmp(a, "--mode") != 0 && !joined) continue;
    const char* size = joined ? a + 7 : (i + 1 < argc ? argv[++i] : nullptr);
    if (!size)
      std::snprintf(o.error, sizeof o.error, "--mode needs a size, for example --mode 640x480");
    else if (!parseSize(size, o.modeWidth, o.modeHeight))
      std::snprintf(o.error, sizeof o.error, "--mode %.40s: not a size like 640x480 (1 to %d pixels a side)",
                    size, kLargestSide);
  }
  if (!o.error[0] && (o.level != nullptr) + o.seeded + o.daily > 1)
    std::snprintf(o.error, sizeof o.error, "--level, --seed and --daily each choose the maze: give one");
  return o;
}

void printUsage(std::FILE* to) {
  std::fputs(
      "Usage: quillmoor [--window | --fullscreen] [--mode WxH] [--setup]\n"
      "                 [--level FILE | --seed N | --daily] [--shapes] [--classic] [-nosound]\n"
      "                 [--record FILE] [--replay FILE] [-noDRIVER...]\n"
      "       quillmoor --help | --version\n"
      "\n"
      "  --window, --fullscreen  start in a window or full screen, without the mode dialog\n"
      "  --mode WxH              start in the listed mode nearest to W x H, without the dialog\n"
      "  --setup                 show the mode dialog even when it was told not to ask again\n"
      "  --level FILE            play this level file (an installed one by name, or a path)\n"
      "  --seed N                play the maze made from seed N (0 to 9223372036854775807),\n"
      "                          certified fair before play; the same N, the same maze\n"
      "  --daily                 play today's maze: the seed is the UTC date as YYYYMMDD\n"
      "  --shapes                show the items, their guards and tiles with shapes as well as\n"
      "                          colours (the setting Formen)\n"
      "  --classic               one picture a pass (25 a second), none drawn between the\n"
      "                          passes at the screen's rate\n"
      "  -nosound                play without sound\n"
      "  --record FILE           write what you press, pass by pass, into FILE as a replay\n"
      "  --replay FILE           play a recorded FILE back without a window\n"
      "  -notarvok -nodirectdraw -novga -novgax -novbe -nolinear -novbeaf\n"
      "                          turn one display back end off\n"
      "\n"
      "Settings: $XDG_CONFIG_HOME/quillmoor/settings.ini (see quillmoor(6)).\n",
      to);
}
