// The ten tunes: short looping melodies over bass and broken chords, each in
// its own key, mode, tempo and instrument.
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sounds.h"
#include "synth.h"

namespace sound {

namespace {

constexpr int kEighthsPerBar = 8;
constexpr double kTail = 0.4;  // lets the last note ring out

using Mode = int[7];
constexpr Mode kMajor = {0, 2, 4, 5, 7, 9, 11};
constexpr Mode kMinor = {0, 2, 3, 5, 7, 8, 10};
constexpr Mode kDorian = {0, 2, 3, 5, 7, 9, 10};
constexpr Mode kHarmonicMinor = {0, 2, 3, 5, 7, 8, 11};

enum class Lead { kSquare, kPulse, kTriangle, kBell, kPluck, kSoftSaw };

// A melody is written in scale degrees 1..7: "^" lifts a note an octave,
// "." drops it one, ":n" holds it n eighths (one by default), "-" rests and
// "|" marks a bar. Chords give one root degree per bar.
struct Tune {
  int tonic;  // MIDI note of the melody's key
  const int* mode;
  double bpm;
  Lead lead;
  bool drums;
  const char* melody;
  const char* chords;
};

const Tune kTunes[] = {
    {72, kMajor, 150, Lead::kSquare, true, "1 3 5 3 ^1:2 5:2 | 7:2 6 5 2:2 5:2 | 6 ^1 ^3:2 ^2 ^1 6:2 | 4 6 5 3 1:4",
     "1 5 6 4"},
    {69, kMinor, 132, Lead::kTriangle, false, "1:2 3 5 ^1:2 7 5 | 6:3 5 3:2 1:2 | 3 5 ^1 ^3 ^2:2 ^1 7 | 5:2 .7 2 1:4",
     "1 6 3 7"},
    {77, kMajor, 168, Lead::kPulse, true, "5 5 6 5 ^1:2 7:2 | 6 6 ^1 6 4:2 6:2 | 5 7 ^2 7 5:2 ^2:2 | ^1 5 3 5 ^1:4",
     "1 4 5 1"},
    {74, kDorian, 140, Lead::kBell, false, "1:2 3 4 5:2 ^1:2 | 7 6 4:2 6:4 | 5 4 3 1 2:2 3:2 | 5:2 .7 2 1:4",
     "1 4 1 5"},
    {67, kMajor, 176, Lead::kSquare, true, "1 2 3 5 6 5 3 2 | 4:2 6 ^1 6:2 4:2 | 3 5 ^1 5 3 5 1:2 | 2 5 7 ^2 ^1:4",
     "1 4 1 5"},
    {64, kHarmonicMinor, 132, Lead::kSoftSaw, false,
     "1 3 5 ^1 7:2 5:2 | 6 4 6 ^1 ^2:2 6:2 | 7 5 2 5 7:2 ^2:2 | ^1 7 5 3 1:4", "1 4 5 1"},
    {70, kMajor, 144, Lead::kPluck, true, "3:2 2 1 2:2 5:2 | 6 5 3 1 3:4 | 4 5 6 ^1 6:2 4:2 | 5 4 3 2 .7:2 2:2",
     "1 6 2 5"},
    {74, kMajor, 160, Lead::kPulse, true, "6 ^1 6 4 ^1:2 6:2 | 5 3 1 3 5:4 | 7 ^2 7 5 2:2 7:2 | ^1:2 5 3 1:4",
     "4 1 5 1"},
    {71, kMinor, 150, Lead::kBell, false, "5:2 3 1 3:2 5:2 | 4:2 2 .7 2:2 4:2 | 3:2 1 .6 1:2 3:2 | 2 4 5 ^2 ^1:4",
     "1 7 6 5"},
    {69, kMajor, 184, Lead::kSquare, true, "1 3 5 ^1 5 3 5 ^1 | 6 4 6 ^1 ^2 ^1 6:2 | ^3 ^2 7 5 7 ^2 ^3:2 | ^1 5 3 5 ^1:4",
     "1 4 5 4"},
};

struct Note {
  int eighth;  // start
  int length;  // in eighths
  int degree;  // 1..7
  int octave;
};

std::vector<Note> parse_melody(const char* text) {
  std::vector<Note> notes;
  std::istringstream in(text);
  std::string token;
  int at = 0, bar_start = 0;
  while (in >> token) {
    if (token == "|") {
      if (at - bar_start != kEighthsPerBar) throw std::logic_error(std::string("a bar of the wrong length in ") + text);
      bar_start = at;
      continue;
    }
    Note n{at, 1, 0, 0};
    std::size_t i = 0;
    for (; i < token.size() && (token[i] == '^' || token[i] == '.'); ++i) n.octave += token[i] == '^' ? 1 : -1;
    if (token[i] != '-') n.degree = token[i] - '0';
    std::size_t colon = token.find(':');
    if (colon != std::string::npos) n.length = std::stoi(token.substr(colon + 1));
    if (n.degree < 0 || n.degree > 7) throw std::logic_error("no scale degree " + token);
    if (n.degree > 0) notes.push_back(n);
    at += n.length;
  }
  if (at - bar_start != kEighthsPerBar) throw std::logic_error(std::string("a bar of the wrong length in ") + text);
  return notes;
}

// The MIDI note of a scale degree, counted from the tonic; degrees past 7
// climb into the next octave.
double pitch(const Tune& tune, int degree, int octave) {
  int d = degree - 1;
  octave += d / 7;
  d %= 7;
  return tune.tonic + tune.mode[d] + 12 * octave;
}

Samples lead_note(Lead lead, double hz, double held, std::uint32_t seed) {
  if (lead == Lead::kPluck) return pluck(hz, held + 0.35, seed, 0.995);
  Samples out(frames(held + 0.3));
  Oscillator osc(lead == Lead::kSquare ? Wave::kSquare
                 : lead == Lead::kPulse ? Wave::kPulse
                 : lead == Lead::kTriangle ? Wave::kTriangle
                 : lead == Lead::kSoftSaw ? Wave::kSaw
                                          : Wave::kSine);
  Oscillator modulator(Wave::kSine);
  Lowpass tone;
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kRate;
    double vibrato = t > 0.15 ? 1.0 + 0.004 * std::sin(2 * kPi * 5.5 * t) : 1.0;
    double v;
    if (lead == Lead::kBell) {
      // Two-operator FM: a bright strike that mellows as it rings.
      double index = 2.5 * std::exp(-t * 6);
      v = std::sin(2 * kPi * hz * t + index * modulator.next(hz * 3.5)) * std::exp(-t * 2.5);
      v *= std::min(1.0, t / 0.003) * (t < held + 0.2 ? 1.0 : std::max(0.0, 1 - (t - held - 0.2) / 0.1));
    } else {
      v = osc.next(hz * vibrato) * adsr(t, held, 0.01, 0.08, 0.7, 0.12);
      if (lead == Lead::kSoftSaw) v = tone.next(v, 2200);
      if (lead == Lead::kSquare || lead == Lead::kPulse) v *= 0.6;
    }
    out[i] = static_cast<float>(v);
  }
  return out;
}

Samples bass_note(double hz, double held) {
  Samples out(frames(held + 0.08));
  Oscillator osc(Wave::kTriangle);
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kRate;
    out[i] = static_cast<float>(osc.next(hz) * adsr(t, held, 0.005, 0.1, 0.8, 0.06));
  }
  return out;
}

