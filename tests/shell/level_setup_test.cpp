// The level set-up's five cases, what each keeps and resets, and a build that cannot be made.
#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {
const int MAGENTA = 0xFF00FF;

void givePowerUps(Game& game)
{
    game.bombCount = 5;
    game.baseSpeed = game.heroActor.speed = 6;
    game.hasShoes = true;
    game.shoesTime = 300;
    game.hasShield = true;
    game.shieldTime = 9;
    game.hasGenerator = true;
    game.beamPower = 30;
    game.hasRadar = true;
}

void expectPowerUps(const Game& game, bool kept)
{
    EXPECT_EQ(game.bombCount, kept ? 5 : 1);
    EXPECT_EQ(game.baseSpeed, kept ? 6 : 4);
    EXPECT_EQ(game.heroActor.speed, kept ? 6 : 4);
    EXPECT_EQ(game.hasShoes, kept);
    EXPECT_EQ(game.shoesTime, kept ? 300 : 0);
    EXPECT_EQ(game.hasShield, kept);
    EXPECT_EQ(game.shieldTime, kept ? 9 : 0);
    EXPECT_EQ(game.hasGenerator, kept);
    EXPECT_EQ(game.beamPower, kept ? 30 : 0);
    EXPECT_FALSE(game.hasRadar) << "the radar is lost in every case";
}

// Where the death picture's first opaque pixel lands when it is left at (x, y).
void expectDeathPictureAt(const Game& game, int x, int y)
{
    BITMAP* picture = game.bitmaps.deathPicture;
    for (int py = 0; py < picture->h; ++py)
        for (int px = 0; px < picture->w; ++px)
            if (getpixel(picture, px, py) != MAGENTA) {
                EXPECT_EQ(getpixel(game.bitmaps.messageLayer, x + px, y + py), getpixel(picture, px, py));
                return;
            }
    FAIL() << "the death picture is all see-through";
}

void expectGhostsTogetherFarFromTheHero(const Game& game)
{
    for (int i = 0; i < game.ghostCount; ++i) {
        EXPECT_EQ(game.ghosts[i].x, game.ghosts[0].x);
        EXPECT_EQ(game.ghosts[i].y, game.ghosts[0].y);
        EXPECT_GT(game.ghosts[i].speed, 0);
    }
    EXPECT_GE(pixelDistance(game.heroActor.x, game.heroActor.y, game.ghosts[0].x, game.ghosts[0].y), 400);
}
// The ghosts' collision picture as the ghosts read it: green on every blocked cell, see-through on floor.
void expectGhostMapShowsObstacles(const Game& game)
{
    const int green = 0x00FF00;
    int wrong = 0;
    for (int r = 0; r < game.rows; ++r)
        for (int c = 0; c < game.columns; ++c) {
            const bool blocked = game.obstacleGrid.getCell(c, r) == CELL_WALL;
            for (const auto& [dx, dy] : {std::pair{1, 1}, {20, 20}, {38, 38}})
                if (getpixel(game.bitmaps.ghostMap, c * CELL_SIZE + dx, r * CELL_SIZE + dy) != (blocked ? green : MAGENTA))
                    ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}
}  // namespace

using LevelSetUp = GameTest;

TEST_F(LevelSetUp, EveryNewMazeShowsItsObstaclesToTheGhostsBeforeItsFirstFrame)
{
    // The first ticks on a maze move the ghosts before the first frame is drawn.
    Game& g = *game;
    g.setUpLevel();
    expectGhostMapShowsObstacles(g);
    g.coinsLeft = 0;  // cleared: refilled at the same size, over the old maze's picture
    g.setUpLevel();
    expectGhostMapShowsObstacles(g);
    g.levelNumber = 2;  // new pictures at the bigger size
    g.setUpLevel();
    expectGhostMapShowsObstacles(g);
}

