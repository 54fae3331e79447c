// Player-name entry: which keys type, the limits of the name, and reading and saving "player.txt".
#include <allegro.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <utility>

#include "shell/files.h"
#include "shell/game.h"
#include "shell/window_events.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

int cellColour(int code) { return makecol(code, 100, 200); }
constexpr int PANEL_WIDTH = 371;

class NameEntry : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        AssetBitmaps& b = game->bitmaps;
        for (BITMAP** picture : {&b.alphabetPicture, &b.ledPicture, &b.heroPicture, &b.playerPicture})
            destroy_bitmap(*picture);
        b.alphabetPicture = makeFilledBitmap(578, 28, makecol(250, 250, 250));
        for (int code = 1; code <= 36; ++code)
            rectfill(b.alphabetPicture, 16 * (code - 1), 0, 16 * code - 1, 27, cellColour(code));
        b.ledPicture = makeFilledBitmap(PANEL_WIDTH, 54, makecol(30, 30, 30));
        b.heroPicture = makeFilledBitmap(40, 40, makecol(0, 0, 255));
        b.playerPicture = makeFilledBitmap(100, 40, makecol(255, 0, 255));
        clear_to_color(b.menuBuffer, makecol(0, 0, 0));
    }
    // Opens the screen as the menu loop does: the name loaded from "player.txt" first.
    void open()
    {
        game->startScreenInput();
        game->frontEnd.loadPlayerName();
        game->drawNameEntryPage();
        game->drawLoadedName();
        game->showNameField();
    }
    // One pass with exactly these keys pressed and held, then released.
    NameEntryPass press(std::initializer_list<int> keys)
    {
        for (int k : keys) {
            key[k] = 1;
            onKeyEvent(k);
        }
        const NameEntryPass result = game->nameEntryPass();
        for (int k : keys) {
            key[k] = 0;
            onKeyEvent(k | 0x80);
        }
        return result;
    }
    int fieldPixel(int cell, int dx, int y) { return getpixel(game->bitmaps.nameFieldBitmap, 18 * cell + 2 + dx, y); }
    const char* name() { return game->frontEnd.playerName; }
};

TEST_F(NameEntry, ThePlayerNameIsReloadedWithOnlyWhatTheNameEntryTypes)
{
    // Lower case is the same letter; any other byte (UTF-8, escapes, punctuation) is dropped
    // whole, so no character is ever cut in two.
    const std::pair<const char*, const char*> table[] = {
        {"ANNA\nMARIA", "ANNAMARIA"}, {" A B\tC \r\n", "ABC"}, {"", ""}, {"zorb1v", "ZORB1V"},
        {"\x1b[2J\x07" "BOB", "2JBOB"},    {"Z\xc5\x81\xc3\xb3W-7!", "ZW7"},
        {"ABCDEFGHIJ KLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNO"}, {"\xc5\x81\xc5\x81\xc5\x81\xc5\x81\xc5\x81\xc5\x81\xc5\x81\xc5\x81X", "X"}};
    for (const auto& [file, name] : table) {
        folder->write(PLAYER_FILE, file);
        game->frontEnd.loadPlayerName();
        EXPECT_STREQ(game->frontEnd.playerName, name);
        EXPECT_EQ(game->frontEnd.itemsRead, static_cast<int>(std::strlen(name)));
    }
    std::remove(PLAYER_FILE);
    game->frontEnd.loadPlayerName();
    EXPECT_STREQ(game->frontEnd.playerName, "");
    EXPECT_EQ(game->frontEnd.itemsRead, 0);
}

TEST_F(NameEntry, ANameFileThatIsNoFileGivesNoNameAndNeverBlocks)
{
    HangWatch watch;
    ASSERT_EQ(mkfifo(PLAYER_FILE, 0644), 0);
    EXPECT_EQ(game->frontEnd.loadPlayerName(), FILE_UNREADABLE);
    EXPECT_STREQ(game->frontEnd.playerName, "");
    std::remove(PLAYER_FILE);
    ASSERT_EQ(symlink("/dev/zero", PLAYER_FILE), 0);
    EXPECT_EQ(game->frontEnd.loadPlayerName(), FILE_UNREADABLE);
    EXPECT_EQ(game->frontEnd.itemsRead, 0);
}

