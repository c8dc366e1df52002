// What a sound file must be before an audio back end reads it: a RIFF WAVE
// file, small and short. The longest sound the game ships is the wind's
// 8-second loop; a file far beyond that (a 100 MB recording named like a
// footstep) would cost the mixer its decoded copy of it and freeze the start,
// so it is refused with the reason instead.
#pragma once

constexpr long kMaxSoundFileBytes = 4L << 20;  // 4 MB: ten seconds of 16-bit stereo at 96 kHz fits
constexpr double kMaxSoundSeconds = 10.0;      // the wind's loop is 8 s, the capture's growl 4.8 s

// Reads the file's size and WAV header (never its samples). Returns 1 when it
// may be loaded; otherwise 0 with the reason in `why` as a clause ("4.5 MB,
// larger than the 4 MB a sound may be").
int checkSoundFile(const char* path, char* why, int whySize);
// The same limit for sound already decoded: `frames` sample frames at `rate`.
int checkSoundLength(double frames, double rate, char* why, int whySize);
