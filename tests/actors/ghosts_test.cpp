// Ghost behaviour: the hunter's flight and hunt cycle, walking into walls, dead ends and closed
// holes, the kill with its points and picture, and the ambient sounds' clock.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "hand_built_board.h"
#include "shell/random.h"

namespace {
// A seed whose first draw is the wanted value, found by trying seeds in turn.
std::uint32_t seedGivingFirstDraw(int wanted)
{
    for (std::uint32_t seed = 1;; ++seed) {
        seedRandom(seed);
        if (gameRandom() == wanted) return seed;
    }
}

int reverseOf(int direction) { return (direction + 2) % 4; }
}  // namespace

using HunterFlight = HandBuiltBoard;

TEST_F(HunterFlight, HalvesItsWayInAndStopsShortOfTheHero)
{
    struct Case {
        int distance, expectedStep;
    };
    // The step for a hunter straight to the hero's left: the way is halved until it is 6 or less.
    const Case cases[] = {{100, 3}, {14, 1}, {7, 1}, {6, 3}, {2, 1}, {1, 0}, {0, 0}};
    for (const Case& c : cases) {
        ghost& h = putGhost(0, HERO_X - c.distance, HERO_Y, 1);
        game->hunterIndex = 0;
        game->hunterTime = 50;
        game->updateGhosts();
        EXPECT_EQ(h.x, HERO_X - c.distance + c.expectedStep) << "from " << c.distance << " pixels";
        EXPECT_EQ(h.y, HERO_Y);
        EXPECT_EQ(h.kind, HUNTER_KIND);
        EXPECT_EQ(h.direction, DIRECTION_NONE);
        EXPECT_EQ(h.speed, 0);
        EXPECT_EQ(game->hunterTime, 51);
    }
}

TEST_F(HunterFlight, FliesThroughWalls)
{
    wallEverywhere();
    ghost& h = putGhost(0, HERO_X + 200, HERO_Y + 120, 2);
    game->hunterIndex = 0;
    const int start = pixelDistance(h.x, h.y, HERO_X, HERO_Y);
    for (int tick = 0; tick < 50; ++tick) {
        const int x = h.x, y = h.y;
        game->updateGhosts();
        // Never more than 3 pixels along each axis in one tick, always toward the hero.
        ASSERT_GE(h.x, x - 3);
        ASSERT_LE(h.x, x);
        ASSERT_GE(h.y, y - 3);
        ASSERT_LE(h.y, y);
    }
    EXPECT_LE(pixelDistance(h.x, h.y, HERO_X, HERO_Y), start - 60);
}

using HuntCycle = HandBuiltBoard;

TEST_F(HuntCycle, AValidRollSkipsThatGhostAtOnceAndItHuntsFromTheNextTick)
{
    for (int i = 0; i < 6; ++i) putGhost(i, 400 + 40 * i, 320, 0, DIRECTION_DOWN);
    seedRandom(seedGivingFirstDraw(3));
    game->updateGhosts();
    ASSERT_EQ(game->hunterIndex, 3);
    EXPECT_EQ(game->ghosts[3].y, 320) << "the chosen ghost does not walk in the tick of its roll";
    EXPECT_EQ(game->ghosts[3].kind, 0);
    EXPECT_EQ(game->hunterTime, 0);
    int walked = 0;
    for (int i = 0; i < 6; ++i) walked += i != 3 && game->ghosts[i].y != 320;
    EXPECT_GE(walked, 4);

    game->updateGhosts();
    EXPECT_EQ(game->ghosts[3].kind, HUNTER_KIND);
    EXPECT_EQ(game->hunterTime, 1);
    EXPECT_EQ(game->hunterIndex, 3);
}

TEST_F(HuntCycle, TheHuntLastsAHundredTicksMorePerLevelAndEndsInAnOrdinaryGhost)
{
    struct Case {
        int level, length, highestKind;
    };
    for (const Case& c : {Case{1, 400, 0}, Case{2, 500, 0}, Case{3, 600, 1}, Case{10, 1300, 4}, Case{14, 1700, 4}}) {
        game->levelNumber = c.level;
        ghost& h = putGhost(0, 600, 400, 0);
        game->hunterIndex = 0;
        game->hunterTime = c.length - 2;
        game->updateGhosts();
        EXPECT_EQ(h.kind, HUNTER_KIND) << "level " << c.level;
        EXPECT_EQ(game->hunterTime, c.length - 1);

        game->updateGhosts();
        EXPECT_EQ(game->hunterTime, 0) << "level " << c.level;
        EXPECT_GE(h.kind, 0);
        EXPECT_LE(h.kind, c.highestKind);
        EXPECT_EQ(h.speed, h.kind + 1);
        EXPECT_GE(h.direction, DIRECTION_RIGHT);
        EXPECT_LE(h.direction, DIRECTION_UP);
        EXPECT_GE(game->hunterIndex, 0);
    }
}

