// quillmoor-fontconv: converts a Hershey .jhf glyph file into the game's
// stroke-font file. Usage: quillmoor-fontconv <input.jhf> <output.fnt>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/fontconv/hershey.h"
#include "tools/fontconv/strokefont.h"

namespace {

// A glyph source is a few kilobytes; anything far larger is not one.
constexpr long kMaxInputBytes = 4L << 20;

int fail(const std::string& message) {
  std::fprintf(stderr, "quillmoor-fontconv: %s\n", message.c_str());
  return 1;
}

bool readAll(const char* path, std::string& text, std::string& error) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) {
    error = std::string(path) + ": cannot open for reading";
    return false;
  }
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    text.append(buf, n);
    if (static_cast<long>(text.size()) > kMaxInputBytes) {
      std::fclose(f);
      error = std::string(path) + ": larger than any glyph source (over 4 MiB)";
      return false;
    }
  }
  const bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) error = std::string(path) + ": read error";
  return !bad;
}

// The font's name: the input's file name without folder and extension.
std::string stemOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = base.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

// Writes beside the target and renames, so a failed run never leaves half a font.
bool writeAll(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  const std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    error = path + ": cannot open for writing";
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) {
    std::remove(tmp.c_str());
    error = path + ": write failed";
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quillmoor-fontconv <input.jhf> <output.fnt>\n");
    return 2;
  }
  std::string text, error;
  if (!readAll(argv[1], text, error)) return fail(error);

  std::vector<HersheyGlyph> glyphs;
  if (!parseHershey(text, glyphs, error)) return fail(std::string(argv[1]) + ": " + error);

  std::vector<uint8_t> font;
  if (!buildStrokeFont(glyphs, stemOf(argv[1]), font, error))
    return fail(std::string(argv[1]) + ": " + error);

  if (!writeAll(argv[2], font, error)) return fail(error);
  return 0;
}
