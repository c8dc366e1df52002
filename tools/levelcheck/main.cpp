// quillmoor-levelcheck FILE: reads a level with the game's own reader and
// names everything the game would accept silently but a player would suffer.
// Exit code 0 for a sound level, 1 otherwise, 2 for a wrong command line.
#include <cstdio>
#include <cstring>

#include "tools/cli.h"
#include "world/level.h"
#include "world/levelcheck.h"

namespace {

constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: quillmoor-levelcheck FILE\n"
    "       quillmoor-levelcheck --help | --version\n"
    "Reads a level with the game's own reader and names what it would pass over.\n";

int usageError(const char* what, const char* arg) {
  std::fprintf(stderr, "quillmoor-levelcheck: %s%s\n%s", what, arg, kUsage);
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (answeredStandardOption(a, "quillmoor-levelcheck", kUsage)) return 0;
    if (std::strcmp(a, "--") == 0 && i + 1 < argc && !path) {
      path = argv[++i];  // a level whose name starts with '-'
    } else if (a[0] == '-' && a[1] != '\0') {
      return usageError("unknown option ", a);
    } else if (!path) {
      path = a;
    } else {
      return usageError("more than one file: ", a);
    }
  }
  if (!path) return usageError("no level file given", "");
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
