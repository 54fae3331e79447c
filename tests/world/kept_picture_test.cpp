// The walls and their shadows are kept from frame to frame and painted again only where the view
// uncovers them or their cells change; every frame must still show the whole-world frame's pixels.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "full_world_drawing.h"
#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {

constexpr int LEVEL = 12;  // a world of 43 x 27 cells, larger than the view every way
constexpr std::uint32_t SEED = 2612;

class KeptPicture : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        seedRandom(SEED);
        game->setUpLevel();
        game->levelNumber = LEVEL;
        game->setUpLevel();
        ASSERT_EQ(game->builtLevel, LEVEL);
        game->mapX = 200;
        game->mapY = 200;
    }

    // Draws the frame with the kept picture, then the whole-world frame with the same draws, and
    // tells the first row of the view where they differ ("" if none).
    std::string drawAndCompare(int frame)
    {
        Game& g = *game;
        seedRandom(static_cast<std::uint32_t>(frame));
        g.drawFrame();
        g.finishBackground();  // the frame's lights would have made the rest
        BITMAP* view = g.bitmaps.worldBitmap;
        const LayerOrigin kept = g.layerOrigin;  // the whole-world frame forgets it
        seedRandom(static_cast<std::uint32_t>(frame));
        drawWholeWorldFrame(g);
        g.layerOrigin = kept;
        BITMAP* whole = wholeWorldPicture(g);
        for (int y = 0; y < VIEW_HEIGHT; ++y)
            if (std::memcmp(view->line[y], whole->line[y + g.mapY] + 4 * g.mapX, 4 * VIEW_WIDTH) != 0)
                return "the view differs in its row " + std::to_string(y);
        return "";
    }

    // A floor cell in the view with floor to its right, for a block to be pushed along.
    bool findFloorPair(int& column, int& row) const
    {
        const Game& g = *game;
        for (row = g.mapY / CELL_SIZE + 2; row < (g.mapY + VIEW_HEIGHT) / CELL_SIZE - 2; ++row)
            for (column = g.mapX / CELL_SIZE + 3; column < (g.mapX + VIEW_WIDTH) / CELL_SIZE - 3; ++column)
                if (g.obstacleGrid.getCell(column - 1, row) == CELL_FLOOR &&
                    g.obstacleGrid.getCell(column, row) == CELL_FLOOR && g.obstacleGrid.getCell(column + 1, row) == CELL_FLOOR)
                    return true;
        return false;
    }
};

TEST_F(KeptPicture, AScrollInEveryDirectionShowsTheWholeWorldsPixels)
{
    ASSERT_EQ(drawAndCompare(0), "");
    // Steps of a walk each way, then jumps across most of the view, to the world's far edges and back.
    const struct {
        int dx, dy;
    } scrolls[] = {{8, 0}, {0, 8}, {-8, 0}, {0, -8}, {5, 7}, {-10, -3}, {240, 0}, {0, 236}, {-435, -440}};
    int frame = 1;
    for (const auto& scroll : scrolls) {
        game->mapX += scroll.dx;
        game->mapY += scroll.dy;
        SCOPED_TRACE(std::to_string(scroll.dx) + ", " + std::to_string(scroll.dy));
        ASSERT_TRUE(game->mapX >= 0 && game->mapX <= game->mapMaxX && game->mapY >= 0 && game->mapY <= game->mapMaxY);
        ASSERT_EQ(drawAndCompare(frame++), "");
    }
}

TEST_F(KeptPicture, AWallBlastAndABlockPushInViewShowTheWholeWorldsPixels)
{
    Game& g = *game;
    ASSERT_EQ(drawAndCompare(0), "");

    // A bomb in the middle of the view blasts the walls around it.
    bomb blast;
    blast.arm(g.mapX + 12 * CELL_SIZE, g.mapY + 8 * CELL_SIZE);
    g.blastWalls(blast);
    ASSERT_EQ(drawAndCompare(1), "") << "after the wall blast";

    // A block stands on open floor, and the hero beside it pushes it one cell on.
    int column = 0, row = 0;
    ASSERT_TRUE(findFloorPair(column, row));
    sprite& block = g.blocks[0];
    block.placeAt(column * CELL_SIZE, row * CELL_SIZE);
    g.setObstacle(column, row, CELL_WALL);
    ASSERT_EQ(drawAndCompare(2), "") << "with the block placed";
    g.heroActor.placeAt((column - 1) * CELL_SIZE, row * CELL_SIZE);
    g.heroActor.direction = DIRECTION_RIGHT;
    g.pushBlock(block);
    ASSERT_EQ(block.x, (column + 1) * CELL_SIZE);
    ASSERT_EQ(drawAndCompare(3), "") << "after the push";
}

