// Level up and level end: the score targets, one level per frame, the LEVEL UP picture, and
// which frames the game loop may show after the maze is cleared or a life is lost.
#include <allegro.h>
#include <gtest/gtest.h>

#include "hand_built_board.h"

using LevelUp = HandBuiltBoard;

TEST_F(LevelUp, TheLevelRisesOnlyWhenTheScoreExceedsItsTarget)
{
    struct Case {
        int level, target;
    };
    for (const Case& c : {Case{1, 200}, Case{2, 500}, Case{3, 1000}, Case{4, 1700}, Case{5, 2600}, Case{10, 10100}}) {
        game->levelNumber = c.level;
        game->score = c.target;
        game->checkLevelUp();
        EXPECT_EQ(game->levelNumber, c.level) << "a score of exactly " << c.target;
        game->score = c.target + 1;
        game->checkLevelUp();
        EXPECT_EQ(game->levelNumber, c.level + 1) << "a score of " << c.target + 1;
    }
}

TEST_F(LevelUp, TheFramePictureGoesToTheBottomCentreOfTheMessageLayer)
{
    BITMAP* layer = game->bitmaps.messageLayer;
    game->score = 200;
    game->checkLevelUp();
    EXPECT_EQ(countColour(layer, 0, 0, layer->w, layer->h, magenta()), layer->w * layer->h) << "nothing at 200";

    game->score = 201;
    game->checkLevelUp();
    BITMAP* frame = game->bitmaps.framePicture;
    BITMAP* expected = makeFilledBitmap(layer->w, layer->h, magenta());
    masked_blit(frame, expected, 0, 0, layer->w / 2 - 150, layer->h - 230, frame->w, frame->h);
    // The words are drawn over the frame's middle; its outer band shows the picture alone.
    EXPECT_TRUE(sameRegion(layer, expected, 0, 0, layer->w, layer->h - 230 + 40));
    EXPECT_TRUE(sameRegion(layer, expected, 0, 0, layer->w / 2 - 150 + 40, layer->h));
    destroy_bitmap(expected);
}

namespace {
// Whether a glyph of the alphabet sheet stands at (x, y): every opaque pixel of its cell is there.
bool glyphAt(BITMAP* alphabet, BITMAP* target, char character, int x, int y)
{
    const int sourceX = 16 * (glyphForChar(character) - 1);
    int opaque = 0;
    for (int py = 0; py < 28; ++py)
        for (int px = 0; px < 16; ++px) {
            const int colour = getpixel(alphabet, sourceX + px, py);
            if (colour == makecol(255, 0, 255)) continue;
            ++opaque;
            if (getpixel(target, x + px, y + py) != colour) return false;
        }
    return opaque > 0;
}
}  // namespace

TEST_F(LevelUp, ThePictureSaysLevelUpOverTheRuledNewNumber)
{
    BITMAP* layer = game->bitmaps.messageLayer;
    BITMAP* alphabet = game->bitmaps.alphabetPicture;
    const int centre = layer->w / 2, bottom = layer->h;
    game->score = 201;
    game->checkLevelUp();
    EXPECT_TRUE(glyphAt(alphabet, layer, 'L', centre - 72, bottom - 158));
    EXPECT_TRUE(glyphAt(alphabet, layer, 'L', centre - 72 + 4 * 18, bottom - 158));
    EXPECT_TRUE(glyphAt(alphabet, layer, 'U', centre + 36, bottom - 158));
    EXPECT_TRUE(glyphAt(alphabet, layer, 'P', centre + 36 + 18, bottom - 158));
    EXPECT_TRUE(glyphAt(alphabet, layer, '2', centre - 18, bottom - 100));
    // Only the number is ruled, above and below.
    EXPECT_EQ(getpixel(layer, centre - 10, bottom - 104), makecol(10, 90, 40));
    EXPECT_EQ(getpixel(layer, centre - 10, bottom - 100 + 31), makecol(0, 70, 30));
    EXPECT_NE(getpixel(layer, centre - 60, bottom - 162), makecol(10, 90, 40));
}

TEST_F(LevelUp, AScorePastSeveralTargetsGainsOneLevelPerFrame)
{
    game->score = 1500;
    for (int expected : {2, 3, 4, 4, 4}) {
        game->checkLevelUp();
        EXPECT_EQ(game->levelNumber, expected);
    }
    EXPECT_EQ(game->builtLevel, 1) << "the maze is not rebuilt by a level-up";
}

using LevelEnd = HandBuiltBoard;

TEST_F(LevelEnd, TheLastCoinRefillsTheCountAndHidesTheFrame)
{
    game->coin1Count = 7;
    game->coin2Count = 3;
    game->coin5Count = 2;
    game->coinsLeft = 0;
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->coinsLeft, 12);
    EXPECT_FALSE(game->heroHit);
}

TEST_F(LevelEnd, ThreeFiveCoinsClearTheMazeInTheSameFrame)
{
    game->coin5Count = 3;
    game->coinsLeft = 3;
    for (int i = 0; i < 3; ++i) game->coins5[i].placeAt(HERO_X + 4 * i, HERO_Y);
    game->collectPickups();
    EXPECT_EQ(game->coinsLeft, 0);
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->coinsLeft, 3);
}

