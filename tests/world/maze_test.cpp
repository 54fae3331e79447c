// The level build: the maze's invariants, the counts and items of a level, the placement rules
// with their fallbacks, the fog, and a golden catalogue of fixed seeds.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {
// A new game at level 1, or a new level built on top of it, from a fixed seed.
void buildSeededLevel(Game& game, std::uint32_t seed, int level)
{
    if (game.levelNumber != 0) game.endGame();
    seedRandom(seed);
    game.setUpLevel();
    if (level > 1) {
        seedRandom(seed);
        game.levelNumber = level;
        game.setUpLevel();
    }
    ASSERT_FALSE(game.levelBuildFailed);
}

// The generator's floor rules, read back from the finished grid (the cells they look at are
// final by the time the generator reaches the cell).
bool keptFloor(const GridLayer& grid, int c, int r, int clearingColumn)
{
    const int clearingRow = grid.rowCount / 2;
    const bool start = c == 2 && r == 2;
    const bool clearing = std::abs(c - clearingColumn) < 3 && std::abs(r - clearingRow) < 3;
    const bool corridor = grid.getCell(c - 1, r + 1) == CELL_WALL && grid.getCell(c - 1, r) == CELL_FLOOR &&
                          (grid.getCell(c - 1, r - 1) == CELL_WALL || grid.getCell(c, r - 1) == CELL_WALL);
    return start || clearing || corridor;
}

struct GeneratedMaze {
    int clearingColumn = 0;
    int density = 0;
};

// Generates a maze from a seed and replays the generator's first two draws.
GeneratedMaze generate(GridLayer& grid, int level, std::uint32_t seed)
{
    grid.release();
    grid.allocate(level + 15, level + 31);
    grid.fill(CELL_FLOOR);
    seedRandom(seed);
    GeneratedMaze maze;
    maze.clearingColumn = (gameRandom() % (grid.columnCount - 6) + 3) / 2;
    maze.density = gameRandom() % 8 + 2;
    seedRandom(seed);
    grid.generateMaze();
    return maze;
}

std::string cellText(const sprite& object)
{
    if (object.x == OFF_BOARD) return "off";
    return "(" + std::to_string(object.x / CELL_SIZE) + "," + std::to_string(object.y / CELL_SIZE) + ")";
}

std::string cellsText(const sprite* objects, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += " " + cellText(objects[i]);
    return text;
}

std::string describeLevel(const Game& game, std::uint32_t seed, int level)
{
    std::ostringstream out;
    out << "seed " << seed << " level " << level << ": " << game.columns << " x " << game.rows << "\n";
    out << "background " << game.backgroundRed << " " << game.backgroundGreen << " " << game.backgroundBlue << "\n";
    const auto item = [](const char* name, int absent, const sprite& object) {
        return std::string(name) + " " + (absent ? "absent" : cellText(object)) + "\n";
    };
    out << item("shield", game.shieldAbsent, game.shieldItem)
        << item("generator", game.generatorAbsent, game.generatorItem)
        << item("radar", game.radarAbsent, game.radarItem) << item("life", game.lifeAbsent, game.lifeItem)
        << item("shoes", game.shoesAbsent, game.shoesItem);
    out << "bomb pick-ups" << cellsText(game.dynamites, game.dynamiteCount) << "\n";
    out << "treasures" << cellsText(game.treasures, game.treasureCount) << "\n";
    out << "ghosts " << cellText(game.ghosts[0]) << ", kind and direction";
    for (int i = 0; i < game.ghostCount; ++i) out << " " << game.ghosts[i].kind << game.ghosts[i].direction;
    out << "\nblocks" << cellsText(game.blocks, game.blockCount) << "\n";
    out << "coins" << cellsText(game.coins1, game.coin1Count) << " |" << cellsText(game.coins2, game.coin2Count)
        << " |" << cellsText(game.coins5, game.coin5Count) << "\n";
    for (int r = 0; r < game.rows; ++r) {
        for (int c = 0; c < game.columns; ++c) out << (game.wallGrid.getCell(c, r) == CELL_WALL ? '#' : '.');
        out << "\n";
    }
    return out.str();
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}
}  // namespace

