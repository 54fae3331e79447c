// Checks the generator's output the way the game uses it: every picture and
// sound loads with its layout, the beam colour lives only in the beam,
// masked pictures are see-through where they must be, and every run writes
// the same bytes.
#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kCell = 40;

class AllegroEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
    set_color_depth(32);
  }
};
const auto* const kAllegro = ::testing::AddGlobalTestEnvironment(new AllegroEnvironment);

struct BitmapFree {
  void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapFree>;

Bitmap picture(const std::string& name) {
  const std::string path = std::string(GAME_DIR) + "/_bmp/" + name;
  return Bitmap(load_bitmap(path.c_str(), nullptr));
}

int magenta() { return makecol(255, 0, 255); }
int beam_core() { return makecol(255, 255, 254); }

bool holds(BITMAP* b, int colour, int x0, int y0, int w, int h) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      if (getpixel(b, x, y) == colour) return true;
  return false;
}

int count_opaque(BITMAP* b, int x0, int y0, int w, int h) {
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) n += getpixel(b, x, y) != magenta();
  return n;
}

int differing_pixels(BITMAP* b, int ax, int ay, int bx, int by, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += getpixel(b, ax + x, ay + y) != getpixel(b, bx + x, by + y);
  return n;
}

bool corners_clear(BITMAP* b, int x0, int y0, int w, int h) {
  return getpixel(b, x0, y0) == magenta() && getpixel(b, x0 + w - 1, y0) == magenta() &&
         getpixel(b, x0, y0 + h - 1) == magenta() && getpixel(b, x0 + w - 1, y0 + h - 1) == magenta();
}

double brightness(int c) { return (getr(c) + getg(c) + getb(c)) / 3.0; }

// Size limits of every picture: exact where the game's layout fixes them.
struct Layout {
  const char* name;
  int min_w, min_h, max_w, max_h;
};

const Layout kLayouts[] = {
    {"sprites.bmp", 560, 160, 4096, 4096},  {"1PLN.bmp", 480, 40, 480, 40},
    {"2PLN.bmp", 480, 40, 480, 40},         {"5PLN.bmp", 480, 40, 480, 40},
    {"teren.bmp", 1040, 40, 4096, 4096},    {"bomba.bmp", 200, 40, 200, 40},
    {"wybuch.bmp", 600, 120, 600, 120},     {"laser.bmp", 280, 80, 280, 80},
    {"alfabet.bmp", 578, 28, 4096, 4096},   {"buttons.bmp", 1080, 104, 1080, 104},
    {"afisz.bmp", 600, 400, 970, 720},      {"zorbinik.bmp", 160, 160, 260, 260},
    {"player.bmp", 200, 30, 640, 100},      {"led.bmp", 371, 54, 640, 100},
    {"gameover.bmp", 300, 100, 1280, 720},  {"zor_death.bmp", 40, 40, 80, 60},
    {"rama.bmp", 250, 160, 360, 240},       {"tarcza.bmp", 40, 40, 40, 40},
    {"zor_life.bmp", 40, 40, 40, 40},       {"buty.bmp", 40, 40, 40, 40},
    {"x_generator.bmp", 40, 40, 40, 40},    {"x_radar.bmp", 40, 40, 40, 40},
    {"skarb.bmp", 40, 40, 40, 40},          {"arrow.bmp", 8, 8, 64, 64},
};

TEST(GeneratedPictures, EveryPictureLoadsAtItsLayoutSize) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    Bitmap b = picture(l.name);
    ASSERT_TRUE(b) << "does not load";
    EXPECT_GE(b->w, l.min_w);
    EXPECT_GE(b->h, l.min_h);
    EXPECT_LE(b->w, l.max_w);
    EXPECT_LE(b->h, l.max_h);
  }
}

