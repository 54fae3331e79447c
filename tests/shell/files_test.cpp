// Reading a file the player may have tampered with, replacing a file safely, and locking it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "shell/files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {
constexpr std::size_t LIMIT = 100;
}  // namespace

TEST(ReadingAFile, OnlyARegularFileOfASaneSizeIsRead)
{
    TempGameFolder folder;
    folder.write("exact.txt", std::string(LIMIT, 'x'));
    folder.write("big.txt", std::string(LIMIT + 1, 'x'));
    fs::create_symlink("exact.txt", "linked.txt");
    fs::create_symlink("/dev/zero", "zeros.txt");
    fs::create_symlink("nowhere.txt", "dangling.txt");
    fs::create_directory("folder.txt");
    ASSERT_EQ(mkfifo("fifo.txt", 0644), 0);
    const std::pair<const char*, int> table[] = {
        {"exact.txt", FILE_READ},         {"linked.txt", FILE_READ},        {"big.txt", FILE_UNREADABLE},
        {"zeros.txt", FILE_UNREADABLE},   {"folder.txt", FILE_UNREADABLE},  {"fifo.txt", FILE_UNREADABLE},
        {"absent.txt", FILE_MISSING},     {"dangling.txt", FILE_MISSING},   {"exact.txt/x", FILE_MISSING}};
    // A FIFO without a writer, or an endless device, must neither block nor be read without end.
    HangWatch watch;
    for (const auto& [name, outcome] : table) {
        const FileContents file = readWholeFile(name, LIMIT);
        EXPECT_EQ(file.outcome, outcome) << name;
        EXPECT_EQ(file.bytes.size(), outcome == FILE_READ ? LIMIT : 0u) << name;
        EXPECT_EQ(file.problem.empty(), outcome != FILE_UNREADABLE) << name;
    }
    EXPECT_EQ(readWholeFile("fifo.txt", LIMIT).problem, "not a regular file");
    EXPECT_EQ(readWholeFile("big.txt", LIMIT).problem, "larger than 100 bytes");
}

TEST(ReplacingAFile, TheNewFileKeepsTheOldPermissionsAndNothingIsLeftBeside)
{
    TempGameFolder folder;
    folder.write("table.txt", "old");
    fs::permissions("table.txt", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(replaceFile("table.txt", "new"));
    EXPECT_EQ(folder.read("table.txt"), "new");
    EXPECT_EQ(fs::status("table.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // A new file gets what a plain open would give it under the umask.
    const mode_t mask = umask(022);
    ASSERT_TRUE(replaceFile("fresh.txt", "x"));
    umask(mask);
    EXPECT_EQ(fs::status("fresh.txt").permissions(), fs::perms(0644));
    EXPECT_EQ(folder.names(), "fresh.txt table.txt");
}

TEST(LockingAFile, AHeldLockIsWaitedForOnlyBrieflyAndNoStrangeLockFileIsUsed)
{
    TempGameFolder folder;
    HangWatch watch;
    {
        const FileLock first("table.txt", 0);
        ASSERT_TRUE(first.held());
        const FileLock second("table.txt", 50);
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.problem, "another game has held it for over 50 ms");
    }
    EXPECT_TRUE(FileLock("table.txt", 0).held());
    // Planted at the lock's name: a link (never followed, not even to create its target), a FIFO.
    folder.write("victim", "precious");
    fs::create_symlink("victim", "linked.txt.lock");
    fs::create_symlink("nowhere", "dangling.txt.lock");
    ASSERT_EQ(mkfifo("fifo.txt.lock", 0644), 0);
    const std::pair<const char*, const char*> refused[] = {
        {"linked.txt", "a link stands at its name"}, {"dangling.txt", "a link stands at its name"},
        {"fifo.txt", "not a regular file"}};
    for (const auto& [name, why] : refused) {
        const FileLock lock(name, 0);
        EXPECT_FALSE(lock.held()) << name;
        EXPECT_EQ(lock.problem, why) << name;
    }
    EXPECT_EQ(folder.read("victim"), "precious");
    EXPECT_FALSE(fs::exists("nowhere"));
}