TEST_F(LevelSetUp, ANewGameStartsAtLevelOneWithThreeLivesOnAFreshMaze)
{
    game->coinClock = 7;
    game->walkClock = 3;
    game->bombCooldown = 12;
    game->hunterTime = 50;
    game->hunterIndex = 2;
    game->ghostSpeedFactor = 3;
    game->musicClock = 99;
    game->score = 40;
    game->setUpLevel();
    Game& g = *game;
    EXPECT_FALSE(g.levelBuildFailed);
    EXPECT_EQ(g.levelNumber, 1);
    EXPECT_EQ(g.builtLevel, 1);
    EXPECT_EQ(g.lives, 3);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.rows, 16);
    EXPECT_EQ(g.columns, 32);
    for (const GridLayer* grid : {&g.placementGrid, &g.wallGrid, &g.obstacleGrid, &g.reachGrid}) {
        EXPECT_EQ(grid->rowCount, 16);
        EXPECT_EQ(grid->columnCount, 32);
    }
    EXPECT_EQ(g.spareGrid.columnCount, 0);
    EXPECT_TRUE(g.bitmaps.gameBitmapsComplete());
    EXPECT_TRUE(g.bitmaps.levelLayersComplete());
    EXPECT_EQ(g.bitmaps.wallsBitmap->w, 1280);
    expectPowerUps(g, false);
    EXPECT_EQ(g.ghostCount, 6);
    EXPECT_NE(g.bombs, nullptr);
    EXPECT_EQ(g.coinsLeft, 6);
    EXPECT_EQ(g.heroActor.x, 80);
    EXPECT_EQ(g.heroActor.y, 80);
    EXPECT_EQ(g.heroActor.direction, DIRECTION_RIGHT);
    EXPECT_EQ(g.nadX, -240);
    EXPECT_EQ(g.nadY, -80);
    for (int clock : {g.coinClock, g.walkClock, g.bombCooldown, g.hunterTime, g.musicClock}) EXPECT_EQ(clock, 0);
    EXPECT_EQ(g.hunterIndex, 10000);
    EXPECT_EQ(g.ghostSpeedFactor, 1);
    expectGhostsTogetherFarFromTheHero(g);
}

TEST_F(LevelSetUp, ARefillBuildsANewMazeOfTheSameSizeAndKeepsPowerUpsAndMessages)
{
    game->setUpLevel();
    Game& g = *game;
    givePowerUps(g);
    g.score = 150;
    g.ogrX = 100;
    g.heroActor.placeAt(400, 200);
    putpixel(g.bitmaps.messageLayer, 300, 300, 0xFFFFFF);
    const std::vector<std::int32_t> oldWalls = g.wallGrid.cells;
    BITMAP* world = g.bitmaps.worldBitmap;
    sprite* coins = g.coins1;
    // The maze was cleared: the level end counts the coins again and hands over.
    g.coinsLeft = g.coin1Count + g.coin2Count + g.coin5Count;
    g.setUpLevel();
    EXPECT_EQ(g.levelNumber, 1);
    EXPECT_EQ(g.score, 150);
    EXPECT_EQ(g.rows, 16);
    EXPECT_EQ(g.bitmaps.worldBitmap, world);
    EXPECT_EQ(g.coins1, coins);
    EXPECT_EQ(g.coinsLeft, 6);
    EXPECT_NE(g.wallGrid.cells, oldWalls);
    expectPowerUps(g, true);
    EXPECT_EQ(g.heroActor.x, 80);
    EXPECT_EQ(g.heroActor.speed, 6);
    EXPECT_EQ(g.ogrX, 0);
    EXPECT_EQ(getpixel(g.bitmaps.messageLayer, 300, 300), 0xFFFFFF);
}

TEST_F(LevelSetUp, ANewLevelRemakesEverythingAtTheBiggerSizeAndDropsTheMessages)
{
    game->setUpLevel();
    Game& g = *game;
    givePowerUps(g);
    putpixel(g.bitmaps.messageLayer, 300, 300, 0xFFFFFF);
    g.levelNumber = 3;  // two level-ups while the first maze was cleared
    g.setUpLevel();
    EXPECT_FALSE(g.levelBuildFailed);
    EXPECT_EQ(g.builtLevel, 3);
    EXPECT_EQ(g.rows, 18);
    EXPECT_EQ(g.columns, 34);
    EXPECT_EQ(g.wallGrid.columnCount, 34);
    EXPECT_EQ(g.reachGrid.rowCount, 18);
    EXPECT_EQ(g.bitmaps.wallsBitmap->w, 1360);
    EXPECT_EQ(g.bitmaps.radarBitmap->h, 18 * 9);
    EXPECT_EQ(g.mapMaxX, 80);
    EXPECT_EQ(g.ghostCount, 9);
    EXPECT_EQ(g.coinsLeft, 9);
    EXPECT_EQ(getpixel(g.bitmaps.messageLayer, 300, 300), MAGENTA);
    expectPowerUps(g, true);
}

