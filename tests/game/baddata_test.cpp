// The real game binary, headless and in a child process, started in copies of
// the game folder whose level, pictures or font are missing, empty, short, too
// long or corrupt. It must print exactly its German file and font lines, keep
// running, end cleanly on Esc, never crash or hang, and write nothing into the
// folder it plays in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/subprocess.h"
#include "support/testdata.h"

namespace fs = std::filesystem;

namespace {

const std::string kCannotOpen = "Datei konnte nicht zum Lesen geöffnet werden!\n";
const std::string kFontFailed = "Fehler beim FontLaden\n";
constexpr int kPictureFiles = 89;  // title, bricks, guards, floor, sky, meadow, tiles, items, marks

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Reproducible garbage: every byte value, line ends and NULs included.
std::string garbage(size_t n, uint32_t seed) {
  std::string out(n, '\0');
  for (char& c : out) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return out;
}

std::string levelText(const std::string& dir) { return readFile(dir + "/Level1.txt"); }

// The level with every marker character turned into open floor.
std::string withoutMarkers(std::string level) {
  const size_t grid = level.find('\n', level.find('\n', level.find('\n') + 1) + 1) + 1;
  for (size_t i = grid; i < level.size(); ++i)
    if (level[i] != '*' && level[i] != '\n' && level[i] != '\r') level[i] = ' ';
  return level;
}

// The grid lines of the level (everything after its three numbers).
std::string gridOf(const std::string& level) {
  size_t at = 0;
  for (int i = 0; i < 3; ++i) at = level.find('\n', at) + 1;
  return level.substr(at);
}

void forEachPicture(const std::string& dir, void (*change)(const fs::path&)) {
  for (const fs::directory_entry& e : fs::directory_iterator(dir + "/bilder"))
    if (e.path().extension() == ".16B") change(e.path());
}

std::string fontPath(const std::string& dir) { return dir + "/FONTS/romans.fnt"; }

// Changes 16-bit little-endian words of the font file in place.
void patchFontWord(const std::string& dir, long offset, uint16_t value) {
  std::string font = readFile(fontPath(dir));
  font[static_cast<size_t>(offset)] = static_cast<char>(value & 0xFF);
  font[static_cast<size_t>(offset) + 1] = static_cast<char>(value >> 8);
  writeFile(fontPath(dir), font);
}

struct BadData {
  const char* name;
  void (*spoil)(const std::string& dir);  // changes the copy of the game folder
  std::string out;                        // exactly what standard output must hold
  int exitCode;
  bool farWalk = false;  // walk to the grid's edges and back instead of a short walk
};

const BadData kCases[] = {
    // The level.
    {"LevelMissing", [](const std::string& d) { fs::remove(d + "/Level1.txt"); }, "", 0},
    {"LevelMissingWalkToTheGridsEdges", [](const std::string& d) { fs::remove(d + "/Level1.txt"); }, "", 0,
     true},
    {"LevelEmpty", [](const std::string& d) { writeFile(d + "/Level1.txt", ""); }, "", 0},
    {"LevelIsAFolder",
     [](const std::string& d) {
       fs::remove(d + "/Level1.txt");
       fs::create_directory(d + "/Level1.txt");
     },
     "", 0},
    {"LevelOnlyTheNumbers", [](const std::string& d) { writeFile(d + "/Level1.txt", "19\n23\n4\n"); }, "", 0},
    {"LevelOverlongLines",
     [](const std::string& d) {
       writeFile(d + "/Level1.txt", "19\n23\n4\n" + repeat(repeat("* w", 70) + "D\n", 25) +
                                        std::string(100000, '*') + "\n" + repeat("R", 5000));
     },
     "", 0},
    {"LevelHugeNumbers",
     [](const std::string& d) {
       writeFile(d + "/Level1.txt",
                 "99999999999999999999999\n2147483648\n4294967297\n" + gridOf(levelText(d)));
     },
     "", 0},
    {"LevelNegativeNumbers",
     [](const std::string& d) {
       writeFile(d + "/Level1.txt", "-19\n-2147483649\n-4\n" + gridOf(levelText(d)));
     },
     "", 0},
    {"LevelNoMarkers",
     [](const std::string& d) { writeFile(d + "/Level1.txt", withoutMarkers(levelText(d))); }, "", 0},
    {"LevelNoWallsButMarkers",
     [](const std::string& d) {
       writeFile(d + "/Level1.txt", "19\n23\n4\n" + repeat("wrgbRGBD 1234TC\n", 19));
     },
     "", 0},
    {"LevelOpenBorderWalkOut",
     [](const std::string& d) {
       writeFile(d + "/Level1.txt", "19\n23\n4\n" + repeat("  *  w r g b  *   R G B D\n", 19));
     },
     "", 0, true},
    {"LevelBinaryGarbage", [](const std::string& d) { writeFile(d + "/Level1.txt", garbage(4096, 7)); }, "",
     0},
    {"LevelGarbageAfterTheNumbers",
     [](const std::string& d) { writeFile(d + "/Level1.txt", "19\n25\n4\n" + garbage(2000, 11)); }, "", 0},
    {"LevelFarTooLong",
     [](const std::string& d) {
       writeFile(d + "/Level1.txt", levelText(d) + repeat("*   *   *   *   *   *\n", 120000));
     },
     "", 0},

    // The pictures.
    {"PicturesMissing", [](const std::string& d) { fs::remove_all(d + "/bilder"); },
     repeat(kCannotOpen, kPictureFiles), 0},
    {"SomePicturesMissing",
     [](const std::string& d) {
       for (const char* name : {"titel", "ZiegelRG", "Gw7", "Gb16", "Himmel", "wiese", "statcolw", "eib1"})
         fs::remove(d + "/bilder/" + name + ".16B");
     },
     repeat(kCannotOpen, 8), 0},
    {"PicturesEmpty",
     [](const std::string& d) { forEachPicture(d, [](const fs::path& p) { writeFile(p, ""); }); }, "", 0},
    {"PicturesShort",
     [](const std::string& d) {
       forEachPicture(d, [](const fs::path& p) { fs::resize_file(p, fs::file_size(p) / 2 + 1); });
     },
     "", 0},
    {"PicturesTooLong",
     [](const std::string& d) {
       forEachPicture(d, [](const fs::path& p) {
         std::ofstream(p, std::ios::binary | std::ios::app) << garbage(1001, 3);
       });
     },
     "", 0},
    {"PicturesOfGarbage",
     [](const std::string& d) {
       // Pixel values with the top bit set lie outside the x1R5G5B5 colours.
       forEachPicture(d, [](const fs::path& p) { writeFile(p, garbage(fs::file_size(p), 5)); });
     },
     "", 0},

    {"PicturesAreFolders",
     [](const std::string& d) {
       for (const char* name : {"titel", "Ziegel", "Gr1", "Boden", "statcolr", "eig1"}) {
         fs::remove(d + "/bilder/" + name + ".16B");
         fs::create_directory(d + "/bilder/" + name + ".16B");
       }
     },
     "", 0},

    // The font.
    {"FontMissing", [](const std::string& d) { fs::remove_all(d + "/FONTS"); }, kFontFailed, 1},
    {"FontIsAFolder",
     [](const std::string& d) {
       fs::remove(fontPath(d));
       fs::create_directory(fontPath(d));
     },
     kFontFailed, 1},
    {"FontEmpty", [](const std::string& d) { writeFile(fontPath(d), ""); }, kFontFailed, 1},
    {"FontShort", [](const std::string& d) { fs::resize_file(fontPath(d), 600); }, kFontFailed, 1},
    {"FontWrongMagic", [](const std::string& d) { patchFontWord(d, 0, 0x2020); }, kFontFailed, 1},
    {"FontGarbage", [](const std::string& d) { writeFile(fontPath(d), garbage(3470, 9)); }, kFontFailed, 1},
    {"FontOffsetPastTheGlyphs", [](const std::string& d) { patchFontWord(d, 528 + 2 * 'A', 0x7000); },
     kFontFailed, 1},
    {"FontNegativeOffset", [](const std::string& d) { patchFontWord(d, 528 + 2 * 'e', 0xFFF0); }, kFontFailed,
     1},
    {"FontWithoutEndWords",
     [](const std::string& d) {
       std::string font = readFile(fontPath(d));
       for (size_t i = 1040; i < font.size(); i += 2) font[i] = static_cast<char>(font[i] | 1);
       writeFile(fontPath(d), font);
     },
     kFontFailed, 1},
    {"FontLongName",
     [](const std::string& d) {
       std::string font = readFile(fontPath(d));
       for (size_t i = 21; i < 256; ++i) font[i] = 'N';
       writeFile(fontPath(d), font);
     },
     "", 0},
    {"CorruptFontBeforeAGoodOne",
     [](const std::string& d) { writeFile(d + "/romans.fnt", "Torvianex Font File: not really"); },
     kFontFailed, 1},
};

// Path -> size and modification time of everything in the folder.
std::map<std::string, std::pair<uintmax_t, long long>> listing(const std::string& dir) {
  std::map<std::string, std::pair<uintmax_t, long long>> out;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
    const uintmax_t size = e.is_regular_file() ? e.file_size() : 0;
    out[fs::relative(e.path(), dir).string()] = {size, e.last_write_time().time_since_epoch().count()};
  }
  return out;
}

