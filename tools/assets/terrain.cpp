// The maze's squares: the pushable crate and the wall materials, each a
// 40 x 40 tile. Patterns wrap around the tile so long walls join up.
#include "terrain.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "random.h"

namespace art {

namespace {

constexpr int kTiles = kWallMaterials + 1;  // the crate comes first

// Drawing inside one tile; coordinates wrap, so shapes crossing an edge
// reappear on the other side.
struct Tile {
  BITMAP* b;
  int ox, oy;
  Random rng;

  static int wrap(int v) { return ((v % kCell) + kCell) % kCell; }
  void dot(int x, int y, Rgb c) const { putpixel(b, ox + wrap(x), oy + wrap(y), ink(c)); }
  Rgb at(int x, int y) const { return rgb_at(b, ox + wrap(x), oy + wrap(y)); }
  void rect(int x0, int y0, int x1, int y1, Rgb c) const {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) dot(x, y, c);
  }
  void bevel(int x0, int y0, int x1, int y1, Rgb face, int edge = 1) const {
    rect(x0, y0, x1, y1, face);
    for (int i = 0; i < edge; ++i) {
      rect(x0 + i, y0 + i, x1 - i, y0 + i, lighter(face, 0.3));
      rect(x0 + i, y0 + i, x0 + i, y1 - i, lighter(face, 0.2));
      rect(x0 + i, y1 - i, x1 - i, y1 - i, darker(face, 0.35));
      rect(x1 - i, y0 + i, x1 - i, y1 - i, darker(face, 0.3));
    }
  }
  void disc(int cx, int cy, int r, Rgb c) const {
    for (int y = -r; y <= r; ++y)
      for (int x = -r; x <= r; ++x)
        if (x * x + y * y <= r * r + r / 2) dot(cx + x, cy + y, c);
  }
  void stroke(int x0, int y0, int x1, int y1, Rgb c) const {
    int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
      double t = steps ? double(i) / steps : 0.0;
      dot(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)), c);
    }
  }
  // Darkens or lightens a share of the pixels a little: grit.
  void grit(int x0, int y0, int x1, int y1, double share, double strength) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        if (!rng.chance(share)) continue;
        double s = rng.unit() * strength;
        dot(x, y, rng.chance(0.5) ? darker(at(x, y), s) : lighter(at(x, y), s * 0.6));
      }
    }
  }
  template <class Colour>
  void paint(Colour colour) const {
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) dot(x, y, colour(x, y));
  }
  void rivet(int x, int y, Rgb metal) const {
    disc(x, y, 2, darker(metal, 0.45));
    disc(x, y, 1, lighter(metal, 0.25));
    dot(x - 1, y - 1, lighter(metal, 0.7));
  }
};

Rgb jitter(Random& rng, Rgb c, double amount) { return mix(c, rng.chance(0.5) ? kWhite : kBlack, rng.unit() * amount); }

// Value noise on a lattice that repeats every `period` cells across the tile,
// so it wraps like the tile does.
double noise(double x, double y, std::uint32_t seed, int period) {
  double fx = x * period / kCell, fy = y * period / kCell;
  int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  double tx = fx - ix, ty = fy - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto at = [&](int dx, int dy) {
    return lattice_value(((ix + dx) % period + period) % period, ((iy + dy) % period + period) % period, seed);
  };
  double top = at(0, 0) + (at(1, 0) - at(0, 0)) * tx;
  double bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * tx;
  return top + (bottom - top) * ty;
}

double fbm(double x, double y, std::uint32_t seed, int period = 4) {
  double sum = 0, weight = 0.5, total = 0;
  for (int octave = 0; octave < 3; ++octave) {
    sum += weight * noise(x, y, seed + octave, period << octave);
    total += weight;
    weight *= 0.5;
  }
  return sum / total;
}

// Rows of bricks, every other row shifted by half a brick.
void bricks(Tile& t, int rows, int per_row, Rgb mortar, Rgb brick, double variety, int edge = 1) {
  t.rect(0, 0, kCell - 1, kCell - 1, mortar);
  const int h = kCell / rows, w = kCell / per_row;
  for (int r = 0; r < rows; ++r) {
    int shift = r % 2 ? w / 2 : 0;
    for (int i = 0; i < per_row; ++i) {
      int x0 = i * w + shift, y0 = r * h;
      t.bevel(x0, y0, x0 + w - 2, y0 + h - 2, jitter(t.rng, brick, variety), edge);
    }
  }
}

