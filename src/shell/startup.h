// Starting the library and the window, and the whole run of the program.
#pragma once

#include <cstdint>

class GameObserver;

// Starts the library, the keyboard, the mouse, the 1280 x 720 window and the sound, and seeds
// the random source. Returns false when the window cannot be opened.
bool initLibrary();

// How a run differs from the player's: the game itself runs with neither (seeded from the clock,
// watched by nobody); a test program fixes the seed so its games replay, and may watch the loop.
struct RunSettings {
    bool seeded = false;     // use `seed` instead of the clock
    std::uint32_t seed = 0;
    GameObserver* observer = nullptr;
};

// The whole program: start-up, the asset check, the menu loop and shutdown. Returns the exit status.
int runGhostMaze(const RunSettings& settings);
