// The walls and their shadows are made for each frame from the wall cells in view and the one
// tile; after a scroll, a blast or a push every frame must still show the whole-world frame's
// pixels, and every way of making them gives the library's.
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

class WallsInView : public GameTest {
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

    // Draws the frame, then the whole-world frame with the same draws, and tells the first row of
    // the view where they differ ("" if none).
    std::string drawAndCompare(int frame)
    {
        Game& g = *game;
        seedRandom(static_cast<std::uint32_t>(frame));
        g.drawFrame();
        g.finishBackground();  // the frame's lights would have made the rest
        BITMAP* view = g.bitmaps.worldBitmap;
        seedRandom(static_cast<std::uint32_t>(frame));
        drawWholeWorldFrame(g);
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

TEST_F(WallsInView, AScrollInEveryDirectionShowsTheWholeWorldsPixels)
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

TEST_F(WallsInView, AWallBlastAndABlockPushInViewShowTheWholeWorldsPixels)
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

TEST(WallPixels, LightsAndShadowsUnderTheWallsAreTheLibrarysWhereTheWallsAreSeeThrough)
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

TEST(WallPixels, TheFillIsTheLibrarysDiscsShadowsShapesAndTilesInTurnWhateverTheTablesHold)
{
    startHeadlessAllegro();
    std::uint32_t noise = 11;
    auto next = [&noise] { return noise = noise * 1103515245u + 12345u; };
    const int magenta = makecol(255, 0, 255);
    // The tile, a third see-through but for its opaque middle rows, is the middle square of its picture.
    BITMAP* tiles = create_bitmap(3 * CELL_SIZE, CELL_SIZE);
    for (int y = 0; y < tiles->h; ++y)
        for (int x = 0; x < tiles->w; ++x) {
            const bool opaque = y >= 10 && y < 30;
            putpixel(tiles, x, y, !opaque && next() % 3 == 0 ? magenta : static_cast<int>(next() >> 8 & 0xFFFFFF));
        }
    // A grid of cells whose corner lies up and left of the target's: its first row and column
    // are cut by the target's edges, its last reach past them.
    constexpr int COLUMNS = 7, ROWS = 5, ORIGIN_X = -25, ORIGIN_Y = -30;
    bool wall[ROWS][COLUMNS];
    WallRows rows;
    rows.setTile(tiles, CELL_SIZE, 0);
    rows.shadow = makecol(20, 20, 30);
    BITMAP* walls = create_bitmap(COLUMNS * CELL_SIZE, ROWS * CELL_SIZE);  // the same walls as one picture
    clear_to_color(walls, magenta);
    for (int r = 0; r < ROWS; ++r) {
        rows.addRow(ORIGIN_Y + r * CELL_SIZE);
        for (int c = 0; c < COLUMNS; ++c) {
            wall[r][c] = r != 2 && next() % 3 != 0;  // a row with no walls
            if (wall[r][c]) masked_blit(tiles, walls, CELL_SIZE, 0, c * CELL_SIZE, r * CELL_SIZE, CELL_SIZE, CELL_SIZE);
            if (!wall[r][c]) continue;
            if (c > 0 && wall[r][c - 1])
                rows.rows[r].runs[rows.rows[r].runCount - 1].right += CELL_SIZE;
            else
                rows.addRun(ORIGIN_X + c * CELL_SIZE, ORIGIN_X + (c + 1) * CELL_SIZE);
        }
    }
    BITMAP* made = create_bitmap(200, 120);
    BITMAP* expected = create_bitmap(200, 120);
    const Disc lights[] = {{90, 60, 70, makecol(1, 2, 3)}, {20, 100, 35, makecol(4, 5, 6)}, {60, 50, 9, makecol(1, 1, 1)},
                           {70, 40, 8, makecol(2, 2, 2)}, {80, 30, 7, makecol(3, 3, 3)}};
    // Overlapping, crossing the clip's edges, wholly outside it, a box given corner to corner
    // backwards; then as many sizes of disc as can be held, and one more.
    const Box boxes[] = {{10, 10, 50, 50, makecol(9, 9, 9)}, {60, 119, 20, 100, makecol(8, 8, 8)},
                         {300, 10, 340, 50, makecol(7, 7, 7)}};
    Disc discs[12];
    for (int i = 0; i < 12; ++i) discs[i] = {17 * i, 11 * i - 20, 5 + 9 * (i % 9), makecol(10 + i, 20, 30)};
    // The tables hold all; too many sizes of shape; too many lights.
    for (const auto& [lightCount, discCount] : {std::pair{2, 4}, {2, 12}, {5, 4}}) {
        UnderWalls under;
        under.boxes = boxes;
        under.boxCount = 3;
        under.discs = discs;
        under.discCount = discCount;
        under.walls = walls;
        under.wallsX = -ORIGIN_X;
        under.wallsY = -ORIGIN_Y;
        for (BITMAP* bitmap : {made, expected}) {
            clear_to_color(bitmap, makecol(0, 0, 0));  // outside the clip the pictures stay as they were
            set_clip_rect(bitmap, 5, 5, 189, 109);
        }
        fillWithDiscsUnder(made, makecol(40, 30, 60), lights, lightCount, rows, under);

        clear_to_color(expected, makecol(40, 30, 60));
        for (int i = 0; i < lightCount; ++i) circlefill(expected, lights[i].x, lights[i].y, lights[i].radius, lights[i].colour);
        for (int depth = 1; depth <= WallRows::SHADOW_DEPTH; ++depth)
            for (int r = 0; r < ROWS; ++r)
                for (int c = 0; c < COLUMNS; ++c)
                    if (wall[r][c]) {
                        const int x = ORIGIN_X + c * CELL_SIZE + depth, y = ORIGIN_Y + r * CELL_SIZE + depth;
                        rectfill(expected, x, y, x + CELL_SIZE, y + CELL_SIZE, rows.shadow);
                    }
        for (const Box& box : boxes) rectfill(expected, box.x1, box.y1, box.x2, box.y2, box.colour);
        for (int i = 0; i < discCount; ++i) circlefill(expected, discs[i].x, discs[i].y, discs[i].radius, discs[i].colour);
        masked_blit(walls, expected, 0, 0, ORIGIN_X, ORIGIN_Y, walls->w, walls->h);

        int differing = 0;
        for (int y = 0; y < made->h; ++y)
            for (int x = 0; x < made->w; ++x) differing += getpixel(made, x, y) != getpixel(expected, x, y);
        EXPECT_EQ(differing, 0) << lightCount << " lights, " << discCount << " discs";
    }
    for (BITMAP* bitmap : {tiles, walls, made, expected}) destroy_bitmap(bitmap);
}

// The game keeps one fill from frame to frame, and a row is filled span by span: a row filled
// in the last frame is made with this frame's lights, whichever span comes first.
TEST(WallPixels, AFillPreparedAgainMakesEveryRowWithItsNewLights)
{
    startHeadlessAllegro();
    static BackgroundFill kept;
    const WallRows noWalls;
    const UnderWalls nothingUnder;
    BITMAP* made = create_bitmap(120, 80);
    BITMAP* expected = create_bitmap(120, 80);
    const Disc lastFrame = {30, 40, 25, makecol(200, 0, 0)}, thisFrame = {70, 40, 25, makecol(0, 200, 0)};
    ASSERT_TRUE(kept.prepare(made, makecol(1, 2, 3), &lastFrame, 1, noWalls, nothingUnder));
    kept.fill(made, 40, 0, 60);
    ASSERT_TRUE(kept.prepare(made, makecol(1, 2, 3), &thisFrame, 1, noWalls, nothingUnder));
    kept.fill(made, 40, 60, 120);
    kept.fill(made, 40, 0, 60);
    fillWithDiscsUnder(expected, makecol(1, 2, 3), &thisFrame, 1, noWalls, nothingUnder);
    for (int x = 0; x < made->w; ++x) EXPECT_EQ(getpixel(made, x, 40), getpixel(expected, x, 40)) << "at " << x;
    destroy_bitmap(made);
    destroy_bitmap(expected);
}

}  // namespace