TEST_F(LevelSetUp, ALostLifeKeepsTheBoardAndSendsTheGhostsFarAway)
{
    game->setUpLevel();
    Game& g = *game;
    givePowerUps(g);
    g.levelNumber = 2;  // a level-up does not build the new maze when a life is lost
    g.score = 320;
    g.lives = 2;
    g.coinsLeft = 4;
    g.heroActor.placeAt(120, 80);
    for (int i = 0; i < g.ghostCount; ++i) g.ghosts[i].placeAt(160 + 4 * i, 80);
    const std::vector<std::int32_t> walls = g.wallGrid.cells;
    const int coinX = g.coins5[0].x, coinY = g.coins5[0].y;
    g.heroHit = true;
    g.setUpLevel();
    EXPECT_FALSE(g.heroHit);
    EXPECT_EQ(g.builtLevel, 1);
    EXPECT_EQ(g.rows, 16);
    EXPECT_EQ(g.wallGrid.cells, walls);
    EXPECT_EQ(g.coins5[0].x, coinX);
    EXPECT_EQ(g.coins5[0].y, coinY);
    EXPECT_EQ(g.coinsLeft, 4);
    EXPECT_EQ(g.score, 320);
    EXPECT_EQ(g.lives, 2);
    EXPECT_EQ(g.heroActor.x, 120);
    EXPECT_EQ(g.heroActor.y, 80);
    expectPowerUps(g, false);
    expectGhostsTogetherFarFromTheHero(g);
    expectDeathPictureAt(g, 120, 80);
}

TEST_F(LevelSetUp, TheLastLifeFreezesTheBoardAndKeepsTheResult)
{
    game->setUpLevel();
    Game& g = *game;
    g.levelNumber = 2;
    g.score = 777;
    g.lives = 0;
    g.heroActor.placeAt(200, 160);
    const std::vector<std::int32_t> walls = g.wallGrid.cells;
    g.gameOver = 1;
    g.heroHit = true;
    g.setUpLevel();
    EXPECT_EQ(g.gameOver, 1);
    EXPECT_FALSE(g.heroHit);
    EXPECT_EQ(g.heroActor.x, -1000);
    EXPECT_EQ(g.heroActor.y, -1000);
    for (int i = 0; i < g.ghostCount; ++i) EXPECT_EQ(g.ghosts[i].speed, 0);
    EXPECT_EQ(g.hunterTime, 999);
    EXPECT_EQ(g.levelNumber, 2);
    EXPECT_EQ(g.builtLevel, 1);
    EXPECT_EQ(g.score, 777);
    EXPECT_EQ(g.lives, 0);
    EXPECT_EQ(g.wallGrid.cells, walls);
    expectDeathPictureAt(g, 200, 160);

    // Only a new game starts from nothing again.
    g.endGame();
    g.setUpLevel();
    EXPECT_EQ(g.levelNumber, 1);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.lives, 3);
    EXPECT_EQ(g.gameOver, 0);
}

TEST_F(LevelSetUp, AMazeTooLargeForItsPicturesEndsTheGameInsteadOfCrashing)
{
    game->setUpLevel();
    game->levelNumber = 600;
    testing::internal::CaptureStderr();
    game->setUpLevel();
    const std::string why = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(game->levelBuildFailed);
    EXPECT_NE(why.find("level 600"), std::string::npos) << why;
    EXPECT_EQ(game->bitmaps.worldBitmap, nullptr);
    EXPECT_FALSE(game->runGamePass());
    // The game had started: its result counts.
    game->endGame();
    EXPECT_EQ(folder->read(HIGH_SCORE_FILE), "PLAYER\t0\n");
    // The next game is built as if nothing had happened.
    game->setUpLevel();
    EXPECT_FALSE(game->levelBuildFailed);
    EXPECT_EQ(game->rows, 16);
}

TEST_F(LevelSetUp, AMissingPictureEndsTheGameBeforeAnythingIsDrawn)
{
    namespace fs = std::filesystem;
    const fs::path pictures = fs::path(folder->path()) / "_bmp";
    const fs::path shipped = fs::read_symlink(pictures);
    fs::remove(pictures);
    fs::create_directory(pictures);
    for (const auto& file : fs::directory_iterator(shipped))
        if (file.path().filename() != "teren.bmp") fs::create_symlink(file.path(), pictures / file.path().filename());

    testing::internal::CaptureStderr();
    game->setUpLevel();
    const std::string why = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(game->levelBuildFailed);
    EXPECT_NE(why.find("_bmp/teren.bmp (missing)"), std::string::npos) << why;
    EXPECT_EQ(game->bitmaps.terrainPicture, nullptr);
    EXPECT_EQ(game->bitmaps.worldBitmap, nullptr);
    EXPECT_EQ(game->wallGrid.columnCount, 0);
    EXPECT_EQ(game->ghosts, nullptr);
    // A game that never started is no result: the table is left untouched.
    folder->write(HIGH_SCORE_FILE, "ALA\t120\n");
    testing::internal::CaptureStderr();
    game->endGame();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ghost Maze: the game did not start, so no result is recorded\n");
    EXPECT_EQ(folder->read(HIGH_SCORE_FILE), "ALA\t120\n");

    fs::remove_all(pictures);
    fs::create_directory_symlink(shipped, pictures);
    game->setUpLevel();
    EXPECT_FALSE(game->levelBuildFailed);
    EXPECT_TRUE(game->bitmaps.levelLayersComplete());
}
