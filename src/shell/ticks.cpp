// The 30 Hz logic clock.
#include "shell/ticks.h"

#include <allegro.h>

std::atomic<std::int32_t> tickCounter{0};

namespace {
bool routineInstalled = false;  // only the main thread installs and removes it
}

void onTick() { tickCounter.fetch_add(1); }

void startTicks()
{
    install_timer();
    install_int_ex(onTick, BPS_TO_TIMER(TICKS_PER_SECOND));
    routineInstalled = true;
}

void stopTicks()
{
    remove_int(onTick);
    routineInstalled = false;
}

bool ticksRunning() { return routineInstalled; }
