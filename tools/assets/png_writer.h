// A small PNG writer for the desktop icon: RGBA, stored (uncompressed) deflate blocks.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// Writes the bitmap as an RGBA PNG; magenta pixels become fully transparent.
// Throws std::runtime_error on failure.
void save_png(BITMAP* b, const std::string& path);

// Writes w x h pixels given as R, G, B, A bytes, row by row.
void save_png(int w, int h, const std::vector<std::uint8_t>& rgba, const std::string& path);

}  // namespace art
