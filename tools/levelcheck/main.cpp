// quillmoor-levelcheck FILE: reads a level with the game's own reader and
// names everything the game would accept silently but a player would suffer.
// Exit code 0 for a sound level, 1 otherwise.
#include <cstdio>

#include "checks.h"
#include "world/level.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillmoor-levelcheck FILE\n");
    return 1;
  }
  const char* path = argv[1];
  // The game's reader says nothing about a missing file; the checker does.
  FILE* probe = std::fopen(path, "rb");
  if (!probe) {
    std::fprintf(stderr, "%s: cannot open the file for reading\n", path);
    return 1;
  }
  std::fclose(probe);

  static LevelMap map;
  LevelReport report;
  readLevelFile(map, path, &report);
  int openCells = 0;
  const std::vector<std::string> findings = checkLevel(map, report, &openCells);
  for (const std::string& f : findings) std::printf("%s: %s\n", path, f.c_str());
  if (!findings.empty()) {
    std::printf("%s: %zu problem%s\n", path, findings.size(), findings.size() == 1 ? "" : "s");
    return 1;
  }
  std::printf("%s: ok: %d x %d cells, %d guard%s, %d open cells, all reachable\n", path, map.width,
              map.height, map.guardCount, map.guardCount == 1 ? "" : "s", openCells);
  return 0;
}
