#include "platform/soundfile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

uint32_t le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint16_t kFormatPcm = 1, kFormatFloat = 3, kFormatExtensible = 0xFFFE;
constexpr double kMegabyte = 1024.0 * 1024.0;

// What the header tells of the sound.
struct WavHeader {
  bool haveFormat, haveData;
  uint16_t format, blockAlign;
  uint32_t rate, byteRate;
  double dataBytes;
};

// Walks the chunks; false when the file is no RIFF WAVE.
bool readHeader(std::FILE* f, long fileBytes, WavHeader& h) {
  unsigned char riff[12];
  if (std::fread(riff, 1, sizeof riff, f) != sizeof riff || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return false;
  long at = sizeof riff;
  unsigned char chunk[8];
  while (!h.haveData && at + 8 <= fileBytes && std::fread(chunk, 1, sizeof chunk, f) == sizeof chunk) {
    const long size = le32(chunk + 4);
    const long body = at + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      unsigned char fmt[16];
      if (size < 16 || std::fread(fmt, 1, sizeof fmt, f) != sizeof fmt) return false;
      h.haveFormat = true;
      h.format = le16(fmt);
      h.rate = le32(fmt + 4);
      h.byteRate = le32(fmt + 8);
      h.blockAlign = le16(fmt + 12);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      h.haveData = true;
      h.dataBytes = static_cast<double>(size < fileBytes - body ? size : fileBytes - body);
    }
    at = body + size + (size & 1);  // chunks are padded to an even length
    if (std::fseek(f, at, SEEK_SET) != 0) return false;
  }
  return true;
}

}  // namespace

int checkSoundLength(double frames, double rate, char* why, int whySize) {
  constexpr double kResamplingSlack = 0.01;  // seconds a rate converter may add at the end
  const double seconds = rate > 0 ? frames / rate : 0;
  if (seconds <= kMaxSoundSeconds + kResamplingSlack) return 1;
  std::snprintf(why, static_cast<size_t>(whySize), "%.1f s long, longer than the %.0f s a sound may last",
                seconds, kMaxSoundSeconds);
  return 0;
}

int checkSoundFile(const char* path, char* why, int whySize) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) {
    std::snprintf(why, static_cast<size_t>(whySize), "%s", std::strerror(errno));
    return 0;
  }
  long bytes = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) bytes = std::ftell(f);
  std::rewind(f);
  WavHeader h{};
  int ok = 0;
  if (bytes < 0) {
    std::snprintf(why, static_cast<size_t>(whySize), "cannot be read to its end");
  } else if (bytes > kMaxSoundFileBytes) {
    std::snprintf(why, static_cast<size_t>(whySize), "%.1f MB, larger than the %.0f MB a sound may be",
                  bytes / kMegabyte, kMaxSoundFileBytes / kMegabyte);
  } else if (!readHeader(f, bytes, h)) {
    std::snprintf(why, static_cast<size_t>(whySize), "not a WAV file");
  } else if (!h.haveFormat || !h.haveData || h.rate == 0 || h.blockAlign == 0) {
    std::snprintf(why, static_cast<size_t>(whySize), "a WAV file without its format or its sound data");
  } else {
    // Plain samples come a block a frame; packed formats by their byte rate.
    const bool plain = h.format == kFormatPcm || h.format == kFormatFloat || h.format == kFormatExtensible;
    ok = plain ? checkSoundLength(h.dataBytes / h.blockAlign, h.rate, why, whySize)
               : checkSoundLength(h.dataBytes, h.byteRate, why, whySize);
  }
  std::fclose(f);
  return ok;
}
