// For fuzz targets whose parser reads a file by name: each input is written
// to a scratch file of the process's own, removed when it ends.
#pragma once
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Writes the input to /tmp/fuzz_<name>_<pid><extension> and returns that
// path; nullptr when it cannot be written.
inline const char* writeInputFile(const char* name, const char* extension, const uint8_t* data, size_t size) {
  static char path[96] = "";
  if (!path[0]) {
    std::snprintf(path, sizeof path, "/tmp/fuzz_%s_%d%s", name, static_cast<int>(getpid()), extension);
    std::atexit([] { std::remove(path); });
  }
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return nullptr;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}
