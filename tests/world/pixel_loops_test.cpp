// The game's own pixel loops against the library calls they stand for: random pictures with
// see-through pixels, scattered and in long runs, laid, copied and filled at the offsets, sizes
// and clip rectangles the frame uses; every bit of every pixel must be the same.
#include "world/pixel_loops.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {

constexpr std::uint32_t MAGENTA = 0xFF00FF;

std::uint32_t noise = 12345;
std::uint32_t next()
{
    noise = noise * 1103515245u + 12345u;
    return noise >> 4;
}

// Colours a bit away from see-through, and the extremes: each must be drawn, never skipped.
constexpr std::uint32_t EDGE_COLOURS[] = {0xFF00FE, 0xFE00FF, 0xFF01FF, 0x01FF00FF, 0xFFFF00FF, 0x000000, 0xFFFFFF};

// Any 32-bit pixels, high byte too, and among them the edge colours. Every third band of 24 rows
// is see-through with a few pixels shown; elsewhere one pixel in five is see-through.
BITMAP* randomPicture(int width, int height)
{
    BITMAP* picture = create_bitmap_ex(32, width, height);
    for (int y = 0; y < height; ++y) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(picture->line[y]);
        const bool mostlySeeThrough = y / 24 % 3 == 0;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t value = next() ^ next() << 16;
            const bool seeThrough = mostlySeeThrough ? value % 97 != 0 : value % 5 == 0;
            const bool edge = value % 7 == 1;
            pixels[x] = seeThrough ? MAGENTA : edge ? EDGE_COLOURS[value / 7 % std::size(EDGE_COLOURS)] : value;
        }
    }
    return picture;
}

BITMAP* copyOf(BITMAP* picture)
{
    BITMAP* copy = create_bitmap_ex(32, picture->w, picture->h);
    blit(picture, copy, 0, 0, 0, 0, picture->w, picture->h);
    return copy;
}

int differingPixels(BITMAP* a, BITMAP* b)
{
    int differing = 0;
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(a->line[y], b->line[y], 4 * a->w) != 0)
            for (int x = 0; x < a->w; ++x)
                differing += std::memcmp(a->line[y] + 4 * x, b->line[y] + 4 * x, 4) != 0;
    return differing;
}

struct Clip {
    int left, top, right, bottom;  // inclusive, as set_clip_rect takes them; right < 0: the whole target
};
constexpr Clip WHOLE = {0, 0, -1, -1};

void clipTo(BITMAP* target, const Clip& clip)
{
    if (clip.right >= 0) set_clip_rect(target, clip.left, clip.top, clip.right, clip.bottom);
}

struct LayCase {
    const char* what;
    int width, height, alpha, x, y;
    Clip clip;
};

const LayCase LAYS[] = {
    {"the glow over the view", 1280, 640, 200, 0, 40, WHOLE},
    {"the darkness over the view", 1280, 640, 120, 0, 40, WHOLE},
    {"a band of the world-size fog", 1730, 917, 200, -233, 40 - 171, {37, 80, 1003, 119}},
    {"the fog's last band, cut by the bottom strip", 1730, 917, 200, -233, 40 - 171, {0, 660, 1279, 679}},
    {"a band of the message ring", 1730, 917, 125, -233, 40 - 300, {0, 300, 1279, 333}},
    {"the radar at level 60", 819, 675, 150, 1280 - 819 - 10, 720 - 675 - 50, {0, 40, 1279, 679}},
    {"a bomb's disc over the top-left corner", 301, 301, 40, -37, -150, WHOLE},
    {"a flash off the bottom-right corner", 301, 301, 60, 1100, 601, WHOLE},
    {"a narrow picture, no whole run", 37, 50, 255, 13, 9, WHOLE},
    {"alpha zero", 200, 100, 0, 5, 5, WHOLE},
    {"a picture beside the clip rectangle", 100, 100, 200, 0, 0, {200, 200, 400, 400}},
};

class PixelLoops : public HeadlessTest {};

