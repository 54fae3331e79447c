// The game's own files on disk: reading a file the player may have changed (or replaced with
// something that is not a file) without ever blocking or reading without end, and replacing a
// file safely.
#pragma once

#include <cstddef>
#include <string>

// How reading a file ended.
constexpr int FILE_READ = 0;         // the whole file is in `bytes`
constexpr int FILE_MISSING = 1;      // nothing at that name
constexpr int FILE_UNREADABLE = 2;   // something is there, but not a regular file of a sane size that could be read

class FileContents {
public:
    int outcome = FILE_MISSING;  // one of the three above
    std::string bytes;           // the file's bytes, when read
    std::string problem;         // why it could not be read, in a few words for the player
};

// Reads a whole file only when it is a regular file of at most sizeLimit bytes. Opening never
// waits (a FIFO, a device), and no more than the size it had when opened is read.
FileContents readWholeFile(const char* path, std::size_t sizeLimit);

// Replaces the file at path with contents so that a crash or a full disk leaves the old file
// whole: a new temporary file of a unique name beside it (never an existing file or link at
// that name), written, synced, renamed over the file, then the folder synced. A file the player
// has made read-only keeps its contents. True when the new contents are the file.
bool replaceFile(const char* path, const std::string& contents);
