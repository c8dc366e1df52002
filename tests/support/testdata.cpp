#include "support/testdata.h"

#include <cstdint>
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

std::string wavBytes(double seconds) {
  const uint32_t rate = 8000, bytes = static_cast<uint32_t>(seconds * rate) * 2;
  std::string s;
  auto put = [&s](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s += static_cast<char>(v >> 8 * i);
  };
  s += "RIFF";
  put(36 + bytes, 4);
  s += "WAVEfmt ";
  put(16, 4);  // the format: plain samples, one channel, 16 bits
  put(1, 2);
  put(1, 2);
  put(rate, 4);
  put(2 * rate, 4);
  put(2, 2);
  put(16, 2);
  s += "data";
  put(bytes, 4);
  return s.append(bytes, '\0');
}