void red_bricks(Tile& t) {
  bricks(t, 5, 2, {165, 150, 135}, {170, 62, 45}, 0.18);
  t.grit(0, 0, 39, 39, 0.25, 0.25);
}

void grey_stone(Tile& t) {
  bricks(t, 2, 2, {55, 55, 65}, {128, 128, 138}, 0.15, 2);
  t.grit(0, 0, 39, 39, 0.4, 0.3);
  for (int i = 0; i < 3; ++i) {
    int x = t.rng.range(3, 36), y = t.rng.range(3, 36);
    t.stroke(x, y, x + t.rng.range(-4, 4), y + t.rng.range(2, 5), {70, 70, 80});
  }
}

void steel_plate(Tile& t) {
  const Rgb steel{150, 160, 175};
  t.paint([&](int, int y) { return mix(lighter(steel, 0.15), darker(steel, 0.15), y / 39.0); });
  for (int i = 0; i < 14; ++i) {
    int y = t.rng.range(2, 37), x = t.rng.range(0, 30);
    t.stroke(x, y, x + t.rng.range(4, 12), y, t.rng.chance(0.5) ? lighter(steel, 0.2) : darker(steel, 0.12));
  }
  t.rect(0, 19, 39, 19, darker(steel, 0.4));
  t.rect(0, 20, 39, 20, lighter(steel, 0.3));
  for (int x : {5, 20, 34}) {
    t.rivet(x, 5, steel);
    t.rivet(x, 34, steel);
  }
}

void wood_planks(Tile& t) {
  const Rgb wood{150, 95, 50};
  for (int p = 0; p < 4; ++p) {
    Rgb plank = jitter(t.rng, wood, 0.15);
    double phase = t.rng.unit() * 6;
    for (int y = 0; y < kCell; ++y) {
      for (int x = p * 10; x < p * 10 + 10; ++x) {
        double grain = std::sin((x - p * 10) * 1.3 + std::sin(y * 0.25 + phase) * 2.0);
        t.dot(x, y, grain > 0.7 ? darker(plank, 0.2) : plank);
      }
    }
    t.rect(p * 10, 0, p * 10, 39, darker(wood, 0.55));
    t.rect(p * 10 + 1, 0, p * 10 + 1, 39, lighter(plank, 0.15));
    int cut = t.rng.range(0, 39);
    t.rect(p * 10, cut, p * 10 + 9, cut, darker(wood, 0.55));
    t.dot(p * 10 + 5, cut + 3, {60, 60, 70});
    t.dot(p * 10 + 5, cut - 3, {60, 60, 70});
  }
}

void mossy_stone(Tile& t) {
  bricks(t, 4, 2, {50, 55, 50}, {115, 120, 110}, 0.15);
  t.grit(0, 0, 39, 39, 0.3, 0.25);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      double m = fbm(x, y, 11) + (y % 10 < 3 ? 0.12 : 0.0);
      if (m > 0.58) t.dot(x, y, m > 0.66 ? Rgb{95, 170, 60} : Rgb{60, 130, 45});
    }
  }
  t.grit(0, 0, 39, 39, 0.1, 0.2);
}

void ice_blocks(Tile& t) {
  bricks(t, 2, 1, {110, 165, 210}, {175, 222, 245}, 0.06, 2);
  for (int i = 0; i < 4; ++i) {
    int x = t.rng.range(0, 39), y = t.rng.range(0, 39);
    for (int k = 0; k < 7; ++k) t.dot(x + k, y - k, {235, 250, 255});
  }
  for (int i = 0; i < 2; ++i) {
    int x = t.rng.range(5, 35), y = t.rng.range(5, 35);
    t.stroke(x, y, x + t.rng.range(-5, 5), y + 5, {120, 180, 220});
  }
}

void lava_rock(Tile& t) {
  t.paint([](int x, int y) {
    double n = fbm(x, y, 23);
    double ridge = std::fabs(n - 0.5);
    if (ridge < 0.025) return Rgb{255, 215, 90};
    if (ridge < 0.05) return Rgb{250, 120, 30};
    if (ridge < 0.08) return Rgb{140, 40, 25};
    return mix(Rgb{40, 30, 32}, Rgb{75, 55, 50}, fbm(x, y, 29, 8));
  });
}