TEST_F(PixelLoops, TheTranslucentLayGivesTheLibrarysPixels)
{
    for (const LayCase& lay : LAYS) {
        BITMAP* layer = randomPicture(lay.width, lay.height);
        BITMAP* expected = randomPicture(1280, 720);
        BITMAP* laid = copyOf(expected);
        clipTo(expected, lay.clip);
        clipTo(laid, lay.clip);
        set_trans_blender(255, 255, 0, lay.alpha);
        draw_trans_sprite(expected, layer, lay.x, lay.y);
        layTranslucent(laid, layer, lay.alpha, lay.x, lay.y);
        EXPECT_EQ(differingPixels(laid, expected), 0) << lay.what;
        for (BITMAP* b : {layer, expected, laid}) destroy_bitmap(b);
    }
}

TEST_F(PixelLoops, TheTranslucentDiscIsTheLibrarysDiscLaidOver)
{
    // A bomb's glow within the clip rectangle, a flash cut by its corner, a disc beside it.
    const Disc discs[] = {{600, 300, 120, makecol(250, 70, 0)}, {30, 690, 150, makecol(200, 100, 0)},
                          {-200, 300, 120, makecol(1, 2, 3)}};
    const Clip clip = {20, 40, 1259, 679};
    for (const Disc& disc : discs)
        for (int alpha : {40, 60}) {
            BITMAP* picture = create_bitmap(1280, 720);
            clear_to_color(picture, makecol(255, 0, 255));
            circlefill(picture, disc.x, disc.y, disc.radius, disc.colour);
            BITMAP* expected = randomPicture(1280, 720);
            BITMAP* laid = copyOf(expected);
            clipTo(expected, clip);
            clipTo(laid, clip);
            set_trans_blender(0, 0, 0, alpha);
            draw_trans_sprite(expected, picture, 0, 0);
            layTranslucentDisc(laid, disc, alpha);
            EXPECT_EQ(differingPixels(laid, expected), 0) << disc.x << ", " << disc.y << " at alpha " << alpha;
            for (BITMAP* b : {picture, expected, laid}) destroy_bitmap(b);
        }
}

struct CopyCase {
    const char* what;
    int sourceWidth, sourceHeight, sourceX, sourceY, x, y, width, height;
    Clip clip;
};

const CopyCase COPIES[] = {
    {"the walls within the view", 2917, 1513, 811, 433, 0, 0, 1280, 640, WHOLE},
    {"the world picture into the band between the strips", 1280, 640, 0, 0, 0, 40, 1280, 640, WHOLE},
    {"a beam piece whose source lies left of the picture", 280, 80, -80, 40, 500, 300, 40, 40, WHOLE},
    {"a source cut partly on the left", 280, 80, -13, 20, 500, 300, 40, 40, WHOLE},
    {"a source cut partly at the top", 280, 80, 30, -7, 500, 300, 40, 40, WHOLE},
    {"a sprite over the top-left corner", 560, 160, 80, 40, -17, -23, 40, 40, WHOLE},
    {"a sprite off the bottom-right corner", 560, 160, 80, 40, 1263, 701, 40, 40, WHOLE},
    {"a copy wider than its source", 100, 90, 30, 20, 7, 3, 400, 400, WHOLE},
    {"a copy cut by the clip rectangle", 1280, 640, 0, 0, 0, 40, 1280, 640, {100, 90, 1100, 600}},
    {"a source corner beyond the picture", 100, 100, 100, 0, 0, 0, 40, 40, WHOLE},
    {"a target corner beyond the clip rectangle", 100, 100, 0, 0, 300, 0, 40, 40, {0, 0, 299, 719}},
};

TEST_F(PixelLoops, TheMaskedCopyGivesTheLibrarysPixels)
{
    for (const CopyCase& copy : COPIES) {
        BITMAP* source = randomPicture(copy.sourceWidth, copy.sourceHeight);
        BITMAP* expected = randomPicture(1280, 720);
        BITMAP* copied = copyOf(expected);
        clipTo(expected, copy.clip);
        clipTo(copied, copy.clip);
        masked_blit(source, expected, copy.sourceX, copy.sourceY, copy.x, copy.y, copy.width, copy.height);
        copyMasked(source, copied, copy.sourceX, copy.sourceY, copy.x, copy.y, copy.width, copy.height);
        EXPECT_EQ(differingPixels(copied, expected), 0) << copy.what;
        for (BITMAP* b : {source, expected, copied}) destroy_bitmap(b);
    }
}