TEST_F(LevelEnd, ALifeLostWithLivesLeftHidesTheFrame)
{
    game->coinsLeft = 5;
    EXPECT_FALSE(game->checkLevelEnd()) << "nothing happened";
    putGhost(0, HERO_X + 10, HERO_Y);
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->lives, 2);
    EXPECT_EQ(game->gameOver, 0);
}

TEST_F(LevelEnd, AGhostAndABlastTogetherCostOneLife)
{
    game->coinsLeft = 5;
    putGhost(0, HERO_X, HERO_Y);
    game->bombs[0].arm(HERO_X, HERO_Y);
    game->bombs[0].fuse = 63;
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->lives, 2);
    EXPECT_TRUE(game->bombs[0].armed) << "the blast rule was not asked";
}

TEST_F(LevelEnd, ABlastAloneCostsALife)
{
    game->coinsLeft = 5;
    game->bombs[3].arm(HERO_X + 30, HERO_Y);
    game->bombs[3].fuse = 61;
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->lives, 2);
    EXPECT_FALSE(game->bombs[3].armed);
}

TEST_F(LevelEnd, TheLastLifeEndsTheGameAndItsFrameIsShown)
{
    game->coinsLeft = 5;
    game->lives = 1;
    putGhost(0, HERO_X, HERO_Y + 5);
    EXPECT_FALSE(game->checkLevelEnd());
    EXPECT_EQ(game->gameOver, 1);
}

TEST_F(LevelEnd, ACoinlessMazeWinsOverAGhostOnTheHero)
{
    game->coinsLeft = 0;
    putGhost(0, HERO_X, HERO_Y);
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->lives, 3) << "contact is not judged in the frame the maze is cleared";
}

// On a game started by the real level set-up.
class LevelEndOnARealGame : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        game->setUpLevel();
        ASSERT_FALSE(game->levelBuildFailed);
    }

    void collectEveryCoin()
    {
        for (auto [coins, n] : {std::pair{game->coins1, game->coin1Count}, {game->coins2, game->coin2Count},
                                {game->coins5, game->coin5Count}})
            for (int i = 0; i < n; ++i) coins[i].takeOffBoard();
        game->coinsLeft = 0;
    }

    void catchTheHero() { game->ghosts[0].placeAt(game->heroActor.x, game->heroActor.y); }
};

TEST_F(LevelEndOnARealGame, AClearedMazeIsRefilledUntilALevelUpBringsTheBiggerOne)
{
    const int total = game->coin1Count + game->coin2Count + game->coin5Count;
    collectEveryCoin();
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->builtLevel, 1);
    EXPECT_EQ(game->coinsLeft, total);
    EXPECT_EQ(coinsOnBoard(*game), total);

    game->score = 201;
    game->checkLevelUp();
    ASSERT_EQ(game->levelNumber, 2);
    EXPECT_EQ(game->builtLevel, 1) << "the old maze is played on under the new number";
    collectEveryCoin();
    EXPECT_TRUE(game->checkLevelEnd());
    EXPECT_EQ(game->builtLevel, 2);
    EXPECT_EQ(game->bitmaps.wallsBitmap->w, 33 * CELL_SIZE);
    EXPECT_EQ(game->coinsLeft, game->coin1Count + game->coin2Count + game->coin5Count);
    EXPECT_EQ(coinsOnBoard(*game), game->coinsLeft);
}

TEST_F(LevelEndOnARealGame, LostLivesKeepTheMazeAndTheLastOneEndsTheGameOnAShownFrame)
{
    const int heroX = game->heroActor.x, heroY = game->heroActor.y;
    const int coins = game->coinsLeft;
    for (int livesLeft : {2, 1}) {
        catchTheHero();
        EXPECT_TRUE(game->checkLevelEnd()) << "a lost life with lives left is not shown";
        EXPECT_EQ(game->lives, livesLeft);
        EXPECT_FALSE(game->heroHit);
        EXPECT_EQ(game->heroActor.x, heroX);
        EXPECT_EQ(game->heroActor.y, heroY);
        EXPECT_EQ(game->coinsLeft, coins);
        EXPECT_GE(pixelDistance(game->ghosts[0].x, game->ghosts[0].y, heroX, heroY), GHOST_SPAWN_DISTANCE);
    }
    catchTheHero();
    EXPECT_FALSE(game->checkLevelEnd()) << "the frame of the last life is shown";
    EXPECT_EQ(game->gameOver, 1);
    EXPECT_EQ(game->heroActor.x, HIDDEN_HERO);
    for (int i = 0; i < game->ghostCount; ++i) EXPECT_EQ(game->ghosts[i].speed, 0);
    // The frozen board: nothing reaches the hidden hero any more.
    for (int frame = 0; frame < 100; ++frame) EXPECT_FALSE(game->checkLevelEnd());
}
