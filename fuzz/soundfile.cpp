// Fuzzes the sound files' check, which reads a WAV header from any file: it
// must end with a verdict, and a refusal with its reason.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/soundfile.h"

namespace {

const char* scratchPath() {
  static char path[64] = "";
  if (!path[0]) {
    std::snprintf(path, sizeof path, "/tmp/fuzz_soundfile_%d.wav", static_cast<int>(getpid()));
    std::atexit([] { std::remove(path); });
  }
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = scratchPath();
  FILE* f = std::fopen(path, "wb");
  if (!f) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  char why[160] = "";
  if (!checkSoundFile(path, why, sizeof why) && why[0] == '\0') __builtin_trap();
  return 0;
}
