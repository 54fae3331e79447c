// Things in the maze besides walls and figures: coins, the bomb and its
// blast, the plasma beam, the power-ups and the mouse arrow.
#include "items.h"

#include <cmath>
#include <stdexcept>

#include "pixel_font.h"
#include "random.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCoinFace = 30;  // diameter of a coin seen face on
constexpr int kBlast = 120;     // one explosion frame
constexpr int kBlastFrames = 5;
constexpr int kBeamFrames = 7;
const Rgb kItemLine{30, 20, 35};

Rgb coin_metal(int value) {
  switch (value) {
    case 1: return {215, 125, 60};   // copper
    case 2: return {200, 205, 218};  // silver
    case 5: return {245, 190, 40};   // gold
  }
  throw std::logic_error("no coin worth " + std::to_string(value));
}

// The face of a coin, seen straight on.
void paint_coin_face(BITMAP* b, int value) {
  const Rgb metal = coin_metal(value);
  const double c = (kCoinFace - 1) / 2.0;
  for (int y = 0; y < kCoinFace; ++y) {
    for (int x = 0; x < kCoinFace; ++x) {
      double dx = x - c, dy = y - c, d = std::sqrt(dx * dx + dy * dy);
      if (d > c + 0.5) continue;
      double light = -(dx + dy) / (2 * c);  // lit from the top left
      Rgb tone;
      if (d > c - 2.5) {
        tone = light > 0 ? lighter(metal, 0.2) : darker(metal, 0.3);
      } else if (d > c - 3.5) {
        tone = darker(metal, 0.35);
      } else {
        tone = mix(lighter(metal, 0.3), darker(metal, 0.1), 0.5 - light * 0.7);
      }
      putpixel(b, x, y, ink(tone));
    }
  }
  // A glint on the rim.
  for (int i = 0; i < 4; ++i) putpixel(b, 7 + i, 5 - i / 2 + 1, ink(lighter(metal, 0.7)));
  TextStyle engraved;
  engraved.block = 1;
  engraved.bold = 1;
  engraved.top = darker(metal, 0.45);
  engraved.bottom = darker(metal, 0.6);
  engraved.edge = lighter(metal, 0.5);
  const std::string digit = std::to_string(value);
  draw_text_centred(b, kCoinFace / 2, (kCoinFace - text_height(engraved)) / 2, digit, engraved);
}

void paint_laser(BITMAP* b, int frame) {
  Random sparkle(900u + static_cast<std::uint32_t>(frame));
  // The band's thickness along the beam; whole waves per cell, so cells chain.
  auto half_width = [frame](int along) {
    double p = 2 * kPi * along / kCell;
    return 5.0 + 1.3 * std::sin(2 * p + frame * 2 * kPi / kBeamFrames) +
           0.7 * std::sin(3 * p - frame * 4 * kPi / kBeamFrames);
  };
  auto core_width = [frame](int along) {
    return 1.6 + 0.6 * std::sin(2 * kPi * (along / double(kCell) * 4 + frame / double(kBeamFrames)));
  };
  auto paint = [&](int x, int y, int along, int across) {
    double off = std::fabs(across + 0.5 - kCell / 2.0);
    double w = half_width(along);
    int c;
    if (off < core_width(along)) {
      c = beam_core_ink();
    } else if (off < w * 0.55) {
      c = ink({160, 235, 255});
    } else if (off < w) {
      c = ink({60, 130, 255});
    } else if (off < w + 2.5 && (along + across + frame) % 2 == 0) {
      c = ink({80, 50, 210});  // dithered halo
    } else {
      return;
    }
    putpixel(b, x, y, c);
  };
  const int x0 = frame * kCell;
  for (int along = 0; along < kCell; ++along) {
    for (int across = 0; across < kCell; ++across) {
      paint(x0 + along, across, along, across);       // horizontal beam
      paint(x0 + across, kCell + along, along, across);  // vertical beam
    }
  }
  for (int i = 0; i < 6; ++i) {
    int along = sparkle.range(0, kCell - 1);
    int across = kCell / 2 + sparkle.range(-7, 6);
    putpixel(b, x0 + along, across, ink({200, 245, 255}));
    putpixel(b, x0 + across, kCell + along, ink({200, 245, 255}));
  }
}

