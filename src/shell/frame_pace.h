// The game loop's pace: at most 60 passes a second, so rules that count frames last the
// same time on every machine and at every level.
#pragma once

#include <chrono>

class FramePace {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration PASS_PERIOD =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 60.0));

    void beginPass() { passStart = Clock::now(); }
    // Waits until a whole period has gone since beginPass; a longer pass goes on at once.
    void finishPass() const;

private:
    Clock::time_point passStart{};
};
