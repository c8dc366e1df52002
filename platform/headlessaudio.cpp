// The headless audio back end: plays nothing, records every sound started,
// so tests can check what the player would have heard and when.
#include <cstdio>
#include <cstring>

#include "platform/audio.h"
#include "platform/headless.h"

namespace {

constexpr int kRecordCapacity = 4096;  // sounds recorded per run; later ones are not kept

struct HeadlessAudio {
  int open;
  int paused;
  int loaded[kMaxSounds];
  int count;
  PlayedSound played[kRecordCapacity];
};
HeadlessAudio g_audio{};

void record(int id, int volume, int pan, int looped) {
  if (!g_audio.open || id < 0 || id >= kMaxSounds || !g_audio.loaded[id]) return;
  if (g_audio.count < kRecordCapacity)
    g_audio.played[g_audio.count++] = {id, headlessPassCount(), volume, pan, looped};
}

int openAudio(char*, int) {
  g_audio.open = 1;
  return 1;
}

// The pause state stays readable after the close, for tests of a whole run.
void closeAudio() {
  g_audio.open = 0;
  std::memset(g_audio.loaded, 0, sizeof g_audio.loaded);
}

int loadSound(int id, const char* path, int) {
  if (!g_audio.open || id < 0 || id >= kMaxSounds) return 0;
  char magic[12] = {};
  std::FILE* f = std::fopen(path, "rb");
  const bool wav = f && std::fread(magic, 1, sizeof magic, f) == sizeof magic &&
                   std::memcmp(magic, "RIFF", 4) == 0 && std::memcmp(magic + 8, "WAVE", 4) == 0;
  if (f) std::fclose(f);
  g_audio.loaded[id] = wav ? 1 : 0;
  return g_audio.loaded[id];
}

void playSound(int id, int volume, int pan) { record(id, volume, pan, 0); }
void loopSound(int id, int volume) { record(id, volume, 0, 1); }
void pauseAudio(int paused) {
  if (g_audio.open) g_audio.paused = paused ? 1 : 0;
}

const AudioDriver kHeadlessAudio = {
    .name = "headless",
    .open = openAudio,
    .close = closeAudio,
    .load = loadSound,
    .play = playSound,
    .loop = loopSound,
    .pause = pauseAudio,
};

}  // namespace

const AudioDriver* headlessAudioDriver() { return &kHeadlessAudio; }

void resetHeadlessAudio() { std::memset(&g_audio, 0, sizeof g_audio); }
int headlessPlayedCount() { return g_audio.count; }
const PlayedSound& headlessPlayed(int index) { return g_audio.played[index]; }
int headlessAudioIsOpen() { return g_audio.open; }
int headlessAudioIsPaused() { return g_audio.paused; }
int headlessSoundLoaded(int id) { return id >= 0 && id < kMaxSounds ? g_audio.loaded[id] : 0; }
