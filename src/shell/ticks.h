// The 30 Hz logic clock: a timer routine that only counts, and its install and removal.
#pragma once

#include <atomic>
#include <cstdint>

constexpr int TICKS_PER_SECOND = 30;

// Ticks that have arrived and not yet been run; the timer thread adds, the game loop takes.
extern std::atomic<std::int32_t> tickCounter;

// The timer routine: adds one tick and does nothing else.
void onTick();
// Installs the timer (again) and the routine at TICKS_PER_SECOND.
void startTicks();
// Removes the routine; pending ticks stay counted for the next game.
void stopTicks();
// Whether the routine is installed (from startTicks to stopTicks).
bool ticksRunning();
