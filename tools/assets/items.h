// Things in the maze besides walls and figures: coins, the bomb and its
// blast, the plasma beam, the power-ups and the mouse arrow.
#pragma once

#include <string>

#include "canvas.h"

namespace art {

constexpr int kCoinFrames = 12;
constexpr int kBombFrames = 5;

// A 40 x 40 coin worth 1, 2 or 5, turned by frame (0..kCoinFrames-1).
void draw_coin(BITMAP* b, int x, int y, int value, int frame);
// A 40 x 40 bomb: frame 0 unlit, 1..4 counting down.
void draw_bomb(BITMAP* b, int x, int y, int frame);

void write_items(const std::string& bmp_dir);

}  // namespace art