void cobblestone(Tile& t) {
  t.rect(0, 0, 39, 39, {45, 40, 40});
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      int cx = c * 10 + 5 + (r % 2 ? 5 : 0) + t.rng.range(-1, 1);
      int cy = r * 10 + 5 + t.rng.range(-1, 1);
      Rgb stone = jitter(t.rng, {140, 130, 118}, 0.2);
      t.disc(cx, cy, 4, darker(stone, 0.35));
      t.disc(cx - 1, cy - 1, 3, stone);
      t.dot(cx - 2, cy - 2, lighter(stone, 0.4));
    }
  }
}

void sandstone(Tile& t) {
  t.paint([](int x, int y) {
    double band = std::sin(y * 0.9 + fbm(x, y, 31) * 3.0) * 0.5 + 0.5;
    return mix(Rgb{226, 186, 126}, Rgb{196, 150, 95}, band * 0.7);
  });
  for (int y : {0, 20}) t.rect(0, y, 39, y, {160, 120, 75});
  t.rect(10, 0, 10, 19, {160, 120, 75});
  t.rect(30, 20, 30, 39, {160, 120, 75});
  t.grit(0, 0, 39, 39, 0.2, 0.2);
}

void ceramic_tiles(Tile& t) {
  t.rect(0, 0, 39, 39, {225, 225, 235});
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      Rgb glaze = (r + c) % 2 ? Rgb{60, 110, 205} : Rgb{45, 85, 175};
      int x0 = c * 10 + 1, y0 = r * 10 + 1;
      t.bevel(x0, y0, x0 + 8, y0 + 8, glaze);
      t.dot(x0 + 2, y0 + 2, {230, 240, 255});
      t.dot(x0 + 3, y0 + 2, lighter(glaze, 0.6));
      t.dot(x0 + 2, y0 + 3, lighter(glaze, 0.6));
      if ((r + c) % 2) {
        t.dot(x0 + 4, y0 + 4, {230, 240, 255});
        t.dot(x0 + 5, y0 + 4, lighter(glaze, 0.5));
      }
    }
  }
}

void marble(Tile& t) {
  t.paint([](int x, int y) {
    double v = std::sin((x + y * 0.6) * 2 * 3.14159 / 40 * 2 + fbm(x, y, 41) * 7.0);
    Rgb base = mix(Rgb{238, 234, 226}, Rgb{214, 210, 205}, fbm(x, y, 43, 8));
    if (std::fabs(v) < 0.06) return Rgb{130, 128, 140};
    if (std::fabs(v) < 0.16) return mix(base, Rgb{150, 148, 160}, 0.5);
    return base;
  });
  t.rect(0, 39, 39, 39, {180, 176, 172});
  t.rect(39, 0, 39, 39, {190, 186, 182});
}

void hedge(Tile& t) {
  t.rect(0, 0, 39, 39, {25, 70, 30});
  const Rgb leaves[] = {{40, 110, 40}, {60, 140, 50}, {85, 170, 60}, {130, 205, 85}};
  for (int i = 0; i < 260; ++i) {
    int x = t.rng.range(0, 39), y = t.rng.range(0, 39);
    Rgb leaf = leaves[std::min(3, t.rng.range(0, 3) + (i > 200 ? 1 : 0))];
    t.dot(x, y, leaf);
    t.dot(x + 1, y, leaf);
    t.dot(x, y + 1, darker(leaf, 0.3));
    t.dot(x + 1, y - 1, lighter(leaf, 0.15));
  }
}

void copper_patina(Tile& t) {
  const Rgb copper{192, 112, 62};
  t.paint([&](int x, int y) {
    double p = fbm(x, y, 53);
    if (p > 0.62) return Rgb{110, 200, 168};
    if (p > 0.56) return Rgb{80, 160, 135};
    return mix(lighter(copper, 0.12), darker(copper, 0.2), (x + y) / 78.0);
  });
  t.rect(0, 0, 39, 0, lighter(copper, 0.3));
  t.rect(0, 0, 0, 39, lighter(copper, 0.2));
  t.rect(0, 39, 39, 39, darker(copper, 0.45));
  t.rect(39, 0, 39, 39, darker(copper, 0.4));
  for (int x : {5, 34}) {
    t.rivet(x, 5, copper);
    t.rivet(x, 34, copper);
  }
}

