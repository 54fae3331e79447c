// The actor records and the distance tests that every reach of the rules is measured with.
#include "actors/actors.h"

#include <gtest/gtest.h>

#include <climits>

#include "shell/random.h"

TEST(ActorRecords, ASpawnedGhostTakesItsKindsSpeedAndPictureAndOneDraw)
{
    struct Case {
        int kind, speedFactor, speed, frame;
    };
    for (const Case& test : {Case{0, 1, 1, 0}, Case{3, 1, 4, 6}, Case{4, 2, 10, 8}}) {
        seedRandom(77);
        const int direction = gameRandom() % 4;
        const int next = gameRandom();
        seedRandom(77);
        ghost g;
        g.turnRoll = 123;
        g.spawn(200, 120, test.kind, test.speedFactor);
        EXPECT_EQ(gameRandom(), next);
        EXPECT_EQ(g.direction, direction);
        EXPECT_EQ(g.row, direction);
        EXPECT_EQ(g.speed, test.speed);
        EXPECT_EQ(g.frame, test.frame);
        EXPECT_EQ(g.kind, test.kind);
        EXPECT_EQ(g.x, 200);
        EXPECT_EQ(g.y, 120);
        EXPECT_EQ(g.width, 40);
        EXPECT_EQ(g.height, 40);
        EXPECT_EQ(g.turnRoll, 123);
    }
}

TEST(ActorRecords, AKilledHunterLiesOffTheBoardAsAStillOrdinaryGhost)
{
    ghost hunter;
    hunter.spawn(80, 80, HUNTER_KIND, 3);
    hunter.turnRoll = 42;
    hunter.kill();
    EXPECT_EQ(hunter.kind, 2);
    EXPECT_EQ(hunter.speed, 0);
    EXPECT_EQ(hunter.direction, 0);
    EXPECT_EQ(hunter.x, OFF_BOARD);
    EXPECT_EQ(hunter.y, OFF_BOARD);
    EXPECT_EQ(hunter.width, 0);
    EXPECT_EQ(hunter.turnRoll, 42);
}

TEST(Distances, TruncateBeforeTheStrictReachTest)
{
    struct Case {
        int ax, ay, bx, by, distance;
    };
    const Case cases[] = {
        {0, 0, 3, 4, 5},       {0, 0, 1, 1, 1},        {0, 0, 30, 0, 30},
        {0, 0, 21, 21, 29},    {0, 0, 0, 0, 0},        {-100, -100, 20, 60, 200},
        {80, 80, -1000, -1000, 1527},  // the hidden hero
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX},  // farther than an int can say
    };
    for (const Case& test : cases) {
        EXPECT_EQ(pixelDistance(test.ax, test.ay, test.bx, test.by), test.distance) << test.bx << "," << test.by;
        EXPECT_EQ(pixelDistance(test.bx, test.by, test.ax, test.ay), test.distance);
    }
    EXPECT_FALSE(withinReach(0, 0, 30, 0, COLLECT_REACH));
    EXPECT_TRUE(withinReach(0, 0, 29, 0, COLLECT_REACH));
    EXPECT_TRUE(withinReach(0, 0, 21, 21, COLLECT_REACH));
    EXPECT_FALSE(withinReach(0, 0, 0, 0, 0));
    EXPECT_FALSE(withinReach(0, 0, 400, 0, GHOST_SPAWN_DISTANCE));
}
