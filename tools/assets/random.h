// A small seeded pseudo-random generator, so every build writes the same bytes.
#pragma once

#include <cstdint>

namespace art {

// xorshift32: plenty for speckles, noise and wobble, and identical on every machine.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}

  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

  // Uniform in [0, 1).
  double unit() { return (next() >> 8) * (1.0 / 16777216.0); }
  // Uniform in [-1, 1).
  double signed_unit() { return unit() * 2.0 - 1.0; }
  // Uniform integer in [lo, hi].
  int range(int lo, int hi) { return lo + static_cast<int>(unit() * (hi - lo + 1)); }
  bool chance(double p) { return unit() < p; }

 private:
  std::uint32_t state_;
};

// A repeatable value in [0, 1) for a lattice point: the seed of value noise.
inline double lattice_value(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xffffff) / 16777216.0;
}

}  // namespace art