void gold_bricks(Tile& t) {
  bricks(t, 4, 2, {115, 75, 20}, {228, 178, 50}, 0.1);
  for (int i = 0; i < 3; ++i) {
    int x = t.rng.range(3, 36), y = t.rng.range(3, 36);
    t.dot(x, y, kWhite);
    for (int d : {-1, 1}) {
      t.dot(x + d, y, {255, 240, 170});
      t.dot(x, y + d, {255, 240, 170});
    }
  }
}

// Nearest of a few scattered points, wrapping across the tile: shards.
struct Shards {
  std::vector<std::pair<int, int>> seeds;
  int nearest(int x, int y, int* gap) const {
    int best = 1 << 30, second = 1 << 30, which = 0;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
      int dx = std::abs(x - seeds[i].first), dy = std::abs(y - seeds[i].second);
      dx = std::min(dx, kCell - dx);
      dy = std::min(dy, kCell - dy);
      int d = dx * dx + dy * dy;
      if (d < best) {
        second = best;
        best = d;
        which = static_cast<int>(i);
      } else if (d < second) {
        second = d;
      }
    }
    *gap = static_cast<int>(std::sqrt(double(second)) - std::sqrt(double(best)));
    return which;
  }
};

void obsidian(Tile& t) {
  Shards shards;
  for (int i = 0; i < 9; ++i) shards.seeds.emplace_back(t.rng.range(0, 39), t.rng.range(0, 39));
  t.paint([&](int x, int y) {
    int gap = 0;
    int which = shards.nearest(x, y, &gap);
    if (gap < 1) return Rgb{120, 90, 170};
    Rgb face = mix(Rgb{18, 14, 28}, Rgb{55, 40, 80}, (which % 4) / 4.0);
    return gap < 2 && (x + y) % 2 ? lighter(face, 0.15) : face;
  });
  for (int i = 0; i < 4; ++i) t.dot(t.rng.range(0, 39), t.rng.range(0, 39), {220, 200, 255});
}

void iron_grate(Tile& t) {
  t.paint([](int, int y) { return mix(Rgb{12, 10, 16}, Rgb{60, 18, 14}, y / 39.0); });
  const Rgb iron{100, 105, 118};
  for (int bar = 0; bar < 4; ++bar) {
    int x = bar * 10 + 3;
    t.rect(x, 0, x + 3, 39, iron);
    t.rect(x, 0, x, 39, lighter(iron, 0.35));
    t.rect(x + 3, 0, x + 3, 39, darker(iron, 0.45));
  }
  for (int y : {4, 31}) {
    t.rect(0, y, 39, y + 4, darker(iron, 0.1));
    t.rect(0, y, 39, y, lighter(iron, 0.3));
    t.rect(0, y + 4, 39, y + 4, darker(iron, 0.5));
    for (int bar = 0; bar < 4; ++bar) t.dot(bar * 10 + 4, y + 2, lighter(iron, 0.5));
  }
}

void log_wall(Tile& t) {
  const Rgb bark{120, 78, 42};
  for (int log = 0; log < 4; ++log) {
    Rgb tone = jitter(t.rng, bark, 0.1);
    for (int y = 0; y < 10; ++y) {
      double round = std::sin((y + 0.5) / 10.0 * 3.14159);
      Rgb row = y < 3 ? lighter(tone, 0.2 * round) : darker(tone, 0.45 * (1 - round));
      t.rect(0, log * 10 + y, 39, log * 10 + y, row);
    }
    for (int i = 0; i < 10; ++i) {
      int x = t.rng.range(0, 39), y = log * 10 + t.rng.range(2, 7);
      t.stroke(x, y, x + t.rng.range(2, 6), y, darker(tone, 0.3));
    }
    t.rect(0, log * 10 + 9, 39, log * 10 + 9, {50, 30, 15});
    int knot = t.rng.range(4, 35);
    t.disc(knot, log * 10 + 5, 1, darker(tone, 0.5));
  }
}

void diamond_plate(Tile& t) {
  const Rgb steel{138, 144, 156};
  t.rect(0, 0, 39, 39, steel);
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 5; ++c) {
      int x = c * 8 + 2, y = r * 8 + 2;
      bool rising = (r + c) % 2 == 0;
      for (int k = 0; k < 4; ++k) {
        int px = x + k, py = rising ? y + 3 - k : y + k;
        t.dot(px, py, lighter(steel, 0.5));
        t.dot(px + 1, py + 1, darker(steel, 0.4));
      }
    }
  }
  t.rect(0, 0, 39, 0, lighter(steel, 0.3));
  t.rect(0, 39, 39, 39, darker(steel, 0.4));
}

