// The recipes. Every sound starts and ends softly (no click), stays short, and
// is loud enough on its own; the game sets each one's volume when it plays it.
#include "tools/soundgen/sounds.h"

#include <cmath>
#include <iterator>

namespace {

// A footfall: a soft low thump under a short burst of muffled grit.
void footstep(Signal& sig, double thumpHz, double grit, double length, uint32_t seed) {
  Signal noise = silence(length);
  addNoise(noise, 1.0, seed);
  bandPass(noise, grit, grit * 0.9);
  lowPass(noise, grit * 1.5);
  shape(noise, 0.0, 0.008, length * 0.22);
  for (size_t i = 0; i < sig.s.size() && i < noise.s.size(); ++i) sig.s[i] += 2.5 * noise.s[i];
  addPartial(sig, {0.0, length, thumpHz * 1.4, thumpHz, 0.9, 0.008, length * 0.25});
}

void makeStep(Signal& sig) { footstep(sig, 110.0, 900.0, 0.18, 0x1234567u); }
// The white guard's step: lower, longer, with more weight in the thump.
void makeHeavyStep(Signal& sig) {
  footstep(sig, 62.0, 420.0, 0.30, 0x7654321u);
  addPartial(sig, {0.0, 0.30, 95.0, 55.0, 0.7, 0.01, 0.07});
}

// A crystal: two bright bell strokes a fifth apart.
void makeCrystal(Signal& sig) {
  for (int k = 0; k < 2; ++k) {
    const double f = k == 0 ? 1318.5 : 1975.5;  // E6, B6
    const double at = 0.09 * k;
    addPartial(sig, {at, 0.8 - at, f, f, 0.5, 0.005, 0.22});
    addPartial(sig, {at, 0.8 - at, f * 2.76, f * 2.76, 0.15, 0.005, 0.08});  // the bell's inharmonic overtone
    addPartial(sig, {at, 0.8 - at, f * 5.4, f * 5.4, 0.05, 0.005, 0.04});
  }
}

// An item picked up: a quick rising chime, C5 E5 G5 C6.
void makeItem(Signal& sig) {
  const double notes[4] = {523.25, 659.25, 783.99, 1046.5};
  for (int k = 0; k < 4; ++k)
    addHarmonics(sig, {0.07 * k, 0.9 - 0.07 * k, notes[k], notes[k], 0.4, 0.006, 0.2}, 4, 1.6);
}

// A guard's call as its item is taken: a hollow two-note hoot, falling a
// fourth, with a slow attack and a little vibrato.
void call(Signal& sig, double f) {
  addHarmonics(sig, {0.0, 0.5, f, f, 0.5, 0.05, 0.0, 5.5, 0.012}, 5, 2.2);
  Signal second = silence(0.9);
  addHarmonics(second, {0.38, 0.52, f * 0.75, f * 0.72, 0.5, 0.06, 0.3, 5.0, 0.015}, 5, 2.2);
  for (size_t i = 0; i < sig.s.size(); ++i) {
    // The first note fades out under the second.
    const double t = static_cast<double>(i) / kSampleRate;
    const double fade = t < 0.32   ? 1.0
                        : t < 0.44 ? 0.5 + 0.5 * std::cos(3.14159265 * (t - 0.32) / 0.12)
                                   : 0.0;
    sig.s[i] = sig.s[i] * fade + second.s[i];
  }
  lowPass(sig, 2500.0);
}
void makeCallRed(Signal& sig) { call(sig, 392.0); }    // G4
void makeCallGreen(Signal& sig) { call(sig, 329.6); }  // E4
void makeCallBlue(Signal& sig) { call(sig, 261.6); }   // C4

// A guard takes its item back: three falling notes of a minor chord.
void makeTakeBack(Signal& sig) {
  const double notes[3] = {392.0, 311.1, 261.6};  // G4 Eb4 C4
  for (int k = 0; k < 3; ++k)
    addHarmonics(sig, {0.14 * k, 0.8 - 0.14 * k, notes[k], notes[k], 0.4, 0.01, 0.22}, 6, 1.3);
  lowPass(sig, 3000.0);
}

// The exit opens: a stone rumble under a swelling major chord.
void makeExit(Signal& sig) {
  Signal rumble = silence(1.6);
  addNoise(rumble, 1.0, 0x2468ACEu);
  lowPass(rumble, 140.0);
  lowPass(rumble, 140.0);
  shape(rumble, 0.0, 0.25, 0.45);
  for (size_t i = 0; i < sig.s.size(); ++i) sig.s[i] += 6.0 * rumble.s[i];
  const double chord[4] = {261.6, 329.6, 392.0, 523.25};
  for (int k = 0; k < 4; ++k)
    addHarmonics(sig, {0.25 + 0.05 * k, 1.35 - 0.05 * k, chord[k], chord[k], 0.25, 0.35, 0.45}, 4, 1.8);
}

// A bump into a wall: a short dull thud.
void makeBump(Signal& sig) {
  addPartial(sig, {0.0, 0.14, 150.0, 70.0, 1.0, 0.005, 0.035});
  Signal noise = silence(0.14);
  addNoise(noise, 1.0, 0x13579BDu);
  lowPass(noise, 600.0);
  lowPass(noise, 900.0);
  shape(noise, 0.0, 0.005, 0.015);
  for (size_t i = 0; i < sig.s.size(); ++i) sig.s[i] += 1.5 * noise.s[i];
}

// Caught: a low growl sliding down, two close tones beating against each
// other, over a dark rumble. It lasts through the five-second pause that
// follows a capture, dying away just before the game closes.
void makeCapture(Signal& sig) {
  const double length = static_cast<double>(sig.s.size()) / kSampleRate;
  addHarmonics(sig, {0.0, length, 220.0, 82.0, 0.5, 0.03, 1.8}, 6, 1.2);
  addHarmonics(sig, {0.0, length, 233.1, 86.9, 0.4, 0.03, 1.8}, 6, 1.2);
  Signal rumble = silence(length);
  addNoise(rumble, 1.0, 0x0BADF00u);
  lowPass(rumble, 200.0);
  lowPass(rumble, 200.0);
  shape(rumble, 0.0, 0.05, 1.6);
  for (size_t i = 0; i < sig.s.size(); ++i) sig.s[i] += 5.0 * rumble.s[i];
  lowPass(sig, 2000.0);
}

// The win: a short brass fanfare, G4 C5 E5 and a long G5 over a C major chord.
void makeFanfare(Signal& sig) {
  struct Note {
    double at, length, f;
  };
  const Note notes[5] = {
      {0.0, 0.2, 392.0}, {0.18, 0.2, 523.25}, {0.36, 0.2, 659.25}, {0.54, 1.6, 783.99}, {0.54, 1.6, 523.25}};
  for (const Note& n : notes) {
    const double decay = n.length > 1 ? 0.7 : 0.25;
    addHarmonics(sig, {n.at, n.length, n.f, n.f, 0.3, 0.025, decay, n.length > 1 ? 5.0 : 0.0, 0.006}, 7, 1.1);
  }
  lowPass(sig, 4000.0);
}

// Wind in the corridors: noise through a slowly wandering band-pass. The
// generator fades the ends; the game loops it, so its ends are crossfaded.
void makeWind(Signal& sig) {
  // Half a second more noise than the loop holds: that tail is crossfaded
  // into the start, so the loop's last sample runs on into its first.
  const size_t n = sig.s.size(), overlap = static_cast<size_t>(samplesFor(0.5));
  Signal noise = silence(static_cast<double>(n + overlap) / kSampleRate);
  addNoise(noise, 1.0, 0x5EED123u);
  lowPass(noise, 700.0);
  lowPass(noise, 900.0);
  highPass(noise, 120.0);
  for (size_t i = 0; i < n; ++i) sig.s[i] = noise.s[i];
  for (size_t i = 0; i < overlap; ++i) {
    const double w = static_cast<double>(i) / static_cast<double>(overlap);
    sig.s[i] = w * noise.s[i] + (1 - w) * noise.s[n + i];
  }
  // Gusts: the level swells and settles over the loop, in whole cycles so the loop joins.
  for (size_t i = 0; i < n; ++i) {
    const double phase = 6.283185307 * static_cast<double>(i) / static_cast<double>(n);
    sig.s[i] *= 0.6 + 0.25 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase + 1.0);
  }
}

}  // namespace