// The dialog's line, a walk with a turn, a sidestep and the map, stereo view
// on and off, then Esc.
std::string walkScript() {
  return "key 50 50; chars 13\n" + repeat("keys 48\n", 10) + "keys 4B; chars '2' '9'\n" +
         repeat("keys 4B\n", 9) + repeat("keys 48\n", 10) + "keys 51; chars '0'\n" + repeat("keys 51\n", 4) +
         "keys 50; chars '0'\n" + repeat("keys 50\n", 4) + "keys; chars 27\n";
}

// Out to the far edge of the grid with the map and the stereo view on, all the
// way back past the start, then down: the walls that are missing in an open
// level must not let the player or the view leave the grid.
std::string farWalkScript() {
  return "key 50 50; chars 13\nkeys 48; chars '2' '9'\n" + repeat("keys 48\n", 120) + "keys 4B; chars '0'\n" +
         repeat("keys 4B\n", 17) + repeat("keys 48\n", 140) + "keys 4D; chars '0'\n" +
         repeat("keys 4D\n", 8) + repeat("keys 48\n", 60) + "keys; chars 27\n";
}

// A copy of the game folder in scratch/game, its catalogues included.
std::string copyGameFolder(const std::string& scratch) {
  const std::string game = scratch + "/game";
  fs::create_directories(game);
  for (const fs::directory_entry& e : fs::directory_iterator(QUILL_GAME_DIR)) {
    if (e.path().filename() == "quillmoor") continue;  // the binary runs from the build
    fs::copy(e.path(), fs::path(game) / e.path().filename(), fs::copy_options::recursive);
  }
  return game;
}

