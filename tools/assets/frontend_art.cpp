// The pictures around the play: the letter sheet, menu buttons and poster,
// the name-entry screen, game over, the hero's death mark and the level frame.
#include "frontend_art.h"

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "canvas.h"
#include "items.h"
#include "pixel_font.h"
#include "random.h"
#include "sprites.h"
#include "terrain.h"

namespace art {

namespace {

// The letter sheet: glyph code k sits at x = 16 (k - 1). W comes before V.
constexpr char kSheetLetters[] = "ABCDEFGHIJKLMNOPQRSTUWVXYZ1234567890";
constexpr int kLetterW = 16;
constexpr int kLetterH = 28;
constexpr int kLetterGap = 2;  // the strip after the last glyph

constexpr int kButtonW = 270;
constexpr int kButtonH = 52;
const char* const kButtonLabels[] = {"START GAME", "PLAYER NAME", "HIGH SCORES", "QUIT"};

constexpr int kPosterW = 940;
constexpr int kPosterH = 680;
constexpr int kPortrait = 200;
constexpr int kPortraitPixel = 4;  // the portrait is pixel art drawn at 50 x 50
constexpr int kLedW = 372;
constexpr int kLedH = 56;
constexpr int kLedFieldX = 48, kLedFieldY = 8, kLedFieldW = 275, kLedFieldH = 38;

const Rgb kNight{14, 10, 34};
const Rgb kGold{240, 190, 70};

void letter_sheet(const std::string& dir) {
  const int glyphs = static_cast<int>(std::strlen(kSheetLetters));
  Picture sheet(glyphs * kLetterW + kLetterGap, kLetterH);
  TextStyle style;  // the font's own bold gold letters
  for (int k = 0; k < glyphs; ++k) {
    draw_text_centred(sheet.bmp(), k * kLetterW + kLetterW / 2, 1, std::string(1, kSheetLetters[k]), style);
  }
  save_picture(sheet, dir + "/alfabet.bmp");
}

// Paints a rounded box; pixels outside its corners are left alone.
void rounded_box(BITMAP* b, int x0, int y0, int x1, int y1, int radius, Rgb top, Rgb bottom) {
  for (int y = y0; y <= y1; ++y) {
    Rgb c = mix(top, bottom, double(y - y0) / std::max(1, y1 - y0));
    for (int x = x0; x <= x1; ++x) {
      int cx = x < x0 + radius ? x0 + radius : x > x1 - radius ? x1 - radius : x;
      int cy = y < y0 + radius ? y0 + radius : y > y1 - radius ? y1 - radius : y;
      int dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy <= radius * radius) putpixel(b, x, y, ink(c));
    }
  }
}

void button(BITMAP* b, int x, int y, const char* label, bool lit) {
  // Opaque all over, so it looks the same however the menu blits it.
  rectfill(b, x, y, x + kButtonW - 1, y + kButtonH - 1, ink(kNight));
  const Rgb rim = lit ? Rgb{120, 235, 255} : Rgb{95, 80, 150};
  rounded_box(b, x + 1, y + 1, x + kButtonW - 2, y + kButtonH - 2, 8, rim, darker(rim, 0.4));
  const Rgb top = lit ? Rgb{125, 95, 225} : Rgb{62, 50, 112};
  const Rgb bottom = lit ? Rgb{60, 40, 140} : Rgb{28, 22, 58};
  rounded_box(b, x + 4, y + 4, x + kButtonW - 5, y + kButtonH - 5, 6, top, bottom);
  hline(b, x + 10, y + 5, x + kButtonW - 11, ink(lighter(top, 0.3)));
  TextStyle text;
  text.spacing = 3;
  text.shadow = 2;
  if (lit) {
    text.top = kWhite;
    text.bottom = {255, 235, 120};
    text.edge = {30, 10, 70};
  }
  const int ty = y + (kButtonH - text_height(text)) / 2 + 1;
  draw_text_centred(b, x + kButtonW / 2, ty, label, text);
  if (lit) {
    // Pointers either side of the label.
    const int mid = y + kButtonH / 2;
    const int half = text_width(label, text) / 2;
    const int lx = x + kButtonW / 2 - half - 22, rx = x + kButtonW / 2 + half + 22;
    triangle(b, lx, mid - 7, lx, mid + 7, lx + 9, mid, ink({255, 220, 80}));
    triangle(b, rx, mid - 7, rx, mid + 7, rx - 9, mid, ink({255, 220, 80}));
  }
}

void buttons(const std::string& dir) {
  Picture sheet(4 * kButtonW, 2 * kButtonH);
  for (int i = 0; i < 4; ++i) {
    button(sheet.bmp(), i * kButtonW, 0, kButtonLabels[i], false);
    button(sheet.bmp(), i * kButtonW, kButtonH, kButtonLabels[i], true);
  }
  save_picture(sheet, dir + "/buttons.bmp");
}

void starry_sky(BITMAP* b, int w, int h, std::uint32_t seed) {
  vertical_gradient(b, 0, 0, w - 1, h - 1, {8, 6, 24}, {45, 24, 80});
  Random rng(seed);
  for (int i = 0; i < w * h / 900; ++i) {
    int x = rng.range(0, w - 1), y = rng.range(0, h - 1);
    Rgb star = mix({120, 120, 170}, {255, 250, 220}, rng.unit());
    putpixel(b, x, y, ink(star));
    if (rng.chance(0.1)) {
      putpixel(b, x + 1, y, ink(darker(star, 0.4)));
      putpixel(b, x - 1, y, ink(darker(star, 0.4)));
      putpixel(b, x, y + 1, ink(darker(star, 0.4)));
      putpixel(b, x, y - 1, ink(darker(star, 0.4)));
    }
  }
}

void moon(BITMAP* b, int cx, int cy, int r) {
  fill_lit(b, cx - r, cy - r, 2 * r + 1, 2 * r + 1,
           [r](double x, double y) { return std::hypot(x - r, y - r) <= r; },
           {{{255, 252, 225}, {240, 232, 190}, {210, 200, 160}, {170, 160, 130}}}, r * 0.7, r * 0.6, r * 1.1);
  for (auto [dx, dy, cr] : {std::tuple{-12, -8, 6}, {10, 12, 8}, {14, -14, 4}, {-6, 18, 4}}) {
    circlefill(b, cx + dx * r / 45, cy + dy * r / 45, cr * r / 45, ink({200, 190, 150}));
  }
}

// A square of maze floor.
void floor_tile(BITMAP* b, int x, int y) {
  rectfill(b, x, y, x + kCell - 1, y + kCell - 1, ink({34, 30, 52}));
  hline(b, x, y, x + kCell - 1, ink({44, 40, 66}));
  vline(b, x, y, y + kCell - 1, ink({44, 40, 66}));
  putpixel(b, x + 13, y + 27, ink({50, 46, 72}));
  putpixel(b, x + 29, y + 11, ink({50, 46, 72}));
}

void poster(const std::string& dir) {
  Picture p(kPosterW, kPosterH);
  BITMAP* b = p.bmp();
  starry_sky(b, kPosterW, kPosterH, 1234);
  moon(b, 868, 78, 44);

  TextStyle title;
  title.block = 8;
  title.bold = 4;
  title.spacing = 10;
  title.top = {255, 250, 225};
  title.bottom = {255, 150, 40};
  title.edge = {70, 20, 10};
  title.edge_px = 4;
  title.shadow = 8;
  title.shadow_colour = {60, 20, 110};
  draw_text_centred(b, kPosterW / 2, 40, "GHOST MAZE", title);

  // A stretch of maze, drawn from the game's own tiles twice their size.
  const char* const maze[] = {
      "###########",
      "#H..#..r.B#",
      "#.#..j#.#.#",
      "#.b.#w..h.#",
      "###########",
  };
  constexpr int kScale = 2;
  constexpr int kSquare = kCell * kScale;
  const int mx = (kPosterW - 11 * kSquare) / 2, my = 200;
  Picture tile(kCell, kCell);
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 11; ++c) {
      char cell = maze[r][c];
      clear_to_color(tile.bmp(), magenta());
      if (cell == '#') {
        draw_wall(tile.bmp(), 0, 0, r == 0 || r == 4 || c == 0 || c == 10 ? 2 : 1);
      } else {
        floor_tile(tile.bmp(), 0, 0);
        if (cell == '.') {
          const int values[] = {5, 1, 2}, frames[] = {0, 1, 11};  // turned, but never edge on
          draw_coin(tile.bmp(), 0, 0, values[(r + c) % 3], frames[(r * 2 + c) % 3]);
        }
        if (cell == 'B') draw_crate(tile.bmp(), 0, 0);
        if (cell == 'b') draw_bomb(tile.bmp(), 0, 0, 2);
        if (cell == 'H') draw_hero(tile.bmp(), 0, 0, Facing::kRight, 0);
        if (cell == 'r') draw_ghost(tile.bmp(), 0, 0, 0, Facing::kLeft, 0);
        if (cell == 'j') draw_ghost(tile.bmp(), 0, 0, 3, Facing::kDown, 1);
        if (cell == 'w') draw_ghost(tile.bmp(), 0, 0, 2, Facing::kLeft, 1);
        if (cell == 'h') draw_hunter(tile.bmp(), 0, 0, Facing::kLeft, 0);
      }
      blit_scaled(tile.bmp(), b, mx + c * kSquare, my + r * kSquare, kScale);
    }
  }
  rect(b, mx - 1, my - 1, mx + 11 * kSquare, my + 5 * kSquare, ink({10, 6, 20}));
  rect(b, mx - 2, my - 2, mx + 11 * kSquare + 1, my + 5 * kSquare + 1, ink(kGold));

  TextStyle tagline;
  tagline.spacing = 3;
  tagline.shadow = 2;
  draw_text_centred(b, kPosterW / 2, my + 5 * kSquare + 22, "GRAB THE COINS  DODGE THE GHOSTS", tagline);

  for (int i = 0; i < 3; ++i) rect(b, i, i, kPosterW - 1 - i, kPosterH - 1 - i, ink(i == 1 ? kGold : darker(kGold, 0.5)));
  save_picture(p, dir + "/afisz.bmp");
}