// Name, length in seconds, peak, recipe. Footsteps peak high because the game
// plays them quieter with distance; the capture and the fanfare peak highest,
// as the loudest moments of the game; the wind stays well under everything.
const SoundRecipe kRecipes[] = {
    {"step.wav", 0.18, 0.7, makeStep},        {"stepheavy.wav", 0.30, 0.7, makeHeavyStep},
    {"crystal.wav", 0.8, 0.5, makeCrystal},   {"item.wav", 0.9, 0.55, makeItem},
    {"callred.wav", 0.9, 0.5, makeCallRed},   {"callgreen.wav", 0.9, 0.5, makeCallGreen},
    {"callblue.wav", 0.9, 0.5, makeCallBlue}, {"takeback.wav", 0.8, 0.55, makeTakeBack},
    {"exit.wav", 1.6, 0.6, makeExit},         {"bump.wav", 0.14, 0.6, makeBump},
    {"capture.wav", 4.8, 0.95, makeCapture},  {"fanfare.wav", 2.2, 0.9, makeFanfare},
    {"wind.wav", 8.0, 0.2, makeWind},
};
static_assert(std::size(kRecipes) == kSoundCount, "one recipe per sound the game plays");

Signal renderSound(const SoundRecipe& recipe) {
  Signal sig = silence(recipe.seconds);
  recipe.make(sig);
  // The loop sound keeps its ends as they are: its crossfade already joins them.
  if (recipe.make != makeWind) fadeEnds(sig, 0.002, 0.02);
  normalise(sig, recipe.peak);
  return sig;
}
