// The game's one random source: every random choice of play is one draw from here.
// It yields 0 to 32767 on every machine, which the ghosts' hunt chance relies on.
#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 32767;

// Seeds the generator; called once at start-up from the clock, and by tests to replay runs.
void seedRandom(std::uint32_t seed);

// One fresh draw from 0 to RANDOM_MAX.
int gameRandom();

// The generator's state now: seeding with it later makes the same draws from here on.
std::uint32_t randomState();
