// The pacer sleeps to its deadline as a time of CLOCK_MONOTONIC: that is only right while the
// steady clock reads that same clock, and it must never let a pass end early.
#include <time.h>

#include <gtest/gtest.h>

#include <chrono>

#include "shell/frame_pace.h"

namespace {
long long monotonicNanoseconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}
}  // namespace

TEST(FramePace, TheSteadyClockReadsTheMonotonicClock)
{
    // Three readings in order: the steady clock's must fall between the other two.
    const long long before = monotonicNanoseconds();
    const long long steady = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 FramePace::Clock::now().time_since_epoch()).count();
    const long long after = monotonicNanoseconds();
    EXPECT_LE(before, steady);
    EXPECT_LE(steady, after);
}

TEST(FramePace, APassNeverEndsBeforeItsDeadline)
{
    FramePace pace;
    for (int pass = 0; pass < 5; ++pass) {
        pace.beginPass();
        pace.finishPass();
        EXPECT_GE(FramePace::Clock::now(), pace.deadline());
    }
}
