// The grid layer: allocation, copies, the flood fill, the blast and painting cells into bitmaps.
#include "world/grid_layer.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/random.h"
#include "test_support.h"

namespace {
// A layer drawn as text: '#' wall, '.' floor, '*' reached.
void load(GridLayer& layer, const std::vector<std::string>& picture)
{
    layer.release();
    ASSERT_TRUE(layer.allocate(static_cast<int>(picture.size()), static_cast<int>(picture[0].size())));
    for (int r = 0; r < layer.rowCount; ++r)
        for (int c = 0; c < layer.columnCount; ++c)
            layer.setCell(c, r, picture[r][c] == '#' ? CELL_WALL : picture[r][c] == '*' ? CELL_REACHED : CELL_FLOOR);
}

std::vector<std::string> picture(const GridLayer& layer)
{
    std::vector<std::string> rows;
    for (int r = 0; r < layer.rowCount; ++r) {
        std::string line;
        for (int c = 0; c < layer.columnCount; ++c) line += ".#*"[layer.getCell(c, r)];
        rows.push_back(line);
    }
    return rows;
}

const int MAGENTA = 0xFF00FF;
}  // namespace

TEST(GridLayerStorage, AllocatesRowsFirstAndReleasesAnyNumberOfTimes)
{
    GridLayer layer;
    layer.release();  // never allocated
    EXPECT_EQ(layer.columnCount, 0);
    ASSERT_TRUE(layer.allocate(16, 32));
    EXPECT_EQ(layer.rowCount, 16);
    EXPECT_EQ(layer.columnCount, 32);
    layer.fill(CELL_WALL);
    EXPECT_EQ(layer.getCell(31, 15), CELL_WALL);
    layer.release();
    layer.release();
    EXPECT_EQ(layer.rowCount, 0);
    EXPECT_EQ(layer.columnCount, 0);
    EXPECT_TRUE(layer.cells.empty());
    // A size no maze has is refused and leaves the layer empty.
    EXPECT_FALSE(layer.allocate(-1, 32));
    EXPECT_FALSE(layer.allocate(16, 0));
    EXPECT_EQ(layer.columnCount, 0);
}

TEST(GridLayerStorage, CopyingWallsTurnsReachedFloorBackToFloor)
{
    GridLayer source, target;
    load(source, {"#*.", ".#*"});
    load(target, {"###", "###"});
    source.copyWallsTo(target);
    EXPECT_EQ(picture(target), (std::vector<std::string>{"#..", ".#."}));
    EXPECT_EQ(source.isWallAt(0, 0, 1, 1), 1);
    EXPECT_EQ(source.isWallAt(0, 0, 1, 0), 0);  // a reached cell is no wall
}

struct FillCase {
    const char* name;
    std::vector<std::string> before;
    int column, row;
    std::vector<std::string> after;
};

TEST(GridLayerFloodFill, MarksTheFloorConnectedToTheStart)
{
    const FillCase cases[] = {
        {"a closed floor cell stays unmarked", {"#####", "#.#.#", "#####"}, 1, 1, {"#####", "#.#.#", "#####"}},
        {"from a wall, the floor on every side", {"#.#.", ".#.#", "#.##"}, 1, 1, {"#*#.", "*#*#", "#*##"}},
        {"the start is marked when reached back", {"#####", "#...#", "#####"}, 1, 1, {"#####", "#***#", "#####"}},
        {"the edge of the grid bounds it", {"...", "...", "##."}, 0, 0, {"***", "***", "##*"}},
        {"reached cells are not floor", {"..*..", "#####"}, 0, 0, {"***..", "#####"}},
        {"a start far off the grid marks nothing", {"...", "..."}, -1000, -1000, {"...", "..."}},
        {"a start just off the grid fills from its neighbour", {"..", "#."}, -1, 0, {"**", "#*"}},
    };
    for (const FillCase& test : cases) {
        GridLayer layer;
        load(layer, test.before);
        layer.floodFill(test.column, test.row);
        EXPECT_EQ(picture(layer), test.after) << test.name;
    }
}

TEST(GridLayerFloodFill, FillsAGridFarLargerThanAnyCallStackWouldAllow)
{
    // One winding corridor: every cell is one step deeper than the one before.
    GridLayer layer;
    ASSERT_TRUE(layer.allocate(1001, 1000));
    layer.fill(CELL_FLOOR);
    for (int r = 1; r < 1001; r += 2)
        for (int c = 0; c < 1000; ++c)
            if (c != ((r / 2) % 2 == 0 ? 999 : 0)) layer.setCell(c, r, CELL_WALL);
    layer.floodFill(0, 0);
    int floor = 0;
    for (std::int32_t cell : layer.cells) floor += cell == CELL_FLOOR;
    EXPECT_EQ(floor, 0);
    EXPECT_EQ(layer.getCell(999, 1000), CELL_REACHED);
}

struct BlastCase {
    int x, y;
    int firstColumn, lastColumn, firstRow, lastRow;
};

class GridLayerBlast : public HeadlessTest {};

