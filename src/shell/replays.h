// Where the recordings of games are kept, and reading one from its file.
#pragma once

#include <string>

#include "shell/recording.h"

constexpr const char* RECORDING_FOLDER = "replays";
constexpr const char* LAST_RECORDING = "replays/last.gmr";
constexpr const char* RECORDING_SUFFIX = ".gmr";

// Reads a recording file as the game reads its other files (a regular file of a bounded size,
// never blocking): RECORDING_READ, or why not in `problem`.
int readRecordingFile(const char* path, Recording& recording, std::string& problem);