TEST(GeneratedPictures, OnlyTheBeamHoldsTheBeamHitColour) {
  for (const Layout& l : kLayouts) {
    if (std::string(l.name) == "laser.bmp") continue;
    SCOPED_TRACE(l.name);
    Bitmap b = picture(l.name);
    ASSERT_TRUE(b);
    EXPECT_FALSE(holds(b.get(), beam_core(), 0, 0, b->w, b->h));
  }
  // Every beam frame must be hit-testable, horizontal and vertical alike.
  Bitmap laser = picture("laser.bmp");
  ASSERT_TRUE(laser);
  for (int f = 0; f < 7; ++f) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(holds(laser.get(), beam_core(), f * kCell, 0, kCell, kCell));
    EXPECT_TRUE(holds(laser.get(), beam_core(), f * kCell, kCell, kCell, kCell));
  }
}

TEST(GeneratedPictures, BeamRunsThroughTheMiddleOfEachCellAndShimmers) {
  Bitmap laser = picture("laser.bmp");
  ASSERT_TRUE(laser);
  for (int f = 0; f < 7; ++f) {
    SCOPED_TRACE(f);
    const int x0 = f * kCell;
    EXPECT_TRUE(corners_clear(laser.get(), x0, 0, kCell, kCell));
    EXPECT_TRUE(corners_clear(laser.get(), x0, kCell, kCell, kCell));
    // The horizontal band crosses the whole cell at mid height, the vertical one
    // runs down it at mid width, so beams join from cell to cell.
    for (int along = 0; along < kCell; ++along) {
      EXPECT_NE(getpixel(laser.get(), x0 + along, kCell / 2), magenta()) << along;
      EXPECT_NE(getpixel(laser.get(), x0 + kCell / 2, kCell + along), magenta()) << along;
    }
    if (f > 0) {
      EXPECT_GT(differing_pixels(laser.get(), x0, 0, x0 - kCell, 0, kCell, 2 * kCell), 20);
    }
  }
}

TEST(GeneratedPictures, MaskedPicturesAreSeeThroughAroundTheirShapes) {
  Bitmap sprites = picture("sprites.bmp");
  ASSERT_TRUE(sprites);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 14; ++col) {
      SCOPED_TRACE(testing::Message() << "sprite column " << col << " row " << row);
      EXPECT_TRUE(corners_clear(sprites.get(), col * kCell, row * kCell, kCell, kCell));
      EXPECT_GT(count_opaque(sprites.get(), col * kCell, row * kCell, kCell, kCell), 300);
    }
  }
  struct Strip {
    const char* name;
    int frame_w, frame_h;
  };
  for (const Strip& s : {Strip{"1PLN.bmp", 40, 40}, Strip{"2PLN.bmp", 40, 40}, Strip{"5PLN.bmp", 40, 40},
                         Strip{"bomba.bmp", 40, 40}, Strip{"wybuch.bmp", 120, 120}}) {
    Bitmap b = picture(s.name);
    ASSERT_TRUE(b) << s.name;
    for (int x = 0; x + s.frame_w <= b->w; x += s.frame_w) {
      EXPECT_TRUE(corners_clear(b.get(), x, 0, s.frame_w, s.frame_h)) << s.name << " frame at " << x;
      EXPECT_GT(count_opaque(b.get(), x, 0, s.frame_w, s.frame_h), 40) << s.name << " frame at " << x;
    }
  }
  for (const char* name : {"tarcza.bmp", "zor_life.bmp", "buty.bmp", "x_generator.bmp", "x_radar.bmp", "skarb.bmp",
                           "player.bmp", "led.bmp", "gameover.bmp", "zor_death.bmp", "rama.bmp"}) {
    Bitmap b = picture(name);
    ASSERT_TRUE(b) << name;
    EXPECT_TRUE(corners_clear(b.get(), 0, 0, b->w, b->h)) << name;
    EXPECT_GT(count_opaque(b.get(), 0, 0, b->w, b->h), b->w * b->h / 10) << name;
  }
  // The mouse arrow points with its top-left pixel.
  Bitmap arrow = picture("arrow.bmp");
  ASSERT_TRUE(arrow);
  EXPECT_NE(getpixel(arrow.get(), 0, 0), magenta());
  EXPECT_EQ(getpixel(arrow.get(), arrow->w - 1, 0), magenta());
  EXPECT_EQ(getpixel(arrow.get(), arrow->w - 1, arrow->h - 1), magenta());
}

