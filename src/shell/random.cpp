// The game's random generator: a linear congruential generator whose upper bits give
// the classic 15-bit range, so a run is the same on every C library.
#include "shell/random.h"

namespace {
std::uint32_t randomState = 1;
}

void seedRandom(std::uint32_t seed) { randomState = seed; }

int gameRandom()
{
    randomState = randomState * 1103515245u + 12345u;
    return static_cast<int>((randomState >> 16) & RANDOM_MAX);
}
