// Fuzzes the settings reader and writer: any bytes must leave every setting
// in its range, and the text written for them must read back to the same
// settings with every entry kept.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings s = defaultSettings();
  SettingsFile file{};
  parseSettings(reinterpret_cast<const char*>(data), size, s, file);
  if (s.mouseSpeed < 1 || s.mouseSpeed > 100 || s.effectsVolume < 0 || s.effectsVolume > 100 ||
      (s.modeBits != 0 && s.modeBits != 15 && s.modeBits != 16))
    __builtin_trap();

  const std::string text = formatSettings(s, file);
  Settings again = defaultSettings();
  SettingsFile reread{};
  parseSettings(text.data(), text.size(), again, reread);
  if (std::memcmp(&again, &s, sizeof s) != 0 || reread.entries.size() < file.entries.size()) __builtin_trap();
  return 0;
}
