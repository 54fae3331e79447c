// The maze's squares: the pushable crate and the wall materials.
#pragma once

#include <string>

#include "canvas.h"

namespace art {

constexpr int kWallMaterials = 25;

// Both draw a 40 x 40 opaque tile with its top-left corner at (x, y).
void draw_crate(BITMAP* b, int x, int y);
void draw_wall(BITMAP* b, int x, int y, int material);  // material 1..kWallMaterials

void write_terrain(const std::string& bmp_dir);

}  // namespace art