TEST(MazeGenerator, KeepsItsWallsStartClearingAndCorridorsOverManySeeds)
{
    GridLayer grid;
    for (int level : {1, 2, 7, 30})
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            const GeneratedMaze maze = generate(grid, level, seed);
            const int columns = grid.columnCount, rows = grid.rowCount;
            SCOPED_TRACE("level " + std::to_string(level) + " seed " + std::to_string(seed));
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c) {
                    if (c == 0 || r == 0 || c == columns - 1 || r == rows - 1) {
                        ASSERT_EQ(grid.getCell(c, r), CELL_WALL) << c << "," << r;
                    } else if (keptFloor(grid, c, r, maze.clearingColumn)) {
                        ASSERT_EQ(grid.getCell(c, r), CELL_FLOOR) << c << "," << r;
                    }
                }
            // One draw for the clearing, one for the density, one for every interior cell.
            seedRandom(seed);
            for (int i = 0; i < 2 + (columns - 2) * (rows - 2); ++i) gameRandom();
            const int next = gameRandom();
            seedRandom(seed);
            grid.fill(CELL_FLOOR);
            grid.generateMaze();
            EXPECT_EQ(gameRandom(), next);
        }
}

TEST(MazeGenerator, DensityDecidesHowManyFreeCellsTurnToWall)
{
    GridLayer grid;
    for (int density : {2, 9}) {
        int candidates = 0, walls = 0;
        for (std::uint32_t seed = 1; candidates < 20000; ++seed) {
            const GeneratedMaze maze = generate(grid, 5, seed);
            if (maze.density != density) continue;
            for (int c = 1; c < grid.columnCount - 1; ++c)
                for (int r = 1; r < grid.rowCount - 1; ++r)
                    if (!keptFloor(grid, c, r, maze.clearingColumn)) {
                        ++candidates;
                        walls += grid.getCell(c, r) == CELL_WALL;
                    }
        }
        EXPECT_NEAR(static_cast<double>(walls) / candidates, (density - 1.0) / density, 0.03) << density;
    }
}

using LevelBuild = GameTest;

TEST_F(LevelBuild, CountsGrowWithTheMaze)
{
    struct Counts {
        int level, rows, columns, blocks, coins, ghosts, treasures, dynamites;
    };
    const Counts table[] = {{1, 16, 32, 10, 2, 6, 2, 3},  {2, 17, 33, 11, 2, 7, 2, 3}, {3, 18, 34, 12, 3, 9, 3, 4},
                            {5, 20, 36, 14, 3, 12, 3, 5}, {10, 25, 41, 20, 5, 20, 5, 7}};
    for (const Counts& expected : table)
        for (int bombs : {1, 14, 15}) {
            game->levelNumber = expected.level;
            game->bombCount = bombs;
            game->chooseGridSize();
            game->createLevelObjects();
            EXPECT_EQ(game->rows, expected.rows);
            EXPECT_EQ(game->columns, expected.columns);
            EXPECT_EQ(game->blockCount, expected.blocks);
            EXPECT_EQ(game->coin1Count, expected.coins);
            EXPECT_EQ(game->coin2Count, expected.coins);
            EXPECT_EQ(game->coin5Count, expected.coins);
            EXPECT_EQ(game->coinsLeft, 3 * expected.coins);
            EXPECT_EQ(game->ghostCount, expected.ghosts);
            EXPECT_EQ(game->treasureCount, expected.treasures);
            // A hero with every slot filled finds no more bomb pick-ups.
            EXPECT_EQ(game->dynamiteCount, bombs < 15 ? expected.dynamites : 0) << expected.level << " " << bombs;
            game->freeActorArrays();
        }
}

