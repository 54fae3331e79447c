// Writes sounds as the WAV files the game loads: mono, 16-bit PCM, 22050 Hz.
#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace sound {

namespace {

constexpr int kChannels = 1;
constexpr int kBits = 16;
constexpr int kBytesPerSample = kBits / 8;

// RIFF is little-endian whatever machine writes it.
void put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xffff));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

void write_wav(const std::string& path, const Samples& samples) {
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
  std::string out;
  out.reserve(44 + data_bytes);
  out += "RIFF";
  put32(out, 36 + data_bytes);
  out += "WAVE";
  out += "fmt ";
  put32(out, 16);  // size of the PCM format block
  put16(out, 1);   // PCM
  put16(out, kChannels);
  put32(out, kRate);
  put32(out, kRate * kChannels * kBytesPerSample);
  put16(out, kChannels * kBytesPerSample);
  put16(out, kBits);
  out += "data";
  put32(out, data_bytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0);
    put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }
  std::ofstream file(path, std::ios::binary);
  if (!file.write(out.data(), static_cast<std::streamsize>(out.size()))) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace sound
