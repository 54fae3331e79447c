// The high-score table: its reader, recording a result, the safe replacement of the file,
// and the high-score screen.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <sstream>
#include <string>

#include "shell/files.h"
#include "shell/game.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

int readText(const std::string& text, HighScoreEntry* rows)
{
    std::istringstream in(text);
    return readHighScores(in, rows);
}

std::string lines(int count, int firstScore, int step)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += "P" + std::to_string(i) + "\t" + std::to_string(firstScore - step * i) + "\n";
    return text;
}

class HighScoreFile : public ::testing::Test {
protected:
    void record(const char* name, int score)
    {
        std::snprintf(frontEnd.playerName, sizeof frontEnd.playerName, "%s", name);
        frontEnd.recordResult(score);
    }
    TempGameFolder folder;
    FrontEnd frontEnd;
};

}  // namespace

TEST(HighScoreEntries, ScoreTextFitsItsFieldAndFollowsTheClampedValue)
{
    const std::pair<int, const char*> table[] = {{0, "0"},           {120, "120"},         {999999999, "999999999"},
                                                 {1000000000, "999999999"}, {INT_MAX, "999999999"}, {-5, "-5"},
                                                 {-99999999, "-99999999"},   {INT_MIN, "-99999999"}};
    for (const auto& [score, text] : table) {
        HighScoreEntry entry;
        entry.setScore(score);
        EXPECT_STREQ(entry.scoreText, text);
        EXPECT_EQ(std::to_string(entry.score), text);
    }
}

TEST(HighScoreEntries, HigherScoresRankFirstEvenAtTheExtremes)
{
    HighScoreEntry a, b;
    for (const auto& [high, low] : {std::pair{120, 95}, {999999999, -99999999}, {INT_MAX, INT_MIN}, {1, 0}}) {
        a.score = high;
        b.score = low;
        EXPECT_LT(compareScores(a, b), 0) << high << " " << low;
        EXPECT_GT(compareScores(b, a), 0) << high << " " << low;
    }
    EXPECT_EQ(compareScores(a, a), 0);
}

TEST(HighScoreReader, AnyRunOfBlanksSeparatesNameAndScore)
{
    HighScoreEntry rows[HIGH_SCORE_ROWS];
    ASSERT_EQ(readText("  ALA   120\r\n\n\tBOB\n95 CAT\t+7", rows), 3);
    EXPECT_STREQ(rows[0].name, "ALA");
    EXPECT_EQ(rows[0].score, 120);
    EXPECT_STREQ(rows[1].name, "BOB");
    EXPECT_STREQ(rows[1].scoreText, "95");
    EXPECT_EQ(rows[2].score, 7);
    EXPECT_EQ(readText(lines(12, 900, 10), rows), 9);
    EXPECT_STREQ(rows[8].name, "P8");
}

TEST(HighScoreReader, LongNamesAreCutAndHugeScoresClamped)
{
    HighScoreEntry rows[HIGH_SCORE_ROWS];
    ASSERT_EQ(readText("ABCDEFGHIJKLMNOPQRSTUVWXYZ 77\nBOB 123456789012345678901234567890\n", rows), 2);
    EXPECT_STREQ(rows[0].name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(rows[0].score, 77);
    EXPECT_EQ(rows[1].score, 999999999);
}

TEST(HighScoreReader, KeepsTheCompleteEntriesBeforeAFault)
{
    const std::pair<const char*, int> table[] = {
        {"ALA\t120\nBOB", 1},          {"ALA\t120\nBOB\tx12\nCAT\t3\n", 1}, {"ALA\t12a\n", 0},
        {"ALA120\nBOB\t5\n", 0},       {"ALA\t-30\n", 1},                 {"\t120\nBOB\t95\n", 0},
        {"ALA\t-\n", 0},               {"", 0},                           {"\n \t\n", 0}};
    for (const auto& [text, complete] : table) {
        HighScoreEntry rows[HIGH_SCORE_ROWS];
        EXPECT_EQ(readText(text, rows), complete) << text;
    }
    HighScoreEntry rows[HIGH_SCORE_ROWS];
    readText("ALA\t-30\n", rows);
    EXPECT_STREQ(rows[0].scoreText, "-30");
}

TEST_F(HighScoreFile, TheFirstResultCreatesTheFile)
{
    record("ALA", 50);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "ALA\t50\n");
    EXPECT_EQ(folder.names(), HIGH_SCORE_FILE);
}