// One explosion frame: a noisy fireball that grows, then breaks into smoke.
void paint_blast(BITMAP* b, int x0, int frame) {
  const double radius[kBlastFrames] = {24, 40, 53, 57, 56};
  const double heat[kBlastFrames] = {1.15, 1.0, 0.8, 0.5, 0.22};
  const double holes[kBlastFrames] = {0.0, 0.0, 0.1, 0.3, 0.5};
  auto noise = [](double x, double y, std::uint32_t seed) {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double tx = x - ix, ty = y - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = lattice_value(ix, iy, seed), b2 = lattice_value(ix + 1, iy, seed);
    double c = lattice_value(ix, iy + 1, seed), d = lattice_value(ix + 1, iy + 1, seed);
    return (a + (b2 - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
  };
  const double c = kBlast / 2.0;
  for (int y = 0; y < kBlast; ++y) {
    for (int x = 0; x < kBlast; ++x) {
      double dx = x + 0.5 - c, dy = y + 0.5 - c;
      double angle = std::atan2(dy, dx);
      // Lobes around the rim, different every frame.
      double wobble = 0.75 + 0.35 * noise(std::cos(angle) * 3 + 10, std::sin(angle) * 3 + 10, 5u + frame);
      double d = std::sqrt(dx * dx + dy * dy) / (radius[frame] * wobble);
      if (d > 1.0) continue;
      double grain = noise(x / 9.0, y / 9.0, 17u + frame) * 0.6 + noise(x / 4.0, y / 4.0, 29u) * 0.4;
      if (grain < holes[frame] * (0.4 + d)) continue;
      double h = heat[frame] * (1.0 - d * d) + (grain - 0.5) * 0.35;
      Rgb tone = h > 0.85   ? Rgb{255, 250, 215}
                 : h > 0.65 ? Rgb{255, 222, 80}
                 : h > 0.45 ? Rgb{255, 145, 35}
                 : h > 0.28 ? Rgb{215, 65, 25}
                 : h > 0.14 ? Rgb{115, 45, 35}
                            : Rgb{72, 62, 64};
      putpixel(b, x0 + x, y, ink(tone));
    }
  }
  if (frame < 3) {
    Random sparks(40u + static_cast<std::uint32_t>(frame));
    for (int i = 0; i < 14; ++i) {
      double a = sparks.unit() * 2 * kPi;
      double r = radius[frame] * (1.05 + sparks.unit() * 0.3);
      int sx = static_cast<int>(c + std::cos(a) * r), sy = static_cast<int>(c + std::sin(a) * r);
      rectfill(b, x0 + sx, sy, x0 + sx + 1, sy + 1, ink({255, 210, 90}));
    }
  }
}

// The fuse's path from the cap to its free end, t from 0 to 1.
void fuse_point(double t, int* x, int* y) {
  *x = static_cast<int>(std::lround(26 + 9 * t));
  *y = static_cast<int>(std::lround(12 - 10 * t + 6 * t * t));
}

Picture icon() { return Picture(kCell, kCell); }

void save_icon(Picture& p, const std::string& path) {
  outline(p.bmp(), 0, 0, p.w(), p.h(), kItemLine);
  save_picture(p, path);
}

void shield(const std::string& path) {
  Picture p = icon();
  auto half = [](double y) {
    if (y < 5 || y > 36) return -1.0;
    if (y <= 20) return 13.0 - (y < 7 ? (7 - y) : 0.0);
    return 13.0 * std::sqrt(std::max(0.0, 1 - std::pow((y - 20) / 16.5, 2)));
  };
  fill_lit(p.bmp(), 0, 0, kCell, kCell, [&](double x, double y) { return std::fabs(x - 20) <= half(y); },
           ramp_from({190, 196, 212}), 13, 9, 24);
  fill_lit(p.bmp(), 0, 0, kCell, kCell,
           [&](double x, double y) { return y > 8 && y < 33 && std::fabs(x - 20) <= half(y) - 3; },
           ramp_from({50, 95, 210}), 14, 12, 22);
  int star[20];
  for (int i = 0; i < 10; ++i) {
    double a = -kPi / 2 + i * kPi / 5, r = i % 2 ? 3.5 : 8.5;
    star[2 * i] = static_cast<int>(std::lround(20 + std::cos(a) * r));
    star[2 * i + 1] = static_cast<int>(std::lround(19 + std::sin(a) * r));
  }
  polygon(p.bmp(), 10, star, ink({255, 205, 50}));
  putpixel(p.bmp(), 19, 13, ink({255, 245, 180}));
  save_icon(p, path);
}

void extra_life(const std::string& path) {
  Picture p = icon();
  auto heart = [](double x, double y) {
    double u = (x - 20) / 14.0, v = (21.5 - y) / 14.0;  // the classic heart curve
    double a = u * u + v * v - 1;
    return a * a * a - u * u * v * v * v <= 0;
  };
  fill_lit(p.bmp(), 0, 0, kCell, kCell, heart, ramp_from({230, 40, 60}), 13, 11, 24);
  TextStyle label;
  label.block = 2;
  label.bold = 1;
  label.spacing = 1;
  label.top = kWhite;
  label.bottom = {255, 220, 220};
  label.edge = {110, 0, 20};
  draw_text_centred(p.bmp(), 20, 9, "+1", label);
  save_icon(p, path);
}

void speed_shoes(const std::string& path) {
  Picture p = icon();
  BITMAP* b = p.bmp();
  const int upper[] = {9, 27, 9, 10, 17, 10, 19, 17, 29, 18, 35, 22, 35, 27};
  polygon(b, 7, upper, ink({220, 45, 45}));
  rectfill(b, 10, 11, 16, 13, ink({255, 120, 110}));
  rectfill(b, 7, 27, 36, 31, ink({245, 245, 240}));
  hline(b, 7, 31, 36, ink({180, 180, 190}));
  for (int i = 0; i < 3; ++i) line(b, 19 + i * 3, 17, 21 + i * 3, 15, ink(kWhite));  // laces
  // A little wing at the heel.
  for (int i = 0; i < 3; ++i) {
    int y = 10 + i * 4;
    rectfill(b, 2 + i * 2, y, 8, y + 2, ink({250, 250, 255}));
    hline(b, 2 + i * 2, y + 2, 8, ink({190, 205, 230}));
  }
  outline(b, 0, 0, kCell, kCell, kItemLine);
  // Speed lines after the outline, so they stay thin.
  for (int i = 0; i < 3; ++i) hline(b, 1 + i * 2, 23 + i * 2, 5 + i * 2, ink({120, 200, 255}));
  save_picture(p, path);
}

void beam_generator(const std::string& path) {
  Picture p = icon();
  BITMAP* b = p.bmp();
  bevel_box(b, 7, 27, 32, 36, {120, 128, 140}, 1);
  for (int x = 9; x < 31; x += 4) {
    line(b, x, 34, x + 2, 29, ink({250, 200, 40}));
    line(b, x + 1, 34, x + 3, 29, ink({250, 200, 40}));
  }
  rectfill(b, 16, 15, 24, 26, ink({185, 105, 55}));
  for (int y = 16; y < 26; y += 3) hline(b, 16, y, 24, ink({240, 170, 100}));
  vline(b, 24, 15, 26, ink({120, 65, 30}));
  fill_lit(b, 0, 0, kCell, kCell, [](double x, double y) { return std::hypot(x - 20, y - 10) <= 6.5; },
           {{{235, 252, 255}, {120, 220, 255}, {50, 140, 240}, {30, 80, 200}}}, 18, 8, 8);
  outline(b, 0, 0, kCell, kCell, kItemLine);
  const int arc = ink({170, 240, 255});
  const int left[] = {13, 8, 9, 12, 6, 9, 3, 14};
  const int right[] = {27, 8, 31, 12, 34, 9, 37, 14};
  for (int i = 0; i < 3; ++i) {
    line(b, left[2 * i], left[2 * i + 1], left[2 * i + 2], left[2 * i + 3], arc);
    line(b, right[2 * i], right[2 * i + 1], right[2 * i + 2], right[2 * i + 3], arc);
  }
  save_picture(p, path);
}

void radar(const std::string& path) {
  Picture p = icon();
  BITMAP* b = p.bmp();
  circlefill(b, 20, 20, 17, ink({70, 75, 85}));
  circlefill(b, 19, 19, 16, ink({140, 148, 160}));
  circlefill(b, 20, 20, 14, ink({50, 55, 62}));
  circlefill(b, 20, 20, 13, ink({10, 45, 22}));
  // The sweep: a bright wedge fading behind its leading edge.
  for (int y = 7; y <= 33; ++y) {
    for (int x = 7; x <= 33; ++x) {
      double dx = x - 20, dy = y - 20;
      if (dx * dx + dy * dy > 12.5 * 12.5) continue;
      double a = std::atan2(dy, dx);  // leading edge at -45 degrees
      double behind = std::fmod(-kPi / 4 - a + 4 * kPi, 2 * kPi);
      if (behind < 1.2) putpixel(b, x, y, ink(mix({90, 230, 120}, {10, 45, 22}, behind / 1.2)));
    }
  }
  circle(b, 20, 20, 7, ink({30, 110, 55}));
  hline(b, 8, 20, 32, ink({30, 110, 55}));
  vline(b, 20, 8, 32, ink({30, 110, 55}));
  line(b, 20, 20, 29, 11, ink({170, 255, 180}));
  for (auto [x, y] : {std::pair{14, 14}, {26, 25}, {15, 27}}) rectfill(b, x, y, x + 1, y + 1, ink({200, 255, 120}));
  save_icon(p, path);
}

void treasure_chest(const std::string& path) {
  Picture p = icon();
  BITMAP* b = p.bmp();
  const Rgb wood{150, 85, 35};
  const Rgb gold{250, 200, 50};
  // Coins heaped under the lid.
  for (auto [x, y] : {std::pair{12, 13}, {18, 11}, {24, 12}, {29, 14}, {15, 10}, {22, 9}}) {
    circlefill(b, x, y, 3, ink(darker(gold, 0.2)));
    circlefill(b, x - 1, y - 1, 2, ink(gold));
  }
  rectfill(b, 6, 22, 34, 35, ink(wood));
  for (int y = 25; y < 35; y += 4) hline(b, 7, y, 33, ink(darker(wood, 0.3)));
  rectfill(b, 5, 14, 35, 21, ink(lighter(wood, 0.1)));
  hline(b, 5, 14, 35, ink(lighter(wood, 0.35)));
  rectfill(b, 5, 20, 35, 22, ink(darker(wood, 0.5)));
  for (int x : {9, 29}) {
    rectfill(b, x, 14, x + 2, 35, ink(gold));
    vline(b, x + 2, 14, 35, ink(darker(gold, 0.3)));
  }
  rectfill(b, 17, 19, 23, 27, ink(gold));
  rect(b, 17, 19, 23, 27, ink(darker(gold, 0.35)));
  rectfill(b, 20, 22, 20, 25, ink({40, 25, 10}));
  outline(b, 0, 0, kCell, kCell, kItemLine);
  for (auto [x, y] : {std::pair{6, 6}, {33, 8}}) {
    putpixel(b, x, y, ink(kWhite));
    for (int d : {-1, 1}) {
      putpixel(b, x + d, y, ink({255, 240, 160}));
      putpixel(b, x, y + d, ink({255, 240, 160}));
    }
  }
  save_picture(p, path);
}

void mouse_arrow(const std::string& path) {
  // # outline, o fill.
  const char* const rows[] = {
      "#",           "##",          "#o#",         "#oo#",       "#ooo#",      "#oooo#",     "#ooooo#",
      "#oooooo#",    "#ooooooo#",   "#oooooooo#",  "#ooooo#####", "#oo#oo#",    "#o# #oo#",   "##  #oo#",
      "#    #oo#",   "     #oo#",   "      ##",
  };
  Picture p(12, 18);
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; rows[y][x]; ++x) {
      if (rows[y][x] == '#') putpixel(p.bmp(), x, y, ink({10, 10, 20}));
      if (rows[y][x] == 'o') putpixel(p.bmp(), x, y, ink(kWhite));
    }
  }
  save_picture(p, path);
}

}  // namespace

