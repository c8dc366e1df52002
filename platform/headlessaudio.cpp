// The headless audio back end: records every sound started, so tests can check
// what the player would have heard and when, and mixes what it was given into
// memory when a test asks, through the same voices as the SDL back end.
#include "platform/headlessaudio.h"

#include <cstdio>
#include <cstring>

#include "platform/headless.h"
#include "platform/voices.h"

namespace {

constexpr int kRecordCapacity = 4096;  // sounds recorded per run; later ones are not kept

struct HeadlessAudio {
  int open;
  int paused;
  int loaded[kMaxSounds];
  int count;
  PlayedSound played[kRecordCapacity];
  VoiceMix voices;
};
HeadlessAudio g_hAudio{};

bool hAudioRecord(int id, int volume, int pan, int looped) {
  if (!g_hAudio.open || id < 0 || id >= kMaxSounds || !g_hAudio.loaded[id]) return false;
  if (g_hAudio.count < kRecordCapacity)
    g_hAudio.played[g_hAudio.count++] = {id, headlessPassCount(), volume, pan, looped};
  return true;
}

int hAudioOpen(char*, int) {
  g_hAudio.open = 1;
  return 1;
}

// The pause state stays readable after the close, for tests of a whole run.
void hAudioClose() {
  g_hAudio.open = 0;
  std::memset(g_hAudio.loaded, 0, sizeof g_hAudio.loaded);
  voiceFreeAll(g_hAudio.voices);
}

// Takes what the mixer takes, read the same way.
int hAudioLoad(int id, const char* path, int positional, char* why, int whySize) {
  if (!g_hAudio.open || id < 0 || id >= kMaxSounds) {
    std::snprintf(why, static_cast<size_t>(whySize), "no sound number %d while open", id);
    return 0;
  }
  g_hAudio.loaded[id] = voiceLoad(g_hAudio.voices, id, path, positional, why, whySize);
  return g_hAudio.loaded[id];
}

int hAudioLength(int id) { return g_hAudio.open ? voiceLengthMillis(g_hAudio.voices, id) : 0; }
void hAudioPlay(int id, int volume, int pan) {
  if (hAudioRecord(id, volume, pan, 0)) voicePlay(g_hAudio.voices, id, volume, pan);
}
void hAudioLoop(int id, int volume) {
  if (hAudioRecord(id, volume, 0, 1)) voiceLoop(g_hAudio.voices, id, volume);
}
void hAudioPause(int paused) {
  if (g_hAudio.open) g_hAudio.paused = g_hAudio.voices.paused = paused ? 1 : 0;
}

const AudioDriver kHeadlessAudio = {
    .name = "headless",
    .open = hAudioOpen,
    .close = hAudioClose,
    .load = hAudioLoad,
    .lengthMillis = hAudioLength,
    .play = hAudioPlay,
    .loop = hAudioLoop,
    .pause = hAudioPause,
};

}  // namespace

const AudioDriver* headlessAudioDriver() { return &kHeadlessAudio; }

void resetHeadlessAudio() {
  voiceFreeAll(g_hAudio.voices);
  g_hAudio.open = g_hAudio.paused = g_hAudio.count = 0;
  std::memset(g_hAudio.loaded, 0, sizeof g_hAudio.loaded);
}
void headlessMix(int16_t* out, int frames) { voiceRender(g_hAudio.voices, out, frames); }
int headlessPlayedCount() { return g_hAudio.count; }
const PlayedSound& headlessPlayed(int index) { return g_hAudio.played[index]; }
int headlessAudioIsOpen() { return g_hAudio.open; }
int headlessAudioIsPaused() { return g_hAudio.paused; }
int headlessSoundLoaded(int id) { return id >= 0 && id < kMaxSounds ? g_hAudio.loaded[id] : 0; }