TEST(GeneratedPictures, PlainPicturesHaveNoHoles) {
  // Walls, the portrait and the poster are blitted plain: magenta would show.
  for (const char* name : {"teren.bmp", "zorbinik.bmp", "afisz.bmp", "buttons.bmp"}) {
    Bitmap b = picture(name);
    ASSERT_TRUE(b) << name;
    EXPECT_FALSE(holds(b.get(), magenta(), 0, 0, b->w, b->h)) << name;
  }
}

TEST(GeneratedPictures, FiguresTurnWalkAndTellKindsApart) {
  Bitmap s = picture("sprites.bmp");
  ASSERT_TRUE(s);
  // Seven figures, two columns each: five ghost kinds, the hero, the hunter.
  for (int figure = 0; figure < 7; ++figure) {
    SCOPED_TRACE(testing::Message() << "figure " << figure);
    const int x = figure * 2 * kCell;
    for (int row = 0; row < 4; ++row) {
      EXPECT_GT(differing_pixels(s.get(), x, row * kCell, x + kCell, row * kCell, kCell, kCell), 10) << "frames alike";
      for (int other = row + 1; other < 4; ++other) {
        EXPECT_GT(differing_pixels(s.get(), x, row * kCell, x, other * kCell, kCell, kCell), 10)
            << "facings " << row << " and " << other << " alike";
      }
    }
  }
  // Ghost kinds differ in outline, not just in colour.
  auto silhouette_difference = [&](int a, int b) {
    int n = 0;
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x)
        n += (getpixel(s.get(), a * 2 * kCell + x, y) == magenta()) != (getpixel(s.get(), b * 2 * kCell + x, y) == magenta());
    return n;
  };
  for (int a = 0; a < 6; ++a)
    for (int b = a + 1; b < 6; ++b) EXPECT_GT(silhouette_difference(a, b), 60) << "kinds " << a << " and " << b;
}

// Mean position of the pixels in a cell that pass a test; count of them too.
struct Spot {
  double x = 0, y = 0;
  int count = 0;
};

template <class Pick>
Spot spot(BITMAP* b, int x0, int y0, Pick pick) {
  Spot s;
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x)
      if (pick(getpixel(b, x0 + x, y0 + y))) s.x += x, s.y += y, ++s.count;
  if (s.count) s.x /= s.count, s.y /= s.count;
  return s;
}

enum Row { kRight, kDown, kLeft, kUp };

TEST(GeneratedPictures, FiguresLookTheWayTheirRowSays) {
  Bitmap s = picture("sprites.bmp");
  ASSERT_TRUE(s);
  // Ghost eyes: white, or the wraith's green glow; the hunter's white claws
  // reach the same way it looks.
  auto eye = [](int c) {
    int r = getr(c), g = getg(c), b = getb(c);
    return c != magenta() && ((r > 215 && g > 215 && b > 215) || (g > 230 && r > 150 && b < 160));
  };
  for (int column : {0, 2, 4, 6, 8, 12}) {
    SCOPED_TRACE(testing::Message() << "column " << column);
    for (int frame = 0; frame < 2; ++frame) {
      const int x = (column + frame) * kCell;
      Spot right = spot(s.get(), x, kRight * kCell, eye), left = spot(s.get(), x, kLeft * kCell, eye);
      Spot down = spot(s.get(), x, kDown * kCell, eye), up = spot(s.get(), x, kUp * kCell, eye);
      ASSERT_GT(right.count, 0);
      ASSERT_GT(down.count, 0);
      EXPECT_GT(right.x, left.x + 3);
      EXPECT_GT(down.y, up.y + 1);
    }
  }
  // The hero shows his face turned the way he walks, and the back of his head going up.
  auto skin = [](int c) {
    int r = getr(c), g = getg(c), b = getb(c);
    return r > 200 && g >= 150 && g <= 215 && b >= 110 && b <= 175 && r > g && g > b;
  };
  for (int frame = 0; frame < 2; ++frame) {
    const int x = (10 + frame) * kCell;
    Spot right = spot(s.get(), x, kRight * kCell, skin), left = spot(s.get(), x, kLeft * kCell, skin);
    Spot down = spot(s.get(), x, kDown * kCell, skin), up = spot(s.get(), x, kUp * kCell, skin);
    EXPECT_GT(right.x, 20);
    EXPECT_LT(left.x, 20);
    EXPECT_GT(down.count, 3 * up.count);
  }
}