TEST(PlayerNameReader, NeverStoresMoreThanFifteenCharacters)
{
    char name[20];
    std::memset(name, 'x', sizeof name);
    std::istringstream in(std::string(100000, 'Q') + "\0\0", std::ios::binary);
    EXPECT_EQ(readPlayerName(in, name), 15);
    EXPECT_EQ(name[15], '\0');
    EXPECT_EQ(name[16], 'x');
}

}  // namespace

TEST_F(NameEntry, ScanOrderPicksTheFirstHeldKeyAndVTypesV)
{
    const std::pair<std::vector<int>, int> table[] = {
        {{KEY_A}, 1}, {{KEY_V}, 23}, {{KEY_W}, 22}, {{KEY_V, KEY_W}, 22}, {{KEY_Z, KEY_B}, 2},
        {{KEY_0, KEY_9}, 35}, {{KEY_0}, 36}, {{KEY_0_PAD, KEY_5_PAD, KEY_SPACE, KEY_MINUS}, 0}, {{}, 0}};
    for (const auto& [keys, code] : table) {
        releaseAllInput();
        for (int k : keys) key[k] = 1;
        EXPECT_EQ(scanGlyphKey(), code) << keys.size();
    }
    releaseAllInput();
    open();
    for (int k : {KEY_V, KEY_W, KEY_0, KEY_1_PAD}) press({k});
    EXPECT_STREQ(name(), "VW0");
    EXPECT_EQ(fieldPixel(0, 5, 10), cellColour(23));
    EXPECT_EQ(fieldPixel(1, 5, 10), cellColour(22));
    EXPECT_EQ(fieldPixel(2, 5, 10), cellColour(36));
    EXPECT_EQ(fieldPixel(0, 5, 1), makecol(10, 90, 40));
    EXPECT_EQ(fieldPixel(0, 5, 36), makecol(0, 70, 30));
}

TEST_F(NameEntry, EachTypedCharacterOwesOneRepeatPause)
{
    open();
    EXPECT_EQ(press({KEY_A}).repeatPauses, 1);
    EXPECT_EQ(press({}).repeatPauses, 0);
    EXPECT_EQ(press({KEY_BACKSPACE, KEY_B}).repeatPauses, 2);
    EXPECT_STREQ(name(), "B");
}

