#include "tools/soundgen/synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;

double envelope(double t, double attack, double decay) {
  if (t < 0) return 0;
  const double rise = (attack > 0 && t < attack) ? 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * t / attack) : 1.0;
  return rise * (decay > 0 ? std::exp(-t / decay) : 1.0);
}

void putU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putU16(std::string& out, uint32_t v) {
  for (int i = 0; i < 2; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
}  // namespace

int samplesFor(double seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }

Signal silence(double seconds) {
  return Signal{std::vector<double>(static_cast<size_t>(samplesFor(seconds)), 0.0)};
}

void addNoise(Signal& sig, double level, uint32_t seed) {
  uint32_t x = seed ? seed : 1;
  for (double& v : sig.s) {
    x ^= x << 13;  // xorshift32
    x ^= x >> 17;
    x ^= x << 5;
    v += level * (static_cast<double>(x) / 2147483648.0 - 1.0);
  }
}

void addPartial(Signal& sig, const Partial& p) {
  const int first = samplesFor(p.start);
  const int count = std::min(samplesFor(p.length), static_cast<int>(sig.s.size()) - first);
  // Every partial ends with a short raised-cosine release, so a note that is
  // cut off while still sounding does not click.
  const int release = std::max(1, std::min(samplesFor(0.015), count / 4));
  double phase = 0;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const int left = count - 1 - i;
    const double tail = left < release ? 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * left / release) : 1.0;
    double f = p.f0 * std::pow(p.f1 / p.f0, t / p.length);
    if (p.vibratoHz > 0) f *= 1.0 + p.vibratoDepth * std::sin(kTwoPi * p.vibratoHz * t);
    phase += kTwoPi * f / kSampleRate;
    sig.s[static_cast<size_t>(first + i)] +=
        tail * p.level * envelope(t, p.attack, p.decay) * std::sin(phase);
  }
}

void addHarmonics(Signal& sig, const Partial& p, int count, double rolloff) {
  for (int n = 1; n <= count; ++n) {
    Partial h = p;
    h.f0 *= n;
    h.f1 *= n;
    h.level = p.level / std::pow(n, rolloff);
    // Upper harmonics die away sooner, as in struck and blown instruments.
    h.decay = p.decay > 0 ? p.decay / (1.0 + 0.35 * (n - 1)) : 0;
    if (h.f0 < kSampleRate * 0.45 && h.f1 < kSampleRate * 0.45) addPartial(sig, h);
  }
}

void lowPass(Signal& sig, double cutoff) {
  const double a = 1.0 - std::exp(-kTwoPi * cutoff / kSampleRate);
  double y = 0;
  for (double& v : sig.s) v = y += a * (v - y);
}

void highPass(Signal& sig, double cutoff) {
  const double a = std::exp(-kTwoPi * cutoff / kSampleRate);
  double y = 0, previous = 0;
  for (double& v : sig.s) {
    y = a * (y + v - previous);
    previous = v;
    v = y;
  }
}

void bandPass(Signal& sig, double centre, double width) {
  // The classic two-pole resonator, scaled to unit gain at the centre.
  const double r = std::exp(-kTwoPi * 0.5 * width / kSampleRate);
  const double c = 2.0 * r * std::cos(kTwoPi * centre / kSampleRate);
  const double gain = 1.0 - r;
  double y1 = 0, y2 = 0;
  for (double& v : sig.s) {
    const double y = gain * v + c * y1 - r * r * y2;
    y2 = y1;
    y1 = y;
    v = y;
  }
}

void shape(Signal& sig, double start, double attack, double decay) {
  for (size_t i = 0; i < sig.s.size(); ++i)
    sig.s[i] *= envelope(static_cast<double>(i) / kSampleRate - start, attack, decay);
}

void fadeEnds(Signal& sig, double fadeIn, double fadeOut) {
  const int n = static_cast<int>(sig.s.size());
  const int in = std::min(samplesFor(fadeIn), n), out = std::min(samplesFor(fadeOut), n);
  for (int i = 0; i < in; ++i) sig.s[static_cast<size_t>(i)] *= 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / in);
  for (int i = 0; i < out; ++i)
    sig.s[static_cast<size_t>(n - 1 - i)] *= 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / out);
}

void normalise(Signal& sig, double peak) {
  double largest = 0;
  for (double v : sig.s) largest = std::max(largest, std::fabs(v));
  if (largest <= 0) return;
  for (double& v : sig.s) v *= peak / largest;
}

std::string wavBytes(const Signal& sig) {
  const uint32_t dataBytes = static_cast<uint32_t>(sig.s.size() * 2);
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  putU32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  putU32(out, 16);  // size of the format block
  putU16(out, 1);   // PCM
  putU16(out, 1);   // mono
  putU32(out, kSampleRate);
  putU32(out, kSampleRate * 2);  // bytes per second
  putU16(out, 2);                // bytes per sample frame
  putU16(out, 16);               // bits per sample
  out += "data";
  putU32(out, dataBytes);
  for (double v : sig.s) {
    const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    putU16(out, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(q))));
  }
  return out;
}
