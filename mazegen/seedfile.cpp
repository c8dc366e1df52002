#include "mazegen/seedfile.h"

#include "game/savefile.h"
#include "mazegen/certify.h"

std::string writeSeedLevel(uint64_t seed, std::string& error) {
  const CertifiedMaze maze = certifiedMaze(seed);
  if (maze.text.empty()) {
    error = "seed " + std::to_string(seed) + " gives no fair maze in " + std::to_string(kMaxCandidates) +
            " tries; try another seed";
    return "";
  }
  const std::string name = "seed-" + std::to_string(seed) + ".txt";
  const std::string path = playerFilePath("XDG_CACHE_HOME", ".cache", name.c_str());
  if (path.empty()) {
    error = "nowhere to keep the maze: neither XDG_CACHE_HOME nor HOME is set";
    return "";
  }
  const std::string why = writePlayerFile(path, maze.text);
  if (!why.empty()) {
    error = "cannot write " + path + ": " + why;
    return "";
  }
  return path;
}