TEST_F(HuntCycle, AKilledHunterFliesBackInFromOffTheBoardWithoutANewHunt)
{
    ghost& h = putGhost(0, 600, 400, 1);
    game->hunterIndex = 0;
    game->hunterTime = 50;
    game->updateGhosts();
    game->killGhost(0);
    ASSERT_EQ(h.x, OFF_BOARD);
    game->updateGhosts();
    EXPECT_EQ(h.kind, HUNTER_KIND);
    EXPECT_EQ(game->hunterTime, 52);
    EXPECT_GT(h.x, OFF_BOARD);
    EXPECT_GT(h.y, OFF_BOARD);
}

TEST_F(HuntCycle, TheRollFollowsTheLevelFromTheFifteenBitRange)
{
    // A draw above every n from level 9 on shows the remainder.
    const std::uint32_t seed = seedGivingFirstDraw(32500);
    struct Case {
        int level, n;
    };
    for (const Case& c : {Case{1, 70710}, Case{8, 33333}, Case{9, 31622}, Case{10, 30151}, Case{99, 10000}}) {
        game->levelNumber = c.level;
        seedRandom(seed);
        EXPECT_EQ(game->rollHunter(), 32500 % c.n) << "level " << c.level;
    }
}

using GhostsAtWalls = HandBuiltBoard;

TEST_F(GhostsAtWalls, AFastGhostStopsShortOfAWallAndNeverOverlapsIt)
{
    // A corridor along row 5, closed by a wall in column 12 (left edge at x = 480).
    for (int c = 0; c < COLUMNS; ++c) {
        wall(c, 4);
        wall(c, 6);
    }
    wall(12, 5);
    ghost& g = putGhost(0, 240, 200, 4);
    ASSERT_EQ(g.speed, 5);
    seedRandom(99);
    bool stopped = false;
    for (int tick = 0; tick < 200 && !stopped; ++tick) {
        g.direction = DIRECTION_RIGHT;  // undo any random turn: keep it running at the wall
        game->updateGhosts();
        ASSERT_LT(g.x + ACTOR_SIZE - 1, 480) << "tick " << tick;
        if (g.direction != DIRECTION_RIGHT && g.turnRoll != 0) {
            stopped = true;
            EXPECT_EQ(g.direction, DIRECTION_LEFT) << "the corridor leaves only the way back";
            EXPECT_GE(480 - (g.x + ACTOR_SIZE), 1);
            EXPECT_LE(480 - (g.x + ACTOR_SIZE), 5);
        }
    }
    EXPECT_TRUE(stopped);
}

TEST_F(GhostsAtWalls, AGhostInADeadEndTurnsBack)
{
    for (int facing = DIRECTION_RIGHT; facing <= DIRECTION_UP; ++facing) {
        SCOPED_TRACE(facing);
        openFloor();
        // Cell (10, 8), walled on every side but the one behind the ghost.
        const int dc[4] = {1, 0, -1, 0};
        const int dr[4] = {0, 1, 0, -1};
        for (int d = 0; d < 4; ++d)
            if (d != reverseOf(facing)) wall(10 + dc[d], 8 + dr[d]);
        ghost& g = putGhost(0, 400, 320, 2, facing);
        EXPECT_EQ(game->chooseGhostDirection(0), reverseOf(facing));
        EXPECT_EQ(g.speed, 3);
    }
}

TEST_F(GhostsAtWalls, EveryOpenWayIsEquallyLikelyTheReverseIncluded)
{
    putGhost(0, 400, 320, 0, DIRECTION_RIGHT);
    int chosen[5] = {};
    seedRandom(5);
    for (int i = 0; i < 3000; ++i) ++chosen[game->chooseGhostDirection(0)];
    EXPECT_EQ(chosen[DIRECTION_RIGHT], 0) << "the way that just failed is never taken";
    EXPECT_EQ(chosen[DIRECTION_NONE], 0);
    for (int d : {DIRECTION_DOWN, DIRECTION_LEFT, DIRECTION_UP}) EXPECT_NEAR(chosen[d], 1000, 150) << d;
}

