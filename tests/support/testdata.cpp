#include "support/testdata.h"

#include <filesystem>
#include <fstream>
#include <sstream>

std::string scratchDir(const std::string& name) {
  std::filesystem::path p = std::filesystem::path(QUILL_BUILD_DIR) / "scratch" / name;
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  return p.string();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}