// Middle of the box around everything drawn in a cell.
Spot box_middle(BITMAP* b, int x0, int y0) {
  int left = kCell, right = -1, top = kCell, bottom = -1;
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x)
      if (getpixel(b, x0 + x, y0 + y) != magenta()) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return {(left + right) / 2.0, (top + bottom) / 2.0, right >= 0};
}

TEST(GeneratedPictures, ThingsSitInTheMiddleOfTheirSquares) {
  struct Strip {
    const char* name;
    int frames;
  };
  for (const Strip& strip : {Strip{"1PLN.bmp", 12}, Strip{"2PLN.bmp", 12}, Strip{"5PLN.bmp", 12}, Strip{"tarcza.bmp", 1},
                             Strip{"zor_life.bmp", 1}, Strip{"buty.bmp", 1}, Strip{"x_generator.bmp", 1},
                             Strip{"x_radar.bmp", 1}, Strip{"skarb.bmp", 1}, Strip{"bomba.bmp", 1}}) {
    Bitmap b = picture(strip.name);
    ASSERT_TRUE(b) << strip.name;
    for (int f = 0; f < strip.frames; ++f) {
      Spot middle = box_middle(b.get(), f * kCell, 0);
      EXPECT_NEAR(middle.x, 19.5, 3) << strip.name << " frame " << f;
      EXPECT_NEAR(middle.y, 19.5, 3) << strip.name << " frame " << f;
    }
  }
  // Figures stand in the middle of their cells when seen from the front or back.
  Bitmap s = picture("sprites.bmp");
  ASSERT_TRUE(s);
  for (int col = 0; col < 14; ++col) {
    for (int row : {kDown, kUp}) {
      Spot middle = box_middle(s.get(), col * kCell, row * kCell);
      EXPECT_NEAR(middle.x, 19.5, 2) << "column " << col << " row " << row;
      EXPECT_NEAR(middle.y, 19.5, 3) << "column " << col << " row " << row;
    }
  }
}

TEST(GeneratedPictures, AnimationsChangeFromFrameToFrame) {
  Bitmap coin = picture("5PLN.bmp");
  ASSERT_TRUE(coin);
  // A spinning coin: its width swings from a full face to nearly its edge.
  int widest = 0, narrowest = kCell;
  for (int f = 0; f < 12; ++f) {
    int left = kCell, right = -1;
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x)
        if (getpixel(coin.get(), f * kCell + x, y) != magenta()) left = std::min(left, x), right = std::max(right, x);
    widest = std::max(widest, right - left + 1);
    narrowest = std::min(narrowest, right - left + 1);
  }
  EXPECT_GE(widest, 26);
  EXPECT_LE(narrowest, 10);
  // The three coins can be told apart face on.
  Bitmap one = picture("1PLN.bmp"), two = picture("2PLN.bmp");
  ASSERT_TRUE(one && two);
  auto faces_differ = [](BITMAP* a, BITMAP* b) {
    int n = 0;
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
  };
  EXPECT_GT(faces_differ(one.get(), two.get()), 200);
  EXPECT_GT(faces_differ(two.get(), coin.get()), 200);
  EXPECT_GT(faces_differ(one.get(), coin.get()), 200);

  Bitmap bomb = picture("bomba.bmp");
  ASSERT_TRUE(bomb);
  for (int a = 0; a < 5; ++a)
    for (int b = a + 1; b < 5; ++b) EXPECT_GT(differing_pixels(bomb.get(), a * kCell, 0, b * kCell, 0, kCell, kCell), 10);

  // The blast blooms, then fades.
  Bitmap blast = picture("wybuch.bmp");
  ASSERT_TRUE(blast);
  std::vector<int> area;
  for (int f = 0; f < 5; ++f) area.push_back(count_opaque(blast.get(), f * 120, 0, 120, 120));
  for (int f = 0; f < 5; ++f) {
    Spot middle;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x)
        if (getpixel(blast.get(), f * 120 + x, y) != magenta()) middle.x += x, middle.y += y, ++middle.count;
    EXPECT_NEAR(middle.x / middle.count, 60, 8) << "frame " << f;
    EXPECT_NEAR(middle.y / middle.count, 60, 8) << "frame " << f;
  }
  EXPECT_LT(area[0], area[1]);
  EXPECT_LT(area[1], area[2]);
  EXPECT_LT(area[4], area[2]);
}