TEST_F(PixelLoops, TheRectanglesAreTheLibrarysWithinTheClipRectangle)
{
    struct Rectangle {
        int x1, y1, x2, y2;
    };
    // Wall shadows and block shadows as the background draws them: runs of cells, single rows,
    // corners given either way round, and over and beyond every edge.
    const Rectangle rectangles[] = {{41, 83, 203, 121},  {41, 81, 161, 81},   {-30, 600, 50, 660}, {1270, -5, 1300, 3},
                                    {500, 300, 460, 250}, {5, 700, 9, 800},    {1300, 10, 1400, 20}, {7, 7, 7, 7}};
    for (const Clip& clip : {WHOLE, Clip{3, 5, 1000, 321}}) {
        BITMAP* expected = randomPicture(1280, 640);
        BITMAP* filled = copyOf(expected);
        clipTo(expected, clip);
        clipTo(filled, clip);
        int colour = 0x102030;
        for (const Rectangle& r : rectangles) {
            rectfill(expected, r.x1, r.y1, r.x2, r.y2, colour);
            fillRectangle(filled, r.x1, r.y1, r.x2, r.y2, colour);
            colour += 0x030201;
        }
        EXPECT_EQ(differingPixels(filled, expected), 0) << clip.right;
        for (BITMAP* b : {expected, filled}) destroy_bitmap(b);
    }
}

struct ComposeCase {
    const char* what;
    int width, height, x, y;
    Clip clip;
};

const ComposeCase COMPOSES[] = {
    {"the view between the strips", 1280, 640, 0, 40, WHOLE},
    {"a view cut by the clip rectangle", 1280, 640, 0, 40, {101, 77, 1002, 500}},
    {"a narrow view off the target's corner", 37, 45, 1260, 700, WHOLE},
    {"a view left of and above the target", 300, 200, -31, -17, WHOLE},
};

// Where the glow is drawn, as the sprites, explosions and beam pieces draw it: overlapping, on
// block edges and off the picture's edges.
struct Drawing {
    int x, y, width, height;
};
const Drawing GLOW_DRAWINGS[] = {{0, 0, 40, 40},      {30, 20, 40, 40},    {63, 300, 40, 40},    {100, 100, 301, 301},
                                 {1250, 620, 40, 40}, {-17, 500, 40, 40},  {640, -25, 40, 40},   {1023, 0, 1, 640}};

// A see-through layer of the given size with random pictures where the glow is drawn, and
// those places marked.
BITMAP* drawnGlow(int width, int height, DrawnBlocks& drawn)
{
    BITMAP* glow = create_bitmap_ex(32, width, height);
    clear_to_color(glow, MAGENTA);
    drawn.clear();
    for (const Drawing& d : GLOW_DRAWINGS) {
        BITMAP* sprite = randomPicture(d.width, d.height);
        blit(sprite, glow, 0, 0, d.x, d.y, d.width, d.height);
        drawn.mark(d.x, d.y, d.x + d.width, d.y + d.height);
        destroy_bitmap(sprite);
    }
    return glow;
}

// Fog squares as the maze lays them: 41-pixel rows of them overlapping by a pixel row, runs a
// pixel apart or touching, a row with none, runs and rows over every edge of the picture.
void squareFog(FogSquares& fog, int width, int height)
{
    fog = FogSquares{};
    fog.colour = 0;
    fog.alpha = 200;
    for (int top = -23; top < height; top += 40) {
        fog.addRow(top, top + 41);
        if ((top + 23) % 120 == 80) continue;
        const int widths[] = {41, 121, 122, 123};  // one pixel apart from the next run, or touching it
        int k = top / 40 + 1;
        for (int left = -17 + (top + 23) % 80; left < width; left += 123) fog.addRun(left, left + widths[k++ % 4]);
    }
}

