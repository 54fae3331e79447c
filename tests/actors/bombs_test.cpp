// Bombs: laying with B, the fuse timeline with its pictures and wall blast, the reach of the
// blast against ghosts, items and the hero, and the blocks a blast takes away.
#include <allegro.h>
#include <gtest/gtest.h>

#include "hand_built_board.h"
#include "shell/random.h"

class BombBoard : public HandBuiltBoard {
protected:
    // A bomb laid by hand in slot 0 at a pixel position; its centre is 20 pixels in.
    bomb& layAt(int x, int y, int slot = 0)
    {
        game->bombs[slot].arm(x, y);
        return game->bombs[slot];
    }

    // Burns a laid bomb's fuse up to (and including) the given frame.
    void burnTo(const bomb& b, int fuse)
    {
        while (b.armed && b.fuse < fuse) game->updateBombs();
    }
};

using BombPictureFrames = BombBoard;

TEST_F(BombPictureFrames, CountDownBlinkThenExplode)
{
    struct Range {
        int first, last, frame;
    };
    const Range table[] = {{0, 34, 0},  {35, 39, 1}, {40, 44, 2}, {45, 49, 3}, {50, 54, 4}, {55, 56, 0},
                           {57, 58, 4}, {59, 60, 0}, {61, 62, 4}, {63, 64, 0}, {65, 66, 4}, {67, 67, 0},
                           {68, 68, 1}, {69, 69, 2}, {70, 70, 3}, {71, 71, 4}};
    for (const Range& r : table)
        for (int fuse = r.first; fuse <= r.last; ++fuse) EXPECT_EQ(Game::bombFrame(fuse), r.frame) << "fuse " << fuse;
}

using LayingBombs = BombBoard;

TEST_F(LayingBombs, HoldingBLaysOneBombEvery11FramesFromTheHerosSpot)
{
    game->bombCount = 3;
    game->heroActor.placeAt(213, 207);
    key[KEY_B] = 1;
    game->readControls();
    for (int frame = 1; frame <= 40; ++frame) {
        game->updateBombs();
        const int laid = frame / 11;
        ASSERT_EQ(game->bombCount, 3 - std::min(laid, 3)) << "frame " << frame;
    }
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_TRUE(game->bombs[slot].armed);
        EXPECT_EQ(game->bombs[slot].x, 213);
        EXPECT_EQ(game->bombs[slot].y, 207);
    }
    EXPECT_FALSE(game->bombs[3].armed);
    // Laid 11 frames apart, they burn 11 frames apart.
    EXPECT_EQ(game->bombs[0].fuse - game->bombs[1].fuse, 11);
    EXPECT_EQ(game->bombs[1].fuse - game->bombs[2].fuse, 11);
}

TEST_F(LayingBombs, NothingIsLaidWithAnEmptyStockOrEverySlotInUse)
{
    key[KEY_B] = 1;
    game->readControls();
    game->bombCount = 0;
    for (int frame = 0; frame < 30; ++frame) game->updateBombs();
    EXPECT_FALSE(game->bombs[0].armed);

    for (int slot = 0; slot < BOMB_SLOTS; ++slot) layAt(600, 400, slot);
    game->bombCount = 4;
    game->bombCooldown = 11;
    game->updateBombs();
    EXPECT_EQ(game->bombCount, 4);
    EXPECT_EQ(game->bombCooldown, 0) << "the press still counts";
}

TEST_F(LayingBombs, TheHiddenHeroOfALostGameLaysNone)
{
    game->gameOver = 1;
    game->heroActor.hide();
    game->bombCount = 5;
    key[KEY_B] = 1;
    game->readControls();
    for (int frame = 0; frame < 100; ++frame) game->updateBombs();
    EXPECT_EQ(game->bombCount, 5);
    for (int slot = 0; slot < BOMB_SLOTS; ++slot) EXPECT_FALSE(game->bombs[slot].armed);
}

