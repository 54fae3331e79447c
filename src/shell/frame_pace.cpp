// Waiting out the rest of a game-loop pass: one sleep to the pass's deadline as an absolute time
// of the monotonic clock, so the wait neither drifts nor needs a spin at its end.
#include "shell/frame_pace.h"

#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

namespace {
// How late the kernel may wake the library's threads, in nanoseconds. The event thread's thousand
// wake-ups a second are gathered into about a hundred, and a key press still arrives within a
// frame; a logic tick (33 ms apart) is kept within a few milliseconds of its time.
constexpr unsigned long LIBRARY_TIMER_SLACK_NS = 10000000;
constexpr unsigned long TIMER_THREAD_SLACK_NS = 4000000;
// The game loop's own: its wait must end within a fraction of a millisecond of its deadline.
constexpr unsigned long PACER_TIMER_SLACK_NS = 50000;

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

void loosenLibraryWakeUps() { prctl(PR_SET_TIMERSLACK, LIBRARY_TIMER_SLACK_NS, 0, 0, 0); }

void loosenTimerWakeUps() { prctl(PR_SET_TIMERSLACK, TIMER_THREAD_SLACK_NS, 0, 0, 0); }

FramePace::FramePace() { prctl(PR_SET_TIMERSLACK, PACER_TIMER_SLACK_NS, 0, 0, 0); }

void FramePace::finishPass() const
{
    const timespec due = monotonicTime(deadline());
    // A signal may cut the sleep short; the deadline stays the same, so sleep again.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}
