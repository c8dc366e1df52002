#include "framework/sound.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/display.h"

namespace {
struct SoundState {
  int open;
  int paused;
  int64_t lengthMicros[kMaxSounds];
  // When each sound last started from each source; 0 for never (the clock
  // starts above 0 when the sound is opened, see openSound).
  int64_t startedAt[kMaxSounds][kSoundSources];
  int64_t clockBase;
};
SoundState g_sound{};

// The display's clock, made to start at 1 when the sound opens, so 0 can mean "never".
int64_t soundClock() { return display()->nowMicros() - g_sound.clockBase; }

// The folder the sound files are in, when there is none: one line instead of
// one per file, naming where it was looked for.
bool folderMissing(const char* path) {
  const char* slash = std::strrchr(path, '/');
  if (!slash) return false;
  char folder[PATH_MAX];
  std::snprintf(folder, sizeof folder, "%.*s", static_cast<int>(slash - path), path);
  struct stat st;
  if (stat(folder, &st) == 0 && S_ISDIR(st.st_mode)) return false;
  char here[PATH_MAX] = "";
  if (folder[0] != '/' && getcwd(here, sizeof here)) {
    std::fprintf(stderr, "quillmoor: playing without sound: there is no folder %s in %s\n", folder, here);
  } else {
    std::fprintf(stderr, "quillmoor: playing without sound: there is no folder %s\n", folder);
  }
  return true;
}

}  // namespace

int openSound(const SoundFile* files, int count) {
  closeSound();
  if (count > 0 && folderMissing(files[0].path)) return 0;
  char why[160] = "";
  if (!audio()->open(why, sizeof why)) {
    std::fprintf(stderr, "quillmoor: playing without sound (%s)\n", why);
    return 0;
  }
  g_sound.open = 1;
  g_sound.clockBase = display()->nowMicros() - 1;
  for (int i = 0; i < count && i < kMaxSounds; ++i) {
    if (!audio()->load(i, files[i].path, files[i].positional, why, sizeof why))
      std::fprintf(stderr, "quillmoor: %s stays silent: %s\n", files[i].path, why);
    g_sound.lengthMicros[i] = 1000LL * audio()->lengthMillis(i);
  }
  return 1;
}

void closeSound() {
  if (g_sound.open) audio()->close();
  g_sound = SoundState{};
}

void playSound(int id, int volume, int pan, int source) {
  if (!g_sound.open || g_sound.paused || volume <= 0 || id < 0 || id >= kMaxSounds) return;
  if (source < 0 || source >= kSoundSources) source = 0;
  // A rule that fires again while its sound still plays (the take-back loop
  // fires every pass) would stack copies of it into a roar.
  int64_t& started = g_sound.startedAt[id][source];
  const int64_t now = soundClock();
  if (started > 0 && now - started < g_sound.lengthMicros[id]) return;
  started = now;
  audio()->play(id, volume, pan);
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