TEST_F(LevelBuild, ItemsAndBackgroundAreRolledInTheirOrder)
{
    struct Roll {
        int lives, baseSpeed, lifeOdds, shoesOdds;  // shoesOdds 0: no draw, the shoes are always there
    };
    for (const Roll& roll : {Roll{3, 4, 5, 0}, Roll{7, 4, 100, 0}, Roll{6, 8, 5, 100}, Roll{9, 9, 100, 100}})
        for (std::uint32_t seed = 1; seed <= 30; ++seed) {
            game->lives = roll.lives;
            game->baseSpeed = roll.baseSpeed;
            seedRandom(seed);
            game->chooseBackground();
            game->rollItems();
            seedRandom(seed);
            EXPECT_EQ(game->backgroundRed, gameRandom() % 80);
            EXPECT_EQ(game->backgroundGreen, gameRandom() % 40);
            EXPECT_EQ(game->backgroundBlue, gameRandom() % 60);
            EXPECT_EQ(game->shieldAbsent, gameRandom() % 2);
            EXPECT_EQ(game->generatorAbsent, gameRandom() % 2);
            EXPECT_EQ(game->radarAbsent, 0);
            EXPECT_EQ(game->lifeAbsent, gameRandom() % roll.lifeOdds);
            EXPECT_EQ(game->shoesAbsent, roll.shoesOdds ? gameRandom() % roll.shoesOdds : 0);
            const int next = gameRandom();
            seedRandom(seed);
            game->chooseBackground();
            game->rollItems();
            EXPECT_EQ(gameRandom(), next) << "no more draws than the roll needs";
        }
}

TEST_F(LevelBuild, EveryObjectGetsAFloorCellOfItsOwn)
{
    for (int level : {1, 2, 7})
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE("level " + std::to_string(level) + " seed " + std::to_string(seed));
            buildSeededLevel(*game, seed, level);
            Game& g = *game;
            std::vector<const sprite*> placed;
            for (const auto& [item, absent] : std::vector<std::pair<const sprite*, int>>{
                     {&g.shieldItem, g.shieldAbsent}, {&g.generatorItem, g.generatorAbsent},
                     {&g.radarItem, g.radarAbsent}, {&g.lifeItem, g.lifeAbsent}, {&g.shoesItem, g.shoesAbsent}})
                if (absent == 0) placed.push_back(item);
            for (const auto& [array, count] : std::vector<std::pair<const sprite*, int>>{
                     {g.dynamites, g.dynamiteCount}, {g.treasures, g.treasureCount}, {g.blocks, g.blockCount},
                     {g.coins1, g.coin1Count}, {g.coins2, g.coin2Count}, {g.coins5, g.coin5Count}, {g.ghosts, 1}})
                for (int i = 0; i < count; ++i) placed.push_back(&array[i]);
            std::set<std::pair<int, int>> cells;
            for (const sprite* object : placed) {
                ASSERT_EQ(object->x % CELL_SIZE, 0);
                ASSERT_EQ(object->y % CELL_SIZE, 0);
                const int c = object->x / CELL_SIZE, r = object->y / CELL_SIZE;
                ASSERT_TRUE(g.wallGrid.contains(c, r));
                EXPECT_EQ(g.wallGrid.getCell(c, r), CELL_FLOOR);
                EXPECT_EQ(g.placementGrid.getCell(c, r), CELL_WALL) << "taken";
                EXPECT_TRUE(cells.insert({c, r}).second) << "shared cell " << c << "," << r;
            }
            for (int i = 0; i < g.blockCount; ++i)
                EXPECT_EQ(g.obstacleGrid.getCell(g.blocks[i].x / CELL_SIZE, g.blocks[i].y / CELL_SIZE), CELL_WALL);
            for (int i = 0; i < 3; ++i) {
                const sprite& pickUp = g.dynamites[i];
                EXPECT_EQ(g.reachGrid.getCell(pickUp.x / CELL_SIZE, pickUp.y / CELL_SIZE), CELL_REACHED);
            }
            for (int i = 0; i < g.ghostCount; ++i) {
                EXPECT_EQ(g.ghosts[i].x, g.ghosts[0].x);
                EXPECT_EQ(g.ghosts[i].y, g.ghosts[0].y);
                EXPECT_GE(pixelDistance(80, 80, g.ghosts[i].x, g.ghosts[i].y), 400);
                EXPECT_LE(g.ghosts[i].kind, std::min(level, 4));
            }
            EXPECT_EQ(g.heroActor.x, 80);
            EXPECT_EQ(g.heroActor.speed, g.baseSpeed);
            EXPECT_EQ(g.wallGrid.getCell(2, 2), CELL_FLOOR);
            EXPECT_EQ(g.reachGrid.getCell(2, 2), CELL_REACHED);
        }
}

