#include "game/levelchoice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

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

std::string nextLevelInSet(const std::string& path) {
  const size_t count = std::size(kMazeSet);
  for (size_t k = 0; k < count; ++k)
    if (path == kMazeSet[k]) return kMazeSet[(k + 1) % count];
  return path;
}

void setLevelPath(const std::string& path) { g_levelPath = path.empty() ? kLevelFileName : path; }
const char* levelPath() { return g_levelPath.c_str(); }
