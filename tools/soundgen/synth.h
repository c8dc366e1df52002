// The sound generator's building blocks: a mono signal at the game's sample
// rate and the few operations every sound is made of (noise, tones, envelopes,
// filters), all deterministic so the build writes the same bytes every time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 44100;  // the mixer's rate, so nothing is resampled

struct Signal {
  std::vector<double> s;  // samples, full scale +-1
};

Signal silence(double seconds);
int samplesFor(double seconds);

// White noise from a fixed-seed generator, added at the given level.
void addNoise(Signal& sig, double level, uint32_t seed);
// A sine partial from `start` for `length` seconds whose frequency glides
// exponentially from f0 to f1, under an attack/decay envelope: a raised-cosine
// rise over `attack` seconds, then exp(-t / decay).
struct Partial {
  double start, length;
  double f0, f1;
  double level;
  double attack, decay;
  double vibratoHz = 0, vibratoDepth = 0;  // depth as a frequency ratio (0.01 = 1 %)
};
void addPartial(Signal& sig, const Partial& p);
// A tone of several harmonics: harmonic n at level / n^rolloff.
void addHarmonics(Signal& sig, const Partial& p, int count, double rolloff);

// One-pole low-pass and high-pass filters (cutoff in Hz).
void lowPass(Signal& sig, double cutoff);
void highPass(Signal& sig, double cutoff);
// A two-pole resonant band-pass (centre and width in Hz).
void bandPass(Signal& sig, double centre, double width);
// Multiplies by an attack/decay envelope starting at `start`; before it the signal is silenced.
void shape(Signal& sig, double start, double attack, double decay);
// Raised-cosine fades at both ends, so the sound starts and ends at zero without a click.
void fadeEnds(Signal& sig, double fadeIn, double fadeOut);
// Scales the whole sound so that its largest sample is `peak` of full scale.
void normalise(Signal& sig, double peak);

// 16-bit PCM, mono, little endian, canonical 44-byte header.
std::string wavBytes(const Signal& sig);
