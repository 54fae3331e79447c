// A recorded game: what a game needs to be played again exactly (the random source's state at
// its start, then each pass's ticks and controls), and the compact file it is kept in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/controls.h"

// The game's version, written into every recording: another version may play differently.
constexpr const char* GAME_VERSION = GHOSTMAZE_VERSION;
// A 30-minute game is some tens of kilobytes; a file much larger was never the game's.
constexpr std::size_t RECORDING_FILE_LIMIT = 4 * 1024 * 1024;
// A day of passes at 60 a second, and more ticks in one pass than a long stall gives: beyond
// these a recording is damaged.
constexpr std::uint32_t MAX_RECORDED_PASSES = 60 * 60 * 60 * 24;
constexpr std::uint32_t MAX_TICKS_PER_PASS = 100000;

// One pass that ran the rules: the logic ticks it ran and the controls it saw.
class RecordedPass {
public:
    std::uint32_t ticks = 0;
    std::uint8_t controls = 0;  // packControls
};

class Recording {
public:
    std::string version = GAME_VERSION;
    std::uint32_t randomState = 0;  // the random source as the game started
    std::string name;               // the player as the table keeps the result
    std::int32_t score = 0;         // the result the game ended with
    std::int32_t level = 0;
    std::vector<RecordedPass> passes;
};

// The controls that steer play, in one byte: walking by direction code, the bomb and the beam.
std::uint8_t packControls(const Controls& controls);
void unpackControls(std::uint8_t packed, Controls& controls);  // the other controls are left alone

std::string encodeRecording(const Recording& recording);

// How reading a recording ended.
constexpr int RECORDING_READ = 0;
constexpr int RECORDING_DAMAGED = 1;
constexpr int RECORDING_OTHER_VERSION = 2;

// Reads a recording's bytes; on failure says why in `problem`, in a few words for the player.
int decodeRecording(const std::string& bytes, Recording& recording, std::string& problem);