// The hero's bust, pixel art at 50 x 50 shown four times bigger.
void portrait(const std::string& dir) {
  constexpr int kSide = kPortrait / kPortraitPixel;
  Picture small(kSide, kSide);
  BITMAP* s = small.bmp();
  vertical_gradient(s, 0, 0, kSide - 1, kSide - 1, {40, 90, 130}, {15, 30, 60});
  circlefill(s, 25, 22, 21, ink({55, 110, 150}));
  const Rgb skin{255, 206, 160}, cap{50, 170, 80}, tunic{60, 120, 230}, line_ink{35, 25, 45};
  Picture figure(kSide, kSide);
  BITMAP* f = figure.bmp();
  // Shoulders and tunic.
  fill_lit(f, 0, 0, kSide, kSide, [](double x, double y) { return y > 39 && std::fabs(x - 25) < 19 - (50 - y) * 0.6; },
           ramp_from(tunic), 18, 40, 14);
  rectfill(f, 21, 38, 29, 42, ink(darker(skin, 0.15)));  // neck
  triangle(f, 19, 40, 25, 46, 31, 40, ink({240, 240, 250}));  // collar
  circlefill(f, 9, 26, 3, ink(darker(skin, 0.1)));  // ears
  circlefill(f, 41, 26, 3, ink(darker(skin, 0.1)));
  fill_lit(f, 0, 0, kSide, kSide, [](double x, double y) { return std::hypot((x - 25) / 16.0, (y - 25) / 15.0) <= 1; },
           {{lighter(skin, 0.35), skin, darker(skin, 0.1), darker(skin, 0.2)}}, 19, 20, 16);
  // The cap, its peak and badge.
  fill_lit(f, 0, 0, kSide, kSide,
           [](double x, double y) { return y < 17 && std::hypot((x - 25) / 17.0, (y - 17) / 13.0) <= 1; },
           ramp_from(cap), 20, 7, 14);
  rectfill(f, 7, 16, 43, 18, ink(darker(cap, 0.3)));
  circlefill(f, 25, 10, 2, ink({255, 210, 60}));
  // Brown tufts under the cap.
  for (int x : {10, 13, 37, 40}) triangle(f, x - 2, 19, x + 2, 19, x, 23, ink({130, 70, 30}));
  // Eyes, brows, nose, smile.
  for (int ex : {17, 30}) {
    rectfill(f, ex, 23, ex + 3, 28, ink(kWhite));
    rectfill(f, ex + 1, 24, ex + 3, 28, ink({60, 40, 30}));
    putpixel(f, ex + 1, 24, ink(kWhite));
    hline(f, ex - 1, 21, ex + 3, ink({110, 60, 25}));
  }
  rectfill(f, 24, 29, 25, 31, ink(darker(skin, 0.15)));
  hline(f, 19, 33, 31, ink({150, 50, 50}));
  hline(f, 21, 34, 29, ink({150, 50, 50}));
  hline(f, 22, 35, 28, ink({230, 110, 110}));
  putpixel(f, 18, 32, ink({150, 50, 50}));
  putpixel(f, 32, 32, ink({150, 50, 50}));
  rectfill(f, 13, 30, 15, 31, ink({255, 150, 140}));
  rectfill(f, 35, 30, 37, 31, ink({255, 150, 140}));
  outline(f, 0, 0, kSide, kSide, line_ink);
  draw_sprite(s, f, 0, 0);
  for (int i = 0; i < 2; ++i) rect(s, i, i, kSide - 1 - i, kSide - 1 - i, ink(i ? kGold : line_ink));

  Picture out(kPortrait, kPortrait);
  blit_scaled(s, out.bmp(), 0, 0, kPortraitPixel);
  save_picture(out, dir + "/zorbinik.bmp");
}