TEST_F(LayingBombs, TheLowestFreeSlotIsTaken)
{
    layAt(600, 400, 0);
    layAt(600, 400, 2);
    game->bombCount = 1;
    game->bombCooldown = 11;
    key[KEY_B] = 1;
    game->readControls();
    game->updateBombs();
    EXPECT_TRUE(game->bombs[1].armed);
    EXPECT_EQ(game->bombs[1].x, HERO_X);
    EXPECT_EQ(game->bombs[1].fuse, 1) << "a bomb burns from the frame it is laid";
}

using FuseTimeline = BombBoard;

TEST_F(FuseTimeline, BlastWindowWallsAndFreedSlotComeOnTheirFrames)
{
    // The bomb on cell (10, 8), centre (420, 340); a wall two cells to its right.
    bomb& b = layAt(400, 320);
    wall(12, 8);
    BITMAP* glow = game->bitmaps.glowLayer;
    BITMAP* explosion = game->bitmaps.explosionPicture;
    ghost& g = putGhost(0, 400, 320);
    seedRandom(31);
    for (int frame = 1; frame <= 72; ++frame) {
        SCOPED_TRACE(testing::Message() << "fuse " << frame);
        clearLayers();
        game->updateBombs();
        g.placeAt(400, 320);
        g.kind = 0;
        game->blastGhosts();
        EXPECT_EQ(g.x == OFF_BOARD, frame >= 61 && frame <= 69);
        EXPECT_EQ(game->wallGrid.getCell(12, 8), frame < 70 ? CELL_WALL : CELL_FLOOR);
        EXPECT_EQ(game->obstacleGrid.getCell(12, 8), frame < 70 ? CELL_WALL : CELL_FLOOR);
        EXPECT_EQ(b.armed, frame < 72);
        EXPECT_EQ(b.fuse, frame < 72 ? frame : 0);
        if (frame >= 67 && frame <= 71) {
            BITMAP* expected = makeFilledBitmap(120, 120, magenta());
            masked_blit(explosion, expected, 120 * Game::bombFrame(frame), 0, 0, 0, 120, 120);
            int differences = 0;
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x) differences += getpixel(glow, 360 + x, 280 + y) != getpixel(expected, x, y);
            EXPECT_EQ(differences, 0);
            destroy_bitmap(expected);
        } else {
            EXPECT_EQ(countColour(glow, 360, 280, 120, 120, magenta()), 120 * 120) << "no explosion yet or any more";
        }
    }
    EXPECT_EQ(game->score, 9 * 10) << "one kill in each of the nine blast frames";
    // Two draws per flash frame, nothing else.
    const int next = gameRandom();
    seedRandom(31);
    for (int i = 0; i < 18; ++i) gameRandom();
    EXPECT_EQ(gameRandom(), next);
}

TEST_F(FuseTimeline, TheReachRingShowsWhileTickingAndTheFlashReachesFurther)
{
    bomb& b = layAt(400, 320);
    BITMAP* world = game->bitmaps.worldBitmap;
    for (int frame = 1; frame <= 71; ++frame) {
        SCOPED_TRACE(testing::Message() << "fuse " << frame);
        clearLayers();
        game->updateBombs();
        const int ring = getpixel(world, 420 + 120, 340);
        if (frame < 67) {
            EXPECT_GT(getr(ring), 200);
            EXPECT_LT(getg(ring), 60);
        }
        // 135 pixels out: only the flash's wider disc reaches there.
        const bool flash = frame >= 61 && frame <= 69;
        EXPECT_EQ(getpixel(world, 420, 340 + 135) != makecol(0, 0, 0), flash);
        if (frame >= 70) {
            EXPECT_EQ(countColour(world, 200, 120, 440, 440, makecol(0, 0, 0)), 440 * 440);
        }
    }
    EXPECT_TRUE(b.armed);
}

TEST_F(FuseTimeline, TheWallBlastClearsFiveByFiveCellsBorderIncluded)
{
    wallEverywhere();
    // Centre (65, 70): cell (1, 1), though the bomb is not laid on the cell's corner.
    bomb& b = layAt(45, 50);
    burnTo(b, 70);
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 6; ++r) {
            const bool cleared = c <= 3 && r <= 3;
            EXPECT_EQ(game->wallGrid.getCell(c, r), cleared ? CELL_FLOOR : CELL_WALL) << c << ", " << r;
            EXPECT_EQ(game->obstacleGrid.getCell(c, r), cleared ? CELL_FLOOR : CELL_WALL) << c << ", " << r;
            const int px = c * 40 + 20, py = r * 40 + 20;
            EXPECT_EQ(getpixel(game->bitmaps.wallsBitmap, px, py) == magenta(), cleared) << c << ", " << r;
            EXPECT_EQ(getpixel(game->bitmaps.ghostMap, px, py) == magenta(), cleared) << c << ", " << r;
        }
}