// The library's lay of a picture of the fog's squares, drawn with rectfill, at (x, y).
void layFogAsTheLibraryDoes(BITMAP* target, const FogSquares& fog, int x, int y, int width, int height)
{
    BITMAP* picture = create_bitmap_ex(32, width, height);
    clear_to_color(picture, MAGENTA);
    for (int i = 0; i < fog.rowCount; ++i)
        for (int k = 0; k < fog.rows[i].runCount; ++k)
            rectfill(picture, fog.rows[i].runs[k].left, fog.rows[i].top, fog.rows[i].runs[k].right - 1,
                     fog.rows[i].bottom - 1, fog.colour);
    set_trans_blender(0, 0, 0, fog.alpha);
    draw_trans_sprite(target, picture, x, y);
    destroy_bitmap(picture);
}

TEST_F(PixelLoops, TheComposedViewIsTheLibrarysCopyAndLaysInTurn)
{
    static DrawnBlocks drawn;
    static FogSquares fog;
    for (const ComposeCase& compose : COMPOSES) {
        BITMAP* picture = randomPicture(compose.width, compose.height);
        DiscPicture darkness;
        darkness.background = 0x0A0B0C;
        darkness.discs[0] = {compose.width / 2, compose.height / 3, 300, 0x141414};
        darkness.discs[1] = {compose.width / 2, compose.height / 3, 200, static_cast<int>(MAGENTA)};
        darkness.discCount = 2;
        ViewLights lights;
        lights.glow = drawnGlow(compose.width, compose.height, drawn);
        lights.glowDrawn = &drawn;
        lights.glowAlpha = 200;
        lights.darkness = &darkness;
        lights.darknessAlpha = 120;
        squareFog(fog, compose.width, compose.height);
        lights.fog = &fog;

        BITMAP* dark = create_bitmap_ex(32, compose.width, compose.height);
        clear_to_color(dark, darkness.background);
        for (int i = 0; i < darkness.discCount; ++i) {
            const Disc& d = darkness.discs[i];
            circlefill(dark, d.x, d.y, d.radius, d.colour);
        }
        BITMAP* expected = randomPicture(1280, 720);
        BITMAP* composed = copyOf(expected);
        clipTo(expected, compose.clip);
        clipTo(composed, compose.clip);
        masked_blit(picture, expected, 0, 0, compose.x, compose.y, picture->w, picture->h);
        set_trans_blender(0, 0, 0, lights.glowAlpha);
        draw_trans_sprite(expected, lights.glow, compose.x, compose.y);
        set_trans_blender(0, 0, 0, lights.darknessAlpha);
        draw_trans_sprite(expected, dark, compose.x, compose.y);
        layFogAsTheLibraryDoes(expected, fog, compose.x, compose.y, compose.width, compose.height);
        composeView(composed, picture, lights, compose.x, compose.y);
        EXPECT_EQ(differingPixels(composed, expected), 0) << compose.what;
        for (BITMAP* b : {picture, lights.glow, dark, expected, composed}) destroy_bitmap(b);
    }
}

TEST_F(PixelLoops, WipingTheDrawnBlocksLeavesTheWholeLayerSeeThroughAndForgetsThem)
{
    static DrawnBlocks drawn;
    BITMAP* glow = drawnGlow(1280, 640, drawn);
    BITMAP* wiped = create_bitmap_ex(32, 1280, 640);
    clear_to_color(wiped, MAGENTA);
    wipeDrawn(glow, drawn, MAGENTA);
    EXPECT_EQ(differingPixels(glow, wiped), 0);
    int spans = 0;
    for (int y = 0; y < 640; ++y) drawn.forEachSpan(y, [&](int, int) { ++spans; });
    EXPECT_EQ(spans, 0);
    for (BITMAP* b : {glow, wiped}) destroy_bitmap(b);
}