TEST(GeneratedPictures, WallTilesAreAllDifferent) {
  Bitmap t = picture("teren.bmp");
  ASSERT_TRUE(t);
  for (int a = 0; a < 26; ++a)
    for (int b = a + 1; b < 26; ++b)
      EXPECT_GT(differing_pixels(t.get(), a * kCell, 0, b * kCell, 0, kCell, kCell), 400) << a << " vs " << b;
}

TEST(GeneratedPictures, LetterSheetHoldsBrightDistinctGlyphsWithWBeforeV) {
  Bitmap a = picture("alfabet.bmp");
  ASSERT_TRUE(a);
  constexpr int kW = 16, kH = 28;
  for (int k = 0; k < 36; ++k) {
    SCOPED_TRACE(testing::Message() << "glyph " << k + 1);
    bool bright = false;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        int c = getpixel(a.get(), k * kW + x, y);
        bright = bright || (c != magenta() && brightness(c) > 180);
      }
    EXPECT_TRUE(bright);
    EXPECT_LT(count_opaque(a.get(), k * kW, 0, kW, kH), kW * kH * 7 / 8) << "no see-through background";
    for (int other = k + 1; other < 36; ++other) EXPECT_GT(differing_pixels(a.get(), k * kW, 0, other * kW, 0, kW, kH), 8);
  }
  // The gap strip after the last glyph carries no letter ink.
  for (int y = 0; y < kH; ++y) {
    for (int x = 576; x < 578; ++x) {
      int c = getpixel(a.get(), x, y);
      EXPECT_TRUE(c == magenta() || brightness(c) < 180) << x << "," << y;
    }
  }
  // Code 22 is W, wide at its foot; code 23 is V, narrow there.
  auto foot_width = [&](int code) {
    for (int y = kH - 1; y >= 0; --y) {
      int left = kW, right = -1;
      for (int x = 0; x < kW; ++x) {
        int c = getpixel(a.get(), (code - 1) * kW + x, y);
        if (c != magenta() && brightness(c) > 120) left = std::min(left, x), right = std::max(right, x);
      }
      if (right >= 0) return right - left + 1;
    }
    return 0;
  };
  EXPECT_GT(foot_width(22), foot_width(23) + 4);
}

