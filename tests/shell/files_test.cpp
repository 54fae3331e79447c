// Reading a file the player may have tampered with, and replacing a file safely.
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