TEST(KeptPictureRing, TheDiscsUnderTheRingAreTheDiscsWithTheRingsMaskedCopyOverThem)
{
    startHeadlessAllegro();
    // A ring of random pixels, a fifth see-through, read from offsets that wrap it either way.
    BITMAP* ring = create_bitmap(200, 120);
    std::uint32_t noise = 99;
    auto next = [&noise] { return noise = noise * 1103515245u + 12345u; };
    for (int y = 0; y < ring->h; ++y)
        for (int x = 0; x < ring->w; ++x)
            putpixel(ring, x, y, next() % 5 == 0 ? makecol(255, 0, 255) : static_cast<int>(next() >> 8 & 0xFFFFFF));
    const Disc discs[] = {{90, 60, 70, makecol(1, 2, 3)}, {20, 100, 35, makecol(4, 5, 6)}, {150, 10, 0, makecol(7, 8, 9)}};
    BITMAP* made = create_bitmap(200, 120);
    BITMAP* expected = create_bitmap(200, 120);
    for (const auto& [coverX, coverY] : {std::pair{0, 0}, {37, 0}, {0, 85}, {199, 119}, {437, 245}}) {
        fillWithDiscsUnder(made, makecol(40, 30, 60), discs, 3, ring, coverX, coverY);
        fillWithDiscs(expected, makecol(40, 30, 60), discs, 3);
        const int x = coverX % ring->w, y = coverY % ring->h;
        for (const auto& [px, py] : {std::pair{0, 0}, {ring->w, 0}, {0, ring->h}, {ring->w, ring->h}})
            masked_blit(ring, expected, 0, 0, px - x, py - y, ring->w, ring->h);
        int differing = 0;
        for (int py = 0; py < made->h; ++py)
            for (int px = 0; px < made->w; ++px) differing += getpixel(made, px, py) != getpixel(expected, px, py);
        EXPECT_EQ(differing, 0) << coverX << ", " << coverY;
    }
    destroy_bitmap(expected);
    destroy_bitmap(made);
    destroy_bitmap(ring);
}

TEST(KeptPictureRing, LightsAndShadowsUnderTheWallsAreTheLibrarysWhereTheWallsAreSeeThrough)
{
    startHeadlessAllegro();
    std::uint32_t noise = 7;
    auto next = [&noise] { return noise = noise * 1103515245u + 12345u; };
    auto randomPicture = [&](int w, int h, int seeThroughEvery) {
        BITMAP* picture = create_bitmap(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                putpixel(picture, x, y, next() % seeThroughEvery == 0 ? makecol(255, 0, 255) : static_cast<int>(next() >> 8 & 0xFFFFFF));
        return picture;
    };
    // The walls reach over only part of the target: beyond them nothing hides the fill.
    BITMAP* walls = randomPicture(150, 110, 2);
    BITMAP* original = randomPicture(200, 120, 1000000);
    BITMAP* made = create_bitmap(200, 120);
    BITMAP* expected = create_bitmap(200, 120);
    const int coverX = 30, coverY = -20;
    for (const Disc& disc : {Disc{60, 50, 45, makecol(1, 2, 3)}, Disc{190, 5, 90, makecol(4, 5, 6)}, Disc{10, 100, 0, makecol(7, 8, 9)}}) {
        for (const bool rectangle : {false, true}) {
            blit(original, made, 0, 0, 0, 0, 200, 120);
            blit(original, expected, 0, 0, 0, 0, 200, 120);
            set_clip_rect(made, 5, 5, 189, 109);
            set_clip_rect(expected, 5, 5, 189, 109);
            if (rectangle) {
                fillRectangleUnder(made, disc.x, disc.y, disc.x - disc.radius, disc.y + 43, disc.colour, walls, coverX, coverY);
                rectfill(expected, disc.x, disc.y, disc.x - disc.radius, disc.y + 43, disc.colour);
            } else {
                fillDiscUnder(made, disc, walls, coverX, coverY);
                circlefill(expected, disc.x, disc.y, disc.radius, disc.colour);
            }
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 200; ++x) {
                    const int wx = x + coverX, wy = y + coverY;
                    if (wx >= 0 && wy >= 0 && wx < walls->w && wy < walls->h && getpixel(walls, wx, wy) != makecol(255, 0, 255))
                        putpixel(expected, x, y, getpixel(original, x, y));
                }
            int differing = 0;
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 200; ++x) differing += getpixel(made, x, y) != getpixel(expected, x, y);
            EXPECT_EQ(differing, 0) << (rectangle ? "rectangle " : "disc ") << disc.radius;
        }
    }
    for (BITMAP* bitmap : {walls, original, made, expected}) destroy_bitmap(bitmap);
}

