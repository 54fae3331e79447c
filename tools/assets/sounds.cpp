// The game's sound effects: scares, screams and laughs, pick-up jingles,
// machinery, the blast, the beam and the fanfares.
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "sounds.h"
#include "synth.h"

namespace sound {

namespace {

// Renders seconds of f(t), t in seconds.
template <class F>
Samples make(double seconds, F f) {
  Samples s(frames(seconds));
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(f(double(i) / kRate));
  return s;
}

// Rises over `in` seconds and falls over the last `out` seconds of `length`.
double swell(double t, double length, double in, double out) {
  double rise = std::min(1.0, t / in), fall = std::min(1.0, std::max(0.0, (length - t) / out));
  return rise * fall;
}

// Fading repeats, as if in a stone corridor.
void echo(Samples& s, double delay, double feedback, int repeats) {
  const Samples dry = s;
  double gain = 1.0;
  for (int i = 1; i <= repeats; ++i) {
    gain *= feedback;
    mix_in(s, dry, delay * i, gain);
  }
}

class Writer {
 public:
  explicit Writer(std::string dir) : dir_(std::move(dir)) {}
  void operator()(const std::string& name, Samples s, double peak = 0.8) const {
    finish(s, peak);
    write_wav(dir_ + "/" + name + ".wav", s);
  }

