// The two rules that close every frame: the level rises as soon as the score passes its target,
// and the board is handed to the level set-up when the maze is cleared or a life is lost.
#include "shell/game.h"

#include <allegro.h>

#include <cstdio>

namespace {
constexpr int TARGET_PER_LEVEL_SQUARED = 100;  // level L is passed above L x L x 100 + 100 points
constexpr int TARGET_BASE = 100;
// Where the LEVEL UP picture and its texts go, from the bottom centre of the message layer.
constexpr int FRAME_DX = -150;
constexpr int FRAME_DY = -230;
constexpr int LEVEL_WORD_DX = -72;
constexpr int UP_WORD_DX = 36;
constexpr int WORDS_DY = -158;
constexpr int NUMBER_DX = -18;
constexpr int NUMBER_DY = -100;
}  // namespace

int Game::levelTarget() const { return levelNumber * levelNumber * TARGET_PER_LEVEL_SQUARED + TARGET_BASE; }

void Game::checkLevelUp()
{
    // The frozen board's result is final: a score already past the next targets climbs no further.
    if (gameOver == 1) return;
    if (score <= levelTarget()) return;
    // One level per frame at most, so a big jump shows one picture and sound per level gained.
    const BITMAP* layer = bitmaps.messageLayer;
    const int centreX = layer->w / 2;
    const int bottom = layer->h;
    drawMessagePicture(bitmaps.framePicture, 0, 0, centreX + FRAME_DX, bottom + FRAME_DY, bitmaps.framePicture->w,
                       bitmaps.framePicture->h);
    playSound(samples.levelUpSample, 150);
    ++levelNumber;
    char number[16];
    std::snprintf(number, sizeof number, "%d", levelNumber);
    drawMessageGlyphs(centreX + LEVEL_WORD_DX, bottom + WORDS_DY, 0, "LEVEL");
    drawMessageGlyphs(centreX + UP_WORD_DX, bottom + WORDS_DY, 0, "UP");
    drawMessageGlyphs(centreX + NUMBER_DX, bottom + NUMBER_DY, 1, number);
}

bool Game::checkLevelEnd()
{
    if (coinsLeft == 0) {
        // A refill while the level is the one the maze was built for, the next level otherwise.
        coinsLeft = coinTotal();
        setUpLevel();
        return true;
    }
    // A ghost and a blast in the same frame cost one life only.
    const bool lifeLost = checkGhostContact() || blastHero();
    if (!lifeLost) return false;
    if (lives == 0) {
        // The last life: this frame is still shown, with the game-over picture.
        gameOver = 1;
        setUpLevel();
        return false;
    }
    setUpLevel();
    return true;
}