TEST(KeptPictureRing, ShapesLaidWithTheFillAreTheShapesLaidOneByOneAfterIt)
{
    startHeadlessAllegro();
    std::uint32_t noise = 11;
    auto next = [&noise] { return noise = noise * 1103515245u + 12345u; };
    auto randomPicture = [&](int w, int h) {
        BITMAP* picture = create_bitmap(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                putpixel(picture, x, y, next() % 3 == 0 ? makecol(255, 0, 255) : static_cast<int>(next() >> 8 & 0xFFFFFF));
        return picture;
    };
    // The walls reach over part of the target; the ring holds them where they lie over it, and
    // elsewhere is see-through or holds marked shadows.
    BITMAP* walls = randomPicture(150, 110);
    BITMAP* ring = create_bitmap(200, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            const int wx = x + 30, wy = y - 20;
            const bool inWalls = wx < walls->w && wy >= 0 && wy < walls->h;
            const int wall = inWalls ? getpixel(walls, wx, wy) : makecol(255, 0, 255);
            const int shadow = next() % 2 == 0 ? makecol(255, 0, 255)
                                               : static_cast<int>((next() >> 8 & 0xFFFFFF) | UNDER_WALLS_MARK);
            putpixel(ring, (x + 37) % 200, (y + 85) % 120, wall != makecol(255, 0, 255) ? wall : shadow);
        }
    BITMAP* made = create_bitmap(200, 120);
    BITMAP* expected = create_bitmap(200, 120);
    const Disc lights[] = {{90, 60, 70, makecol(1, 2, 3)}, {20, 100, 35, makecol(4, 5, 6)}};
    // Overlapping, crossing the clip's edges, wholly outside it, a box given corner to corner
    // backwards; then as many sizes of disc as can be held, and one more.
    const Box boxes[] = {{10, 10, 50, 50, makecol(9, 9, 9)}, {60, 119, 20, 100, makecol(8, 8, 8)},
                         {300, 10, 340, 50, makecol(7, 7, 7)}};
    Disc discs[12];
    for (int i = 0; i < 12; ++i) discs[i] = {17 * i, 11 * i - 20, 5 + 9 * (i % 9), makecol(10 + i, 20, 30)};
    for (const int discCount : {4, 12}) {
        UnderWalls under;
        under.boxes = boxes;
        under.boxCount = 3;
        under.discs = discs;
        under.discCount = discCount;
        under.walls = walls;
        under.wallsX = 30;
        under.wallsY = -20;
        for (BITMAP* bitmap : {made, expected}) {
            clear_to_color(bitmap, makecol(0, 0, 0));  // outside the clip the pictures stay as they were
            set_clip_rect(bitmap, 5, 5, 189, 109);
        }
        fillWithDiscsUnder(made, makecol(40, 30, 60), lights, 2, ring, 37, 85, under);
        fillWithDiscsUnder(expected, makecol(40, 30, 60), lights, 2, ring, 37, 85);
        for (const Box& box : boxes) fillRectangleUnder(expected, box.x1, box.y1, box.x2, box.y2, box.colour, walls, 30, -20);
        for (int i = 0; i < discCount; ++i) fillDiscUnder(expected, discs[i], walls, 30, -20);
        int differing = 0;
        for (int y = 0; y < made->h; ++y)
            for (int x = 0; x < made->w; ++x) differing += getpixel(made, x, y) != getpixel(expected, x, y);
        EXPECT_EQ(differing, 0) << discCount << " discs";
    }
    for (BITMAP* bitmap : {ring, walls, made, expected}) destroy_bitmap(bitmap);
}

}  // namespace
