// The game's own pixel font: capitals, digits and a few signs on a 6 x 12
// grid, drawn at any block size with a gradient, an outline and a shadow.
#pragma once

#include <string>

#include "canvas.h"

namespace art {

constexpr int kGlyphRows = 12;

struct TextStyle {
  int block = 2;    // size of one font pixel
  int bold = 1;     // extra pixels added to the right of and below each stroke
  int spacing = 2;  // gap between neighbouring letters
  Rgb top{255, 244, 200};
  Rgb bottom{255, 170, 50};
  Rgb edge{70, 25, 10};
  int edge_px = 1;  // outline thickness, 0 for none
  int shadow = 0;   // drop-shadow offset, 0 for none
  Rgb shadow_colour{20, 10, 30};
};

bool has_glyph(char c);
int text_width(const std::string& text, const TextStyle& style);
int text_height(const TextStyle& style);
// Draws text with its top-left outline pixel at (x, y), keeping what lies
// underneath where the letters leave gaps.
void draw_text(BITMAP* b, int x, int y, const std::string& text, const TextStyle& style);
void draw_text_centred(BITMAP* b, int cx, int y, const std::string& text, const TextStyle& style);

}  // namespace art