void flourish(BITMAP* b, int x0, int x1, int y) {
  hline(b, x0, y - 1, x1, ink(lighter(kGold, 0.3)));
  hline(b, x0, y, x1, ink(kGold));
  hline(b, x0, y + 1, x1, ink(darker(kGold, 0.4)));
  for (int x : {x0, x1}) {
    const int diamond[] = {x - 5, y, x, y - 5, x + 5, y, x, y + 5};
    polygon(b, 4, diamond, ink(kGold));
  }
}

void player_title(const std::string& dir) {
  Picture p(400, 50);
  flourish(p.bmp(), 16, 118, 25);
  flourish(p.bmp(), 282, 384, 25);
  TextStyle style;
  style.block = 3;
  style.bold = 1;
  style.spacing = 4;
  style.edge_px = 2;
  style.shadow = 3;
  draw_text_centred(p.bmp(), 200, 3, "PLAYER", style);
  save_picture(p, dir + "/player.bmp");
}

void led_panel(const std::string& dir) {
  Picture p(kLedW, kLedH);
  BITMAP* b = p.bmp();
  rounded_box(b, 0, 0, kLedW - 1, kLedH - 1, 10, {120, 124, 138}, {40, 42, 52});
  rounded_box(b, 3, 3, kLedW - 4, kLedH - 4, 8, {74, 78, 92}, {52, 55, 66});
  // The screen the name is typed on, sunk into the bezel.
  const int x0 = kLedFieldX, y0 = kLedFieldY, x1 = kLedFieldX + kLedFieldW - 1, y1 = kLedFieldY + kLedFieldH - 1;
  rect(b, x0 - 2, y0 - 2, x1 + 2, y1 + 2, ink({30, 30, 38}));
  rect(b, x0 - 1, y0 - 1, x1 + 1, y1 + 1, ink({150, 155, 170}));
  hline(b, x0 - 1, y0 - 1, x1 + 1, ink({25, 25, 32}));
  vline(b, x0 - 1, y0 - 1, y1 + 1, ink({25, 25, 32}));
  rectfill(b, x0, y0, x1, y1, ink({6, 22, 12}));
  for (int y = y0 + 1; y < y1; y += 3)
    for (int x = x0 + 1; x < x1; x += 3) putpixel(b, x, y, ink({16, 48, 28}));
  // Screws and status lamps either side.
  for (int x : {14, kLedW - 15}) {
    circlefill(b, x, 15, 4, ink({40, 42, 50}));
    circlefill(b, x, 15, 3, ink({160, 165, 180}));
    line(b, x - 2, 17, x + 2, 13, ink({60, 62, 72}));
    circlefill(b, x, 38, 5, ink({20, 20, 25}));
  }
  circlefill(b, 14, 38, 4, ink({60, 230, 110}));
  putpixel(b, 13, 37, ink({200, 255, 210}));
  circlefill(b, kLedW - 15, 38, 4, ink({235, 60, 50}));
  putpixel(b, kLedW - 16, 37, ink({255, 190, 180}));
  save_picture(p, dir + "/led.bmp");
}

