// Actor drawing: the animation clocks and the picture cells the hero, ghosts, coins, items and
// blocks are drawn from.
#include <allegro.h>
#include <gtest/gtest.h>

#include "drawing_support.h"
#include "shell/game.h"
#include "test_support.h"

namespace {

class ActorDrawing : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        buildBareBoard(*game, 16, 32);
        clear_to_color(game->bitmaps.worldBitmap, makecol(0, 0, 0));
        clear_to_color(game->bitmaps.glowLayer, makecol(255, 0, 255));
    }
    int world(int x, int y) const { return getpixel(game->bitmaps.worldBitmap, x, y); }
    int glow(int x, int y) const { return getpixel(game->bitmaps.glowLayer, x, y); }
};

using AnimationClocks = ActorDrawing;

TEST_F(AnimationClocks, TheWalkClockCountsFortyOneTicksAndTheCoinClockFortyEight)
{
    for (int tick = 1; tick <= 48 * 41; ++tick) {
        game->advanceClocks();
        ASSERT_EQ(game->walkClock, tick % 41);
        ASSERT_EQ(game->coinClock, tick % 48);
    }
}

using WalkingFrames = ActorDrawing;

struct HeroPose {
    int walkClock, row, frameBefore, frameAfter;
};

TEST_F(WalkingFrames, TheHeroAlternatesColumnsTenAndElevenInTheRowOfHisFacing)
{
    const HeroPose poses[] = {{0, 0, 11, 10}, {19, 1, 11, 10}, {20, 2, 10, 11}, {30, 3, 10, 11},
                              {40, 3, 10, 10}, {40, 1, 11, 11}};
    for (const HeroPose& pose : poses) {
        SCOPED_TRACE(pose.walkClock);
        game->walkClock = pose.walkClock;
        game->heroActor.row = pose.row;
        game->heroActor.frame = pose.frameBefore;
        game->drawHero();
        EXPECT_EQ(game->heroActor.frame, pose.frameAfter);
        EXPECT_EQ(world(80, 80), cellColour(pose.frameAfter, pose.row, SHEET_TINT));
        EXPECT_EQ(world(119, 119), cellColour(pose.frameAfter, pose.row, SHEET_TINT));
        EXPECT_EQ(glow(100, 100), makecol(255, 0, 255));
    }
}

struct GhostPose {
    int kind, walkClock, frameBefore, rowBefore, frameAfter, rowAfter;
};

TEST_F(WalkingFrames, GhostsGlowInTheirKindsColumnsAndTheHunterInRowZero)
{
    const GhostPose poses[] = {
        {2, 5, 0, 2, 4, 2},    // cell (160, 80)
        {2, 25, 0, 2, 5, 2},   // cell (200, 80)
        {0, 39, 0, 3, 1, 3},   {4, 0, 9, 1, 8, 1},
        {5, 5, 4, 3, 12, 0},   // the hunter keeps no facing: (480, 0)
        {5, 25, 4, 2, 13, 0},  // (520, 0)
        {5, 40, 7, 2, 7, 2},   // at the clock's end nothing changes
    };
    game->ghosts = new ghost[1];
    game->ghostCount = 1;
    ghost& g = game->ghosts[0];
    g.placeAt(400, 200);
    for (const GhostPose& pose : poses) {
        SCOPED_TRACE(::testing::Message() << "kind " << pose.kind << " clock " << pose.walkClock);
        g.kind = pose.kind;
        g.frame = pose.frameBefore;
        g.row = pose.rowBefore;
        game->walkClock = pose.walkClock;
        game->drawGhosts();
        EXPECT_EQ(g.frame, pose.frameAfter);
        EXPECT_EQ(g.row, pose.rowAfter);
        EXPECT_EQ(glow(420, 220), cellColour(pose.frameAfter, pose.rowAfter, SHEET_TINT));
        EXPECT_EQ(world(420, 220), makecol(0, 0, 0));
    }
}

using ItemsAndCoins = ActorDrawing;

TEST_F(ItemsAndCoins, CoinsGlowInStepThroughTwelveFramesFromTheirOwnPictures)
{
    game->coins1 = new sprite[1];
    game->coins2 = new sprite[1];
    game->coins5 = new sprite[2];
    game->coin1Count = game->coin2Count = 1;
    game->coin5Count = 2;
    game->coins1[0].placeAt(0, 0);
    game->coins2[0].placeAt(40, 0);
    game->coins5[0].placeAt(80, 0);
    game->coins5[1].placeAt(OFF_BOARD, OFF_BOARD);  // collected: clipped away
    for (const int clock : {0, 3, 4, 47}) {
        SCOPED_TRACE(clock);
        game->coinClock = clock;
        game->drawItems();
        EXPECT_EQ(glow(20, 20), cellColour(clock / 4, 0, COIN1_TINT));
        EXPECT_EQ(glow(60, 20), cellColour(clock / 4, 0, COIN2_TINT));
        EXPECT_EQ(glow(100, 20), cellColour(clock / 4, 0, COIN5_TINT));
        EXPECT_EQ(world(20, 20), makecol(0, 0, 0));
    }
}

struct ItemSlot {
    sprite Game::*item;
    std::int32_t Game::*absent;
    int tint;
};

TEST_F(ItemsAndCoins, AnItemIsDrawnOnlyWhileItsAbsentFlagIsZero)
{
    const ItemSlot items[] = {{&Game::generatorItem, &Game::generatorAbsent, GENERATOR_TINT},
                              {&Game::radarItem, &Game::radarAbsent, RADAR_TINT},
                              {&Game::shieldItem, &Game::shieldAbsent, SHIELD_TINT},
                              {&Game::lifeItem, &Game::lifeAbsent, LIFE_TINT},
                              {&Game::shoesItem, &Game::shoesAbsent, SHOES_TINT}};
    for (const ItemSlot& slot : items) {
        SCOPED_TRACE(slot.tint);
        (game->*slot.item).placeAt(200, 200);
        for (const int absent : {0, 1, 55}) {
            game->*slot.absent = absent;
            clear_to_color(game->bitmaps.worldBitmap, makecol(0, 0, 0));
            game->drawItems();
            EXPECT_EQ(world(220, 220), absent == 0 ? cellColour(0, 0, slot.tint) : makecol(0, 0, 0));
        }
        game->*slot.absent = 1;
    }
}

TEST_F(ItemsAndCoins, PickUpsTreasuresAndBlocksComeFromTheirPicturesOverTheHero)
{
    game->dynamites = new sprite[1];
    game->dynamiteCount = 1;
    game->dynamites[0].placeAt(80, 80);  // on the hero
    game->treasures = new sprite[1];
    game->treasureCount = 1;
    game->treasures[0].placeAt(400, 80);
    game->blocks = new sprite[1];
    game->blockCount = 1;
    game->blocks[0].placeAt(600, 80);
    game->drawHero();
    game->drawItems();
    game->drawBlocks();
    game->finishBackground();  // the blocks are drawn as the band is made
    EXPECT_EQ(world(100, 100), cellColour(0, 0, BOMB_TINT));
    EXPECT_EQ(world(420, 100), cellColour(0, 0, TREASURE_TINT));
    EXPECT_EQ(world(620, 100), cellColour(0, 0, TERRAIN_TINT));
}

}  // namespace
