// The game's random source: its range, and that a seed replays a run.
#include <gtest/gtest.h>

#include <vector>

#include "shell/random.h"

TEST(GameRandom, DrawsCoverTheWholeFifteenBitRangeAndNothingElse)
{
    seedRandom(7);
    int lowest = RANDOM_MAX, highest = 0;
    std::vector<int> buckets(8, 0);
    for (int i = 0; i < 200000; ++i) {
        const int draw = gameRandom();
        ASSERT_GE(draw, 0);
        ASSERT_LE(draw, RANDOM_MAX);
        lowest = std::min(lowest, draw);
        highest = std::max(highest, draw);
        ++buckets[draw / 4096];
    }
    EXPECT_LT(lowest, 10);
    EXPECT_GT(highest, RANDOM_MAX - 10);
    // Uniform enough for the hunt chance: every eighth of the range within 5 % of its share.
    for (int count : buckets) EXPECT_NEAR(count, 25000, 1250);
}

TEST(GameRandom, TheSameSeedReplaysTheSameDraws)
{
    seedRandom(2026);
    std::vector<int> first;
    for (int i = 0; i < 100; ++i) first.push_back(gameRandom());
    seedRandom(2026);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(gameRandom(), first[i]) << "draw " << i;
    seedRandom(2027);
    int same = 0;
    for (int i = 0; i < 100; ++i) same += gameRandom() == first[i];
    EXPECT_LT(same, 5);
}