TEST(GeneratedPictures, MenuAndPanelsLeaveRoomForTheGamesText) {
  Bitmap buttons = picture("buttons.bmp");
  ASSERT_TRUE(buttons);
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(differing_pixels(buttons.get(), i * 270, 0, i * 270, 52, 270, 52), 500) << "button " << i << " highlight";
    double normal = 0, lit = 0;
    for (int y = 0; y < 52; ++y)
      for (int x = 0; x < 270; ++x) {
        normal += brightness(getpixel(buttons.get(), i * 270 + x, y));
        lit += brightness(getpixel(buttons.get(), i * 270 + x, 52 + y));
      }
    EXPECT_GT(lit, normal * 1.3) << "button " << i << " does not light up";
    for (int j = i + 1; j < 4; ++j) EXPECT_GT(differing_pixels(buttons.get(), i * 270, 0, j * 270, 0, 270, 52), 200);
  }
  // Labels sit in the middle of their buttons, lit or not.
  for (int i = 0; i < 8; ++i) {
    int left = 270, right = -1, top = 52, bottom = -1;
    const int x0 = (i % 4) * 270, y0 = (i / 4) * 52;
    for (int y = 0; y < 52; ++y)
      for (int x = 0; x < 270; ++x)
        if (getr(getpixel(buttons.get(), x0 + x, y0 + y)) > 200) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    ASSERT_GE(right, 0) << "button " << i << " has no label";
    EXPECT_NEAR((left + right) / 2.0, 135, 4) << "button " << i;
    EXPECT_NEAR((top + bottom) / 2.0, 26, 5) << "button " << i;
  }
  // Pictures the game centres on the screen are drawn centred in themselves.
  for (const char* name : {"gameover.bmp", "player.bmp"}) {
    Bitmap b = picture(name);
    ASSERT_TRUE(b) << name;
    int left = b->w, right = -1;
    for (int y = 0; y < b->h; ++y)
      for (int x = 0; x < b->w; ++x)
        if (getpixel(b.get(), x, y) != magenta()) left = std::min(left, x), right = std::max(right, x);
    EXPECT_NEAR((left + right) / 2.0, b->w / 2.0, 10) << name;
  }
  // The name is typed on the LED field at (48, 8), 275 x 38: dark and solid.
  Bitmap led = picture("led.bmp");
  ASSERT_TRUE(led);
  EXPECT_FALSE(holds(led.get(), magenta(), 48, 8, 275, 38));
  double sum = 0;
  for (int y = 8; y < 46; ++y)
    for (int x = 48; x < 323; ++x) sum += brightness(getpixel(led.get(), x, y));
  EXPECT_LT(sum / (275 * 38), 50);
  // LEVEL UP and the level number are drawn over the frame's middle.
  Bitmap frame = picture("rama.bmp");
  ASSERT_TRUE(frame);
  sum = 0;
  for (int y = 70; y < 160; ++y)
    for (int x = 70; x < 200; ++x) {
      ASSERT_NE(getpixel(frame.get(), x, y), magenta());
      sum += brightness(getpixel(frame.get(), x, y));
    }
  EXPECT_LT(sum / (90 * 130), 70);
}

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string sound_path(const std::string& name) { return std::string(GAME_DIR) + "/_sample/" + name + ".wav"; }

struct SoundLimits {
  std::string name;
  double min_s, max_s;
};

std::vector<SoundLimits> sounds() {
  std::vector<SoundLimits> all;
  for (int i = 1; i <= 10; ++i) {
    all.push_back({"music" + std::to_string(i), 3.0, 8.0});
    all.push_back({"strach" + std::to_string(i), 1.0, 3.0});
  }
  for (const char* name : {"krzyk1", "krzyk2", "krzyk3", "smiech1", "smiech2", "krzyk_smiech", "see1", "see2", "x_coin",
                           "x_shield", "x_dynamite", "x_shoes", "x_life", "x_treasure", "x_generator", "x_radar", "bzz",
                           "suw", "explo", "levelup", "newroom"}) {
    all.push_back({name, 0.1, 3.0});
  }
  all.push_back({"alarm", 0.7, 1.5});
  all.push_back({"wiazka", 0.1, 0.3});  // restarts every frame while the beam is on
  return all;
}

TEST(GeneratedSounds, EverySoundLoadsAsShortCleanMono16Bit) {
  for (const SoundLimits& s : sounds()) {
    SCOPED_TRACE(s.name);
    SAMPLE* sample = load_sample(sound_path(s.name).c_str());
    ASSERT_NE(sample, nullptr) << "does not load";
    EXPECT_EQ(sample->bits, 16);
    EXPECT_EQ(sample->stereo, 0);
    EXPECT_EQ(sample->freq, 22050);
    const double seconds = double(sample->len) / sample->freq;
    EXPECT_GE(seconds, s.min_s);
    EXPECT_LE(seconds, s.max_s);
    // Allegro keeps 16-bit samples unsigned, centred on 0x8000.
    const auto* data = static_cast<const unsigned short*>(sample->data);
    auto value = [&](unsigned long i) { return int(data[i]) - 0x8000; };
    int peak = 0;
    for (unsigned long i = 0; i < sample->len; ++i) peak = std::max(peak, std::abs(value(i)));
    EXPECT_GT(peak, 3000) << "nearly silent";
    EXPECT_LT(peak, 32000) << "clipped";
    // No click at either end.
    EXPECT_LT(std::abs(value(0)), 300);
    EXPECT_LT(std::abs(value(sample->len - 1)), 300);
    destroy_sample(sample);
  }
}


std::set<std::string> files_under(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) names.insert(fs::relative(e.path(), dir).string());
  return names;
}