TEST_F(FuseTimeline, TheHeroCannotStepIntoTheWallsBesideABlast)
{
    wallEverywhere();
    // Centre (420, 220): the square of cells 8 to 12 by 3 to 7. The hero stands in its corner cell
    // (12, 7), and walks right and down into the walls beside it.
    bomb& b = layAt(400, 200);
    burnTo(b, 70);
    for (const int arrow : {KEY_RIGHT, KEY_DOWN}) {
        game->heroActor.placeAt(480, 280);
        key[arrow] = 1;
        game->readControls();
        game->moveHero();
        key[arrow] = 0;
        EXPECT_EQ(game->heroActor.x, 480);
        EXPECT_EQ(game->heroActor.y, 280);
    }
}

using BlastReach = BombBoard;

TEST_F(BlastReach, GhostsDieWithin119PixelsOfTheCentreAndSurviveAt120)
{
    struct Case {
        int dx, dy;
        bool dies;
    };
    // From the bomb's centre to the ghost's corner; 120, 11 is 120.5 and truncates to 120.
    const Case cases[] = {{119, 0, true}, {0, -119, true}, {84, 85, true}, {120, 0, false}, {0, 120, false},
                          {120, 11, false}, {-72, -96, false}};
    layAt(600, 320).fuse = 64;
    for (size_t i = 0; i < std::size(cases); ++i) putGhost(static_cast<int>(i), 620 + cases[i].dx, 340 + cases[i].dy);
    game->blastGhosts();
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(game->ghosts[i].x == OFF_BOARD, cases[i].dies) << cases[i].dx << ", " << cases[i].dy;
}

TEST_F(BlastReach, TwoBombsKillAGhostOnlyOnce)
{
    layAt(600, 320, 0).fuse = 62;
    layAt(620, 320, 1).fuse = 65;
    putGhost(0, 640, 340, 3);
    game->blastGhosts();
    EXPECT_EQ(game->score, 40);
}

TEST_F(BlastReach, ItemsBlocksAndPickupsGoButCoinsStay)
{
    layAt(600, 320).fuse = 61;
    const int near = 620 + 60, far = 620 + 130;
    game->dynamiteCount = game->treasureCount = game->blockCount = game->coin1Count = game->coin5Count = 2;
    sprite* arrays[] = {game->dynamites, game->treasures, game->blocks, game->coins1, game->coins5};
    for (sprite* array : arrays) {
        array[0].placeAt(near, 340);
        array[1].placeAt(far, 340);
    }
    sprite* items[] = {&game->lifeItem, &game->generatorItem, &game->radarItem, &game->shieldItem, &game->shoesItem};
    for (sprite* item : items) item->placeAt(620, 340 - 100);
    game->blastItems();
    for (sprite* array : {game->dynamites, game->treasures, game->blocks}) {
        EXPECT_EQ(array[0].x, OFF_BOARD);
        EXPECT_EQ(array[1].x, far);
    }
    for (sprite* coins : {game->coins1, game->coins5}) EXPECT_EQ(coins[0].x, near) << "coins are never destroyed";
    for (sprite* item : items) EXPECT_EQ(item->x, OFF_BOARD);
}

