// quillmoor-levelcheck FILE: reads a level with the game's own reader and
// names everything the game would accept silently but a player would suffer.
// Exit code 0 for a sound level, 1 otherwise, 2 for a wrong command line.
// quillmoor-levelcheck generate --seed N [--out FILE] writes the certified
// maze of a seed, as the game's --seed plays it.
#include <cstdio>
#include <cstring>

#include "game/commandline.h"
#include "mazegen/certify.h"
#include "tools/cli.h"
#include "world/level.h"
#include "world/levelcheck.h"

namespace {

constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: quillmoor-levelcheck FILE\n"
    "       quillmoor-levelcheck generate --seed N [--out FILE]\n"
    "       quillmoor-levelcheck --help | --version\n"
    "Reads a level with the game's own reader and names what it would pass over;\n"
    "generate writes the maze of seed N (0 to 9223372036854775807), certified fair,\n"
    "to FILE or standard output.\n";

int usageError(const char* what, const char* arg) {
  std::fprintf(stderr, "quillmoor-levelcheck: %s%s\n%s", what, arg, kUsage);
  return kUsageError;
}

int generate(int argc, char** argv) {
  uint64_t seed = 0;
  bool seeded = false;
  const char* out = nullptr;
  for (int i = 2; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--seed") == 0 || std::strcmp(a, "--out") == 0) {
      if (i + 1 >= argc) return usageError(a, " needs a value");
      const char* value = argv[++i];
      if (a[2] == 'o') {
        out = value;
      } else if (!parseSeed(value, seed)) {
        return usageError("--seed needs a whole number from 0 to 9223372036854775807, not ", value);
      } else {
        seeded = true;
      }
    } else {
      return usageError("generate: unknown argument ", a);
    }
  }
  if (!seeded) return usageError("generate needs --seed N", "");
  const CertifiedMaze maze = certifiedMaze(seed);
  if (maze.text.empty()) {
    std::fprintf(stderr, "quillmoor-levelcheck: seed %llu: no candidate of %u was fair\n",
                 static_cast<unsigned long long>(seed), maze.candidates);
    return 1;
  }
  std::FILE* to = out ? std::fopen(out, "wb") : stdout;
  const bool written = to && std::fwrite(maze.text.data(), 1, maze.text.size(), to) == maze.text.size();
  if (out && (!to || std::fclose(to) != 0 || !written)) {
    std::fprintf(stderr, "%s: cannot write the level\n", out);
    return 1;
  }
  std::fprintf(stderr, "quillmoor-levelcheck: seed %llu: certified after %u candidate%s\n",
               static_cast<unsigned long long>(seed), maze.candidates, maze.candidates == 1 ? "" : "s");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "generate") == 0) return generate(argc, argv);
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
