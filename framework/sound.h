// The framework's sound: opens the audio layer's back end softly (a machine
// without sound plays silently), loads the game's sounds and starts them.
// Sound is held while the game is inactive (a full-screen game switched away).
#pragma once

#include "platform/audio.h"

struct SoundFile {
  const char* path;
  int positional;  // 1: played from the side its source is on
};

// Opens the sound output and loads files[i] as sound number i (count at most
// kMaxSounds). Returns 1 when sounds will be heard. The game goes on silent,
// wholly or for some sounds, with one line on standard error (never anything
// on standard output) for each thing missing: the sound device, the folder of
// the first file (then nothing is opened), or a file that cannot be read or
// is refused (each named, with the reason).
int openSound(const SoundFile* files, int count);
// Stops and frees everything; the main loop's shut-down calls it.
void closeSound();
// Who a sound belongs to: 0 for the game's rules, one number for each other
// source (a guard). The same sound from the same source is one event.
constexpr int kSoundSources = 8;
// Starts a sound (volume 0..kFullVolume, pan -kPanFull left .. kPanFull right);
// nothing while sound is closed or paused, and nothing while the same sound
// from the same source, started earlier, still plays (it is not stacked).
void playSound(int id, int volume, int pan, int source);
// Starts the one background loop.
void loopSound(int id, int volume);
// 1 holds every sound (the game went inactive), 0 lets them go on.
void pauseSound(int paused);
int soundIsOpen();
