// The SDL2_mixer audio back end. The mixer runs at 44100 Hz, 16-bit stereo,
// with a device buffer of 512 sample frames (11.6 ms), so a sound started in a
// pass reaches the speaker within a buffer or two (about 25 ms) plus what the
// desktop's sound server adds. Mixing happens on SDL's audio thread; the calls
// here only hand a prepared chunk to a free channel.
//
// Panning is baked in at load time: each positional sound is kept in nine
// copies from left to right, so playing one never allocates (the mixer's own
// per-channel panning effect would allocate on every start).
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/audio.h"
#include "platform/soundfile.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBufferFrames = 512;  // 11.6 ms at 44100 Hz
constexpr int kChannels = 16;       // voices; channel 0 is kept for the loop
constexpr int kLoopChannel = 0;
constexpr int kPanSteps = 9;  // copies per positional sound, -4 (left) .. 4 (right)
constexpr int kMiddle = kPanSteps / 2;

struct MixAudio {
  int open;
  Mix_Chunk* chunks[kMaxSounds][kPanSteps];  // [id][pan step]; only kMiddle for non-positional sounds
  Uint8* panned[kMaxSounds][kPanSteps];      // the samples of the copies this back end made
  int loopId;                                // the sound last started on the loop channel
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

void mixFree(int id) {
  for (int p = 0; p < kPanSteps; ++p) {
    if (g_mix.chunks[id][p]) Mix_FreeChunk(g_mix.chunks[id][p]);
    std::free(g_mix.panned[id][p]);
    g_mix.chunks[id][p] = nullptr;
    g_mix.panned[id][p] = nullptr;
  }
}

int mixOpen(char* why, int whySize) {
  if (g_mix.open) return 1;
  auto fail = [&](const char* what) {
    if (why && whySize > 0) std::snprintf(why, static_cast<size_t>(whySize), "%s: %s", what, SDL_GetError());
    return 0;
  };
  QuietStderr quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail("no sound output");
  // allowed_changes 0: SDL converts to the device if it must, so the chunks
  // are always 16-bit stereo at 44100 Hz, which the panned copies rely on.
  if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) != 0) {
    fail("no sound device");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return 0;
  }
  Mix_AllocateChannels(kChannels);
  Mix_ReserveChannels(1);  // the loop's channel is never handed out by play()
  g_mix.open = 1;
  return 1;
}

void mixClose() {
  if (!g_mix.open) return;
  Mix_HaltChannel(-1);
  for (int id = 0; id < kMaxSounds; ++id) mixFree(id);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  g_mix = MixAudio{};
}

// Constant-power pan, scaled so the middle keeps the sound's full level.
void mixPanGains(int step, double* left, double* right) {
  const double angle = 0.5 * M_PI * step / (kPanSteps - 1);
  *left = std::fmin(1.0, M_SQRT2 * std::cos(angle));
  *right = std::fmin(1.0, M_SQRT2 * std::sin(angle));
}

int mixLoad(int id, const char* path, int positional, char* why, int whySize) {
  if (!g_mix.open || id < 0 || id >= kMaxSounds) {
    std::snprintf(why, static_cast<size_t>(whySize), "no sound number %d while open", id);
    return 0;
  }
  mixFree(id);
  if (!checkSoundFile(path, why, whySize)) return 0;
  Mix_Chunk* chunk = Mix_LoadWAV(path);
  if (!chunk) {
    std::snprintf(why, static_cast<size_t>(whySize), "%s", Mix_GetError());
    return 0;
  }
  // A header that understates the length shows here, before the copies.
  if (!checkSoundLength(chunk->alen / 4.0, kRate, why, whySize)) {
    Mix_FreeChunk(chunk);
    return 0;
  }
  g_mix.chunks[id][kMiddle] = chunk;
  if (!positional) return 1;
  const Uint32 frames = chunk->alen / 4;  // 16-bit stereo
  const Sint16* src = reinterpret_cast<const Sint16*>(chunk->abuf);
  for (int p = 0; p < kPanSteps; ++p) {
    if (p == kMiddle) continue;
    Uint8* bytes = static_cast<Uint8*>(std::malloc(chunk->alen));
    if (!bytes) continue;
    double left, right;
    mixPanGains(p, &left, &right);
    Sint16* out = reinterpret_cast<Sint16*>(bytes);
    for (Uint32 i = 0; i < frames; ++i) {
      out[2 * i] = static_cast<Sint16>(std::lround(src[2 * i] * left));
      out[2 * i + 1] = static_cast<Sint16>(std::lround(src[2 * i + 1] * right));
    }
    g_mix.panned[id][p] = bytes;
    g_mix.chunks[id][p] = Mix_QuickLoad_RAW(bytes, chunk->alen);
  }
  return 1;
}

int mixPanStep(int pan) {
  const int clamped = pan < -kPanFull ? -kPanFull : pan > kPanFull ? kPanFull : pan;
  return kMiddle + static_cast<int>(std::lround(static_cast<double>(clamped) * kMiddle / kPanFull));
}

void mixPlay(int id, int volume, int pan) {
  if (!g_mix.open || id < 0 || id >= kMaxSounds) return;
  Mix_Chunk* chunk = g_mix.chunks[id][mixPanStep(pan)];
  if (!chunk) chunk = g_mix.chunks[id][kMiddle];
  if (!chunk) return;
  // The volume is set before the channel starts, so no buffer plays at the last sound's level.
  for (int c = 1; c < kChannels; ++c) {
    if (Mix_Playing(c)) continue;
    Mix_Volume(c, volume);
    Mix_PlayChannel(c, chunk, 0);
    return;
  }
}

void mixLoop(int id, int volume) {
  if (!g_mix.open || id < 0 || id >= kMaxSounds || !g_mix.chunks[id][kMiddle]) return;
  Mix_Volume(kLoopChannel, volume);
  // The loop already playing only changes its volume: starting it again would click.
  if (g_mix.loopId == id && Mix_Playing(kLoopChannel)) return;
  Mix_HaltChannel(kLoopChannel);
  Mix_PlayChannel(kLoopChannel, g_mix.chunks[id][kMiddle], -1);
  g_mix.loopId = id;
}

void mixPause(int paused) {
  if (!g_mix.open) return;
  if (paused) {
    Mix_Pause(-1);
  } else {
    Mix_Resume(-1);
  }
}

const AudioDriver kMixAudio = {
    .name = "SDL2_mixer",
    .open = mixOpen,
    .close = mixClose,
    .load = mixLoad,
    .play = mixPlay,
    .loop = mixLoop,
    .pause = mixPause,
};

}  // namespace

const AudioDriver* sdlAudioDriver() { return &kMixAudio; }
