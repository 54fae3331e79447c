// Drawing helpers every picture shares: colours, an owned bitmap, shading,
// outlines and the checked save.
#include "canvas.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace art {

namespace {

int clamp_channel(int v) { return std::clamp(v, 0, 255); }

}  // namespace

int ink(Rgb c) {
  c = {clamp_channel(c.r), clamp_channel(c.g), clamp_channel(c.b)};
  if (c.r == kBeamCoreRgb.r && c.g == kBeamCoreRgb.g && c.b == kBeamCoreRgb.b) c = kWhite;
  return makecol(c.r, c.g, c.b);
}

int beam_core_ink() { return makecol(kBeamCoreRgb.r, kBeamCoreRgb.g, kBeamCoreRgb.b); }

int magenta() { return makecol(kMagentaRgb.r, kMagentaRgb.g, kMagentaRgb.b); }

Rgb rgb_at(BITMAP* b, int x, int y) {
  int c = getpixel(b, x, y);
  return {getr(c), getg(c), getb(c)};
}

Rgb mix(Rgb a, Rgb b, double t) {
  auto channel = [t](int p, int q) { return static_cast<int>(p + (q - p) * t + 0.5); };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Rgb lighter(Rgb c, double t) { return mix(c, kWhite, t); }
Rgb darker(Rgb c, double t) { return mix(c, kBlack, t); }

Picture::Picture(int w, int h) : bmp_(create_bitmap(w, h)) {
  if (!bmp_) throw std::runtime_error("out of memory for a " + std::to_string(w) + "x" +
                                      std::to_string(h) + " bitmap");
  clear_to_color(bmp_, magenta());
}

Picture::~Picture() { destroy_bitmap(bmp_); }

bool is_clear(BITMAP* b, int x, int y) {
  if (x < 0 || y < 0 || x >= b->w || y >= b->h) return true;
  return getpixel(b, x, y) == magenta();
}

void outline(BITMAP* b, int x, int y, int w, int h, Rgb colour, bool corners) {
  auto drawn = [&](int px, int py) {
    return px >= x && py >= y && px < x + w && py < y + h && !is_clear(b, px, py);
  };
  std::vector<std::pair<int, int>> edge;
  for (int py = y; py < y + h; ++py) {
    for (int px = x; px < x + w; ++px) {
      if (!is_clear(b, px, py)) continue;
      bool touches = drawn(px - 1, py) || drawn(px + 1, py) || drawn(px, py - 1) || drawn(px, py + 1);
      if (corners && !touches) {
        touches = drawn(px - 1, py - 1) || drawn(px + 1, py - 1) || drawn(px - 1, py + 1) ||
                  drawn(px + 1, py + 1);
      }
      if (touches) edge.emplace_back(px, py);
    }
  }
  int c = ink(colour);
  for (auto [px, py] : edge) putpixel(b, px, py, c);
}

Ramp ramp_from(Rgb base) {
  return {{lighter(base, 0.45), base, darker(base, 0.25), darker(base, 0.45)}};
}

void vertical_gradient(BITMAP* b, int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
  for (int y = y0; y <= y1; ++y) {
    double t = y1 > y0 ? double(y - y0) / (y1 - y0) : 0.0;
    hline(b, x0, y, x1, ink(mix(top, bottom, t)));
  }
}

void bevel_box(BITMAP* b, int x0, int y0, int x1, int y1, Rgb face, int edge) {
  rectfill(b, x0, y0, x1, y1, ink(face));
  int light = ink(lighter(face, 0.35));
  int dark = ink(darker(face, 0.4));
  for (int i = 0; i < edge; ++i) {
    hline(b, x0 + i, y0 + i, x1 - i, light);
    vline(b, x0 + i, y0 + i, y1 - i, light);
    hline(b, x0 + i, y1 - i, x1 - i, dark);
    vline(b, x1 - i, y0 + i, y1 - i, dark);
  }
}

void blit_scaled(BITMAP* src, int sx, int sy, int sw, int sh, BITMAP* dst, int x, int y,
                 int factor) {
  for (int py = 0; py < sh; ++py) {
    for (int px = 0; px < sw; ++px) {
      if (is_clear(src, sx + px, sy + py)) continue;
      int c = getpixel(src, sx + px, sy + py);
      rectfill(dst, x + px * factor, y + py * factor, x + (px + 1) * factor - 1,
               y + (py + 1) * factor - 1, c);
    }
  }
}

void blit_scaled(BITMAP* src, BITMAP* dst, int x, int y, int factor) {
  blit_scaled(src, 0, 0, src->w, src->h, dst, x, y, factor);
}

void save_picture(const Picture& p, const std::string& path, bool may_hold_beam_core) {
  if (!may_hold_beam_core) {
    int core = beam_core_ink();
    for (int y = 0; y < p.h(); ++y) {
      for (int x = 0; x < p.w(); ++x) {
        if (getpixel(p.bmp(), x, y) == core) {
          throw std::runtime_error(path + " holds the beam-core colour at " + std::to_string(x) +
                                   "," + std::to_string(y));
        }
      }
    }
  }
  if (save_bmp(path.c_str(), p.bmp(), nullptr) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace art
