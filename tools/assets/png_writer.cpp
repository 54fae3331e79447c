// A small PNG writer for the desktop icon: RGBA, stored (uncompressed) deflate blocks,
// so it needs no compression library and writes the same bytes every time.
#include "png_writer.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace art {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const Bytes& data, std::size_t from) {
  std::uint32_t crc = 0xffffffffu;
  for (std::size_t i = from; i < data.size(); ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(Bytes& out, const char* type, const Bytes& body) {
  put32(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  put32(out, crc32(out, start));
}

// A zlib stream of stored blocks (each at most 65535 bytes) with its Adler-32 check.
Bytes zlib_stored(const Bytes& raw) {
  Bytes out = {0x78, 0x01};
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    const bool last = pos + n == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(n & 0xff));
    out.push_back(static_cast<std::uint8_t>(n >> 8));
    out.push_back(static_cast<std::uint8_t>(~n & 0xff));
    out.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xff));
    out.insert(out.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(out, (b << 16) | a);
  return out;
}

}  // namespace

void save_png(BITMAP* bitmap, const std::string& path) {
  Bytes rgba;
  for (int y = 0; y < bitmap->h; ++y) {
    for (int x = 0; x < bitmap->w; ++x) {
      const int c = getpixel(bitmap, x, y);
      const bool clear = c == makecol(255, 0, 255);
      rgba.push_back(clear ? 0 : static_cast<std::uint8_t>(getr(c)));
      rgba.push_back(clear ? 0 : static_cast<std::uint8_t>(getg(c)));
      rgba.push_back(clear ? 0 : static_cast<std::uint8_t>(getb(c)));
      rgba.push_back(clear ? 0 : 255);
    }
  }
  save_png(bitmap->w, bitmap->h, rgba, path);
}

void save_png(int w, int h, const Bytes& rgba, const std::string& path) {
  const std::size_t row = static_cast<std::size_t>(w) * 4;
  if (rgba.size() != row * static_cast<std::size_t>(h)) throw std::runtime_error("wrong pixel count for " + path);
  Bytes raw;
  for (std::size_t at = 0; at < rgba.size(); at += row) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), rgba.begin() + static_cast<long>(at), rgba.begin() + static_cast<long>(at + row));
  }
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes header;
  put32(header, static_cast<std::uint32_t>(w));
  put32(header, static_cast<std::uint32_t>(h));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", zlib_stored(raw));
  chunk(png, "IEND", {});
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace art