 private:
  std::string dir_;
};

// A note with a quick attack and a decay, for jingles.
Samples tone(Wave wave, double hz, double seconds, double decay = 6.0) {
  Oscillator osc(wave);
  return make(seconds, [&](double t) { return osc.next(hz) * std::min(1.0, t / 0.004) * std::exp(-t * decay) * swell(t, seconds, 0.001, 0.02); });
}

Samples bell(double hz, double seconds) {
  Oscillator mod(Wave::kSine);
  return make(seconds, [&](double t) {
    double index = 3.0 * std::exp(-t * 8);
    return std::sin(2 * kPi * hz * t + index * mod.next(hz * 2.76)) * std::exp(-t * 4) * std::min(1.0, t / 0.002);
  });
}

// A run of notes, one every `step` seconds.
Samples run(Wave wave, std::initializer_list<double> midi, double step, double ring, double decay = 6.0) {
  Samples out;
  int i = 0;
  for (double m : midi) mix_in(out, tone(wave, note_hz(m), ring, decay), step * i++, 0.6);
  return out;
}

// --- Scares -------------------------------------------------------------

Samples moan() {
  Voice v(11);
  return make(2.4, [&](double t) {
    double hz = 170 - 45 * t / 2.4 + 6 * std::sin(2 * kPi * 4.5 * t);
    Vowel vowel = blend(kOo, kOh, 0.5 + 0.5 * std::sin(kPi * t / 1.2));
    return v.next(hz, vowel, 0.25) * swell(t, 2.4, 0.5, 0.9);
  });
}

Samples creak() {
  Bandpass low, high;
  double phase = 0;
  return make(1.7, [&](double t) {
    double rate = 35 + 60 * std::sin(kPi * t / 1.7) + 15 * std::sin(2 * kPi * 1.3 * t);
    phase += rate / kRate;
    double click = 0;
    if (phase >= 1) {
      phase -= 1;
      click = 1;
    }
    double centre = 1100 + 500 * std::sin(kPi * t / 1.7);
    return (low.next(click, centre, 14) + 0.5 * high.next(click, centre * 2.1, 18)) * swell(t, 1.7, 0.05, 0.2);
  });
}

Samples whisper() {
  Oscillator noise(Wave::kNoise, 21);
  Bandpass a, b;
  return make(2.0, [&](double t) {
    double n = noise.next(0);
    double syllables = std::pow(std::max(0.0, std::sin(2 * kPi * (4.3 * t + 0.3 * std::sin(2 * kPi * 0.9 * t)))), 2);
    double centre = 2600 + 900 * std::sin(2 * kPi * 1.7 * t);
    return (a.next(n, centre, 4) + 0.6 * b.next(n, centre * 0.45, 3)) * syllables * swell(t, 2.0, 0.2, 0.4);
  });
}

Samples drone() {
  Oscillator a(Wave::kSaw), b(Wave::kSaw), c(Wave::kSine);
  Lowpass warm;
  return make(2.6, [&](double t) {
    double tremolo = 0.75 + 0.25 * std::sin(2 * kPi * 3.1 * t);
    double v = a.next(55) + b.next(55.7) + 0.6 * c.next(82.8);
    return warm.next(v, 350 + 150 * std::sin(kPi * t / 2.6)) * tremolo * swell(t, 2.6, 0.6, 0.8);
  });
}

Samples howl() {
  Oscillator noise(Wave::kNoise, 31);
  Bandpass wind, whistle;
  return make(2.6, [&](double t) {
    double n = noise.next(0);
    double centre = 350 + 550 * std::sin(kPi * t / 2.6) + 120 * std::sin(2 * kPi * 0.8 * t);
    return (wind.next(n, centre, 6) + 0.5 * whistle.next(n, centre * 2, 20)) * swell(t, 2.6, 0.5, 0.8);
  });
}

Samples broken_music_box() {
  Samples out;
  const double notes[] = {76, 72, 71, 68, 64};
  for (int i = 0; i < 5; ++i) {
    Samples n = bell(note_hz(notes[i] - 0.3 * i), 0.9);  // each note a little flatter: the spring winds down
    mix_in(out, n, i * 0.32 + 0.02 * i * i, 0.5);
  }
  echo(out, 0.23, 0.35, 2);
  return out;
}

Samples heartbeat() {
  Oscillator hum(Wave::kSine);
  Samples out = make(2.3, [&](double t) { return 0.15 * hum.next(46) * swell(t, 2.3, 0.4, 0.4); });
  for (int beat = 0; beat < 3; ++beat) {
    for (int part = 0; part < 2; ++part) {
      Oscillator osc(Wave::kSine);
      Samples thump = make(0.22, [&](double t) { return osc.next(40 + 50 * std::exp(-t * 25)) * std::exp(-t * 18); });
      mix_in(out, thump, 0.1 + beat * 0.72 + part * 0.2, part ? 0.7 : 1.0);
    }
  }
  return out;
}

Samples chains() {
  art::Random rng(41);
  Samples out(frames(1.6), 0.0f);
  for (int i = 0; i < 22; ++i) {
    double at = rng.unit() * 1.4;
    double centre = 2200 + rng.unit() * 2800;
    Oscillator noise(Wave::kNoise, 100 + i);
    Bandpass ring;
    Samples clink = make(0.12, [&](double t) { return ring.next(noise.next(0), centre, 30) * std::exp(-t * 35); });
    mix_in(out, clink, at, 0.4 + 0.6 * rng.unit());
  }
  return out;
}

Samples theremin() {
  Oscillator osc(Wave::kSine);
  return make(2.5, [&](double t) {
    double glide = 420 + 380 * std::sin(kPi * t / 1.6) - 120 * t;
    return osc.next(glide * (1 + 0.03 * std::sin(2 * kPi * 6 * t))) * swell(t, 2.5, 0.3, 0.7);
  });
}

Samples breath() {
  Voice v(51);
  Samples out = make(1.2, [&](double t) {
    return v.next(110 + 30 * t, blend(kOh, kAh, t / 1.2), 0.7) * swell(t, 1.2, 0.9, 0.15);
  });
  echo(out, 0.18, 0.45, 3);
  return out;
}

// --- Screams and laughs --------------------------------------------------

Samples scream(std::uint32_t seed, double length, double start_hz, double end_hz, Vowel from, Vowel to, double shake) {
  Voice v(seed);
  art::Random wobble(seed);
  double jitter = 0;
  return make(length, [&](double t) {
    double k = t / length;
    jitter += (wobble.signed_unit() * 0.02 - jitter * 0.01);
    double hz = (start_hz + (end_hz - start_hz) * k * k) * (1 + shake * std::sin(2 * kPi * 7 * t) + jitter);
    return v.next(hz, blend(from, to, std::min(1.0, k * 2)), 0.2) * swell(t, length, 0.03, length * 0.35);
  });
}

// Ghostly "ha"s, each lower and fainter than the one before.
Samples laugh(std::uint32_t seed, int syllables, double start_hz, double step, const Vowel& vowel, double beat) {
  Samples out;
  for (int i = 0; i < syllables; ++i) {
    Voice v(seed + i);
    double hz = start_hz * std::pow(0.93, i);
    double len = beat * 0.75;
    Samples ha = make(len, [&](double t) {
      double shape = std::sin(kPi * t / len);
      return v.next(hz * (1 + 0.05 * std::sin(2 * kPi * 9 * t)), vowel, 0.35 * (1 - shape) + 0.1) * shape * shape;
    });
    mix_in(out, ha, i * step, std::pow(0.88, i));
  }
  echo(out, 0.19, 0.35, 2);
  return out;
}

// --- Pick-ups and machinery ----------------------------------------------

Samples coin() {
  Samples out = tone(Wave::kSquare, note_hz(83), 0.07, 2.0);
  mix_in(out, tone(Wave::kSquare, note_hz(88), 0.32, 7.0), 0.06);
  return out;
}

Samples shield() {
  Oscillator a(Wave::kSine), b(Wave::kSine), c(Wave::kTriangle);
  return make(0.7, [&](double t) {
    double hz = 400 * std::pow(4.0, t / 0.7);
    double shimmer = 0.7 + 0.3 * std::sin(2 * kPi * 22 * t);
    return (a.next(hz) + 0.6 * b.next(hz * 1.5) + 0.3 * c.next(hz * 2.01)) * shimmer * swell(t, 0.7, 0.05, 0.25);
  });
}

Samples dynamite() {
  Samples out = run(Wave::kSquare, {48, 52, 55, 60}, 0.07, 0.15, 10);
  Oscillator noise(Wave::kNoise, 61);
  Lowpass body;
  Samples fizz = make(0.45, [&](double t) {
    double n = noise.next(0);
    return (n - body.next(n, 3000)) * swell(t, 0.45, 0.05, 0.2) * (0.6 + 0.4 * std::sin(2 * kPi * 31 * t));
  });
  mix_in(out, fizz, 0.25, 0.5);
  return out;
}

Samples shoes() {
  Samples out = run(Wave::kPulse, {72, 74, 76, 79, 81, 84, 88}, 0.045, 0.12, 12);
  Oscillator noise(Wave::kNoise, 71);
  Bandpass whoosh;
  Samples air = make(0.4, [&](double t) { return whoosh.next(noise.next(0), 600 + 4000 * t, 2) * swell(t, 0.4, 0.1, 0.2); });
  mix_in(out, air, 0.0, 0.5);
  return out;
}

Samples extra_life() {
  Samples out = run(Wave::kSquare, {72, 76, 79, 84, 79, 84}, 0.08, 0.18, 5);
  mix_in(out, tone(Wave::kTriangle, note_hz(91), 0.45, 4), 0.48, 0.7);
  return out;
}

Samples treasure() {
  Samples out;
  const double notes[] = {84, 88, 91, 96, 100};
  for (int i = 0; i < 5; ++i) mix_in(out, bell(note_hz(notes[i]), 0.7), i * 0.07, 0.5);
  art::Random rng(81);
  for (int i = 0; i < 12; ++i) mix_in(out, tone(Wave::kSine, 3000 + rng.unit() * 3000, 0.06, 40), 0.3 + rng.unit() * 0.5, 0.2);
  return out;
}

Samples generator() {
  Oscillator hum(Wave::kSaw), whine(Wave::kSine);
  Lowpass soft;
  art::Random crackle(91);
  return make(0.85, [&](double t) {
    double k = t / 0.85;
    double buzz = soft.next(hum.next(80 + 160 * k), 1800);
    double spark = crackle.chance(0.004) ? crackle.signed_unit() : 0.0;
    return (0.6 * buzz + 0.5 * whine.next(400 + 900 * k) + spark) * swell(t, 0.85, 0.08, 0.15);
  });
}

Samples radar() {
  Oscillator osc(Wave::kSine);
  Samples out = make(0.25, [&](double t) { return osc.next(1500) * std::exp(-t * 18) * std::min(1.0, t / 0.002); });
  echo(out, 0.2, 0.45, 3);
  return out;
}

Samples buzz() {
  Oscillator a(Wave::kSaw), b(Wave::kPulse);
  art::Random crackle(101);
  double flicker = 1;
  return make(0.6, [&](double t) {
    if (crackle.chance(0.002)) flicker = 0.3 + crackle.unit() * 0.7;
    flicker += (1 - flicker) * 0.001;
    return (a.next(110) * 0.6 + b.next(220) * 0.4) * flicker * swell(t, 0.6, 0.02, 0.08);
  });
}

Samples scrape() {
  Oscillator noise(Wave::kNoise, 111), rumble(Wave::kTriangle);
  Bandpass grit;
  art::Random rough(113);
  double grain = 1;
  return make(0.5, [&](double t) {
    if (rough.chance(0.02)) grain = 0.4 + rough.unit() * 0.6;
    return (grit.next(noise.next(0), 650, 2) * grain + 0.3 * rumble.next(70)) * swell(t, 0.5, 0.03, 0.1);
  });
}

Samples alarm() {
  Samples out;
  for (int i = 0; i < 8; ++i) {
    Oscillator osc(Wave::kSquare);
    double hz = i % 2 ? 660 : 880;
    mix_in(out, make(0.11, [&](double t) { return osc.next(hz) * swell(t, 0.11, 0.005, 0.01); }), i * 0.125, 0.5);
  }
  return out;
}

Samples explosion() {
  Oscillator noise(Wave::kNoise, 121), rumble(Wave::kSine);
  Lowpass muffle, deep;
  art::Random shake(123);
  return make(1.6, [&](double t) {
    double crack = muffle.next(noise.next(0), 200 + 5000 * std::exp(-t * 4)) * std::exp(-t * 2.6);
    double low = rumble.next(45 + 15 * shake.signed_unit()) * std::exp(-t * 2.0);
    return (crack * 1.4 + deep.next(low, 150)) * std::min(1.0, t / 0.003);
  });
}

Samples beam() {
  Oscillator saw(Wave::kSaw), wobble(Wave::kSine);
  return make(0.2, [&](double t) {
    double hz = 1800 - 1200 * t / 0.2 + 150 * wobble.next(60);
    return saw.next(hz) * swell(t, 0.2, 0.005, 0.04);
  });
}

Samples fanfare() {
  Samples out;
  struct Step {
    double at, len, midi;
  };
  const Step steps[] = {{0.0, 0.12, 67}, {0.14, 0.12, 67}, {0.28, 0.12, 67}, {0.42, 0.3, 72}, {0.76, 0.18, 71},
                        {0.96, 0.18, 72}, {1.16, 0.7, 76}};
  for (const Step& s : steps) {
    Oscillator lead(Wave::kSquare), harmony(Wave::kPulse);
    Samples note = make(s.len + 0.1, [&](double t) {
      double env = adsr(t, s.len, 0.01, 0.05, 0.75, 0.09);
      return (0.6 * lead.next(note_hz(s.midi)) + 0.35 * harmony.next(note_hz(s.midi - 5))) * env;
    });
    mix_in(out, note, s.at);
  }
  Oscillator bass(Wave::kTriangle);
  mix_in(out, make(1.9, [&](double t) { return bass.next(note_hz(t < 1.16 ? 48 : 52)) * swell(t, 1.9, 0.02, 0.3); }), 0, 0.5);
  return out;
}

Samples new_room() {
  Oscillator noise(Wave::kNoise, 131);
  Bandpass sweep;
  Samples out = make(0.8, [&](double t) { return sweep.next(noise.next(0), 300 * std::pow(10.0, t / 0.8), 3) * swell(t, 0.8, 0.3, 0.3); });
  const double notes[] = {69, 72, 76, 81};
  for (int i = 0; i < 4; ++i) mix_in(out, bell(note_hz(notes[i]), 0.6), 0.35 + i * 0.1, 0.5);
  return out;
}

}  // namespace

void write_effects(const std::string& dir) {
  const Writer save(dir);
  save("strach1", moan());
  save("strach2", creak());
  save("strach3", whisper());
  save("strach4", drone());
  save("strach5", howl());
  save("strach6", broken_music_box());
  save("strach7", heartbeat());
  save("strach8", chains());
  save("strach9", theremin(), 0.6);
  save("strach10", breath());

  save("krzyk1", scream(201, 1.1, 950, 260, kAh, kOh, 0.03));
  save("krzyk2", scream(202, 1.0, 700, 1050, kEe, kAh, 0.04));
  save("krzyk3", scream(203, 0.8, 620, 420, kAh, kEh, 0.06));
  save("smiech1", laugh(301, 6, 240, 0.17, kAh, 0.17));
  save("smiech2", laugh(311, 7, 480, 0.12, kEe, 0.12));
  Samples shriek = scream(401, 0.45, 1200, 1500, kEe, kEe, 0.05);
  mix_in(shriek, laugh(411, 5, 300, 0.15, kAh, 0.15), 0.4);
  save("krzyk_smiech", shriek);
  Oscillator rise_a(Wave::kSine), rise_b(Wave::kSine);
  save("see1", make(0.9, [&](double t) {
    double hz = 300 * std::pow(3.0, t / 0.9) * (1 + 0.02 * std::sin(2 * kPi * 6 * t));
    return (rise_a.next(hz) + rise_b.next(hz * 1.007)) * swell(t, 0.9, 0.1, 0.25);
  }), 0.6);
  Samples see = run(Wave::kTriangle, {64, 67, 71, 76}, 0.12, 0.5, 3);
  echo(see, 0.15, 0.4, 2);
  save("see2", see);

  save("x_coin", coin());
  save("x_shield", shield());
  save("x_dynamite", dynamite());
  save("x_shoes", shoes());
  save("x_life", extra_life());
  save("x_treasure", treasure());
  save("x_generator", generator());
  save("x_radar", radar());
  save("bzz", buzz(), 0.6);
  save("suw", scrape());
  save("alarm", alarm(), 0.5);
  save("explo", explosion(), 0.9);
  save("wiazka", beam(), 0.6);
  save("levelup", fanfare());
  save("newroom", new_room());
}

}  // namespace sound
