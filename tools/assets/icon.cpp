// The desktop icon: a ghost peering over the hero's shoulder on a dark maze tile.
#include "icon.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "canvas.h"
#include "png_writer.h"
#include "sprites.h"

namespace art {

namespace {

// The layout below is given on a 64-pixel grid and scaled to the canvas.
constexpr int kDesignSize = 64;
// Every size is drawn at least this large and averaged down, so small icons keep soft edges
// and a partly covered pixel becomes partly transparent.
constexpr int kDrawnSize = 512;

// The gold ring is `ring` pixels wide, so that it stays at least one pixel of the small icons.
void draw_icon(BITMAP* figures, BITMAP* icon, int ring) {
  const int size = icon->w;
  const auto at = [size](int v) { return v * size / kDesignSize; };
  const int centre = size / 2, radius = size / 2 - 1;
  circlefill(icon, centre, centre, radius, ink({30, 22, 60}));
  for (int r = 0; r < ring; ++r) circle(icon, centre, centre, radius - r, ink({240, 190, 60}));
  masked_stretch_blit(figures, icon, 0, 0, kCell, kCell, at(4), at(2), at(36), at(36));
  masked_stretch_blit(figures, icon, kCell, 0, kCell, kCell, at(20), at(22), at(40), at(40));
}

// Each pixel of the icon is the mean of a factor x factor block of the drawing: colour over
// the drawn pixels only, opacity by how many of them are drawn.
std::vector<std::uint8_t> averaged(BITMAP* drawing, int factor) {
  const int size = drawing->w / factor;
  std::vector<std::uint8_t> rgba;
  rgba.reserve(static_cast<std::size_t>(size) * size * 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r = 0, g = 0, b = 0, drawn = 0;
      for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
          if (is_clear(drawing, x * factor + dx, y * factor + dy)) continue;
          const Rgb c = rgb_at(drawing, x * factor + dx, y * factor + dy);
          r += c.r, g += c.g, b += c.b, ++drawn;
        }
      }
      const int area = factor * factor;
      for (int channel : {r, g, b}) rgba.push_back(static_cast<std::uint8_t>(drawn ? channel / drawn : 0));
      rgba.push_back(static_cast<std::uint8_t>((drawn * 255 + area / 2) / area));
    }
  }
  return rgba;
}

}  // namespace

void write_icons(const std::string& icon_dir) {
  Picture figures(kCell * 2, kCell);
  draw_ghost(figures.bmp(), 0, 0, 0, Facing::kRight, 0);
  draw_hero(figures.bmp(), kCell, 0, Facing::kDown, 0);
  for (int size : kIconSizes) {
    const int factor = (kDrawnSize + size - 1) / size;
    Picture drawing(size * factor, size * factor);
    draw_icon(figures.bmp(), drawing.bmp(), std::max(factor, size * factor / kDesignSize));
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(icon_dir) / name / "apps";
    std::filesystem::create_directories(folder);
    save_png(size, size, averaged(drawing.bmp(), factor), (folder / "ghostmaze.png").string());
  }
}

}  // namespace art
