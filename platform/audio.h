// The audio layer: one table of functions between the framework and the
// platform's sound output, shaped like the display layer. Two back ends fill
// it: SDL2_mixer for the game, headless (records what was played and mixes it
// into memory) for tests; both mix through voices.h, so they sound the same.
// The game decides what to play and how loud; the back end decides how.
#pragma once

constexpr int kMaxSounds = 16;    // sound numbers 0..15
constexpr int kFullVolume = 128;  // volumes run 0..128
constexpr int kPanFull = 128;     // pans run -128 (left speaker only) .. 128 (right only)

// The driver table. The framework calls it from its one thread only; mixing
// happens on the platform's own audio thread, never inside these calls. Every
// function may be called whether or not open() succeeded and then does nothing.
struct AudioDriver {
  const char* name;

  // Brings the sound output up. Returns 1 when sounds will be heard. Returns
  // 0, leaves nothing open and puts a one-line reason into `why` when there is
  // no output; the back end itself writes nothing to stdout or stderr.
  int (*open)(char* why, int whySize);
  // Lets the loop fade out, then stops every sound, frees what load() made
  // and closes the output.
  void (*close)();
  // Reads sound number `id` from a 16-bit PCM WAV file, replacing what that
  // number held. `positional` sounds follow the pan they are played at, the
  // others play from the middle. Returns 0 (the number stays silent) and puts the
  // reason into `why` as a clause when the file cannot be read or is refused:
  // larger than kMaxSoundFileBytes or longer than kMaxSoundSeconds
  // (soundfile.h). Needs open(). Loading is the only place that allocates.
  int (*load)(int id, const char* path, int positional, char* why, int whySize);
  // How long sound `id` plays once, in milliseconds; 0 when it holds none.
  int (*lengthMillis)(int id);
  // Starts sound `id` once at `volume` and `pan` and returns at once. Several
  // sounds overlap, turned down together when they would clip; when every
  // voice is busy the new one is dropped. A number that holds no sound plays
  // nothing. The pan follows the equal-power law (voices.h).
  void (*play)(int id, int volume, int pan);
  // Plays sound `id` over and over from the middle at `volume` until close(),
  // on a voice of its own, fading in. A second call replaces the first; the
  // same sound again glides to the new volume.
  void (*loop)(int id, int volume);
  // 1 holds every sound where it is, 0 lets them go on.
  void (*pause)(int paused);
};

// The back end in use. Unless selectAudio chose one, the first call picks
// headless when QUILL_AUDIO is "headless" and SDL2_mixer otherwise.
const AudioDriver* audio();
void selectAudio(const AudioDriver* driver);

const AudioDriver* sdlAudioDriver();       // SDL2_mixer: what the player hears
const AudioDriver* headlessAudioDriver();  // records what was played (headlessaudio.h)
