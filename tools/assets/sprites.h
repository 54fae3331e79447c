// The walking figures: five ghost kinds, the hero and the hunter, each in
// four facings and two frames, and the sheet they share.
#pragma once

#include <string>

#include "canvas.h"

namespace art {

enum class Facing { kRight, kDown, kLeft, kUp };
constexpr int kFacings = 4;
constexpr int kGhostKinds = 5;
constexpr int kWalkFrames = 2;

// Each draws one 40 x 40 figure with its top-left corner at (x, y), leaving
// the pixels around the figure as they were.
void draw_ghost(BITMAP* b, int x, int y, int kind, Facing facing, int frame);
void draw_hero(BITMAP* b, int x, int y, Facing facing, int frame);
void draw_hunter(BITMAP* b, int x, int y, Facing facing, int frame);

void write_sprites(const std::string& bmp_dir);

}  // namespace art