// A 6 x 6 board whose only free cells are the given ones; nothing is reachable but those marked.
class PlacementFallback : public GameTest {
protected:
    void board(const std::vector<std::pair<int, int>>& free, const std::vector<std::pair<int, int>>& reachable)
    {
        game->rows = game->columns = 6;
        game->allocateGrids();
        game->placementGrid.fill(CELL_WALL);
        game->reachGrid.fill(CELL_WALL);
        for (const auto& [c, r] : free) game->placementGrid.setCell(c, r, CELL_FLOOR);
        for (const auto& [c, r] : reachable) game->reachGrid.setCell(c, r, CELL_REACHED);
        seedRandom(99);
        nextDraw = gameRandom();
        seedRandom(99);
    }
    int nextDraw = 0;
};

TEST_F(PlacementFallback, AFullBoardPutsTheObjectOffTheBoardWithoutADraw)
{
    board({}, {});
    game->placeObject();
    EXPECT_EQ(game->placeX, OFF_BOARD);
    EXPECT_EQ(game->placeY, OFF_BOARD);
    EXPECT_EQ(gameRandom(), nextDraw);
    // A coin that finds no cell is not waited for.
    game->coinsLeft = 6;
    sprite coins[2];
    game->placeCoins(coins, 2);
    EXPECT_EQ(game->coinsLeft, 4);
    EXPECT_EQ(coins[1].x, OFF_BOARD);
    // Nor does a block leave a mark in the obstacle grid.
    game->obstacleGrid.fill(CELL_FLOOR);
    sprite block;
    game->blocks = &block;
    game->blockCount = 1;
    game->placeBlocks();
    game->blocks = nullptr;
    for (std::int32_t cell : game->obstacleGrid.cells) EXPECT_EQ(cell, CELL_FLOOR);
}

TEST_F(PlacementFallback, BombPickUpsTakeAnyFreeCellOnceNoReachableOneIsLeft)
{
    board({{4, 1}, {1, 4}}, {{2, 2}});
    game->dynamiteCount = 3;
    game->dynamites = new sprite[3];
    game->placeDynamites();
    // No draw: the first free cells in reading order, then off the board.
    EXPECT_EQ(gameRandom(), nextDraw);
    EXPECT_EQ(game->dynamites[0].x, 160);
    EXPECT_EQ(game->dynamites[0].y, 40);
    EXPECT_EQ(game->dynamites[1].x, 40);
    EXPECT_EQ(game->dynamites[1].y, 160);
    EXPECT_EQ(game->dynamites[2].x, OFF_BOARD);
}

TEST_F(PlacementFallback, GhostsSpawnOnTheFarthestFreeCellWhenNoneIs400PixelsAway)
{
    board({{3, 1}, {5, 4}, {1, 4}}, {});
    game->heroActor.placeAt(80, 80);
    game->levelNumber = 1;
    game->ghostSpeedFactor = 1;
    game->ghostCount = 2;
    game->ghosts = new ghost[2];
    game->placeGhosts();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(game->ghosts[i].x, 200);
        EXPECT_EQ(game->ghosts[i].y, 160);
    }
    EXPECT_EQ(game->placementGrid.getCell(5, 4), CELL_WALL);
    // Only the kinds and the spawns draw: two per ghost.
    seedRandom(99);
    for (int i = 0; i < 4; ++i) gameRandom();
    const int afterSpawns = gameRandom();
    seedRandom(99);
    game->placementGrid.setCell(5, 4, CELL_FLOOR);
    game->placeGhosts();
    EXPECT_EQ(gameRandom(), afterSpawns);
}

