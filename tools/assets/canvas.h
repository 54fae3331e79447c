// Drawing helpers every picture shares: colours, an owned bitmap, shading,
// outlines and the checked save.
#pragma once

#include <allegro.h>

#include <string>

namespace art {

constexpr int kCell = 40;  // one maze square, in pixels

struct Rgb {
  int r, g, b;
};

constexpr Rgb kMagentaRgb{255, 0, 255};
// The beam's white-hot core: the game's beam hit test looks for exactly this
// colour, so only the laser picture may hold it.
constexpr Rgb kBeamCoreRgb{255, 255, 254};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// An Allegro colour for c. The beam-core colour is nudged to pure white, so
// no blend or gradient can produce it by accident.
int ink(Rgb c);
int beam_core_ink();
int magenta();
Rgb rgb_at(BITMAP* b, int x, int y);

Rgb mix(Rgb a, Rgb b, double t);  // t = 0 gives a, t = 1 gives b
Rgb lighter(Rgb c, double t);
Rgb darker(Rgb c, double t);

// A memory bitmap that frees itself; it starts filled with magenta, the
// game's transparent colour.
class Picture {
 public:
  Picture(int w, int h);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  BITMAP* bmp() const { return bmp_; }
  int w() const { return bmp_->w; }
  int h() const { return bmp_->h; }

 private:
  BITMAP* bmp_;
};

bool is_clear(BITMAP* b, int x, int y);  // magenta, or outside the bitmap

// Paints every clear pixel of the box that touches a drawn pixel of the box,
// giving the drawn shapes a one-pixel outline. Diagonal neighbours count when
// `corners` is set.
void outline(BITMAP* b, int x, int y, int w, int h, Rgb colour, bool corners = false);

// Fills pixels for which inside(x, y) holds, inside the box, with a four-tone
// ramp lit from (cx, cy): tones[0] brightest near it, tones[3] darkest beyond
// radius. Coordinates are relative to the box.
struct Ramp {
  Rgb tone[4];
};
Ramp ramp_from(Rgb base);

template <class Inside>
void fill_lit(BITMAP* b, int x0, int y0, int w, int h, Inside inside, const Ramp& ramp,
              double cx, double cy, double radius) {
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      if (!inside(x - x0 + 0.5, y - y0 + 0.5)) continue;
      double dx = x - x0 + 0.5 - cx, dy = y - y0 + 0.5 - cy;
      double s = (dx * dx + dy * dy) / (radius * radius);
      int t = s < 0.12 ? 0 : s < 0.6 ? 1 : s < 1.1 ? 2 : 3;
      putpixel(b, x, y, ink(ramp.tone[t]));
    }
  }
}

void vertical_gradient(BITMAP* b, int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);
// A raised box: light top and left edges, dark bottom and right ones.
void bevel_box(BITMAP* b, int x0, int y0, int x1, int y1, Rgb face, int edge = 1);
// Copies src onto dst at (x, y), enlarged by a whole factor, skipping magenta.
void blit_scaled(BITMAP* src, BITMAP* dst, int x, int y, int factor);
void blit_scaled(BITMAP* src, int sx, int sy, int sw, int sh, BITMAP* dst, int x, int y,
                 int factor);

// Writes the picture as a BMP, refusing a stray beam-core pixel elsewhere
// than the laser. Throws std::runtime_error on failure.
void save_picture(const Picture& p, const std::string& path, bool may_hold_beam_core = false);

}  // namespace art