TEST_F(GridLayerBlast, ClearsTheCellsAroundThePixelThatLieInTheGrid)
{
    const BlastCase cases[] = {
        {20, 20, 0, 2, 0, 2},        // the corner cell: only 3 x 3 lie inside
        {420, 220, 8, 12, 3, 7},     // the middle: the full 5 x 5
        {1279, 639, 29, 31, 13, 15}, // the far corner
        {-200, -200, 1, 0, 1, 0},    // wholly outside: nothing
    };
    for (const BlastCase& test : cases) {
        GridLayer layer;
        ASSERT_TRUE(layer.allocate(16, 32));
        layer.fill(CELL_WALL);
        BITMAP* bitmap = makeFilledBitmap(1280, 640, 0x123456);
        layer.blast(bitmap, test.x, test.y);
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 32; ++c) {
                const bool cleared = c >= test.firstColumn && c <= test.lastColumn && r >= test.firstRow &&
                                     r <= test.lastRow;
                EXPECT_EQ(layer.getCell(c, r), cleared ? CELL_FLOOR : CELL_WALL) << test.x << "," << c << "," << r;
                EXPECT_EQ(getpixel(bitmap, c * 40 + 5, r * 40 + 5), cleared ? MAGENTA : 0x123456);
            }
        destroy_bitmap(bitmap);
    }
}

TEST_F(GridLayerBlast, TheWallsBesideTheSquareStayWhole)
{
    // The square of cells 8 to 12 by 3 to 7: its pixels are 320 to 519 by 120 to 319, no more.
    GridLayer layer;
    ASSERT_TRUE(layer.allocate(16, 32));
    layer.fill(CELL_WALL);
    BITMAP* bitmap = makeFilledBitmap(1280, 640, 0x123456);
    layer.blast(bitmap, 420, 220);
    int opened = 0;
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 1280; ++x) {
            const bool inside = x >= 320 && x < 520 && y >= 120 && y < 320;
            EXPECT_EQ(getpixel(bitmap, x, y), inside ? MAGENTA : 0x123456) << x << ", " << y;
            opened += getpixel(bitmap, x, y) == MAGENTA;
            if (HasFailure()) break;
        }
    EXPECT_EQ(opened, 200 * 200);
    destroy_bitmap(bitmap);
}

class GridLayerPainting : public HeadlessTest {};

TEST_F(GridLayerPainting, PaintsWallCellsOnlyAndLeavesReachedFloorAlone)
{
    GridLayer layer;
    load(layer, {"#*", ".#"});
    BITMAP* bitmap = makeFilledBitmap(30, 30, 0);
    layer.paintCells(bitmap, 10, 20, 30, 200, 100, 50, 10);
    const int back = makecol(10, 20, 30), wall = makecol(200, 100, 50);
    EXPECT_EQ(getpixel(bitmap, 5, 5), wall);
    EXPECT_EQ(getpixel(bitmap, 15, 5), back);   // a 2-cell is no wall
    EXPECT_EQ(getpixel(bitmap, 5, 15), back);
    EXPECT_EQ(getpixel(bitmap, 15, 15), wall);
    EXPECT_EQ(getpixel(bitmap, 20, 20), wall);  // both corners are filled
    EXPECT_EQ(getpixel(bitmap, 21, 21), back);

    layer.paintUnreached(bitmap, 10);
    EXPECT_EQ(getpixel(bitmap, 5, 5), MAGENTA);
    EXPECT_EQ(getpixel(bitmap, 15, 5), MAGENTA);  // reached floor carries no fog
    EXPECT_EQ(getpixel(bitmap, 5, 15), 0);
    EXPECT_EQ(getpixel(bitmap, 15, 15), MAGENTA);
    destroy_bitmap(bitmap);
}

TEST_F(GridLayerPainting, AllWallsOfOneMazeShareOneTileDrawnOnce)
{
    // A strip of 26 tiles, tile t in colour t, with a see-through corner.
    BITMAP* terrain = makeFilledBitmap(26 * 40, 40, 0);
    for (int t = 0; t < 26; ++t) {
        rectfill(terrain, t * 40, 0, t * 40 + 39, 39, t + 1);
        putpixel(terrain, t * 40, 0, MAGENTA);
    }
    GridLayer layer;
    load(layer, {"#.#", "##."});
    BITMAP* walls = makeFilledBitmap(120, 80, 0);
    std::vector<int> tiles;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        seedRandom(seed);
        const int expected = gameRandom() % 25 + 1;
        const int next = gameRandom();
        seedRandom(seed);
        layer.paintWallTiles(walls, terrain);
        EXPECT_EQ(gameRandom(), next) << "one draw per call";
        for (const auto& [c, r] : std::vector<std::pair<int, int>>{{0, 0}, {2, 0}, {0, 1}, {1, 1}}) {
            EXPECT_EQ(getpixel(walls, c * 40 + 20, r * 40 + 20), expected + 1);
            EXPECT_EQ(getpixel(walls, c * 40, r * 40), MAGENTA);
        }
        EXPECT_EQ(getpixel(walls, 60, 20), MAGENTA);
        tiles.push_back(expected);
    }
    EXPECT_NE(std::count(tiles.begin(), tiles.end(), tiles[0]), 20) << "different mazes get different tiles";
    destroy_bitmap(walls);
    destroy_bitmap(terrain);
}
