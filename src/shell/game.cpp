// The Game object's life cycle, the menu loop and the game loop with its three steps
// (logic tick, frame drawing, rules of the frame).
#include "shell/game.h"

#include <allegro.h>

#include "shell/frame_pace.h"
#include "shell/ticks.h"

Game::Game()
{
    bitmaps.clearBitmapSlots();
    samples.loadSamples();
    bitmaps.loadFrontEndBitmaps();
    resetGameFlags();
}

// The library objects are gone by now (releaseAssets, endGame); only plain memory is left.
Game::~Game() { freeActorArrays(); }

void Game::resetGameFlags()
{
    gameOver = 0;
    builtLevel = 0;
    levelNumber = 0;
}

void Game::releaseGrids()
{
    placementGrid.release();
    wallGrid.release();
    obstacleGrid.release();
    reachGrid.release();
    spareGrid.release();
    paintedObstacles.release();
    paintedReach.release();
}

namespace {
template <typename T>
void freeArray(T*& array)
{
    delete[] array;
    array = nullptr;
}
}  // namespace

void Game::freeActorArrays()
{
    freeArray(bombs);
    freeArray(blocks);
    freeArray(coins1);
    freeArray(coins2);
    freeArray(coins5);
    freeArray(ghosts);
    freeArray(dynamites);
    freeArray(treasures);
}

void Game::endGame()
{
    resetGameFlags();
    bitmaps.destroyLevelLayers();
    bitmaps.destroyGameBitmaps();
    releaseGrids();
    freeActorArrays();
    frontEnd.recordResult(score);
}

void Game::runMenuLoop()
{
    do {
        runMenu();
        switch (menuChoice) {
        case MENU_PLAY: playOneGame(); break;
        case MENU_PLAYER_NAME: runNameEntry(); break;
        case MENU_HIGH_SCORES: runHighScores(); break;
        default: break;
        }
    } while (menuChoice != MENU_QUIT);
}

void Game::playOneGame()
{
    startTicks();
    remove_mouse();
    setUpLevel();
    // Only the game loop is paced: the menu and the other screens keep their own polling.
    FramePace pace;
    for (;;) {
        pace.beginPass();
        if (!runGamePass()) break;
        pace.finishPass();
        if (observer) observer->passPaced(pace.deadline());
    }
    endGame();
    stopTicks();
    if (observer) observer->gameEnded();
}

bool Game::runGamePass()
{
    if (key[KEY_ESC] || levelBuildFailed) return false;
    // Ticks that arrive during the updates are run in this same pass.
    while (tickCounter.load() > 0) {
        updateTick();
        tickCounter.fetch_sub(1);
    }
    drawFrame();
    const bool boardRebuilt = applyRules();
    if (levelBuildFailed) return false;
    if (!boardRebuilt) presentFrame();
    return true;
}

void Game::updateTick()
{
    if (gameOver != 1) {
        moveHero();
        updateGhosts();
    }
    advanceClocks();
    playAmbientSounds();
}

void Game::drawFrame()
{
    refreshGhostMap();
    eraseLastBeam();
    followView();
    prepareLightLayers();
    drawBackground();
    drawWalls();
    drawHero();
    drawItems();
    updateBombs();
    drawBlocks();
    drawGhosts();
    if (key[KEY_G] && hasGenerator) drawBeam();
    drawRadar();
}

bool Game::applyRules()
{
    pushBlocks();
    blastItems();
    blastGhosts();
    fireBeam();
    collectPickups();
    checkLevelUp();
    return checkLevelEnd();
}
