// The SDL2_mixer audio back end. The mixer runs at 44100 Hz, 16-bit stereo,
// with a device buffer of 512 sample frames (11.6 ms), so a sound started in a
// pass reaches the speaker within a buffer or two (about 25 ms) plus what the
// desktop's sound server adds.
//
// SDL2_mixer's own channels add each sound into the stream with clipping at
// every step, so a pile-up cannot be turned down afterwards. The game's
// voices are mixed instead by the mix shared with the headless back end
// (voices.h), in its hook on SDL's audio thread: wider sums, the pan law and
// the limiter, with nothing allocated there. The calls here only change the
// voices under a lock.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "platform/audio.h"
#include "platform/voices.h"

namespace {

constexpr int kBufferFrames = 512;    // 11.6 ms at 44100 Hz
constexpr int kCloseWaitSlices = 40;  // 10 ms each: the fade-out and a buffer or two

struct MixAudio {
  int open;
  std::mutex lock;  // held by the audio thread while it mixes and by every call that changes the voices
  VoiceMix voices;
};
MixAudio g_mix{};

// The ALSA library prints several lines of its own to stderr when a machine
// has no sound card; the game promises at most one. Standard error is pointed
// at /dev/null while SDL looks for a device.
struct QuietStderr {
  int saved = -1;
  QuietStderr() {
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) return;
    saved = ::dup(2);
    if (saved >= 0) ::dup2(null, 2);
    ::close(null);
  }
  ~QuietStderr() {
    if (saved < 0) return;
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
  }
};

// SDL's audio thread: the whole stream is the game's mix.
void mixHook(void*, Uint8* stream, int bytes) {
  const std::lock_guard<std::mutex> hold(g_mix.lock);
  voiceRender(g_mix.voices, reinterpret_cast<int16_t*>(stream), bytes / 4);
}

int mixOpen(char* why, int whySize) {
  if (g_mix.open) return 1;
  auto fail = [&](const char* what) {
    if (why && whySize > 0) std::snprintf(why, static_cast<size_t>(whySize), "%s: %s", what, SDL_GetError());
    return 0;
  };
  QuietStderr quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail("no sound output");
  // allowed_changes 0: SDL converts to the device if it must, so the stream
  // is always 16-bit stereo at the voices' rate.
  if (Mix_OpenAudioDevice(kMixRate, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) != 0) {
    fail("no sound device");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  voiceFreeAll(g_mix.voices);
  Mix_HookMusic(mixHook, nullptr);
  g_mix.open = 1;
  return 1;
}

// What still sounds settles before the device goes, unless sound is held (then it is silent already).
void mixClose() {
  if (!g_mix.open) return;
  for (int i = 0; i < kCloseWaitSlices; ++i) {
    {
      const std::lock_guard<std::mutex> hold(g_mix.lock);
      if (g_mix.voices.paused || !voiceFadeOut(g_mix.voices)) break;
    }
    SDL_Delay(10);
  }
  Mix_HookMusic(nullptr, nullptr);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  voiceFreeAll(g_mix.voices);
  g_mix.open = 0;
}

int mixLoad(int id, const char* path, int positional, char* why, int whySize) {
  if (!g_mix.open || id < 0 || id >= kMaxSounds) {
    std::snprintf(why, static_cast<size_t>(whySize), "no sound number %d while open", id);
    return 0;
  }
  const std::lock_guard<std::mutex> hold(g_mix.lock);
  return voiceLoad(g_mix.voices, id, path, positional, why, whySize);
}

int mixLength(int id) { return g_mix.open ? voiceLengthMillis(g_mix.voices, id) : 0; }

void mixPlay(int id, int volume, int pan) {
  if (!g_mix.open) return;
  const std::lock_guard<std::mutex> hold(g_mix.lock);
  voicePlay(g_mix.voices, id, volume, pan);
}

void mixLoop(int id, int volume) {
  if (!g_mix.open) return;
  const std::lock_guard<std::mutex> hold(g_mix.lock);
  voiceLoop(g_mix.voices, id, volume);
}

void mixPause(int paused) {
  if (!g_mix.open) return;
  const std::lock_guard<std::mutex> hold(g_mix.lock);
  g_mix.voices.paused = paused ? 1 : 0;
}

const AudioDriver kMixAudio = {
    .name = "SDL2_mixer",
    .open = mixOpen,
    .close = mixClose,
    .load = mixLoad,
    .lengthMillis = mixLength,
    .play = mixPlay,
    .loop = mixLoop,
    .pause = mixPause,
};

}  // namespace

const AudioDriver* sdlAudioDriver() { return &kMixAudio; }
