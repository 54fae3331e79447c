// The walking figures: five ghost kinds, the hero and the hunter, each in
// four facings and two frames, and the sheet they share.
#include "sprites.h"

#include <cmath>
#include <functional>

namespace art {

namespace {

constexpr int kSheetColumns = 14;
constexpr int kHeroColumn = 10;
constexpr int kHunterColumn = 12;

// Drawing in one cell's own coordinates.
struct Cell {
  BITMAP* b;

  void rect(int x0, int y0, int x1, int y1, Rgb c) const { rectfill(b, x0, y0, x1, y1, ink(c)); }
  void dot(int x, int y, Rgb c) const { putpixel(b, x, y, ink(c)); }
  void disc(int x, int y, int r, Rgb c) const { circlefill(b, x, y, r, ink(c)); }
  void oval(int x, int y, int rx, int ry, Rgb c) const { ellipsefill(b, x, y, rx, ry, ink(c)); }
  void tri(int x1, int y1, int x2, int y2, int x3, int y3, Rgb c) const {
    triangle(b, x1, y1, x2, y2, x3, y3, ink(c));
  }
  void stroke(int x1, int y1, int x2, int y2, Rgb c) const { line(b, x1, y1, x2, y2, ink(c)); }
  template <class Inside>
  void body(Inside inside, Rgb base, double cx, double cy, double r) const {
    fill_lit(b, 0, 0, kCell, kCell, inside, ramp_from(base), cx, cy, r);
  }
  void edge(Rgb c) const { outline(b, 0, 0, kCell, kCell, c); }
};

using Painter = std::function<void(const Cell&, Facing, int)>;

// Paints a figure in a scratch cell; facing left is facing right mirrored.
void draw_figure(BITMAP* b, int x, int y, Facing facing, int frame, const Painter& paint) {
  Picture cell(kCell, kCell);
  paint(Cell{cell.bmp()}, facing == Facing::kLeft ? Facing::kRight : facing, frame);
  if (facing == Facing::kLeft) {
    draw_sprite_h_flip(b, cell.bmp(), x, y);
  } else {
    draw_sprite(b, cell.bmp(), x, y);
  }
}

// Where a face sits and which way its pupils turn.
struct Look {
  int face_dx, face_dy, pupil_dx, pupil_dy;
};

Look look_for(Facing f) {
  switch (f) {
    case Facing::kRight: return {4, 0, 1, 0};
    case Facing::kDown: return {0, 1, 0, 1};
    case Facing::kUp: return {0, -3, 0, -1};
    case Facing::kLeft: break;
  }
  return {-4, 0, -1, 0};
}

// 0 between lobes, 1 at a lobe's middle: the wavy hems and scalloped edges.
double lobe(double x, double period, double phase) {
  double t = std::fmod(x / period + phase + 100.0, 1.0);
  return 1.0 - std::fabs(2.0 * t - 1.0);
}

const Rgb kEyeWhite{240, 246, 255};
const Rgb kPupil{25, 30, 90};

// A ghost's eye, four by five, with a two-pixel pupil turned the way it goes.
void eye(const Cell& c, int x, int y, const Look& look, Rgb pupil = kPupil) {
  c.rect(x, y + 1, x + 3, y + 3, kEyeWhite);
  c.rect(x + 1, y, x + 2, y + 4, kEyeWhite);
  int px = x + 1 + look.pupil_dx;
  int py = y + 2 + look.pupil_dy;
  c.rect(px, py, px + 1, py + 1, pupil);
}

void eye_pair(const Cell& c, int face_x, int y, const Look& look, Rgb pupil = kPupil) {
  eye(c, face_x - 5, y, look, pupil);
  eye(c, face_x + 1, y, look, pupil);
}

// Kind 0: the plain sheet ghost with a wavy hem.
void paint_sheet_ghost(const Cell& c, Facing f, int frame) {
  const Rgb base{235, 60, 60};
  auto inside = [frame](double x, double y) {
    y += frame;  // the second frame floats a pixel higher
    double dx = x - 20;
    if (std::fabs(dx) > 13) return false;
    if (y < 16) return dx * dx + (y - 16) * (y - 16) <= 13 * 13;
    return y <= 30 + 5 * lobe(x - 7, 6.5, frame * 0.5);
  };
  c.body(inside, base, 16, 12 - frame, 17);
  c.edge(darker(base, 0.7));
  Look look = look_for(f);
  if (f == Facing::kUp) {
    eye_pair(c, 20, 9 - frame, look);
    return;
  }
  eye_pair(c, 20 + look.face_dx, 12 - frame + look.face_dy, look);
  if (f == Facing::kDown) c.oval(20, 23 - frame, 2, 2, darker(base, 0.75));
}

// Kind 1: a flame spirit, three flickering tongues on a round body.
void paint_flame_ghost(const Cell& c, Facing f, int frame) {
  const Rgb base{255, 140, 30};
  const Rgb tips{255, 220, 70};
  const double tip_y[3] = {frame ? 8.0 : 5.0, frame ? 2.0 : 4.0, frame ? 5.0 : 8.0};
  const double tip_x[3] = {12.5, 20.0, 27.5};
  auto tongue = [&](double x, double y) {
    for (int i = 0; i < 3; ++i) {
      if (y < tip_y[i] || y > 19) continue;
      double half = 5.5 * (y - tip_y[i]) / (19 - tip_y[i]);
      double sway = (frame ? 1.5 : -1.5) * (19 - y) / 14.0;
      if (std::fabs(x - tip_x[i] - sway) <= half) return true;
    }
    return false;
  };
  auto inside = [&](double x, double y) {
    double dx = x - 20, dy = y - 23;
    return dx * dx + dy * dy <= 12.5 * 12.5 || tongue(x, y);
  };
  c.body(inside, base, 16, 17, 15);
  c.body([&](double x, double y) { return y < 13 && tongue(x, y); }, tips, 16, 6, 10);
  c.edge({110, 40, 0});
  Look look = look_for(f);
  if (f == Facing::kUp) {
    eye_pair(c, 20, 15, look);
    return;
  }
  int fx = 20 + look.face_dx;
  eye_pair(c, fx, 18 + look.face_dy, look);
  // A zigzag grin.
  const Rgb mouth{120, 30, 0};
  int my = 26 + look.face_dy;
  for (int i = -4; i <= 4; ++i) c.rect(fx + i, my + (i + 4) % 2, fx + i, my + 1 + (i + 4) % 2, mouth);
}

// Kind 2: a hooded wraith with wide sleeves and a tattered hem.
void paint_wraith(const Cell& c, Facing f, int frame) {
  const Rgb base{155, 75, 225};
  auto inside = [frame](double x, double y) {
    y += frame;
    double dx = std::fabs(x - 20);
    if (y < 4) return false;
    if (y < 17) return dx <= 1.5 + (y - 4) * 0.8;
    if (y >= 18 && y <= 27 && dx <= 17.5 - std::fabs(y - 22.5) * 0.6) return true;
    if (dx > 12 + (y - 17) * 0.2) return false;
    return y <= 30 + 7 * lobe(x - 5, 5, frame * 0.5);
  };
  c.body(inside, base, 15, 12 - frame, 18);
  c.edge({45, 10, 70});
  Look look = look_for(f);
  if (f == Facing::kUp) {
    // From behind: only the hood's seam.
    c.stroke(20, 8 - frame, 20, 24 - frame, darker(base, 0.35));
    return;
  }
  int ox = 20 + look.face_dx * 3 / 4;
  int oy = 16 - frame + look.face_dy;
  c.oval(ox, oy, 5, 4, {35, 8, 55});
  const Rgb glow{200, 255, 120};
  int ex = ox + look.pupil_dx;
  c.rect(ex - 3, oy - 1, ex - 2, oy, glow);
  c.rect(ex + 2, oy - 1, ex + 3, oy, glow);
}

// Kind 3: a jelly ghost, a wide bell trailing five tentacles.
void paint_jelly(const Cell& c, Facing f, int frame) {
  const Rgb base{60, 215, 230};
  auto inside = [frame](double x, double y) {
    y += frame;
    double dx = x - 20;
    if (y <= 20) {
      double ex = dx / 16.0, ey = (y - 20) / 14.0;
      return ex * ex + ey * ey <= 1.0;
    }
    if (y <= 24 && std::fabs(dx) <= 15.5 && y <= 21.5 + 2.5 * lobe(x - 4.5, 31.0 / 6, 0)) return true;
    for (int i = 0; i < 5; ++i) {
      double bottom = i % 2 ? 34 : 38;
      if (y > bottom) continue;
      double sway = 1.6 * std::sin(y * 0.5 + frame * 3.14159 + i * 1.3) * (y - 20) / 14;
      if (std::fabs(x - (10 + i * 5) - sway) <= 1.1) return true;
    }
    return false;
  };
  c.body(inside, base, 15, 12 - frame, 16);
  c.edge({10, 70, 90});
  const Rgb spot = lighter(base, 0.6);
  c.disc(10, 15 - frame, 1, spot);
  c.disc(30, 15 - frame, 1, spot);
  Look look = look_for(f);
  int fx = 20 + look.face_dx;
  eye_pair(c, fx, 12 - frame + look.face_dy, look);
  if (f == Facing::kDown) {
    const Rgb mouth{10, 80, 100};
    c.dot(18, 19 - frame, mouth);
    c.dot(19, 20 - frame, mouth);
    c.dot(20, 19 - frame, mouth);
    c.dot(21, 20 - frame, mouth);
    c.dot(22, 19 - frame, mouth);
  }
}

// Kind 4: a horned imp ghost on blue bat wings that flap between frames.
void paint_imp(const Cell& c, Facing f, int frame) {
  const Rgb red{225, 45, 70};
  const Rgb blue{60, 100, 240};
  auto wing = [frame](double x, double y) {
    double u = std::fabs(x - 20);
    if (u < 8 || u > 19) return false;
    double top = frame ? 16 + (u - 8) * 0.45 : 17 - (u - 8) * 0.9;
    double bottom = top + 4 + (u - 8) * 0.7 - 3.0 * lobe(u - 8, 3.7, 0);
    return y >= top && y <= bottom;
  };
  auto horn = [](double x, double y) {
    double u = std::fabs(x - 20);
    if (y < 3 || y > 14) return false;
    double middle = 6 + (14 - y) * 0.3;  // leaning outwards at the tip
    return std::fabs(u - middle) <= (y - 3) * 0.28;
  };
  auto torso = [](double x, double y) {
    double dx = x - 20, dy = y - 21;
    if (dx * dx + dy * dy <= 10.5 * 10.5) return true;
    return y > 28 && y < 37 && std::fabs(dx - (y - 28) * 0.4) <= (37 - y) * 0.35;
  };
  c.body(wing, blue, 12, 12, 14);
  c.body(horn, lighter(blue, 0.2), 18, 4, 10);
  c.body(torso, red, 17, 17, 12);
  c.edge({40, 10, 50});
  Look look = look_for(f);
  if (f == Facing::kUp) {
    eye_pair(c, 20, 14, look);
    return;
  }
  int fx = 20 + look.face_dx * 3 / 4;
  eye_pair(c, fx, 17 + look.face_dy, look);
  if (f == Facing::kDown) {
    c.rect(18, 26, 22, 26, {90, 10, 30});
    c.dot(18, 27, kEyeWhite);
    c.dot(22, 27, kEyeWhite);
  }
}

// The hunter: a big blue ghost with horns, claws reaching ahead and a scowl.
void paint_hunter(const Cell& c, Facing f, int frame) {
  const Rgb base{50, 95, 255};
  const Rgb claw{235, 240, 255};
  auto inside = [frame](double x, double y) {
    double dx = x - 20;
    if (std::fabs(dx) > 14.5) return false;
    if (y < 18) return dx * dx + (y - 18) * (y - 18) <= 14.5 * 14.5;
    return y <= 31 + 6 * lobe(x - 5.5, 29.0 / 6, frame * 0.5);
  };
  auto horn = [](double x, double y) {
    double u = std::fabs(x - 20);
    return y >= 1 && y <= 9 && std::fabs(u - (10 + (y - 1) * 0.3)) <= (y - 1) * 0.35;
  };
  c.body(horn, {200, 210, 240}, 18, 2, 8);
  c.body(inside, base, 15, 13, 17);
  // Arms reach the way it hunts.
  const Rgb arm = darker(base, 0.15);
  if (f == Facing::kRight) {
    int lift = frame ? -1 : 1;
    c.rect(30, 20 + lift, 36, 24 + lift, arm);
    for (int i = 0; i < 3; ++i) c.rect(37, 19 + lift + i * 2, 38, 19 + lift + i * 2, claw);
  } else if (f == Facing::kDown) {
    int lift = frame ? 1 : 0;
    c.rect(2, 20 + lift, 6, 26 + lift, arm);
    c.rect(34, 21 - lift, 38, 27 - lift, arm);
    for (int i = 0; i < 3; ++i) {
      c.dot(2 + i * 2, 27 + lift, claw);
      c.dot(34 + i * 2, 28 - lift, claw);
    }
  } else {
    int lift = frame ? 1 : 0;
    c.rect(2, 9 + lift, 6, 17 + lift, arm);
    c.rect(34, 9 - lift, 38, 17 - lift, arm);
    for (int i = 0; i < 3; ++i) {
      c.dot(2 + i * 2, 8 + lift, claw);
      c.dot(34 + i * 2, 8 - lift, claw);
    }
  }
  c.edge({10, 20, 80});
  if (f == Facing::kUp) return;  // seen from behind: no face
  Look look = look_for(f);
  int fx = 20 + look.face_dx;
  int ey = 13 + look.face_dy;
  const Rgb brow{10, 15, 60};
  eye_pair(c, fx, ey, look, {230, 30, 40});
  // Scowling brows slope down towards the nose.
  c.stroke(fx - 6, ey - 3, fx - 1, ey - 1, brow);
  c.stroke(fx - 6, ey - 2, fx - 1, ey, brow);
  c.stroke(fx + 6, ey - 3, fx + 1, ey - 1, brow);
  c.stroke(fx + 6, ey - 2, fx + 1, ey, brow);
  // A fanged mouth.
  int my = 23 + look.face_dy;
  c.rect(fx - 6, my, fx + 6, my + 4, {20, 5, 40});
  for (int i = -6; i <= 4; i += 3) {
    c.tri(fx + i, my, fx + i + 2, my, fx + i + 1, my + 2, claw);
    c.tri(fx + i + 1, my + 4, fx + i + 3, my + 4, fx + i + 2, my + 2, claw);
  }
}

// The hero's colours.
const Rgb kSkin{255, 206, 160};
const Rgb kCap{50, 170, 80};
const Rgb kHair{130, 70, 30};
const Rgb kTunic{60, 120, 230};
const Rgb kBelt{110, 70, 30};
const Rgb kBuckle{255, 210, 60};
const Rgb kPants{55, 55, 95};
const Rgb kBoot{125, 72, 32};
const Rgb kHeroEye{30, 20, 40};
const Rgb kHeroLine{35, 25, 45};

// Legs for the front and back views; one foot lifts on each frame.
void front_legs(const Cell& c, int frame) {
  int left_lift = frame == 0 ? 2 : 0;
  int right_lift = frame == 1 ? 2 : 0;
  c.rect(15, 30 - left_lift, 18, 33 - left_lift, kPants);
  c.rect(22, 30 - right_lift, 25, 33 - right_lift, kPants);
  c.rect(14, 34 - left_lift, 18, 37 - left_lift, kBoot);
  c.rect(22, 34 - right_lift, 26, 37 - right_lift, kBoot);
  c.rect(14, 37 - left_lift, 18, 37 - left_lift, darker(kBoot, 0.35));
  c.rect(22, 37 - right_lift, 26, 37 - right_lift, darker(kBoot, 0.35));
}

// Tunic, belt and swinging arms for the front and back views.
void front_body(const Cell& c, int frame) {
  int swing = frame == 0 ? 1 : -1;
  c.rect(10, 23 - swing, 12, 28 - swing, kTunic);
  c.rect(10, 29 - swing, 12, 30 - swing, kSkin);
  c.rect(28, 23 + swing, 30, 28 + swing, kTunic);
  c.rect(28, 29 + swing, 30, 30 + swing, kSkin);
  c.rect(13, 22, 27, 31, kTunic);
  c.rect(26, 23, 27, 31, darker(kTunic, 0.25));
  c.rect(14, 23, 14, 27, lighter(kTunic, 0.35));
  c.rect(13, 29, 27, 30, kBelt);
}

void head_ball(const Cell& c, Rgb colour) {
  c.disc(20, 13, 9, darker(colour, 0.18));
  c.disc(19, 12, 8, colour);
}

void paint_hero(const Cell& c, Facing f, int frame) {
  if (f == Facing::kRight) {
    // Side view, striding on the first frame and passing on the second.
    if (frame == 0) {
      c.rect(14, 30, 17, 33, darker(kPants, 0.2));
      c.rect(12, 33, 17, 36, darker(kBoot, 0.2));
      c.rect(23, 30, 26, 33, kPants);
      c.rect(23, 34, 29, 37, kBoot);
      c.rect(23, 37, 29, 37, darker(kBoot, 0.35));
    } else {
      c.rect(18, 30, 21, 33, kPants);
      c.rect(18, 34, 24, 37, kBoot);
      c.rect(18, 37, 24, 37, darker(kBoot, 0.35));
    }
    c.rect(10, 22, 15, 30, kBelt);  // backpack
    c.rect(10, 22, 15, 23, darker(kBelt, 0.3));
    c.rect(15, 22, 25, 31, kTunic);
    c.rect(24, 23, 25, 31, darker(kTunic, 0.25));
    c.rect(15, 29, 25, 30, kBelt);
    c.rect(23, 29, 24, 30, kBuckle);
    head_ball(c, kSkin);
    // Hair at the back, the cap on top with its peak ahead.
    for (int y = 4; y <= 22; ++y) {
      for (int x = 10; x <= 17; ++x) {
        if (getpixel(c.b, x, y) == ink(kSkin) && (x < 16 || y > 14)) c.dot(x, y, kHair);
      }
    }
    for (int y = 3; y <= 9; ++y) {
      for (int x = 10; x <= 30; ++x) {
        if (!is_clear(c.b, x, y)) c.dot(x, y, y == 3 || x > 26 ? darker(kCap, 0.2) : kCap);
      }
    }
    c.rect(22, 9, 31, 10, darker(kCap, 0.25));
    c.disc(16, 14, 2, darker(kSkin, 0.12));  // ear
    c.rect(24, 12, 25, 14, kHeroEye);
    c.dot(24, 12, kWhite);
    c.rect(28, 14, 29, 16, darker(kSkin, 0.08));  // nose
    c.rect(24, 18, 26, 18, {170, 60, 60});
    c.dot(22, 16, {255, 150, 150});
    // The arm swings forward on the stride.
    if (frame == 0) {
      c.stroke(19, 24, 24, 27, kTunic);
      c.stroke(19, 25, 24, 28, kTunic);
      c.rect(24, 27, 26, 29, kSkin);
    } else {
      c.rect(19, 23, 21, 28, darker(kTunic, 0.12));
      c.rect(19, 29, 21, 30, kSkin);
    }
    c.edge(kHeroLine);
    return;
  }
  front_legs(c, frame);
  front_body(c, frame);
  if (f == Facing::kDown) {
    c.rect(19, 29, 21, 30, kBuckle);
    c.disc(11, 14, 2, darker(kSkin, 0.1));
    c.disc(29, 14, 2, darker(kSkin, 0.1));
    head_ball(c, kSkin);
    for (int y = 3; y <= 8; ++y) {
      for (int x = 10; x <= 30; ++x) {
        if (!is_clear(c.b, x, y)) c.dot(x, y, y == 3 ? darker(kCap, 0.2) : kCap);
      }
    }
    c.rect(11, 8, 29, 9, darker(kCap, 0.25));
    c.rect(19, 4, 21, 6, kBuckle);  // cap badge
    c.rect(15, 12, 16, 15, kHeroEye);
    c.rect(23, 12, 24, 15, kHeroEye);
    c.dot(15, 12, kWhite);
    c.dot(23, 12, kWhite);
    c.dot(13, 16, {255, 150, 150});
    c.dot(26, 16, {255, 150, 150});
    const Rgb smile{170, 60, 60};
    c.dot(17, 18, smile);
    c.rect(18, 19, 21, 19, smile);
    c.dot(22, 18, smile);
  } else {
    // From behind: the back of the head, the cap strap, a backpack.
    c.disc(11, 14, 2, darker(kSkin, 0.1));
    c.disc(29, 14, 2, darker(kSkin, 0.1));
    head_ball(c, kHair);
    for (int y = 3; y <= 10; ++y) {
      for (int x = 10; x <= 30; ++x) {
        if (!is_clear(c.b, x, y)) c.dot(x, y, y == 3 ? darker(kCap, 0.2) : kCap);
      }
    }
    c.rect(17, 10, 23, 11, darker(kCap, 0.3));
    c.rect(14, 21, 26, 30, kBelt);
    c.rect(14, 21, 26, 23, darker(kBelt, 0.3));
    c.rect(19, 24, 21, 25, kBuckle);
    c.rect(25, 22, 26, 30, darker(kBelt, 0.2));
  }
  c.edge(kHeroLine);
}

const Painter kGhostPainters[kGhostKinds] = {paint_sheet_ghost, paint_flame_ghost, paint_wraith,
                                             paint_jelly, paint_imp};

}  // namespace

void draw_ghost(BITMAP* b, int x, int y, int kind, Facing facing, int frame) {
  draw_figure(b, x, y, facing, frame, kGhostPainters[kind]);
}

void draw_hero(BITMAP* b, int x, int y, Facing facing, int frame) {
  draw_figure(b, x, y, facing, frame, paint_hero);
}

void draw_hunter(BITMAP* b, int x, int y, Facing facing, int frame) {
  draw_figure(b, x, y, facing, frame, paint_hunter);
}

void write_sprites(const std::string& bmp_dir) {
  Picture sheet(kSheetColumns * kCell, kFacings * kCell);
  for (int row = 0; row < kFacings; ++row) {
    Facing facing = static_cast<Facing>(row);
    int y = row * kCell;
    for (int frame = 0; frame < kWalkFrames; ++frame) {
      for (int kind = 0; kind < kGhostKinds; ++kind) {
        draw_ghost(sheet.bmp(), (2 * kind + frame) * kCell, y, kind, facing, frame);
      }
      draw_hero(sheet.bmp(), (kHeroColumn + frame) * kCell, y, facing, frame);
      draw_hunter(sheet.bmp(), (kHunterColumn + frame) * kCell, y, facing, frame);
    }
  }
  save_picture(sheet, bmp_dir + "/sprites.bmp");
}

}  // namespace art