TEST_F(GhostsAtWalls, AGhostInAClosedHoleStopsForGood)
{
    for (auto [c, r] : {std::pair{11, 8}, {9, 8}, {10, 7}, {10, 9}}) wall(c, r);
    ghost& g = putGhost(0, 400, 320, 2, DIRECTION_RIGHT);
    seedRandom(3);
    game->updateGhosts();
    EXPECT_EQ(g.speed, 0);
    EXPECT_EQ(g.direction, DIRECTION_NONE);
    EXPECT_EQ(g.x, 400);
    for (int tick = 0; tick < 500; ++tick) game->updateGhosts();
    EXPECT_EQ(g.x, 400);
    EXPECT_EQ(g.y, 320);
    EXPECT_EQ(g.speed, 0);
}

TEST_F(GhostsAtWalls, TheWorldsEdgeInvitesATurnButStopsTheWalk)
{
    // On an opened border cell, walled right, above and below: only the outside is "open".
    for (auto [c, r] : {std::pair{1, 5}, {0, 4}, {0, 6}}) wall(c, r);
    ghost& g = putGhost(0, 0, 200, 0, DIRECTION_UP);
    EXPECT_EQ(game->chooseGhostDirection(0), DIRECTION_LEFT);
    g.direction = DIRECTION_LEFT;
    seedRandom(8);
    game->updateGhosts();
    EXPECT_EQ(g.x, 0) << "a ghost never walks out of the world";
    EXPECT_EQ(g.direction, DIRECTION_NONE);
}

TEST_F(GhostsAtWalls, GhostsPassThroughEachOtherAndTheHero)
{
    ghost& a = putGhost(0, HERO_X - 40, HERO_Y, 0, DIRECTION_RIGHT);
    ghost& b = putGhost(1, HERO_X + 40, HERO_Y, 0, DIRECTION_LEFT);
    seedRandom(11);
    for (int tick = 0; tick < 60; ++tick) {
        a.direction = DIRECTION_RIGHT;
        b.direction = DIRECTION_LEFT;
        game->updateGhosts();
    }
    // A rare random turn may cost a tick; neither the other ghost nor the hero stops them.
    EXPECT_GE(a.x, HERO_X + 10);
    EXPECT_LE(b.x, HERO_X - 10);
}

using GhostKill = HandBuiltBoard;

TEST_F(GhostKill, PointsPictureAndTextFollowTheKind)
{
    struct Case {
        int kind, points, sheetX;
        const char* text;
    };
    const Case cases[] = {{0, 10, 0, "+10"},   {1, 20, 80, "+20"},   {2, 30, 160, "+30"},
                          {3, 40, 240, "+40"}, {4, 50, 320, "+50"},  {HUNTER_KIND, 60, 480, "+60"}};
    BITMAP* expected = makeFilledBitmap(game->bitmaps.messageLayer->w, game->bitmaps.messageLayer->h, magenta());
    for (const Case& c : cases) {
        const int x = 120 + 160 * c.kind;
        const int y = 320;
        ghost& g = putGhost(c.kind, x, y, c.kind == HUNTER_KIND ? 0 : c.kind);
        g.kind = c.kind;
        const int scoreBefore = game->score;
        game->killGhost(c.kind);
        EXPECT_EQ(game->score - scoreBefore, c.points) << c.text;
        EXPECT_EQ(g.x, OFF_BOARD);
        EXPECT_EQ(g.y, OFF_BOARD);
        EXPECT_EQ(g.kind, 2);
        EXPECT_EQ(g.speed, 0);
        masked_blit(game->bitmaps.spriteSheet, expected, c.sheetX, 0, x, y, 40, 40);
        textprintf_ex(expected, font, x + 8, y + 22, makecol(255, 255, 255), -1, "%s", c.text);
        EXPECT_TRUE(sameRegion(game->bitmaps.messageLayer, expected, x - 10, y - 10, 70, 60)) << c.text;
    }
    destroy_bitmap(expected);
}

using AmbientSounds = HandBuiltBoard;

TEST_F(AmbientSounds, AMusicClipComesEvery801TicksWithOneExtraDraw)
{
    seedRandom(17);
    for (int tick = 0; tick < 801; ++tick) game->playAmbientSounds();
    EXPECT_EQ(game->musicClock, 801);
    const int nextAfterScares = gameRandom();
    seedRandom(17);
    for (int i = 0; i < 801; ++i) gameRandom();
    EXPECT_EQ(gameRandom(), nextAfterScares) << "one draw per tick for the scares";

    seedRandom(17);
    game->playAmbientSounds();  // the clip's tick: the scare draw, then the clip's
    EXPECT_EQ(game->musicClock, 1);
    const int afterClip = gameRandom();
    seedRandom(17);
    gameRandom();
    gameRandom();
    EXPECT_EQ(gameRandom(), afterClip);
}
