// The small synthesiser behind every sound: oscillators, envelopes, filters,
// a buzzing voice, mixing and the final tidy-up before a sound is saved.
#pragma once

#include <cstdint>

#include "random.h"
#include "wav_writer.h"

namespace sound {

constexpr double kPi = 3.14159265358979323846;

int frames(double seconds);
double note_hz(double midi);  // 69 is A4, 440 Hz

enum class Wave { kSine, kTriangle, kSquare, kPulse, kSaw, kNoise };

// Follows a pitch that may change every sample; square, pulse and saw are
// softened at their jumps so high notes do not alias harshly.
class Oscillator {
 public:
  explicit Oscillator(Wave wave, std::uint32_t seed = 1) : wave_(wave), noise_(seed) {}
  double next(double hz);

 private:
  Wave wave_;
  double phase_ = 0.0;
  art::Random noise_;
};

// Attack, decay to a sustain level, hold until `held`, then release.
double adsr(double t, double held, double attack, double decay, double sustain, double release);

class Lowpass {
 public:
  double next(double in, double cutoff_hz);

 private:
  double state_ = 0.0;
};

// A resonant band-pass (constant peak gain); the centre may move per sample.
class Bandpass {
 public:
  double next(double in, double centre_hz, double q);

 private:
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

struct Vowel {
  double f1, f2, f3;
};
constexpr Vowel kAh{800, 1150, 2900};
constexpr Vowel kEe{300, 2300, 3000};
constexpr Vowel kOh{450, 800, 2800};
constexpr Vowel kOo{330, 700, 2500};
constexpr Vowel kEh{550, 1770, 2600};

// A throat: a buzz through three vowel resonances, with some breath.
class Voice {
 public:
  explicit Voice(std::uint32_t seed) : noise_(Wave::kNoise, seed) {}
  double next(double hz, const Vowel& vowel, double breath = 0.1);

 private:
  Oscillator buzz_{Wave::kSaw};
  Oscillator noise_;
  Bandpass f1_, f2_, f3_;
};

Vowel blend(const Vowel& a, const Vowel& b, double t);

// A plucked string (Karplus-Strong) of the given length, seeded for repeatability.
Samples pluck(double hz, double seconds, std::uint32_t seed, double damping = 0.996);

// Adds src into dst starting at `at` seconds, growing dst when needed.
void mix_in(Samples& dst, const Samples& src, double at, double gain = 1.0);

// Removes any offset, fades both ends so nothing clicks, and scales the
// loudest sample to `peak`.
void finish(Samples& s, double peak = 0.8);

}  // namespace sound
