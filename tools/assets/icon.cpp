// The desktop icon: a ghost peering over the hero's shoulder on a dark maze tile.
#include "icon.h"

#include "canvas.h"
#include "png_writer.h"
#include "sprites.h"

namespace art {

namespace {
constexpr int kIconSize = 64;
}

void write_icon(const std::string& path) {
  Picture figures(kCell * 2, kCell);
  draw_ghost(figures.bmp(), 0, 0, 0, Facing::kRight, 0);
  draw_hero(figures.bmp(), kCell, 0, Facing::kDown, 0);

  Picture icon(kIconSize, kIconSize);
  circlefill(icon.bmp(), 32, 32, 31, ink({30, 22, 60}));
  circle(icon.bmp(), 32, 32, 31, ink({240, 190, 60}));
  masked_stretch_blit(figures.bmp(), icon.bmp(), 0, 0, kCell, kCell, 4, 2, 36, 36);
  masked_stretch_blit(figures.bmp(), icon.bmp(), kCell, 0, kCell, kCell, 20, 22, 40, 40);
  save_png(icon.bmp(), path);
}

}  // namespace art
