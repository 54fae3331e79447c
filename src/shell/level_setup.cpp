// Level set-up: how the board is built for a new game or a new level, refilled, or reset after
// a lost life or the last one, and what each case carries over.
#include "shell/game.h"

#include "assets/assets.h"

#include <allegro.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {
constexpr int START_LIVES = 3;
constexpr int START_BOMBS = 1;
constexpr int NO_HUNTER = 10000;           // a hunter index no ghost has
constexpr int FROZEN_HUNT_TICKS = 999;     // the hunt clock of a frozen board, ticks
constexpr int DEATH_SCREAM_VOLUME = 150;

// The library sizes a bitmap's pixels in an int, so a world picture must fit in one.
bool worldPictureFits(int rows, int columns)
{
    const long long bytes = static_cast<long long>(rows) * CELL_SIZE * columns * CELL_SIZE *
                            static_cast<long long>(sizeof(std::uint32_t));
    return rows > 0 && columns > 0 && bytes <= INT_MAX;
}
}  // namespace

void Game::setUpLevel()
{
    resetLevelClocks();
    if (gameOver == 1) {
        // The result stays as the player ended it, for the HUD under GAME OVER and the table.
        markDeath();
        freezeBoard();
    } else if (heroHit) {
        markDeath();
        resetPowerUps();
        placeGhosts();
    } else if (levelNumber == 0 && builtLevel == 0) {
        startNewGame();
    } else if (levelNumber == builtLevel) {
        refillMaze();
    } else {
        startNewLevel();
    }
    heroHit = false;
}

void Game::resetLevelClocks()
{
    coinClock = 0;
    walkClock = 0;
    bombCooldown = 0;
    beamFrame = 0;
    radarSweep = 0;
    musicClock = 0;
    hunterIndex = NO_HUNTER;
    hunterTime = 0;
    ghostSpeedFactor = 1;
    placeX = 0;
    placeY = 0;
    hasRadar = false;
}

void Game::startNewGame()
{
    levelBuildFailed = false;
    gameStarted = false;
    resetCounters();
    chooseGridSize();
    bitmaps.loadGameBitmaps();
    hudShown = HudValues{};  // new strips, black until drawn
    ++stripDrawings;
    if (!bitmaps.gameBitmapsComplete()) return failLevelBuild(unloadedPictures().c_str());
    createLevelPictures();
    if (levelBuildFailed) return;
    allocateGrids();
    if (levelBuildFailed) return;
    resetView();
    resetPowerUps();
    chooseBackground();
    rollItems();
    createLevelObjects();
    buildLevel();
    gameStarted = !levelBuildFailed;
}

void Game::refillMaze()
{
    resetView();
    chooseBackground();
    rollItems();
    buildLevel();
}

void Game::startNewLevel()
{
    builtLevel = levelNumber;
    bitmaps.destroyLevelLayers();
    chooseGridSize();
    createLevelPictures();
    if (levelBuildFailed) return;
    releaseGrids();
    allocateGrids();
    if (levelBuildFailed) return;
    resetView();
    chooseBackground();
    rollItems();
    freeActorArrays();
    createLevelObjects();
    buildLevel();
}

void Game::createLevelPictures()
{
    if (!worldPictureFits(rows, columns)) return failLevelBuild("the maze is too large for the world pictures");
    bitmaps.createLevelLayers(rows, columns);
    forgetPaintedLayers();
    if (!bitmaps.levelLayersComplete()) failLevelBuild("no memory for the level's pictures");
}

// Which pictures failed and how: they were whole when the menu showed, so the player needs the names.
std::string Game::unloadedPictures() const
{
    std::string why = "a picture of the game cannot be loaded:";
    for (const std::string& file : missingAssetFiles(*this)) why += " " + file;
    return why;
}

void Game::failLevelBuild(const char* why)
{
    std::fprintf(stderr, "Ghost Maze: level %d (%d x %d cells) cannot be built: %s\n", levelNumber, columns, rows,
                 why);
    levelBuildFailed = true;
}

void Game::resetCounters()
{
    builtLevel = 1;
    levelNumber = 1;
    score = 0;
    lives = START_LIVES;
}

void Game::resetPowerUps()
{
    bombCount = START_BOMBS;
    baseSpeed = HERO_START_SPEED;
    heroActor.speed = HERO_START_SPEED;
    hasGenerator = false;
    beamPower = 0;
    hasRadar = false;
    hasShield = false;
    shieldTime = 0;
    hasShoes = false;
    shoesTime = 0;
}

void Game::markDeath()
{
    playSound(samples.screamSample3, DEATH_SCREAM_VOLUME);
    BITMAP* picture = bitmaps.deathPicture;
    drawMessagePicture(picture, 0, 0, heroActor.x, heroActor.y, picture->w, picture->h);
}

void Game::freezeBoard()
{
    heroActor.hide();
    for (int i = 0; i < ghostCount; ++i) ghosts[i].speed = 0;
    hunterTime = FROZEN_HUNT_TICKS;
}
