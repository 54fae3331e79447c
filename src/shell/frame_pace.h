// The game loop's pace: at most 60 passes a second, so rules that count frames last the
// same time on every machine and at every level.
#pragma once

#include <chrono>

// The library's own threads, which read the window's events and count the logic ticks, wake on
// short timeouts (its event thread every millisecond); the kernel may gather the wake-ups of a
// thread started with a loose timer slack, and a thread takes the slack of the one that starts
// it. The event thread, started with the library, may wake late by most of a frame: the keys
// are caught as they come (window_events.h), so a late wake-up only delays them. The timer
// thread, started with the timer, must keep the logic ticks close to even, so it takes less.
// Each is called just before that thread starts; the game loop's own wait takes a tight slack
// back (FramePace).
void loosenLibraryWakeUps();
void loosenTimerWakeUps();

class FramePace {
public:
    FramePace();

    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration PASS_PERIOD =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 60.0));

    // Passes start on a fixed grid of deadlines, so waking late from one wait does not lengthen
    // the next pass; a pass that has fallen a whole period behind starts the grid anew instead
    // of hurrying the passes after it.
    void beginPass()
    {
        const Clock::time_point now = Clock::now();
        passStart = now - deadline() < PASS_PERIOD ? deadline() : now;
    }
    // When the pass begun last is due to end.
    Clock::time_point deadline() const { return passStart + PASS_PERIOD; }
    // Waits until the deadline; a pass that has overrun it goes on at once.
    void finishPass() const;

private:
    Clock::time_point passStart{};
};