TEST_F(LevelBuild, FogLiesOverUnreachedFloorUntilABlastOpensIt)
{
    buildSeededLevel(*game, 5, 1);
    // A corridor from the start and a pocket behind two walls.
    Game& g = *game;
    g.wallGrid.fill(CELL_WALL);
    for (int c = 1; c <= 10; ++c) g.wallGrid.setCell(c, 2, CELL_FLOOR);
    g.wallGrid.setCell(13, 2, CELL_FLOOR);
    g.wallGrid.setCell(14, 2, CELL_FLOOR);
    const auto fog = [&](int c, int r) { return getpixel(g.bitmaps.shadeLayer, c * 40 + 20, r * 40 + 20); };
    g.updateReach(80, 80);
    EXPECT_EQ(g.reachGrid.getCell(10, 2), CELL_REACHED);
    EXPECT_EQ(g.reachGrid.getCell(13, 2), CELL_FLOOR);
    EXPECT_EQ(fog(13, 2), 0);
    EXPECT_EQ(fog(12, 2), 0) << "the walls around the pocket";
    EXPECT_EQ(fog(13, 1), 0);
    EXPECT_EQ(fog(11, 2), 0xFF00FF);
    EXPECT_EQ(fog(5, 2), 0xFF00FF);

    g.wallGrid.blast(g.bitmaps.wallsBitmap, 12 * 40 + 20, 2 * 40 + 20);
    g.updateReach(g.heroActor.x, g.heroActor.y);
    EXPECT_EQ(g.reachGrid.getCell(13, 2), CELL_REACHED);
    EXPECT_EQ(fog(13, 2), 0xFF00FF);
    EXPECT_EQ(fog(12, 2), 0xFF00FF);

    // Only the blast's neighbourhood was painted again, yet the fog is the whole-world fog.
    BITMAP* mask = create_bitmap(g.bitmaps.shadeMask->w, g.bitmaps.shadeMask->h);
    BITMAP* shade = makeFilledBitmap(mask->w, mask->h, 0xFF00FF);
    g.reachGrid.paintUnreached(mask, CELL_SIZE);
    for (const auto& [dc, dr] : {std::pair{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}})
        masked_blit(mask, shade, 0, 0, dc * CELL_SIZE, dr * CELL_SIZE, mask->w, mask->h);
    int differing = 0;
    for (int y = 0; y < mask->h; ++y)
        for (int x = 0; x < mask->w; ++x)
            differing += getpixel(mask, x, y) != getpixel(g.bitmaps.shadeMask, x, y) ||
                         getpixel(shade, x, y) != getpixel(g.bitmaps.shadeLayer, x, y);
    EXPECT_EQ(differing, 0);
    destroy_bitmap(mask);
    destroy_bitmap(shade);
}

TEST_F(LevelBuild, FixedSeedsBuildTheLevelsOfTheCatalogue)
{
    std::string catalogue;
    for (int level : {1, 2, 7})
        for (std::uint32_t seed : {1u, 2024u, 31337u}) {
            buildSeededLevel(*game, seed, level);
            catalogue += describeLevel(*game, seed, level) + "\n";
        }
    const std::string path = std::string(TESTS_DIR) + "/world/maze_catalogue.txt";
    const char* write = std::getenv("GHOSTMAZE_WRITE_CATALOGUE");
    if (write && std::string(write) == "1") {
        std::ofstream(path) << catalogue;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << path << " is missing; GHOSTMAZE_WRITE_CATALOGUE=1 writes it";
    std::stringstream stored;
    stored << in.rdbuf();
    const std::vector<std::string> expected = lines(stored.str()), actual = lines(catalogue);
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "first difference at line " << i + 1 << " of " << path;
    ASSERT_EQ(actual.size(), expected.size()) << path;
}