TEST(DrawnBlocks, SpansAreTheMarkedBlocksJoinedAndCutToTheView)
{
    static DrawnBlocks drawn;
    drawn.mark(10, 5, 20, 6);      // blocks 0 and 1
    drawn.mark(32, 5, 33, 6);      // block 2, joining them
    drawn.mark(1000, 5, 1040, 6);  // blocks 62 to 64, across a word's edge
    drawn.mark(1270, 5, 1400, 6);  // the last block, cut at the view's edge
    drawn.mark(-50, 7, -1, 9);     // left of the view: nothing
    std::vector<std::pair<int, int>> spans;
    for (int y = 4; y <= 8; ++y) drawn.forEachSpan(y, [&](int left, int right) { spans.emplace_back(left, right); });
    const std::vector<std::pair<int, int>> expected = {{0, 48}, {992, 1040}, {1264, 1280}};
    EXPECT_EQ(spans, expected);
    drawn.markAll();
    spans.clear();
    drawn.forEachSpan(639, [&](int left, int right) { spans.emplace_back(left, right); });
    EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{0, 1280}}));
}

struct DiscsCase {
    const char* what;
    Disc discs[4];
    int discCount;
    Clip clip;
};

// The darkness's three rings about the hero, wherever he stands, and discs of every small size.
const DiscsCase DISCS[] = {
    {"the darkness about the hero in the middle of the view", {{640, 320, 600, 10}, {640, 320, 500, 20}, {640, 320, 400, MAGENTA}}, 3, WHOLE},
    {"the darkness about the hero in a corner", {{20, 620, 600, 10}, {20, 620, 500, 20}, {20, 620, 400, MAGENTA}}, 3, WHOLE},
    {"the darkness about a hero off the view", {{-700, -50, 600, 10}, {-700, -50, 500, 20}, {-700, -50, 400, MAGENTA}}, 3, WHOLE},
    {"small discs, overlapping", {{100, 100, 0, 1}, {101, 100, 1, 2}, {105, 103, 2, 3}, {110, 100, 3, 4}}, 4, WHOLE},
    {"discs cut by the clip rectangle", {{300, 200, 180, 5}, {300, 200, 140, 6}, {320, 210, 100, 7}}, 3, {250, 150, 900, 300}},
    {"a disc wider than its picture", {{640, 320, 1500, 8}}, 1, WHOLE},
};

TEST_F(PixelLoops, TheDiscsAreTheLibrarysCircles)
{
    for (const DiscsCase& discs : DISCS) {
        BITMAP* expected = randomPicture(1280, 640);
        BITMAP* filled = copyOf(expected);
        clipTo(expected, discs.clip);
        clipTo(filled, discs.clip);
        clear_to_color(expected, 0);
        for (int i = 0; i < discs.discCount; ++i) {
            const Disc& d = discs.discs[i];
            circlefill(expected, d.x, d.y, d.radius, d.colour);
        }
        fillWithDiscs(filled, 0, discs.discs, discs.discCount);
        EXPECT_EQ(differingPixels(filled, expected), 0) << discs.what;
        for (BITMAP* b : {expected, filled}) destroy_bitmap(b);
    }
}

TEST_F(PixelLoops, EveryRadiusUpToTheDarknessIsTheLibrarysCircle)
{
    // A disc is the same in its four quarters: the lower right one is enough.
    BITMAP* expected = create_bitmap_ex(32, 602, 602);
    BITMAP* filled = create_bitmap_ex(32, 602, 602);
    int wrongRadii = 0;
    for (int radius = 0; radius <= 600; ++radius) {
        const Disc disc = {0, 0, radius, 1};
        clear_to_color(expected, 0);
        circlefill(expected, disc.x, disc.y, disc.radius, disc.colour);
        fillWithDiscs(filled, 0, &disc, 1);
        wrongRadii += differingPixels(filled, expected) != 0;
    }
    EXPECT_EQ(wrongRadii, 0);
    for (BITMAP* b : {expected, filled}) destroy_bitmap(b);
}

}  // namespace