void game_over(const std::string& dir) {
  Picture p(600, 200);
  BITMAP* b = p.bmp();
  TextStyle style;
  style.block = 7;
  style.bold = 3;
  style.spacing = 8;
  style.top = {255, 130, 110};
  style.bottom = {160, 0, 25};
  style.edge = {40, 0, 10};
  style.edge_px = 3;
  style.shadow = 6;
  style.shadow_colour = {15, 0, 10};
  const std::string text = "GAME OVER";
  const int tx = (p.w() - text_width(text, style)) / 2, ty = 16;
  draw_text(b, tx, ty, text, style);
  // Drips running off the bottom strokes of the letters.
  const int lip = ty + style.edge_px + kGlyphRows * style.block - 2;
  Random rng(66);
  std::vector<int> taken;
  for (int tries = 0; taken.size() < 8 && tries < 400; ++tries) {
    int x = rng.range(tx, tx + text_width(text, style) - 8);
    if (rgb_at(b, x, lip).r < 120 || rgb_at(b, x + 3, lip).r < 120) continue;  // not on a letter
    bool crowded = false;
    for (int other : taken) crowded = crowded || std::abs(other - x) < 36;
    if (crowded) continue;
    taken.push_back(x);
    int len = rng.range(10, 34);
    rectfill(b, x - 1, lip, x + 4, lip + len, ink(style.edge));
    circlefill(b, x + 1, lip + len, 5, ink(style.edge));
    rectfill(b, x, lip, x + 3, lip + len, ink(style.bottom));
    circlefill(b, x + 1, lip + len, 4, ink(style.bottom));
    vline(b, x + 1, lip + 2, lip + len, ink({220, 60, 60}));
  }
  Picture ghost(kCell, kCell);
  draw_ghost(ghost.bmp(), 0, 0, 0, Facing::kRight, 0);
  blit_scaled(ghost.bmp(), b, 14, 118, 2);
  clear_to_color(ghost.bmp(), magenta());
  draw_ghost(ghost.bmp(), 0, 0, 2, Facing::kLeft, 1);
  blit_scaled(ghost.bmp(), b, p.w() - 14 - 2 * kCell, 118, 2);
  save_picture(p, dir + "/gameover.bmp");
}

