#include "support/testdata.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <utility>

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

std::string wavBytes(double seconds) {
  const uint32_t rate = 8000, bytes = static_cast<uint32_t>(seconds * rate) * 2;
  std::string s;
  // Each field: its value and its size in bytes, little-endian.
  auto put = [&s](const char* tag, std::initializer_list<std::pair<uint32_t, int>> fields) {
    s += tag;
    for (const auto& [value, size] : fields)
      for (int i = 0; i < size; ++i) s += static_cast<char>(value >> 8 * i);
  };
  put("RIFF", {{36 + bytes, 4}});
  put("WAVEfmt ",
      {{16, 4}, {1, 2}, {1, 2}, {rate, 4}, {2 * rate, 4}, {2, 2}, {16, 2}});  // plain samples, mono, 16 bits
  put("data", {{bytes, 4}});
  return s.append(bytes, '\0');
}
