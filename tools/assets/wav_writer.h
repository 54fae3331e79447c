// Writes sounds as the WAV files the game loads: mono, 16-bit PCM, 22050 Hz.
#pragma once

#include <string>
#include <vector>

namespace sound {

constexpr int kRate = 22050;
using Samples = std::vector<float>;  // -1 .. 1

// Throws std::runtime_error when the file cannot be written.
void write_wav(const std::string& path, const Samples& samples);

}  // namespace sound
