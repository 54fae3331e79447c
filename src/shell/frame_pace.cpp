// Waiting out the rest of a game-loop pass: a coarse sleep for most of it, then a short spin,
// because a sleep alone overshoots by up to a scheduler slice.
#include "shell/frame_pace.h"

#include <thread>

namespace {
constexpr auto SPIN_MARGIN = std::chrono::microseconds(1500);  // the tail of the wait that is spun
}  // namespace

void FramePace::finishPass() const
{
    const Clock::time_point due = passStart + PASS_PERIOD;
    const Clock::time_point sleepUntil = due - SPIN_MARGIN;
    if (Clock::now() < sleepUntil) std::this_thread::sleep_until(sleepUntil);
    while (Clock::now() < due) std::this_thread::yield();
}