// The layout of each file is the game's to check: its sound check accepts nothing else, and the
// game's tests load every generated sound through it.
TEST(GeneratedSounds, FilesAreDistinctAndSmall) {
  std::set<std::string> contents;
  std::size_t total = 0;
  for (const SoundLimits& s : sounds()) {
    SCOPED_TRACE(s.name);
    const std::string d = read_file(sound_path(s.name));
    ASSERT_GE(d.size(), 44u);
    total += d.size();
    EXPECT_TRUE(contents.insert(d.substr(44)).second) << "the same sound as another file";
  }
  EXPECT_LT(total, 8u << 20) << "sounds take too much room";
}

// Signed samples of a sound, read through Allegro as the game reads them.
std::vector<int> samples_of(const std::string& name) {
  std::vector<int> out;
  SAMPLE* s = load_sample(sound_path(name).c_str());
  if (!s) return out;
  const auto* data = static_cast<const unsigned short*>(s->data);
  for (unsigned long i = 0; i < s->len; ++i) out.push_back(int(data[i]) - 0x8000);
  destroy_sample(s);
  return out;
}

// Sign changes per second over a quarter of a sound: a rough pitch.
double crossings(const std::vector<int>& s, int quarter) {
  const std::size_t from = s.size() * quarter / 4, to = s.size() * (quarter + 1) / 4;
  int n = 0;
  for (std::size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
  return n * 22050.0 / (to - from);
}

double loudness(const std::vector<int>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / (to - from));
}

TEST(GeneratedSounds, SoundsMoveTheWayTheirMomentsDo) {
  // A ghost spotting the hero rises; the blast scream and the beam zap fall.
  for (const char* name : {"see1", "see2", "x_shield", "x_generator"}) {
    std::vector<int> s = samples_of(name);
    ASSERT_FALSE(s.empty()) << name;
    EXPECT_GT(crossings(s, 3), 1.3 * crossings(s, 0)) << name << " does not rise";
  }
  for (const char* name : {"krzyk1", "wiazka"}) {
    std::vector<int> s = samples_of(name);
    ASSERT_FALSE(s.empty()) << name;
    EXPECT_GT(crossings(s, 0), 1.3 * crossings(s, 3)) << name << " does not fall";
  }
  // The explosion bursts and rumbles away.
  std::vector<int> boom = samples_of("explo");
  ASSERT_GT(boom.size(), 22050u);
  EXPECT_GT(loudness(boom, 0, 6615), 5 * loudness(boom, boom.size() - 6615, boom.size()));
  // The alarm is a row of separate beeps.
  std::vector<int> alarm = samples_of("alarm");
  ASSERT_FALSE(alarm.empty());
  int beeps = 0;
  bool sounding = false;
  for (std::size_t at = 0; at + 110 <= alarm.size(); at += 110) {
    bool loud = loudness(alarm, at, at + 110) > 2000;
    beeps += loud && !sounding;
    sounding = loud;
  }
  EXPECT_GE(beeps, 6);
}

constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

std::string icon_name(int size) {
  return "icons/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/ghostmaze.png";
}

struct Rgba {
  int w = 0, h = 0;
  std::vector<unsigned char> pixels;  // R, G, B, A row by row
  int alpha(int x, int y) const { return pixels[(static_cast<std::size_t>(y) * w + x) * 4 + 3]; }
};

std::uint32_t big_endian(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = at; i < at + 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[i]);
  return v;
}