TEST_F(BlastReach, ABlockTakenAwayFreesItsCell)
{
    // Three cells right of the bomb's cell: in reach, but outside the wall blast's square.
    layAt(400, 320).fuse = 61;
    game->blockCount = 1;
    game->blocks[0].placeAt(520, 320);
    game->obstacleGrid.setCell(13, 8, CELL_WALL);
    repaintGhostMap();
    game->blastItems();
    EXPECT_EQ(game->blocks[0].x, OFF_BOARD);
    EXPECT_EQ(game->obstacleGrid.getCell(13, 8), CELL_FLOOR);
    EXPECT_EQ(countColour(game->bitmaps.ghostMap, 520, 320, 40, 40, magenta()), 1600);
    // A ghost walking into that cell is no longer stopped there.
    ghost& g = putGhost(0, 480, 320, 0, DIRECTION_RIGHT);
    seedRandom(2);
    for (int tick = 0; tick < 20; ++tick) {
        g.direction = DIRECTION_RIGHT;
        game->updateGhosts();
    }
    EXPECT_GT(g.x, 495);
}

TEST_F(BlastReach, ABlockTheBlastSparesStaysAnObstacleInTheClearedSquare)
{
    // Two cells up and left of the bomb's cell: inside the wall blast's square, beyond its reach.
    bomb& b = layAt(400, 320);
    game->blockCount = 2;
    game->blocks[0].placeAt(320, 240);
    game->blocks[1].placeAt(440, 320);  // next to the bomb: destroyed, its cell stays free
    game->obstacleGrid.setCell(8, 6, CELL_WALL);
    game->obstacleGrid.setCell(11, 8, CELL_WALL);
    repaintGhostMap();
    while (b.armed && b.fuse < 70) {
        game->updateBombs();
        game->blastItems();
    }
    ASSERT_EQ(b.fuse, 70);
    EXPECT_EQ(game->blocks[0].x, 320);
    EXPECT_EQ(game->obstacleGrid.getCell(8, 6), CELL_WALL);
    EXPECT_EQ(countColour(game->bitmaps.ghostMap, 320, 240, 40, 40, makecol(0, 255, 0)), 1600);
    EXPECT_EQ(game->blocks[1].x, OFF_BOARD);
    EXPECT_EQ(game->obstacleGrid.getCell(11, 8), CELL_FLOOR);
    EXPECT_EQ(game->obstacleGrid.getCell(9, 7), CELL_FLOOR);
}

using BlastOnTheHero = BombBoard;

TEST_F(BlastOnTheHero, TheHeroOnHisOwnBombLosesOneLifeAtFuse61AndNoWallIsBlown)
{
    bomb& b = layAt(HERO_X, HERO_Y);
    wall(6, 5);
    for (int frame = 1; frame <= 60; ++frame) {
        game->updateBombs();
        ASSERT_FALSE(game->blastHero()) << "fuse " << frame;
    }
    game->updateBombs();
    EXPECT_TRUE(game->blastHero());
    EXPECT_EQ(game->lives, 2);
    EXPECT_TRUE(game->heroHit);
    EXPECT_FALSE(b.armed);
    EXPECT_EQ(b.fuse, 0);
    for (int frame = 0; frame < 20; ++frame) {
        game->updateBombs();
        EXPECT_FALSE(game->blastHero());
    }
    EXPECT_EQ(game->wallGrid.getCell(6, 5), CELL_WALL);
    EXPECT_EQ(game->lives, 2);
}

TEST_F(BlastOnTheHero, TheReachIsMeasuredFromTheCentreToTheHerosCorner)
{
    struct Case {
        int dx, dy;
        bool hit;
    };
    for (const Case& c : {Case{119, 0, true}, Case{120, 0, false}, Case{-139, -20, false}, Case{-117, -20, true}}) {
        game->heroHit = false;
        game->bombs[0].clear();
        layAt(HERO_X - 20 - c.dx, HERO_Y - 20 - c.dy).fuse = 65;
        EXPECT_EQ(game->blastHero(), c.hit) << c.dx << ", " << c.dy;
        EXPECT_EQ(game->heroHit, c.hit);
    }
}

TEST_F(BlastOnTheHero, AfterGameOverTheBlastStillEndsTheBombButTakesNoLife)
{
    game->gameOver = 1;
    bomb& b = layAt(HERO_X, HERO_Y);
    b.fuse = 66;
    EXPECT_TRUE(game->blastHero());
    EXPECT_TRUE(game->heroHit);
    EXPECT_EQ(game->lives, 3);
    EXPECT_FALSE(b.armed);
}
