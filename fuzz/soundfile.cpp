// Fuzzes the sound files' check, which reads a WAV header from any file: it
// must end with a verdict, and a refusal with its reason.
#include <cstddef>
#include <cstdint>

#include "fuzz/inputfile.h"
#include "platform/soundfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* path = writeInputFile("soundfile", ".wav", data, size);
  if (!path) return 0;
  char why[160] = "";
  if (!checkSoundFile(path, why, sizeof why) && why[0] == '\0') __builtin_trap();
  return 0;
}