TEST_F(HighScoreFile, AResultJoinsEightLinesInItsSortedPlace)
{
    folder.write(HIGH_SCORE_FILE, lines(8, 800, 100));
    record("NEW", 450);
    const std::string expected = "P0\t800\nP1\t700\nP2\t600\nP3\t500\nNEW\t450\nP4\t400\nP5\t300\nP6\t200\nP7\t100\n";
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), expected);
}

TEST_F(HighScoreFile, WithNineLinesTheNewestResultAlwaysReplacesTheNinth)
{
    folder.write(HIGH_SCORE_FILE, lines(9, 900, 100));
    record("LOW", 5);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), lines(8, 900, 100) + "LOW\t5\n");
    record("TOP", 5000);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "TOP\t5000\n" + lines(8, 900, 100));
}

TEST_F(HighScoreFile, ScoresCompareAsNumbersNotAsText)
{
    record("A", 120);
    record("B", 95);
    record("C", 1000);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "C\t1000\nA\t120\nB\t95\n");
}

TEST_F(HighScoreFile, ANamelessResultStaysReadable)
{
    record("", 10);
    record("  ", -4);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "PLAYER\t10\nPLAYER\t-4\n");
}

TEST_F(HighScoreFile, ADamagedFileKeepsItsCompleteEntries)
{
    folder.write(HIGH_SCORE_FILE, "ALA\t120\nBOB\tlots\nCAT\t3\n");
    record("DAN", 7);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "ALA\t120\nDAN\t7\n");
}

TEST_F(HighScoreFile, AMissingFileShowsNoRowsAndRecordsOnlyTheNewResult)
{
    folder.write(HIGH_SCORE_FILE, lines(9, 900, 100));
    frontEnd.loadHighScores();
    fs::remove(HIGH_SCORE_FILE);
    frontEnd.loadHighScores();
    EXPECT_EQ(frontEnd.itemsRead, 0);
    record("ALA", -3);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "ALA\t-3\n");
}

TEST_F(HighScoreFile, AFailedWriteLeavesTheOldTableWhole)
{
    const std::string old = lines(3, 300, 100);
    folder.write(HIGH_SCORE_FILE, old);
    // The temporary file cannot be made: the player may not write into the folder.
    fs::permissions(folder.path(), fs::perms(0555));
    {
        OrdinaryPlayer player(folder, {HIGH_SCORE_FILE});
        record("ALA", 1);
    }
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), old);
    // The disk fills up while the table is written.
    {
        FullDisk full;
        record("ALA", 1);
    }
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), old);
    EXPECT_EQ(folder.names(), HIGH_SCORE_FILE);
    // The player has made the table read-only.
    fs::permissions(HIGH_SCORE_FILE, fs::perms::owner_read | fs::perms::group_read);
    record("ALA", 1);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), old);
    EXPECT_EQ(folder.names(), HIGH_SCORE_FILE);
}

TEST_F(HighScoreFile, ATableThatCannotBeReadIsKeptByteForByte)
{
    const std::string old = lines(3, 300, 100);
    folder.write(HIGH_SCORE_FILE, old);
    fs::permissions(HIGH_SCORE_FILE, fs::perms::owner_write);
    fs::permissions(folder.path(), fs::perms::all);
    testing::internal::CaptureStderr();
    {
        OrdinaryPlayer player(folder, {HIGH_SCORE_FILE});
        EXPECT_EQ(frontEnd.loadHighScores(), FILE_UNREADABLE);
        record("ALA", 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Ghost Maze: high_score.txt cannot be read (Permission denied): this result is not recorded\n");
    EXPECT_EQ(fs::status(HIGH_SCORE_FILE).permissions(), fs::perms::owner_write);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), old);
    // Far too big for a table: not the game's, so not replaced either.
    const std::string huge = std::string(TEXT_FILE_LIMIT, ' ') + old;
    folder.write(HIGH_SCORE_FILE, huge);
    record("ALA", 1);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), huge);
    EXPECT_EQ(folder.names(), HIGH_SCORE_FILE);
}