void tech_panel(Tile& t) {
  const Rgb panel{48, 54, 66};
  t.bevel(0, 0, 39, 39, panel, 2);
  const Rgb trace{40, 170, 95};
  t.stroke(4, 10, 18, 10, trace);
  t.stroke(18, 10, 18, 22, trace);
  t.stroke(18, 22, 34, 22, trace);
  t.stroke(8, 28, 8, 35, trace);
  t.stroke(8, 35, 26, 35, trace);
  t.stroke(28, 5, 28, 15, trace);
  for (auto [x, y] : {std::pair{4, 10}, {34, 22}, {26, 35}, {28, 5}, {8, 28}}) t.rect(x - 1, y - 1, x + 1, y + 1, {200, 190, 90});
  for (int y : {27, 29, 31}) t.rect(14, y, 34, y, darker(panel, 0.5));
  t.rect(33, 4, 34, 5, {255, 60, 60});
  t.rect(33, 8, 34, 9, {90, 255, 120});
}

void amethyst(Tile& t) {
  t.paint([](int x, int y) { return mix(Rgb{42, 34, 48}, Rgb{72, 60, 78}, fbm(x, y, 61)); });
  struct Crystal {
    int x, y, len, half;
  };
  const Crystal crystals[] = {{6, 36, 20, 4}, {17, 38, 28, 5}, {29, 35, 18, 4}, {36, 20, 10, 3}, {12, 14, 9, 3}};
  for (const Crystal& c : crystals) {
    for (int k = 0; k < c.len; ++k) {
      int half = k > c.len - c.half ? c.len - k : c.half;
      for (int d = -half; d <= half; ++d) {
        Rgb tone = d < 0 ? Rgb{215, 165, 255} : d == 0 ? Rgb{170, 95, 225} : Rgb{110, 50, 165};
        t.dot(c.x + d + k / 4, c.y - k, tone);
      }
    }
  }
}

void rusty_iron(Tile& t) {
  t.paint([](int x, int y) {
    double n = fbm(x, y, 71, 8);
    Rgb rust = mix(Rgb{80, 45, 30}, Rgb{178, 92, 40}, n);
    return (x * 7 + 3) % 13 == 0 && fbm(x, y, 73) > 0.5 ? darker(rust, 0.25) : rust;
  });
  t.grit(0, 0, 39, 39, 0.15, 0.4);
  for (int x : {6, 33}) {
    t.rivet(x, 6, {130, 80, 50});
    t.rivet(x, 33, {130, 80, 50});
  }
  t.rect(0, 39, 39, 39, {50, 28, 18});
}

void concrete(Tile& t) {
  t.paint([](int x, int y) { return mix(Rgb{160, 160, 154}, Rgb{120, 120, 116}, fbm(x, y, 83)); });
  t.grit(0, 0, 39, 39, 0.5, 0.2);
  int x = 25, y = 0;
  for (int i = 0; i < 40; ++i) {
    t.dot(x, y, {80, 80, 78});
    y += 1;
    x += t.rng.range(-1, 1);
  }
  for (auto [hx, hy] : {std::pair{8, 10}, {8, 30}, {32, 10}, {32, 30}}) {
    t.disc(hx, hy, 1, {70, 70, 70});
    t.dot(hx + 1, hy + 1, {175, 175, 170});
  }
}

void basalt(Tile& t) {
  Shards columns;
  // Three columns across and four rows down come close to regular hexagons.
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 3; ++i) columns.seeds.emplace_back((i * 40 + (j % 2) * 20) / 3, j * 10);
  t.paint([&](int x, int y) {
    int gap = 0;
    int which = columns.nearest(x, y, &gap);
    if (gap < 2) return Rgb{22, 22, 26};
    Rgb face = mix(Rgb{70, 72, 80}, Rgb{98, 100, 110}, (which * 5 % 8) / 8.0);
    int dy = y - columns.seeds[which].second;
    if (dy > kCell / 2) dy -= kCell;
    if (dy < -kCell / 2) dy += kCell;
    return dy < -2 ? lighter(face, 0.12) : dy > 3 ? darker(face, 0.15) : face;
  });
  t.grit(0, 0, 39, 39, 0.15, 0.2);
}

