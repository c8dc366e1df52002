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
// kMaxSounds). Returns 1 when sounds will be heard. With no sound device, or
// when some files cannot be read, writes one line to standard error (never
// more, never anything to standard output) and goes on: the game simply stays
// silent, wholly or for those sounds.
int openSound(const SoundFile* files, int count);
// Stops and frees everything; the main loop's shut-down calls it.
void closeSound();
// Starts a sound (volume 0..kFullVolume, pan -kPanFull left .. kPanFull right);
// nothing while sound is closed or paused.
void playSound(int id, int volume, int pan);
// Starts the one background loop.
void loopSound(int id, int volume);
// 1 holds every sound (the game went inactive), 0 lets them go on.
void pauseSound(int paused);
int soundIsOpen();
