#include "game/levelchoice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "game/bests.h"
#include "world/level.h"
#include "world/levelcheck.h"

namespace {
std::string g_levelPath = kLevelFileName;

// The shipped mazes, by the names they have in the game folder, in playing order.
const char* const kMazeSet[] = {kLevelFileName, "Level2.txt", "Level3.txt",
                                "Level4.txt",   "Level5.txt", "Level6.txt"};

bool readable(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}
}  // namespace

std::string resolveLevelPath(const char* arg) {
  const std::string name = arg ? arg : "";
  if (name.find('/') == std::string::npos) {
    for (const std::string& installed : {name, name + ".txt"})
      if (!name.empty() && readable(installed)) return installed;
  }
  return fromStartFolder(name.c_str());
}

std::string fromStartFolder(const char* name) {
  const std::string file = name ? name : "";
  const char* start = std::getenv("QUILL_START_DIR");
  if (file.empty() || file[0] == '/' || !start || !*start) return file;
  return std::string(start) + "/" + file;
}

std::string levelFaults(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return path + ": cannot open the level: " + std::strerror(errno) + "\n";
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  if (size > kMaxLevelBytes) return path + ": larger than a level file can be (1 MB)\n";
  static LevelMap map;
  LevelReport report;
  readLevelFile(map, path.c_str(), &report);
  int openCells = 0;
  std::string text;
  for (const std::string& finding : checkLevel(map, report, &openCells)) text += path + ": " + finding + "\n";
  return text;
}

namespace {
constexpr char kMazeNote[] = "maze ";

std::string hex(uint64_t v) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}
}  // namespace

std::string recordingMazeNote(const std::string& levelPath) {
  const size_t slash = levelPath.rfind('/');
  return kMazeNote + hex(mazeFileHash(levelPath.c_str())) + " " +
         (slash == std::string::npos ? levelPath : levelPath.substr(slash + 1));
}

std::string replayMazeFault(const std::string& replayPath, const std::string& levelPath) {
  std::FILE* f = std::fopen(replayPath.c_str(), "r");
  if (!f) return "";  // the headless port says itself that it cannot read the script
  char line[256];
  std::string named;
  // The note stands in the header, among the first lines.
  for (int n = 0; n < 8 && std::fgets(line, sizeof line, f); ++n) {
    const std::string text = line;
    if (text.rfind(std::string("# ") + kMazeNote, 0) == 0) {
      named = text.substr(2 + sizeof kMazeNote - 1);
      while (!named.empty() && (named.back() == '\n' || named.back() == '\r')) named.pop_back();
      break;
    }
  }
  std::fclose(f);
  if (named.empty()) return "";
  const std::string have = hex(mazeFileHash(levelPath.c_str()));
  if (named.compare(0, have.size(), have) == 0) return "";
  const std::string name = named.size() > have.size() + 1 ? named.substr(have.size() + 1) : named;
  return replayPath + " was recorded on another maze (" + name + "), not on " + levelPath +
         "; give that maze with --level\n";
}

std::string nextLevelInSet(const std::string& path) {
  const size_t count = std::size(kMazeSet);
  for (size_t k = 0; k < count; ++k)
    if (path == kMazeSet[k]) return kMazeSet[(k + 1) % count];
  return path;
}

void setLevelPath(const std::string& path) { g_levelPath = path.empty() ? kLevelFileName : path; }
const char* levelPath() { return g_levelPath.c_str(); }
