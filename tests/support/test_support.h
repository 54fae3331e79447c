// Shared helpers of the headless tests: Allegro without a window, and clean input.
#pragma once

#include <gtest/gtest.h>

struct BITMAP;

// Starts Allegro once per test program with no system driver, at 32-bit colour.
void startHeadlessAllegro();

// Releases every key and mouse button the previous case may have left held.
void releaseAllInput();

// A 32-bit memory bitmap of the given size, filled with one colour (destroyed by the caller).
BITMAP* makeFilledBitmap(int width, int height, int colour);

// Base of the test cases that draw or read bitmaps: Allegro is up and no key is held.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadlessAllegro();
        releaseAllInput();
    }
    void TearDown() override { releaseAllInput(); }
};

#include <initializer_list>
#include <string>

// A fresh working folder for one test, with the generated pictures and sounds linked in,
// so tests that write "player.txt" or "high_score.txt" never touch the game's own folder.
class TempGameFolder {
public:
    TempGameFolder();
    ~TempGameFolder();
    TempGameFolder(const TempGameFolder&) = delete;
    TempGameFolder& operator=(const TempGameFolder&) = delete;
    const std::string& path() const { return folder; }
    // The whole content of a file in the folder ("" when it does not exist).
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& content) const;
    // The names in the folder besides the linked pictures and sounds, sorted, joined by blanks.
    std::string names() const;

private:
    std::string folder;
    std::string previous;
};

// While it lives, file access is checked as for an ordinary player: a test run as root (who may
// read and write any file) takes the user "nobody" as its effective user, after handing it the
// given files of the folder. The folder's own permissions are the test's to set.
class OrdinaryPlayer {
public:
    OrdinaryPlayer(const TempGameFolder& folder, std::initializer_list<const char*> ownFiles);
    ~OrdinaryPlayer();
    OrdinaryPlayer(const OrdinaryPlayer&) = delete;
    OrdinaryPlayer& operator=(const OrdinaryPlayer&) = delete;

private:
    bool switched = false;
};

// While it lives, no file can grow beyond a few bytes: writes fail as on a full disk.
class FullDisk {
public:
    FullDisk();
    ~FullDisk();
};

// Fails the test program (SIGALRM) if what follows blocks for seconds: a read that waits for a
// writer that never comes would otherwise hang the suite.
class HangWatch {
public:
    HangWatch();
    ~HangWatch();
};

// Starts Allegro and builds a Game in a TempGameFolder.
class GameTest : public HeadlessTest {
protected:
    void SetUp() override;
    void TearDown() override;
    TempGameFolder* folder = nullptr;
    class Game* game = nullptr;
};

// Coins of all three values still on the board (not yet collected).
int coinsOnBoard(const class Game& game);