TEST_F(HighScoreFile, SpecialFilesAtTheTablesNameNeitherHangTheGameNorAreReplaced)
{
    HangWatch watch;
    fs::create_symlink("/dev/zero", HIGH_SCORE_FILE);
    record("ALA", 1);
    EXPECT_EQ(frontEnd.loadHighScores(), FILE_UNREADABLE);
    EXPECT_EQ(frontEnd.itemsRead, 0);
    EXPECT_EQ(fs::read_symlink(HIGH_SCORE_FILE), "/dev/zero");
    fs::remove(HIGH_SCORE_FILE);
    ASSERT_EQ(mkfifo(HIGH_SCORE_FILE, 0644), 0);
    record("ALA", 1);
    EXPECT_EQ(frontEnd.loadHighScores(), FILE_UNREADABLE);
    EXPECT_TRUE(fs::is_fifo(HIGH_SCORE_FILE));
    fs::remove(HIGH_SCORE_FILE);
    // A folder at the table's name is left as it is.
    fs::create_directories("high_score.txt/keep");
    record("ALA", 1);
    EXPECT_TRUE(fs::exists("high_score.txt/keep"));
    EXPECT_EQ(folder.names(), HIGH_SCORE_FILE);
}

TEST_F(HighScoreFile, ALinkPlantedAtATemporaryNameIsNeverWrittenThrough)
{
    folder.write("victim", "precious");
    for (const char* name : {"high_score.txt.tmp", "high_score.txt.new", "high_score.txt~"})
        fs::create_symlink("victim", name);
    record("ALA", 7);
    EXPECT_EQ(folder.read("victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(HIGH_SCORE_FILE));
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "ALA\t7\n");
    EXPECT_EQ(fs::read_symlink("high_score.txt.tmp"), "victim");
}

namespace {

int cellColour(int code) { return makecol(code, 100, 200); }

// The screen on plain pictures whose glyph cells each have their own colour.
class HighScoreScreen : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        destroy_bitmap(game->bitmaps.alphabetPicture);
        game->bitmaps.alphabetPicture = makeFilledBitmap(578, 28, makecol(250, 250, 250));
        for (int code = 1; code <= 36; ++code)
            rectfill(game->bitmaps.alphabetPicture, 16 * (code - 1), 0, 16 * code - 1, 27, cellColour(code));
        page = game->bitmaps.menuBuffer;
        clear_to_color(page, makecol(0, 0, 0));
    }
    int pixel(int x, int y) { return getpixel(page, x, y); }
    FrontEnd& frontEnd() { return game->frontEnd; }
    BITMAP* page = nullptr;
};

}  // namespace

TEST_F(HighScoreScreen, OnlyTheFirstEightRowsAreRanked)
{
    game->drawHighScoreFrame();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(pixel(425, 210 + 70 * i), cellColour(27 + i)) << i;
    EXPECT_EQ(frontEnd().glyphCode, 34);
}

TEST_F(HighScoreScreen, TheTitleOverlapsItsLettersAndSkipsTheBlank)
{
    game->drawHighScoreTitle();
    EXPECT_EQ(pixel(545, 60), cellColour(8));    // H
    EXPECT_EQ(pixel(593, 60), cellColour(9));    // I over the gap of H
    EXPECT_EQ(pixel(805, 60), cellColour(19));   // S, the sixth place
    EXPECT_EQ(pixel(770, 60), makecol(0, 0, 0)); // the blank
    EXPECT_EQ(pixel(1011, 60), cellColour(5));   // E
    EXPECT_EQ(pixel(560, 38), makecol(10, 90, 40));
    EXPECT_EQ(pixel(560, 143), makecol(0, 70, 30));
}

TEST_F(HighScoreScreen, RowsShowTheNamesAndScoresOfTheFile)
{
    folder->write(HIGH_SCORE_FILE, "ZED\t950\nA\t9\n");
    game->drawHighScoreRows();
    EXPECT_EQ(pixel(505, 210), cellColour(26));
    EXPECT_EQ(pixel(945, 210), cellColour(35));
    EXPECT_EQ(pixel(981, 210), cellColour(36));
    EXPECT_EQ(pixel(505, 196), makecol(10, 90, 40));
    EXPECT_EQ(pixel(945, 196), makecol(0, 0, 0));
    EXPECT_EQ(pixel(505, 280), cellColour(1));
    EXPECT_EQ(pixel(505, 350), makecol(0, 0, 0));
}

TEST_F(HighScoreScreen, EscapeOrTheRightButtonAloneCloses)
{
    game->menuChoice = MENU_HIGH_SCORES;
    for (int buttons : {0, 1, 3, 4}) {
        mouse_b = buttons;
        EXPECT_FALSE(game->highScoresPass()) << buttons;
    }
    mouse_b = 2;
    EXPECT_TRUE(game->highScoresPass());
    EXPECT_EQ(game->menuChoice, MENU_NONE);
    mouse_b = 0;
    key[KEY_ESC] = 1;
    EXPECT_TRUE(game->highScoresPass());
}
