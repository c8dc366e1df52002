#include "platform/voices.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/soundfile.h"

namespace {

constexpr double kFullScale = 32767.0;
// How far the limiter's gain climbs back towards 1 each frame.
const double kRelease = 1.0 - std::exp(-1.0 / (kLimiterReleaseSeconds * kMixRate));

float perFrame(double seconds) { return static_cast<float>(1.0 / (seconds * kMixRate)); }

void freeSound(VoiceSound& s) {
  std::free(s.frames);
  s = VoiceSound{};
}

// Converts what SDL read to 16-bit stereo at the mix's rate; the result is
// malloc'd, so one free() serves a sound whether it was converted or not.
int convert(const SDL_AudioSpec& spec, const Uint8* wav, Uint32 bytes, VoiceSound& out) {
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 2, kMixRate) < 0) return 0;
  cvt.len = static_cast<int>(bytes);
  // At least one frame's room, so a file without frames still gets a buffer of its own.
  const size_t room = static_cast<size_t>(cvt.len) * static_cast<size_t>(cvt.len_mult);
  cvt.buf = static_cast<Uint8*>(std::malloc(room > 4 ? room : 4));
  if (!cvt.buf) return 0;
  if (bytes > 0) std::memcpy(cvt.buf, wav, bytes);
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
    std::free(cvt.buf);
    return 0;
  }
  out.frames = reinterpret_cast<int16_t*>(cvt.buf);
  out.count = (cvt.needed ? cvt.len_cvt : cvt.len) / 4;
  return 1;
}

}  // namespace

void panGains(int pan, double* left, double* right) {
  const int clamped = pan < -kPanFull ? -kPanFull : pan > kPanFull ? kPanFull : pan;
  const double theta = 0.25 * M_PI * (clamped + kPanFull) / kPanFull;
  *left = std::cos(theta);
  *right = std::sin(theta);
}

int voiceLoad(VoiceMix& mix, int id, const char* path, int positional, char* why, int whySize) {
  if (id < 0 || id >= kMaxSounds) {
    std::snprintf(why, static_cast<size_t>(whySize), "no sound number %d", id);
    return 0;
  }
  for (Voice& v : mix.voices)
    if (v.sound == &mix.sounds[id]) v = Voice{};
  freeSound(mix.sounds[id]);
  if (!checkSoundFile(path, why, whySize)) return 0;
  SDL_AudioSpec spec;
  Uint8* wav = nullptr;
  Uint32 bytes = 0;
  if (!SDL_LoadWAV(path, &spec, &wav, &bytes)) {
    std::snprintf(why, static_cast<size_t>(whySize), "%s", SDL_GetError());
    return 0;
  }
  VoiceSound s{};
  const int converted = convert(spec, wav, bytes, s);
  SDL_FreeWAV(wav);
  if (!converted) {
    std::snprintf(why, static_cast<size_t>(whySize), "cannot be converted: %s", SDL_GetError());
    return 0;
  }
  // A header that understates the length shows here, once decoded.
  if (!checkSoundLength(s.count, kMixRate, why, whySize)) {
    freeSound(s);
    return 0;
  }
  s.positional = positional;
  mix.sounds[id] = s;
  return 1;
}

void voiceFreeAll(VoiceMix& mix) {
  for (VoiceSound& s : mix.sounds) freeSound(s);
  mix = VoiceMix{};
}

int voiceLengthMillis(const VoiceMix& mix, int id) {
  if (id < 0 || id >= kMaxSounds) return 0;
  return static_cast<int>(std::lround(mix.sounds[id].count * 1000.0 / kMixRate));
}

namespace {
void startVoice(Voice& v, const VoiceSound& s, int volume, int pan, int looped) {
  double left, right;
  panGains(s.positional ? pan : 0, &left, &right);
  const double level = static_cast<double>(volume < 0             ? 0
                                           : volume > kFullVolume ? kFullVolume
                                                                  : volume) /
                       kFullVolume;
  v = Voice{&s, 0, looped, static_cast<float>(left * level), static_cast<float>(right * level), 1, 1, 0};
}
}  // namespace

// A file without frames loads, and plays nothing.
void voicePlay(VoiceMix& mix, int id, int volume, int pan) {
  if (id < 0 || id >= kMaxSounds || mix.sounds[id].count <= 0) return;
  for (int i = kLoopVoice + 1; i < kVoiceCount; ++i) {
    if (mix.voices[i].sound) continue;
    startVoice(mix.voices[i], mix.sounds[id], volume, pan, 0);
    return;
  }
}

void voiceLoop(VoiceMix& mix, int id, int volume) {
  if (id < 0 || id >= kMaxSounds || mix.sounds[id].count <= 0) return;
  Voice& v = mix.voices[kLoopVoice];
  const Voice was = v;
  startVoice(v, mix.sounds[id], volume, 0, 1);
  if (was.sound == v.sound) {
    // Already going: on from where it is, gliding to the new level (a jump would click).
    v.at = was.at;
    v.fade = was.fade;
    v.step = perFrame(kLoopGlideSeconds);
  } else {
    v.fade = 0;
    v.step = perFrame(kLoopFadeInSeconds);
  }
}

int voiceFadeOut(VoiceMix& mix) {
  int sounding = 0;
  for (Voice& v : mix.voices) {
    if (!v.sound) continue;
    if (v.target != 0) v.step = static_cast<float>(v.fade / (kFadeOutSeconds * kMixRate));
    v.target = 0;
    sounding = 1;
  }
  return sounding;
}

void voiceRender(VoiceMix& mix, int16_t* out, int frames) {
  if (mix.paused) {
    std::memset(out, 0, static_cast<size_t>(frames) * 4);
    return;
  }
  const double limit = kLimitShare * kFullScale;
  for (int f = 0; f < frames; ++f) {
    double left = 0, right = 0;
    for (Voice& v : mix.voices) {
      if (!v.sound) continue;
      const int16_t* s = v.sound->frames + 2 * v.at;
      left += s[0] * v.left * v.fade;
      right += s[1] * v.right * v.fade;
      if (++v.at >= v.sound->count) {
        v.at = 0;
        if (!v.looped) v.sound = nullptr;
      }
      if (v.fade != v.target) {
        v.fade =
            v.fade < v.target ? std::fmin(v.target, v.fade + v.step) : std::fmax(v.target, v.fade - v.step);
        if (v.fade == 0) v.sound = nullptr;  // faded out
      }
    }
    // The limiter: the gain drops at once to hold a peak within the limit
    // and climbs back slowly, so a pile-up is turned down, never clipped.
    const double peak = std::fmax(std::fabs(left), std::fabs(right));
    double gain = 1.0 - mix.limiterCut;
    if (peak * gain > limit) gain = limit / peak;
    out[2 * f] = static_cast<int16_t>(std::lround(left * gain));
    out[2 * f + 1] = static_cast<int16_t>(std::lround(right * gain));
    mix.limiterCut = static_cast<float>((1.0 - gain) * (1.0 - kRelease));
  }
}