void draw_coin(BITMAP* b, int x, int y, int value, int frame) {
  static_assert(kCoinFace <= kCell, "a coin fits its cell");
  Picture face(kCoinFace, kCoinFace);
  paint_coin_face(face.bmp(), value);
  const Rgb metal = coin_metal(value);
  const double turn = 2 * kPi * frame / kCoinFrames;
  const int w = static_cast<int>(std::lround(kCoinFace * std::fabs(std::cos(turn))));
  const int top = y + (kCell - kCoinFace) / 2;
  const int cx = x + kCell / 2;
  // The rim shows beside the face as the coin turns.
  const int thickness = static_cast<int>(std::lround(3 * std::fabs(std::sin(turn))));
  if (w < 4) {
    rectfill(b, cx - 2, top + 1, cx + 1, top + kCoinFace - 2, ink(darker(metal, 0.3)));
    vline(b, cx - 1, top + 2, top + kCoinFace - 3, ink(lighter(metal, 0.4)));
    outline(b, cx - 4, top - 1, 8, kCoinFace + 2, kItemLine);
    return;
  }
  const int side = std::sin(turn) > 0 ? 1 : -1;
  ellipsefill(b, cx + side * thickness, top + kCoinFace / 2, w / 2, kCoinFace / 2 - 1, ink(darker(metal, 0.4)));
  stretch_sprite(b, face.bmp(), cx - w / 2, top, w, kCoinFace);
  outline(b, x, y, kCell, kCell, kItemLine);
}

