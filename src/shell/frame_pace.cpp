// Waiting out the rest of a game-loop pass: one sleep to the pass's deadline as an absolute time
// of the monotonic clock, so the wait neither drifts nor needs a spin at its end.
#include "shell/frame_pace.h"

#include <time.h>

#include <cerrno>

namespace {
// libstdc++ on Linux reads steady_clock from clock_gettime(CLOCK_MONOTONIC), so a steady_clock
// time is a CLOCK_MONOTONIC time with the same epoch, and the deadline can be handed over as is.
timespec monotonicTime(FramePace::Clock::time_point when)
{
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
    timespec t{};
    t.tv_sec = static_cast<time_t>(seconds.count());
    t.tv_nsec = static_cast<long>((sinceEpoch - seconds).count());
    return t;
}
}  // namespace

void FramePace::finishPass() const
{
    const timespec due = monotonicTime(deadline());
    // A signal may cut the sleep short; the deadline stays the same, so sleep again.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}