Samples kick() {
  Samples out(frames(0.14));
  Oscillator osc(Wave::kSine);
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kRate;
    out[i] = static_cast<float>(osc.next(50 + 110 * std::exp(-t * 30)) * std::exp(-t * 22));
  }
  return out;
}

Samples hat(std::uint32_t seed) {
  Samples out(frames(0.04));
  Oscillator noise(Wave::kNoise, seed);
  Lowpass body;
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kRate;
    double n = noise.next(0);
    out[i] = static_cast<float>((n - body.next(n, 5000)) * std::exp(-t * 90));
  }
  return out;
}

Samples render(const Tune& tune, int number) {
  const double eighth = 30.0 / tune.bpm;
  const std::vector<Note> melody = parse_melody(tune.melody);
  std::vector<int> chords;
  for (const char* c = tune.chords; *c; ++c)
    if (*c >= '1' && *c <= '7') chords.push_back(*c - '0');
  const int bars = static_cast<int>(chords.size());
  Samples out(frames(bars * kEighthsPerBar * eighth + kTail), 0.0f);

  std::uint32_t seed = 100u * number;
  for (const Note& n : melody) {
    double hz = note_hz(pitch(tune, n.degree, n.octave));
    mix_in(out, lead_note(tune.lead, hz, n.length * eighth * 0.9, ++seed), n.eighth * eighth, 0.5);
  }
  for (int bar = 0; bar < bars; ++bar) {
    const int root = chords[bar];
    const double bar_start = bar * kEighthsPerBar * eighth;
    // Bass on every beat, root and fifth in turn, two octaves down.
    for (int beat = 0; beat < 4; ++beat) {
      int degree = beat % 2 ? root + 4 : root;
      double hz = note_hz(pitch(tune, degree, -2));
      mix_in(out, bass_note(hz, eighth * 1.6), bar_start + beat * 2 * eighth, 0.4);
    }
    // Broken chords an octave down, softly plucked.
    const int arpeggio[] = {0, 2, 4, 2, 0, 2, 4, 7};
    for (int e = 0; e < kEighthsPerBar; ++e) {
      double hz = note_hz(pitch(tune, root + arpeggio[e], -1));
      mix_in(out, pluck(hz, eighth * 1.5, ++seed, 0.99), bar_start + e * eighth, 0.14);
    }
    if (tune.drums) {
      for (int beat = 0; beat < 4; ++beat) {
        if (beat % 2 == 0) mix_in(out, kick(), bar_start + beat * 2 * eighth, 0.35);
        mix_in(out, hat(++seed), bar_start + (beat * 2 + 1) * eighth, 0.12);
      }
    }
  }
  finish(out, 0.75);
  return out;
}

}  // namespace

void write_music(const std::string& dir) {
  int number = 0;
  for (const Tune& tune : kTunes) {
    ++number;
    write_wav(dir + "/music" + std::to_string(number) + ".wav", render(tune, number));
  }
}

}  // namespace sound
