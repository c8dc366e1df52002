// quillmoor-soundgen: synthesises every sound of the game from code and writes
// them as 16-bit PCM WAV files. Usage: quillmoor-soundgen OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/soundgen/sounds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillmoor-soundgen OUTDIR\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  int failed = 0;
  for (const SoundRecipe& r : kRecipes) {
    const std::string path = std::string(argv[1]) + "/" + r.name;
    const std::string bytes = wavBytes(renderSound(r));
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f.good()) {
      std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
      ++failed;
    }
  }
  return failed ? 1 : 0;
}
