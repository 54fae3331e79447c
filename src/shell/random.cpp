// The game's random generator: a linear congruential generator whose upper bits give
// the classic 15-bit range, so a run is the same on every C library.
#include "shell/random.h"

namespace {
std::uint32_t state = 1;
}

void seedRandom(std::uint32_t seed) { state = seed; }

std::uint32_t randomState() { return state; }

int gameRandom()
{
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) & RANDOM_MAX);
}
