// The mix both audio back ends share: sounds decoded to 16-bit stereo at the
// mixer's rate, the voices that play them at their volume and equal-power pan,
// the loop's fades, and a peak limiter, so what the tests mix in memory is,
// sample for sample, what SDL's audio thread hands to the speakers.
#pragma once

#include <cstdint>

#include "platform/audio.h"

constexpr int kMixRate = 44100;  // Hz; the generated sounds are made at this rate
constexpr int kVoiceCount = 16;  // sounds at once; voice 0 is kept for the loop
constexpr int kLoopVoice = 0;
constexpr double kLoopFadeInSeconds = 0.5;  // the wind rises instead of starting with a jump
constexpr double kFadeOutSeconds = 0.25;    // every sound settles when the sound closes
constexpr double kLoopGlideSeconds = 0.05;  // a new loop volume is reached this smoothly
// The limiter holds every sample within this share of full scale; it lets
// the gain go back up with this time constant once a pile-up has passed.
constexpr double kLimitShare = 0.9;
constexpr double kLimiterReleaseSeconds = 0.15;

// One decoded sound: interleaved left/right frames.
struct VoiceSound {
  int16_t* frames;
  int count;       // sample frames
  int positional;  // 0: always played from the middle
};

// One sound playing. Its level is volume x fade; the fade moves by `step`
// each frame towards `target`, and a fading voice whose target is 0 ends there.
struct Voice {
  const VoiceSound* sound;  // nullptr: the voice is free
  int at;                   // the next frame to play
  int looped;
  float left, right;  // the pan law's gains times the volume
  float fade, target, step;
};

struct VoiceMix {
  VoiceSound sounds[kMaxSounds];
  Voice voices[kVoiceCount];
  float limiterCut;  // how far the limiter holds the mix down: 0 not at all, 0.5 to half
  int paused;
};

// Reads sound `id` from a WAV file, converted to the mix's format, after the
// checks of soundfile.h. Returns 0 with the reason in `why` when it cannot.
int voiceLoad(VoiceMix& mix, int id, const char* path, int positional, char* why, int whySize);
// Frees every sound and silences every voice; the mix is as new.
void voiceFreeAll(VoiceMix& mix);
// How long sound `id` plays once, in milliseconds (0 when it holds none).
int voiceLengthMillis(const VoiceMix& mix, int id);
// Starts `id` once on a free voice (none free: dropped).
void voicePlay(VoiceMix& mix, int id, int volume, int pan);
// Starts `id` looping on the loop voice, fading in; the same loop again only
// glides to the new volume.
void voiceLoop(VoiceMix& mix, int id, int volume);
// Lets every voice fade out (a sound cut off clicks); returns 1 while any still sounds.
int voiceFadeOut(VoiceMix& mix);
// Mixes the next `frames` stereo frames into `out`, through the limiter.
// Paused, it writes silence and nothing moves on.
void voiceRender(VoiceMix& mix, int16_t* out, int frames);

// The equal-power pan law: left = cos(theta), right = sin(theta) with theta
// over the quarter circle from pan -kPanFull (left) to kPanFull (right), so
// left^2 + right^2 = 1 wherever the sound is.
void panGains(int pan, double* left, double* right);
