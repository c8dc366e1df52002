// The headless audio back end: plays nothing, records every sound started,
// so tests can check what the player would have heard and when.
#include "platform/headlessaudio.h"

#include <cstdio>
#include <cstring>

#include "platform/headless.h"
#include "platform/soundfile.h"

namespace {

constexpr int kRecordCapacity = 4096;  // sounds recorded per run; later ones are not kept

struct HeadlessAudio {
  int open;
  int paused;
  int loaded[kMaxSounds];
  int count;
  PlayedSound played[kRecordCapacity];
};
HeadlessAudio g_hAudio{};

void hAudioRecord(int id, int volume, int pan, int looped) {
  if (!g_hAudio.open || id < 0 || id >= kMaxSounds || !g_hAudio.loaded[id]) return;
  if (g_hAudio.count < kRecordCapacity)
    g_hAudio.played[g_hAudio.count++] = {id, headlessPassCount(), volume, pan, looped};
}

int hAudioOpen(char*, int) {
  g_hAudio.open = 1;
  return 1;
}

// The pause state stays readable after the close, for tests of a whole run.
void hAudioClose() {
  g_hAudio.open = 0;
  std::memset(g_hAudio.loaded, 0, sizeof g_hAudio.loaded);
}

// Takes what the mixer would take, by the same check of the file.
int hAudioLoad(int id, const char* path, int, char* why, int whySize) {
  if (!g_hAudio.open || id < 0 || id >= kMaxSounds) {
    std::snprintf(why, static_cast<size_t>(whySize), "no sound number %d while open", id);
    return 0;
  }
  g_hAudio.loaded[id] = checkSoundFile(path, why, whySize);
  return g_hAudio.loaded[id];
}

void hAudioPlay(int id, int volume, int pan) { hAudioRecord(id, volume, pan, 0); }
void hAudioLoop(int id, int volume) { hAudioRecord(id, volume, 0, 1); }
void hAudioPause(int paused) {
  if (g_hAudio.open) g_hAudio.paused = paused ? 1 : 0;
}

const AudioDriver kHeadlessAudio = {
    .name = "headless",
    .open = hAudioOpen,
    .close = hAudioClose,
    .load = hAudioLoad,
    .play = hAudioPlay,
    .loop = hAudioLoop,
    .pause = hAudioPause,
};

}  // namespace

const AudioDriver* headlessAudioDriver() { return &kHeadlessAudio; }

void resetHeadlessAudio() { std::memset(&g_hAudio, 0, sizeof g_hAudio); }
int headlessPlayedCount() { return g_hAudio.count; }
const PlayedSound& headlessPlayed(int index) { return g_hAudio.played[index]; }
int headlessAudioIsOpen() { return g_hAudio.open; }
int headlessAudioIsPaused() { return g_hAudio.paused; }
int headlessSoundLoaded(int id) { return id >= 0 && id < kMaxSounds ? g_hAudio.loaded[id] : 0; }
