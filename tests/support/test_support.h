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

private:
    std::string folder;
    std::string previous;
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
