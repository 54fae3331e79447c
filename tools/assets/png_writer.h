// A small PNG writer for the desktop icon: RGBA, stored (uncompressed) deflate blocks.
#pragma once

#include <allegro.h>

#include <string>

namespace art {

// Writes the bitmap as an RGBA PNG; magenta pixels become fully transparent.
// Throws std::runtime_error on failure.
void save_png(BITMAP* b, const std::string& path);

}  // namespace art