void dungeon_bricks(Tile& t) {
  bricks(t, 4, 1, {25, 15, 30}, {82, 50, 102}, 0.15);
  t.grit(0, 0, 39, 39, 0.3, 0.3);
  t.rect(4, 10, 6, 11, {25, 15, 30});
  t.rect(31, 28, 33, 29, {25, 15, 30});
}

void rune_stone(Tile& t) {
  t.bevel(0, 0, 39, 39, {58, 62, 78}, 2);
  t.grit(2, 2, 37, 37, 0.3, 0.25);
  const Rgb halo{40, 105, 135};
  const Rgb glow{90, 230, 255};
  const int rune[][4] = {{20, 8, 20, 32}, {20, 12, 12, 18}, {20, 12, 28, 18}, {20, 22, 13, 28}, {20, 22, 27, 28}};
  for (const auto& s : rune) {
    for (int d = -1; d <= 1; ++d) {
      t.stroke(s[0] + d, s[1], s[2] + d, s[3], halo);
      t.stroke(s[0], s[1] + d, s[2], s[3] + d, halo);
    }
  }
  for (const auto& s : rune) t.stroke(s[0], s[1], s[2], s[3], glow);
}

using Material = void (*)(Tile&);
const Material kMaterials[kWallMaterials] = {
    red_bricks, grey_stone,    steel_plate, wood_planks,  mossy_stone,  ice_blocks, lava_rock,
    cobblestone, sandstone,    ceramic_tiles, marble,     hedge,        copper_patina, gold_bricks,
    obsidian,   iron_grate,    log_wall,    diamond_plate, tech_panel,  amethyst,   rusty_iron,
    concrete,   basalt,        dungeon_bricks, rune_stone};

}  // namespace

void draw_crate(BITMAP* b, int x, int y) {
  Tile t{b, x, y, Random(7)};
  const Rgb wood{205, 150, 82};
  const Rgb dark{70, 40, 15};
  // Planks behind the frame.
  for (int p = 0; p < 3; ++p) {
    int y0 = 5 + p * 10;
    t.rect(5, y0, 34, y0 + 9, darker(wood, 0.18 + 0.04 * p));
    t.rect(5, y0 + 9, 34, y0 + 9, darker(wood, 0.45));
  }
  // The cross brace.
  for (int d = -2; d <= 2; ++d) {
    t.stroke(6, 6 + d, 33, 33 + d, d == -2 ? lighter(wood, 0.2) : d == 2 ? darker(wood, 0.35) : wood);
    t.stroke(6, 33 + d, 33, 6 + d, d == -2 ? lighter(wood, 0.2) : d == 2 ? darker(wood, 0.35) : wood);
  }
  // The frame, with metal corner plates.
  for (int i = 0; i < 5; ++i) {
    Rgb side = i == 0 ? dark : i == 1 ? lighter(wood, 0.3) : wood;
    t.rect(i, i, 39 - i, i, side);
    t.rect(i, i, i, 39 - i, side);
    t.rect(i, 39 - i, 39 - i, 39 - i, i == 0 ? dark : darker(wood, 0.3));
    t.rect(39 - i, i, 39 - i, 39 - i, i == 0 ? dark : darker(wood, 0.3));
  }
  const Rgb metal{160, 165, 175};
  for (auto [cx, cy] : {std::pair{1, 1}, {32, 1}, {1, 32}, {32, 32}}) {
    t.rect(cx, cy, cx + 6, cy + 6, metal);
    t.rect(cx, cy + 6, cx + 6, cy + 6, darker(metal, 0.4));
    t.rect(cx + 6, cy, cx + 6, cy + 6, darker(metal, 0.4));
    t.dot(cx + 3, cy + 3, darker(metal, 0.5));
    t.dot(cx + 2, cy + 2, kWhite);
  }
}

void draw_wall(BITMAP* b, int x, int y, int material) {
  if (material < 1 || material > kWallMaterials) throw std::logic_error("no wall material " + std::to_string(material));
  Tile t{b, x, y, Random(1000u + static_cast<std::uint32_t>(material) * 77u)};
  kMaterials[material - 1](t);
}

void write_terrain(const std::string& bmp_dir) {
  Picture sheet(kTiles * kCell, kCell);
  draw_crate(sheet.bmp(), 0, 0);
  for (int m = 1; m <= kWallMaterials; ++m) draw_wall(sheet.bmp(), m * kCell, 0, m);
  save_picture(sheet, bmp_dir + "/teren.bmp");
}

}  // namespace art