void draw_bomb(BITMAP* b, int x, int y, int frame) {
  Picture cell(kCell, kCell);
  BITMAP* c = cell.bmp();
  const int countdown = frame == 0 ? 0 : kBombFrames - frame;  // 4, 3, 2, 1 once lit
  // The body reddens as it nears zero.
  const Rgb body = mix({45, 45, 62}, {150, 30, 30}, frame == 0 ? 0.0 : (frame - 1) / 4.0);
  fill_lit(c, 0, 0, kCell, kCell, [](double px, double py) { return std::hypot(px - 18, py - 24) <= 12.5; },
           {{lighter(body, 0.5), body, darker(body, 0.3), darker(body, 0.55)}}, 13, 19, 15);
  const int cap[] = {22, 12, 28, 15, 25, 19, 19, 16};
  polygon(c, 4, cap, ink({150, 155, 165}));
  line(c, 22, 12, 28, 15, ink({210, 215, 225}));
  // The fuse burns down one quarter each lit frame.
  const double left = frame == 0 ? 1.0 : 0.25 * countdown;
  int px = 0, py = 0, ex = 26, ey = 12;
  for (int i = 0; i <= 20; ++i) {
    fuse_point(left * i / 20.0, &px, &py);
    rectfill(c, px, py, px + 1, py + 1, ink({200, 170, 110}));
    ex = px;
    ey = py;
  }
  outline(c, 0, 0, kCell, kCell, kItemLine);
  if (frame > 0) {
    TextStyle digit;
    digit.block = 1;
    digit.bold = 1;
    digit.top = kWhite;
    digit.bottom = {255, 230, 120};
    digit.edge = {60, 0, 0};
    draw_text_centred(c, 18, 24 - text_height(digit) / 2, std::to_string(countdown), digit);
    const int spark[][2] = {{0, -3}, {0, 3}, {-3, 0}, {3, 0}, {-2, -2}, {2, 2}, {-2, 2}, {2, -2}};
    for (const auto& s : spark) line(c, ex, ey, ex + s[0], ey + s[1], ink({255, 200, 40}));
    rectfill(c, ex - 1, ey - 1, ex + 1, ey + 1, ink({255, 250, 200}));
  }
  draw_sprite(b, c, x, y);
}

