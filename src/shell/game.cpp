// The Game object's life cycle, the menu loop and the game loop with its three steps
// (logic tick, frame drawing, rules of the frame).
#include "shell/game.h"

#include <allegro.h>

#include <cstdio>

#include "actors/kinds.h"
#include "shell/frame_pace.h"
#include "shell/ticks.h"
#include "shell/window_events.h"

namespace {
constexpr int PAUSE_POLL_MS = 30;  // a paused game looks at its keys this often and sleeps between
}  // namespace

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
    for (const CoinKind& kind : COIN_KINDS) freeArray(this->*kind.coins);
    freeArray(ghosts);
    freeArray(dynamites);
    freeArray(treasures);
}

void Game::endGame()
{
    endScore = score;
    endLevel = levelNumber;
    resetGameFlags();
    bitmaps.destroyLevelLayers();
    bitmaps.destroyGameBitmaps();
    wallRows.setTile(nullptr, 0, 0);  // its tile went with the game's pictures
    releaseGrids();
    freeActorArrays();
    if (playback) {
        // A game watched again is not a new result.
    } else if (gameStarted) {
        frontEnd.recordResult(score);
        saveRecording();
    } else {
        std::fprintf(stderr, "Ghost Maze: the game did not start, so no result is recorded\n");
    }
    gameStarted = false;
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
    } while (menuChoice != MENU_QUIT && !closeRequested.load());
}

void Game::playOneGame()
{
    startTicks();
    remove_mouse();
    // P or M pressed before the game, or a focus lost in the menu, is not this game's.
    startScreenInput();
    paused = false;
    startRecording();
    setUpLevel();
    if (observer) observer->gameStarted(*this);
    // Only the game loop is paced: the menu and the other screens keep their own polling.
    FramePace pace;
    for (;;) {
        pace.beginPass();
        if (!runGamePass()) break;
        if (observer) observer->passWorked(pace.deadline());
        pace.finishPass();
        if (observer) observer->passPaced();
    }
    endGame();
    stopTicks();
    if (observer) observer->gameEnded();
}

bool Game::runGamePass()
{
    readControls();
    if (controls.end || closeRequested.load() || levelBuildFailed || playbackOver()) return false;
    if (controls.sound) switchSound();
    if (updatePause()) {
        rest(PAUSE_POLL_MS);
        return true;
    }
    const std::uint32_t ticks = runPassTicks();
    drawFrame();
    const bool boardRebuilt = applyRules();
    notePass(ticks);
    if (levelBuildFailed) return false;
    if (!boardRebuilt && !framesUnseen)
        presentFrame();
    else
        finishUnshownFrame();
    return true;
}

std::uint32_t Game::runPassTicks()
{
    std::uint32_t ran = 0;
    if (playback) {
        for (; ran < playback->passes[playbackPass].ticks; ++ran) updateTick();
        return ran;
    }
    // Ticks that arrive during the updates are run in this same pass.
    for (; tickCounter.load() > 0; ++ran) {
        updateTick();
        tickCounter.fetch_sub(1);
    }
    return ran;
}

bool Game::updatePause()
{
    // A lost focus or a gamepad gone pauses, but only the pause key resumes: the player comes
    // back to a game that waits.
    const bool focusLost = takeFocusLoss() || controls.padLost;
    if (!paused && (controls.pause || focusLost)) {
        pauseGame();
    } else if (paused && controls.pause) {
        resumeGame();
    }
    return paused;
}

void Game::pauseGame()
{
    paused = true;
    // The clock stops, so no ticks pile up to be run at once on resuming. Outside the game
    // loop there is no clock to stop, and none may be started on resuming.
    pauseStoppedClock = ticksRunning();
    if (pauseStoppedClock) stopTicks();
    showPauseTo(screen);
}

void Game::resumeGame()
{
    paused = false;
    tickCounter.store(0);
    if (pauseStoppedClock) startTicks();
    pauseStoppedClock = false;
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
    startFrame();
    prepareLightLayers();
    drawBackground();
    drawWalls();
    drawHero();
    drawItems();
    updateBombs();
    drawBlocks();
    drawGhosts();
    if (beamFiring()) drawBeam();
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
