// The game's own files on disk: reading a file the player may have changed (or replaced with
// something that is not a file) without ever blocking or reading without end, replacing a file
// safely, and locking a file against another game's change.
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

// An exclusive lock on the lock file beside a file (its name with LOCK_SUFFIX added), held while
// this object lives, so that two games running in one folder never change the file at once. The
// lock file is made when missing and never followed through a link; a FIFO, a device or a folder
// at its name is refused without waiting on it. Another game's lock is waited for, but only for
// `patienceMs` milliseconds.
class FileLock {
public:
    FileLock(const char* path, int patienceMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return descriptor >= 0; }

    std::string lockPath;  // the lock file's name
    std::string problem;   // why the lock is not held, in a few words for the player

private:
    int descriptor = -1;   // the open lock file while the lock is held
};

constexpr const char* LOCK_SUFFIX = ".lock";
