// The logic clock's counter: the timer thread and the game loop must not lose a tick.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "shell/ticks.h"

TEST(TickCounter, ConcurrentIncrementsAndDecrementsLoseNoUpdate)
{
    tickCounter.store(0);
    constexpr int perThread = 200000;
    std::thread timer([] {
        for (int i = 0; i < perThread; ++i) onTick();
    });
    std::thread second([] {
        for (int i = 0; i < perThread; ++i) onTick();
    });
    // The game loop's side: take ticks while they arrive.
    int taken = 0;
    while (taken < perThread) {
        if (tickCounter.load() > 0) {
            tickCounter.fetch_sub(1);
            ++taken;
        }
    }
    timer.join();
    second.join();
    EXPECT_EQ(tickCounter.load(), perThread);
    tickCounter.store(0);
}