void write_items(const std::string& dir) {
  for (int value : {1, 2, 5}) {
    Picture strip(kCoinFrames * kCell, kCell);
    for (int f = 0; f < kCoinFrames; ++f) draw_coin(strip.bmp(), f * kCell, 0, value, f);
    save_picture(strip, dir + "/" + std::to_string(value) + "PLN.bmp");
  }
  Picture bombs(kBombFrames * kCell, kCell);
  for (int f = 0; f < kBombFrames; ++f) draw_bomb(bombs.bmp(), f * kCell, 0, f);
  save_picture(bombs, dir + "/bomba.bmp");

  Picture blast(kBlastFrames * kBlast, kBlast);
  for (int f = 0; f < kBlastFrames; ++f) paint_blast(blast.bmp(), f * kBlast, f);
  save_picture(blast, dir + "/wybuch.bmp");

  Picture beam(kBeamFrames * kCell, 2 * kCell);
  for (int f = 0; f < kBeamFrames; ++f) paint_laser(beam.bmp(), f);
  save_picture(beam, dir + "/laser.bmp", true);

  shield(dir + "/tarcza.bmp");
  extra_life(dir + "/zor_life.bmp");
  speed_shoes(dir + "/buty.bmp");
  beam_generator(dir + "/x_generator.bmp");
  radar(dir + "/x_radar.bmp");
  treasure_chest(dir + "/skarb.bmp");
  mouse_arrow(dir + "/arrow.bmp");
}

}  // namespace art
