// Starting the library and the window, and the whole run of the program.
#pragma once

#include <cstdint>
#include <string>

class GameObserver;

// One start-up step that can fail, and what the player is told when it does: what failed and
// what to do about it.
struct StartStep {
    bool (*start)();
    const char* failure;
};

// Runs the steps in order up to the first that fails; returns its message, with the library's
// own reason when it gives one, or "" when every step started.
std::string startInOrder(const StartStep* steps, int count);

// What the player is told when the library cannot start: that there is no display at all, or
// which display named in DISPLAY could not be opened.
std::string displayFailure(const char* display);

// Makes the process safe however it was started: closed standard descriptors opened on
// /dev/null, SIGPIPE ignored, and the end signals held until the library has started.
void makeProcessSound();

// Starts the library, the keyboard, the mouse, the timer, the 1280 x 720 window and the sound,
// watches the window's events and seeds the random source. Returns "" when all has started,
// otherwise one line that says what failed and what to do.
std::string initLibrary();

// How a run differs from the player's: the game itself runs with neither (seeded from the clock,
// watched by nobody); a test program fixes the seed so its games replay, and may watch the loop.
struct RunSettings {
    bool seeded = false;     // use `seed` instead of the clock
    std::uint32_t seed = 0;
    GameObserver* observer = nullptr;
    const char* recordingFile = nullptr;  // --replay or --verify: play this recording instead of the menu
    bool verify = false;                  // --verify: play it headless and check its result
};

// Reads the command line into `settings`. Returns -1 to run, or the status to exit with at once
// (after --help, or a command line the game does not understand).
int readArguments(int argc, char** argv, RunSettings& settings);

// --verify: plays a recording without a display and prints its score and level. Returns 0 when
// they are the recorded result, 1 when not (saying what differs), 2 when the file cannot be
// played (unreadable, damaged, or from another version).
int verifyRecording(const char* path);

// The whole program: start-up, the asset check, the menu loop and shutdown. Returns the exit status.
int runGhostMaze(const RunSettings& settings);