// Reads an 8-bit RGBA PNG of unfiltered rows in stored deflate blocks, as the generator writes
// it; anything else leaves the result empty.
Rgba read_icon(const fs::path& path) {
  const std::string png = read_file(path);
  Rgba icon;
  std::vector<unsigned char> zlib;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = big_endian(png, at);
    const std::string type(png.begin() + static_cast<long>(at + 4), png.begin() + static_cast<long>(at + 8));
    if (at + 12 + length > png.size()) return {};
    if (type == "IHDR" && (png[at + 16] != 8 || png[at + 17] != 6)) return {};  // 8-bit RGBA
    if (type == "IHDR") icon.w = static_cast<int>(big_endian(png, at + 8)), icon.h = static_cast<int>(big_endian(png, at + 12));
    if (type == "IDAT") zlib.insert(zlib.end(), png.begin() + static_cast<long>(at + 8), png.begin() + static_cast<long>(at + 8 + length));
    at += 12 + length;
  }
  std::vector<unsigned char> raw;
  for (std::size_t at = 2; at + 5 <= zlib.size();) {
    const std::size_t n = zlib[at + 1] | (zlib[at + 2] << 8);
    if ((zlib[at] & 6) != 0 || at + 5 + n > zlib.size()) return {};
    raw.insert(raw.end(), zlib.begin() + static_cast<long>(at + 5), zlib.begin() + static_cast<long>(at + 5 + n));
    if (zlib[at] & 1) break;
    at += 5 + n;
  }
  const std::size_t row = static_cast<std::size_t>(icon.w) * 4 + 1;
  if (icon.w <= 0 || raw.size() != row * icon.h) return {};
  for (std::size_t at = 0; at < raw.size(); at += row) {
    if (raw[at] != 0) return {};
    icon.pixels.insert(icon.pixels.end(), raw.begin() + static_cast<long>(at + 1), raw.begin() + static_cast<long>(at + row));
  }
  return icon;
}

// Every theme size: square at its size, clear in the corners, solid in the middle, with a
// soft rim (partly clear pixels) and the figures showing as more than a few flat colours.
TEST(GeneratedIcons, EverySizeIsARoundTileWithSoftEdges) {
  for (int size : kIconSizes) {
    SCOPED_TRACE(size);
    const Rgba icon = read_icon(fs::path(GAME_DIR) / icon_name(size));
    ASSERT_EQ(icon.w, size);
    ASSERT_EQ(icon.h, size);
    EXPECT_EQ(icon.alpha(0, 0) + icon.alpha(size - 1, 0) + icon.alpha(0, size - 1) + icon.alpha(size - 1, size - 1), 0);
    EXPECT_EQ(icon.alpha(size / 2, size / 2), 255);
    int soft = 0;
    std::set<std::uint32_t> colours;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        soft += icon.alpha(x, y) > 0 && icon.alpha(x, y) < 255;
        const unsigned char* p = &icon.pixels[(static_cast<std::size_t>(y) * size + x) * 4];
        if (p[3] == 255) colours.insert(static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]));
      }
    }
    EXPECT_GT(soft, size / 2);
    EXPECT_GT(colours.size(), 8u);
  }
}

class GeneratorRun : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("genassets_test_" + std::to_string(getpid()));
    fs::remove_all(base_);
    fs::create_directories(base_);
  }
  void TearDown() override { fs::remove_all(base_); }

  static int run(const std::string& args) {
    return std::system((std::string("\"") + GENASSETS + "\" " + args + " 2>/dev/null").c_str());
  }

  fs::path base_;
};

TEST_F(GeneratorRun, TwoRunsWriteTheSameBytesAsTheBuild) {
  const fs::path first = base_ / "first", second = base_ / "second";
  ASSERT_EQ(run("\"" + first.string() + "\""), 0);
  ASSERT_EQ(run("\"" + second.string() + "\""), 0);
  const std::set<std::string> names = files_under(first);
  EXPECT_EQ(names, files_under(second));
  // Every sound and picture, and the desktop icon at each size.
  EXPECT_EQ(names.size(), sounds().size() + std::size(kLayouts) + std::size(kIconSizes));
  for (int size : kIconSizes) EXPECT_EQ(names.count(icon_name(size)), 1u) << size;
  for (const std::string& name : names) EXPECT_TRUE(read_file(first / name) == read_file(second / name)) << name;
  // The build's own copy is the same as a fresh one.
  for (const Layout& l : kLayouts) {
    const std::string name = std::string("_bmp/") + l.name;
    EXPECT_TRUE(read_file(first / name) == read_file(fs::path(GAME_DIR) / name)) << name;
  }
}

TEST_F(GeneratorRun, FailsLoudlyWithoutAUsableFolder) {
  EXPECT_NE(run(""), 0);
  const fs::path blocker = base_ / "a_file";
  std::ofstream(blocker) << "not a folder";
  EXPECT_NE(run("\"" + (blocker / "game").string() + "\""), 0);
}

}  // namespace
