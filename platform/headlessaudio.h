// The headless audio back end's record, for tests: it keeps every sound
// started, with the headless display's pass it started in, so a test checks
// what the player would have heard and when; and it mixes them into memory.
#pragma once

#include <cstdint>

#include "platform/audio.h"

// One started sound. `pass` is the headless display's pass count when it
// started (the main-loop pass whose rule played it).
struct PlayedSound {
  int id;
  int pass;
  int volume;
  int pan;
  int looped;  // 1 for loop(), 0 for play()
};
// Everything back to the start: closed, nothing loaded or recorded.
void resetHeadlessAudio();
// The sounds started since the last reset, in order (the first 4096 of them).
int headlessPlayedCount();
const PlayedSound& headlessPlayed(int index);
// 1 while open() has succeeded and close() not been called; 1 while paused
// (the last pause state stays readable after close()).
int headlessAudioIsOpen();
int headlessAudioIsPaused();
// 1 when load() read a WAV file for the number.
int headlessSoundLoaded(int id);
// Mixes the next `frames` stereo frames of what is playing into `out`, as
// SDL's audio thread would (a test pulls the time on; the passes do not).
void headlessMix(int16_t* out, int frames);
