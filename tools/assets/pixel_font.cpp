// The game's own pixel font: capitals, digits and a few signs on a 6 x 12
// grid, drawn at any block size with a gradient, an outline and a shadow.
#include "pixel_font.h"

#include <array>
#include <cstring>
#include <map>
#include <stdexcept>

namespace art {

namespace {

constexpr int kSlot = 6;  // columns of one glyph in the sheet below

// Glyphs are drawn in bands of six, a space between slots. Narrow glyphs sit
// left in their slot; blank columns are trimmed when the font is read.
struct Band {
  const char* codes;
  const char* rows[kGlyphRows];
};

const Band kBands[] = {
    {"ABCDEF",
     {".####. #####. .####. #####. ###### ######",
      "#....# #....# #....# #....# #..... #.....",
      "#....# #....# #..... #....# #..... #.....",
      "#....# #....# #..... #....# #..... #.....",
      "#....# #....# #..... #....# #..... #.....",
      "###### #####. #..... #....# #####. #####.",
      "#....# #....# #..... #....# #..... #.....",
      "#....# #....# #..... #....# #..... #.....",
      "#....# #....# #..... #....# #..... #.....",
      "#....# #....# #..... #....# #..... #.....",
      "#....# #....# #....# #....# #..... #.....",
      "#....# #####. .####. #####. ###### #....."}},
    {"GHIJKL",
     {".####. #....# ###... ..#### #....# #.....",
      "#....# #....# .#.... .....# #....# #.....",
      "#..... #....# .#.... .....# #...#. #.....",
      "#..... #....# .#.... .....# #..#.. #.....",
      "#..... #....# .#.... .....# #.#... #.....",
      "#..### ###### .#.... .....# ##.... #.....",
      "#....# #....# .#.... .....# ##.... #.....",
      "#....# #....# .#.... .....# #.#... #.....",
      "#....# #....# .#.... .....# #..#.. #.....",
      "#....# #....# .#.... .....# #...#. #.....",
      "#....# #....# .#.... #....# #....# #.....",
      ".####. #....# ###... .####. #....# ######"}},
    {"MNOPQR",
     {"#....# #....# .####. #####. .####. #####.",
      "##..## ##...# #....# #....# #....# #....#",
      "#.##.# ##...# #....# #....# #....# #....#",
      "#.##.# #.#..# #....# #....# #....# #....#",
      "#....# #.#..# #....# #....# #....# #....#",
      "#....# #.#..# #....# #####. #....# #####.",
      "#....# #..#.# #....# #..... #....# #.#...",
      "#....# #..#.# #....# #..... #....# #..#..",
      "#....# #..#.# #....# #..... #..#.# #..#..",
      "#....# #...## #....# #..... #...#. #...#.",
      "#....# #...## #....# #..... #...#. #...#.",
      "#....# #....# .####. #..... .###.# #....#"}},
    {"STUVWX",
     {".####. #####. #....# #....# #....# #....#",
      "#....# ..#... #....# #....# #....# #....#",
      "#..... ..#... #....# #....# #....# .#..#.",
      "#..... ..#... #....# #....# #....# .#..#.",
      "#..... ..#... #....# #....# #....# ..##..",
      ".####. ..#... #....# #....# #....# ..##..",
      ".....# ..#... #....# .#..#. #....# ..##..",
      ".....# ..#... #....# .#..#. #.##.# ..##..",
      ".....# ..#... #....# .#..#. #.##.# .#..#.",
      ".....# ..#... #....# ..##.. ##..## .#..#.",
      "#....# ..#... #....# ..##.. ##..## #....#",
      ".####. ..#... .####. ..##.. #....# #....#"}},
    {"YZ1234",
     {"#...#. ###### ..#... .####. .####. ....#.",
      "#...#. .....# .##... #....# #....# ...##.",
      "#...#. ....#. #.#... .....# .....# ..#.#.",
      ".#.#.. ....#. ..#... .....# .....# .#..#.",
      ".#.#.. ...#.. ..#... .....# .....# #...#.",
      "..#... ...#.. ..#... ....#. ..###. #...#.",
      "..#... ..#... ..#... ...#.. .....# ######",
      "..#... ..#... ..#... ..#... .....# ....#.",
      "..#... .#.... ..#... .#.... .....# ....#.",
      "..#... .#.... ..#... #..... .....# ....#.",
      "..#... #..... ..#... #..... #....# ....#.",
      "..#... ###### #####. ###### .####. ....#."}},
    {"567890",
     {"###### .####. ###### .####. .####. .####.",
      "#..... #....# .....# #....# #....# #....#",
      "#..... #..... .....# #....# #....# #....#",
      "#..... #..... ....#. #....# #....# #...##",
      "#####. #..... ....#. #....# #....# #...##",
      ".....# #####. ...#.. .####. #....# #..#.#",
      ".....# #....# ...#.. #....# .##### #..#.#",
      ".....# #....# ..#... #....# .....# #.#..#",
      ".....# #....# ..#... #....# .....# #.#..#",
      ".....# #....# ..#... #....# .....# ##...#",
      "#....# #....# ..#... #....# #....# #....#",
      ".####. .####. ..#... .####. .####. .####."}},
    {"+-!.:",
     {"...... ...... #..... ...... ......",
      "...... ...... #..... ...... ......",
      "..#... ...... #..... ...... ......",
      "..#... ...... #..... ...... #.....",
      "..#... ...... #..... ...... #.....",
      "#####. #####. #..... ...... ......",
      "..#... ...... #..... ...... ......",
      "..#... ...... #..... ...... ......",
      "..#... ...... ...... ...... #.....",
      "...... ...... ...... ...... #.....",
      "...... ...... #..... #..... ......",
      "...... ...... #..... #..... ......"}},
};

struct Glyph {
  std::array<std::array<bool, kSlot>, kGlyphRows> on{};
  int first = 0;  // first and one-past-last inked columns
  int end = 0;
};

const std::map<char, Glyph>& glyphs() {
  static const std::map<char, Glyph> table = [] {
    std::map<char, Glyph> out;
    for (const Band& band : kBands) {
      const int slots = static_cast<int>(std::strlen(band.codes));
      for (const char* row : band.rows) {
        if (std::strlen(row) != static_cast<std::size_t>(slots * (kSlot + 1) - 1)) {
          throw std::logic_error(std::string("font band ") + band.codes + " has a row of the wrong length");
        }
      }
      for (int slot = 0; slot < slots; ++slot) {
        Glyph g;
        g.first = kSlot;
        for (int row = 0; row < kGlyphRows; ++row) {
          for (int col = 0; col < kSlot; ++col) {
            bool on = band.rows[row][slot * (kSlot + 1) + col] == '#';
            g.on[row][col] = on;
            if (on) {
              g.first = std::min(g.first, col);
              g.end = std::max(g.end, col + 1);
            }
          }
        }
        out[band.codes[slot]] = g;
      }
    }
    return out;
  }();
  return table;
}

const Glyph& glyph(char c) {
  auto it = glyphs().find(c);
  if (it == glyphs().end()) throw std::runtime_error(std::string("the pixel font has no '") + c + "'");
  return it->second;
}

int ink_width(char c, const TextStyle& s) {
  if (c == ' ') return 4 * s.block;
  const Glyph& g = glyph(c);
  return (g.end - g.first) * s.block + s.bold;
}

}  // namespace

bool has_glyph(char c) { return c == ' ' || glyphs().count(c) > 0; }

int text_width(const std::string& text, const TextStyle& style) {
  int w = 0;
  for (char c : text) w += ink_width(c, style) + style.spacing;
  if (!text.empty()) w -= style.spacing;
  return w + 2 * style.edge_px + style.shadow;
}

int text_height(const TextStyle& style) {
  return kGlyphRows * style.block + style.bold + 2 * style.edge_px + style.shadow;
}

void draw_text(BITMAP* b, int x, int y, const std::string& text, const TextStyle& s) {
  Picture layer(text_width(text, s), text_height(s));
  const int ink_h = kGlyphRows * s.block + s.bold;
  int pen = s.edge_px;
  for (char c : text) {
    if (c != ' ') {
      const Glyph& g = glyph(c);
      for (int row = 0; row < kGlyphRows; ++row) {
        for (int col = g.first; col < g.end; ++col) {
          if (!g.on[row][col]) continue;
          int px = pen + (col - g.first) * s.block;
          int py = s.edge_px + row * s.block;
          for (int yy = py; yy < py + s.block + s.bold; ++yy) {
            Rgb shade = mix(s.top, s.bottom, double(yy - s.edge_px) / (ink_h - 1));
            hline(layer.bmp(), px, yy, px + s.block + s.bold - 1, ink(shade));
          }
        }
      }
    }
    pen += ink_width(c, s) + s.spacing;
  }
  for (int i = 0; i < s.edge_px; ++i) outline(layer.bmp(), 0, 0, layer.w(), layer.h(), s.edge, true);
  if (s.shadow > 0) {
    Picture shadow(layer.w(), layer.h());
    for (int py = 0; py < layer.h(); ++py) {
      for (int px = 0; px < layer.w(); ++px) {
        if (!is_clear(layer.bmp(), px, py)) putpixel(shadow.bmp(), px + s.shadow, py + s.shadow, ink(s.shadow_colour));
      }
    }
    draw_sprite(b, shadow.bmp(), x, y);
  }
  draw_sprite(b, layer.bmp(), x, y);
}

void draw_text_centred(BITMAP* b, int cx, int y, const std::string& text, const TextStyle& style) {
  draw_text(b, cx - text_width(text, style) / 2, y, text, style);
}

}  // namespace art
