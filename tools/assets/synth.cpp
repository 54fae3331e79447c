// The small synthesiser behind every sound: oscillators, envelopes, filters,
// a buzzing voice, mixing and the final tidy-up before a sound is saved.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace sound {

namespace {

constexpr double kFadeIn = 0.004;   // seconds
constexpr double kFadeOut = 0.015;  // seconds

// The polyBLEP correction that rounds off a waveform's jump.
double blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

int frames(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

double note_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

double Oscillator::next(double hz) {
  const double dt = std::min(0.5, std::fabs(hz) / kRate);
  const double t = phase_;
  phase_ += dt;
  if (phase_ >= 1.0) phase_ -= 1.0;
  switch (wave_) {
    case Wave::kSine: return std::sin(2 * kPi * t);
    case Wave::kTriangle: return 4.0 * std::fabs(t - 0.5) - 1.0;
    case Wave::kSquare: return (t < 0.5 ? 1.0 : -1.0) + blep(t, dt) - blep(std::fmod(t + 0.5, 1.0), dt);
    case Wave::kPulse: return (t < 0.25 ? 1.0 : -1.0) + blep(t, dt) - blep(std::fmod(t + 0.75, 1.0), dt);
    case Wave::kSaw: return 2.0 * t - 1.0 - blep(t, dt);
    case Wave::kNoise: return noise_.signed_unit();
  }
  return 0.0;
}

double adsr(double t, double held, double attack, double decay, double sustain, double release) {
  if (t < 0) return 0.0;
  double level;
  if (t < attack) {
    level = t / attack;
  } else if (t < attack + decay) {
    level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
  } else {
    level = sustain;
  }
  if (t > held) {
    // Release from wherever the note stood when it was let go.
    double at_release = adsr(held, held + 1.0, attack, decay, sustain, release);
    level = std::min(level, at_release) * std::max(0.0, 1.0 - (t - held) / release);
  }
  return level;
}

double Lowpass::next(double in, double cutoff_hz) {
  double a = 1.0 - std::exp(-2 * kPi * cutoff_hz / kRate);
  state_ += a * (in - state_);
  return state_;
}

double Bandpass::next(double in, double centre_hz, double q) {
  const double w = 2 * kPi * std::min(centre_hz, kRate * 0.45) / kRate;
  const double alpha = std::sin(w) / (2 * q);
  const double a0 = 1 + alpha;
  const double b0 = alpha / a0, b2 = -alpha / a0;
  const double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
  double y = b0 * in + b2 * x2_ - a1 * y1_ - a2 * y2_;
  x2_ = x1_;
  x1_ = in;
  y2_ = y1_;
  y1_ = y;
  return y;
}

double Voice::next(double hz, const Vowel& v, double breath) {
  double source = buzz_.next(hz) * (1.0 - breath) + noise_.next(0) * breath;
  return f1_.next(source, v.f1, 6) + 0.6 * f2_.next(source, v.f2, 8) + 0.3 * f3_.next(source, v.f3, 10);
}

Vowel blend(const Vowel& a, const Vowel& b, double t) {
  return {a.f1 + (b.f1 - a.f1) * t, a.f2 + (b.f2 - a.f2) * t, a.f3 + (b.f3 - a.f3) * t};
}

Samples pluck(double hz, double seconds, std::uint32_t seed, double damping) {
  art::Random rng(seed);
  const int period = std::max(2, static_cast<int>(std::lround(kRate / hz)));
  std::vector<double> ring(period);
  for (double& v : ring) v = rng.signed_unit();
  Samples out(frames(seconds));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::size_t at = i % period, after = (i + 1) % period;
    out[i] = static_cast<float>(ring[at]);
    ring[at] = damping * 0.5 * (ring[at] + ring[after]);
  }
  // Damp the string at the end, so a cut-off note does not click.
  const int fade = std::min<int>(frames(0.01), out.size());
  for (int i = 0; i < fade; ++i) out[out.size() - 1 - i] *= static_cast<float>(double(i) / fade);
  return out;
}

void mix_in(Samples& dst, const Samples& src, double at, double gain) {
  const std::size_t start = static_cast<std::size_t>(std::max(0, frames(at)));
  if (dst.size() < start + src.size()) dst.resize(start + src.size(), 0.0f);
  for (std::size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

void finish(Samples& s, double peak) {
  if (s.empty()) return;
  double mean = 0;
  for (float v : s) mean += v;
  mean /= s.size();
  for (float& v : s) v -= static_cast<float>(mean);
  const int in = std::min<int>(frames(kFadeIn), s.size() / 4);
  const int out = std::min<int>(frames(kFadeOut), s.size() / 4);
  for (int i = 0; i < in; ++i) s[i] *= static_cast<float>(double(i) / in);
  for (int i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<float>(double(i) / out);
  double loudest = 0;
  for (float v : s) loudest = std::max(loudest, std::fabs(double(v)));
  if (loudest > 0) {
    for (float& v : s) v = static_cast<float>(v * peak / loudest);
  }
}

}  // namespace sound
