#include "framework/sound.h"

#include <cstdio>

namespace {
struct SoundState {
  int open;
  int paused;
};
SoundState g_sound{};
}  // namespace

int openSound(const SoundFile* files, int count) {
  closeSound();
  char why[160] = "";
  if (!audio()->open(why, sizeof why)) {
    std::fprintf(stderr, "quillmoor: playing without sound (%s)\n", why);
    return 0;
  }
  g_sound.open = 1;
  int missing = 0;
  const char* first = nullptr;
  for (int i = 0; i < count && i < kMaxSounds; ++i) {
    if (audio()->load(i, files[i].path, files[i].positional)) continue;
    if (!missing++) first = files[i].path;
  }
  if (missing)
    std::fprintf(stderr, "quillmoor: %d sounds could not be read (the first: %s)\n", missing, first);
  return 1;
}

void closeSound() {
  if (g_sound.open) audio()->close();
  g_sound = SoundState{};
}

void playSound(int id, int volume, int pan) {
  if (g_sound.open && !g_sound.paused && volume > 0) audio()->play(id, volume, pan);
}

void loopSound(int id, int volume) {
  if (g_sound.open) audio()->loop(id, volume);
}

void pauseSound(int paused) {
  if (!g_sound.open || g_sound.paused == paused) return;
  g_sound.paused = paused;
  audio()->pause(paused);
}

int soundIsOpen() { return g_sound.open; }