// The hero's spirit rising: pale, haloed, with a wisp for legs.
void death_mark(const std::string& dir) {
  Picture p(60, 60);
  Picture hero(kCell, kCell);
  draw_hero(hero.bmp(), 0, 0, Facing::kDown, 0);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (is_clear(hero.bmp(), x, y) || y > 30) continue;
      Rgb c = rgb_at(hero.bmp(), x, y);
      double light = (c.r * 0.3 + c.g * 0.55 + c.b * 0.15) / 255.0;
      putpixel(p.bmp(), x + 10, y + 12, ink(mix({60, 90, 170}, {225, 240, 255}, light)));
    }
  }
  // The wisp where the legs were.
  fill_lit(p.bmp(), 0, 0, 60, 60, [](double x, double y) {
    if (y < 42 || y > 57) return false;
    double centre = 30 + 4 * std::sin((y - 42) * 0.35);
    return std::fabs(x - centre) <= (57 - y) * 0.55;
  }, {{{225, 240, 255}, {170, 200, 245}, {120, 150, 220}, {80, 110, 190}}}, 28, 42, 12);
  // X eyes over the hero's own.
  for (int ex : {25, 33}) {
    line(p.bmp(), ex, 24, ex + 2, 27, ink({40, 40, 90}));
    line(p.bmp(), ex + 2, 24, ex, 27, ink({40, 40, 90}));
  }
  outline(p.bmp(), 0, 0, 60, 60, {40, 60, 120});
  for (int t = 0; t < 2; ++t) ellipse(p.bmp(), 30, 7, 11 - t, 3 - t, ink(t ? Rgb{255, 240, 150} : Rgb{230, 170, 40}));
  save_picture(p, dir + "/zor_death.bmp");
}

void level_frame(const std::string& dir) {
  Picture p(300, 200);
  BITMAP* b = p.bmp();
  rounded_box(b, 0, 0, 299, 199, 14, {255, 225, 120}, {150, 95, 25});
  rounded_box(b, 4, 4, 295, 195, 11, {200, 150, 50}, {120, 75, 20});
  rounded_box(b, 10, 10, 289, 189, 8, {60, 35, 10}, {60, 35, 10});
  rounded_box(b, 12, 12, 287, 187, 7, {22, 18, 50}, {12, 10, 30});
  // Gems on the corners and on the middle of each side.
  for (auto [x, y] : {std::pair{7, 7}, {292, 7}, {7, 192}, {292, 192}, {150, 6}, {150, 193}}) {
    circlefill(b, x, y, 6, ink({70, 10, 20}));
    circlefill(b, x, y, 5, ink({210, 40, 60}));
    circlefill(b, x - 1, y - 1, 2, ink({255, 150, 160}));
  }
  save_picture(p, dir + "/rama.bmp");
}

}  // namespace

void write_frontend_art(const std::string& dir) {
  letter_sheet(dir);
  buttons(dir);
  poster(dir);
  portrait(dir);
  player_title(dir);
  led_panel(dir);
  game_over(dir);
  death_mark(dir);
  level_frame(dir);
}

}  // namespace art
