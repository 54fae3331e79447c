// Reading, replacing and locking the game's files without trusting what is found at their names.
#include "shell/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr mode_t NEW_FILE_MODE = 0644;          // before the player's umask, as a plain open would make it
constexpr const char* UNIQUE_SUFFIX = ".XXXXXX";  // mkstemp's pattern, after the file's own name
constexpr int LOCK_RETRY_MS = 10;               // how often a held lock is tried again

FileContents unreadable(const std::string& problem)
{
    FileContents contents;
    contents.outcome = FILE_UNREADABLE;
    contents.problem = problem;
    return contents;
}

// Reads exactly what fstat said the file holds; a file that shrinks meanwhile gives less.
bool readAll(int descriptor, std::string& bytes, std::size_t size)
{
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(descriptor, &bytes[done], size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

bool writeAll(int descriptor, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// A file the player has made read-only keeps its contents.
bool isWriteProtected(const char* path)
{
    struct stat status {};
    if (stat(path, &status) != 0) return false;
    const bool noWriteBits = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return noWriteBits || access(path, W_OK) != 0;
}

// The replaced file's permissions, so a private table stays private; a new file gets what a
// plain open would have given it.
mode_t replacementMode(const char* path)
{
    struct stat status {};
    if (stat(path, &status) == 0 && S_ISREG(status.st_mode)) return status.st_mode & 0777;
    const mode_t mask = umask(0);
    umask(mask);
    return NEW_FILE_MODE & ~mask;
}

// After the rename, the folder's entry must reach the disk too, or a crash may bring the old one back.
void syncFolderOf(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

}  // namespace

FileContents readWholeFile(const char* path, std::size_t sizeLimit)
{
    const int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileContents{};
        return unreadable(std::strerror(errno));
    }
    FileContents contents;
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        contents = unreadable(std::strerror(errno));
    } else if (!S_ISREG(status.st_mode)) {
        contents = unreadable("not a regular file");
    } else if (static_cast<unsigned long long>(status.st_size) > sizeLimit) {
        contents = unreadable("larger than " + std::to_string(sizeLimit) + " bytes");
    } else if (!readAll(descriptor, contents.bytes, static_cast<std::size_t>(status.st_size))) {
        contents = unreadable(std::strerror(errno));
    } else {
        contents.outcome = FILE_READ;
    }
    close(descriptor);
    return contents;
}

bool replaceFile(const char* path, const std::string& contents)
{
    if (isWriteProtected(path)) return false;
    // mkstemp makes a name that did not exist, exclusively: a link planted at any name is never followed.
    std::string temporary = std::string(path) + UNIQUE_SUFFIX;
    const int descriptor = mkostemp(&temporary[0], O_CLOEXEC);
    if (descriptor < 0) return false;
    bool written = fchmod(descriptor, replacementMode(path)) == 0 && writeAll(descriptor, contents) &&
                   fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    if (written && std::rename(temporary.c_str(), path) == 0) {
        syncFolderOf(path);
        return true;
    }
    unlink(temporary.c_str());
    return false;
}

FileLock::FileLock(const char* path, int patienceMs) : lockPath(std::string(path) + LOCK_SUFFIX)
{
    // Read-only is enough for flock, so a lock file the player made read-only still serves.
    // O_NOFOLLOW refuses a planted link; O_NONBLOCK keeps a FIFO from holding the game up.
    const int opened =
        open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, NEW_FILE_MODE);
    if (opened < 0) {
        problem = errno == ELOOP ? "a link stands at its name" : std::strerror(errno);
        return;
    }
    struct stat status {};
    if (fstat(opened, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = "not a regular file";
        close(opened);
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    for (;;) {
        if (flock(opened, LOCK_EX | LOCK_NB) == 0) {
            descriptor = opened;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            problem = std::strerror(errno);
            break;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            problem = "another game has held it for over " + std::to_string(patienceMs) + " ms";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(LOCK_RETRY_MS));
    }
    close(opened);
}

// Closing the lock file releases the lock. The file stays: removing it could let a game that
// has just opened it lock a name no other game will look at again.
FileLock::~FileLock()
{
    if (descriptor >= 0) close(descriptor);
}