TEST_F(NameEntry, TheSixteenthCharacterIsIgnored)
{
    open();
    for (int i = 0; i < 15; ++i) press({KEY_A + i});
    const NameEntryPass sixteenth = press({KEY_Z});
    EXPECT_EQ(sixteenth.repeatPauses, 0);
    EXPECT_STREQ(name(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(game->frontEnd.cursor, 15);
    EXPECT_TRUE(press({KEY_ENTER}).closed);
    EXPECT_EQ(folder->read(PLAYER_FILE), "ABCDEFGHIJKLMNO");
}

TEST_F(NameEntry, EnterWithAnEmptyNameKeepsTheScreenOpen)
{
    open();
    EXPECT_FALSE(press({KEY_ENTER}).closed);
    EXPECT_FALSE(press({KEY_ENTER_PAD}).closed);
    EXPECT_FALSE(fs::exists(PLAYER_FILE));
    // Without a saved name the first typed character goes to the first place.
    press({KEY_Q});
    game->menuChoice = MENU_PLAYER_NAME;
    EXPECT_TRUE(press({KEY_ENTER}).closed);
    EXPECT_EQ(game->menuChoice, MENU_NONE);
    EXPECT_EQ(folder->read(PLAYER_FILE), "Q");
}

TEST_F(NameEntry, BackspaceOnALoadedNameRemovesItsLastCharacter)
{
    folder->write(PLAYER_FILE, "AB\nC");
    open();
    EXPECT_EQ(game->frontEnd.cursor, 3);
    EXPECT_EQ(fieldPixel(2, 5, 10), cellColour(3));
    press({KEY_BACKSPACE});
    EXPECT_EQ(fieldPixel(2, 5, 10), makecol(2, 2, 2));
    EXPECT_EQ(fieldPixel(2, 0, 1), makecol(2, 2, 2));
    EXPECT_EQ(fieldPixel(1, 5, 10), cellColour(2));
    EXPECT_TRUE(press({KEY_ENTER}).closed);
    EXPECT_EQ(folder->read(PLAYER_FILE), "AB");
    // With nothing left, Backspace still blots out the first cell.
    press({KEY_BACKSPACE});
    press({KEY_BACKSPACE});
    press({KEY_BACKSPACE});
    EXPECT_EQ(game->frontEnd.cursor, 0);
    EXPECT_EQ(fieldPixel(0, 5, 10), makecol(2, 2, 2));
}

TEST_F(NameEntry, EscapeOrTheRightButtonLeavesWithoutSaving)
{
    folder->write(PLAYER_FILE, "OLD");
    // Held at the pass, or pressed and let go between two passes.
    const std::function<void()> leaves[] = {
        [] { key[KEY_ESC] = 1; },
        [] { mouse_b = 2; },
        [] {
            onKeyEvent(KEY_ESC);
            onKeyEvent(KEY_ESC | 0x80);
        },
        [] {
            mouse_b = 2;
            onMouseEvent(MOUSE_FLAG_RIGHT_DOWN);
            mouse_b = 0;
        }};
    for (const auto& leave : leaves) {
        open();
        press({KEY_X});
        leave();
        EXPECT_TRUE(game->nameEntryPass().closed);
        releaseAllInput();
        EXPECT_EQ(folder->read(PLAYER_FILE), "OLD");
    }
    mouse_b = 3;
    EXPECT_FALSE(press({}).closed);
    // Enter still held from the menu is no press: the loaded name is not saved at once.
    releaseAllInput();
    open();
    key[KEY_ENTER] = 1;
    EXPECT_FALSE(game->nameEntryPass().closed);
}

TEST_F(NameEntry, TheFieldIsShownOnThePanelInTheMiddleOfThePage)
{
    folder->write(PLAYER_FILE, "a1");  // hand-edited in lower case
    open();
    const int fieldLeft = 640 - PANEL_WIDTH / 2 + 48;
    BITMAP* page = game->bitmaps.menuBuffer;
    EXPECT_EQ(getpixel(page, fieldLeft, 298), makecol(10, 40, 40));
    EXPECT_EQ(getpixel(page, fieldLeft + 1, 308), makecol(9, 13, 15));
    EXPECT_EQ(getpixel(page, fieldLeft + 7, 308), cellColour(1));
    EXPECT_EQ(getpixel(page, fieldLeft + 25, 308), cellColour(27));
}

TEST_F(NameEntry, AFailedSaveLeavesTheOldNameWhole)
{
    folder->write(PLAYER_FILE, "OLD");
    open();
    press({KEY_N});
    {
        FullDisk full;
        EXPECT_TRUE(press({KEY_ENTER}).closed);
    }
    EXPECT_EQ(folder->read(PLAYER_FILE), "OLD");
    press({KEY_ENTER});
    EXPECT_EQ(folder->read(PLAYER_FILE), "OLDN");
    EXPECT_EQ(folder->names(), "player.txt player.txt.lock");
}

TEST_F(NameEntry, ANameFileThatCannotBeReadIsKeptAndAPlantedLinkIsNotFollowed)
{
    folder->write(PLAYER_FILE, "OLD");
    fs::permissions(PLAYER_FILE, fs::perms::owner_write);
    fs::permissions(folder->path(), fs::perms::all);
    testing::internal::CaptureStderr();
    {
        OrdinaryPlayer player(*folder, {PLAYER_FILE});
        open();
        press({KEY_N});
        press({KEY_ENTER});
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Ghost Maze: player.txt cannot be read (Permission denied): the name is not saved\n");
    EXPECT_EQ(folder->read(PLAYER_FILE), "OLD");
    EXPECT_EQ(fs::status(PLAYER_FILE).permissions(), fs::perms::owner_write);
    fs::remove(PLAYER_FILE);
    folder->write("victim", "precious");
    fs::create_symlink("victim", "player.txt.tmp");
    open();
    press({KEY_N});
    press({KEY_ENTER});
    EXPECT_EQ(folder->read("victim"), "precious");
    EXPECT_EQ(folder->read(PLAYER_FILE), "N");
    EXPECT_FALSE(fs::is_symlink(PLAYER_FILE));
}