class BadDataRun : public testing::TestWithParam<BadData> {};

}  // namespace

TEST_P(BadDataRun, PrintsItsLinesEndsCleanlyAndWritesNothing) {
  const BadData& c = GetParam();
  const std::string scratch = scratchDir(std::string("baddata-") + c.name);
  const std::string game = copyGameFolder(scratch);
  c.spoil(game);
  writeFile(scratch + "/input.txt", c.farWalk ? farWalkScript() : walkScript());

  const auto before = listing(game);
  const ChildRun run = runChild(std::string(QUILL_GAME_DIR) + "/quillmoor", game, scratch,
                                {{"QUILL_DISPLAY", "headless"}, {"QUILL_INPUT", scratch + "/input.txt"}}, 60);
  EXPECT_FALSE(run.timedOut) << "the game hung";
  EXPECT_EQ(run.signal, 0) << "the game died of a signal\n" << run.err;
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(listing(game), before) << "the game changed its folder";
  if (!HasFailure()) fs::remove_all(scratch);
}

INSTANTIATE_TEST_SUITE_P(Game, BadDataRun, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<BadData>& i) { return std::string(i.param.name); });

// The same lines in English where the locale asks for it through the catalogue
// beside the data; the C locale ignores LANGUAGE and stays German.
TEST(BadDataLanguage, EnglishFromTheCatalogueGermanInTheCLocale) {
  const std::string scratch = scratchDir("baddata-language");
  const std::string game = copyGameFolder(scratch);
  fs::remove(game + "/bilder/titel.16B");
  writeFile(scratch + "/input.txt", "key 50 50; chars 13\nkeys; chars 27\n");
  const auto run = [&](const char* locale) {
    return runChild(std::string(QUILL_GAME_DIR) + "/quillmoor", game, scratch,
                    {{"QUILL_DISPLAY", "headless"},
                     {"QUILL_INPUT", scratch + "/input.txt"},
                     {"LANGUAGE", "en"},
                     {"LC_ALL", locale}},
                    60);
  };
  EXPECT_EQ(run("C.UTF-8").out, "The file could not be opened for reading!\n");
  EXPECT_EQ(run("C").out, kCannotOpen);
  fs::remove_all(game + "/FONTS");
  const ChildRun noFont = run("C.UTF-8");
  EXPECT_EQ(noFont.out, "Error loading the font\n");
  EXPECT_EQ(noFont.exitCode, 1);
  if (!HasFailure()) fs::remove_all(scratch);
}
