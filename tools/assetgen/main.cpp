// quillmoor-assetgen: paints every picture of the game from code and writes them
// as .16B files. Usage: quillmoor-assetgen OUTDIR [FONT] [--preview DIR]
// FONT is the stroke font used for the title lettering; --preview also writes
// a PPM of each picture, upright, for people to look at.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/assetgen/icons.h"
#include "tools/assetgen/pictures.h"
#include "tools/assetgen/writer.h"

int main(int argc, char** argv) {
  const char* outDir = nullptr;
  const char* fontPath = nullptr;
  std::string previewDir;
  if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return writeIcons(argv[2], "quillmoor") ? 0 : 1;
  if (argc == 4 && std::strcmp(argv[1], "--icon-source") == 0)
    return writeIconSource(argv[2], std::atoi(argv[3])) ? 0 : 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--preview") == 0) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "assetgen: --preview needs a folder\n");
        return 2;
      }
      previewDir = argv[++i];
    } else if (!outDir) {
      outDir = argv[i];
    } else if (!fontPath) {
      fontPath = argv[i];
    } else {
      std::fprintf(stderr, "assetgen: unexpected argument %s\n", argv[i]);
      return 2;
    }
  }
  if (!outDir) {
    std::fprintf(stderr,
                 "usage: quillmoor-assetgen OUTDIR [FONT] [--preview DIR]\n"
                 "       quillmoor-assetgen --icons DIR\n"
                 "       quillmoor-assetgen --icon-source FILE.cpp SIZE\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (!previewDir.empty()) std::filesystem::create_directories(previewDir, ec);
  setOutputFolders(outDir, previewDir);

  // Catalogue order, so a failure part-way leaves the early pictures in place.
  makeTitle(fontPath);
  makeBrickPictures();
  makeGuardPictures();
  makeSkyAndFloor();
  makeMeadow();
  makeColourTiles();
  makeItemPictures();
  makeShapeMarks();

  if (anyWriteFailed()) return 1;
  return 0;
}
