// The high-score table: its reader, recording a result, the safe replacement of the file,
// and the high-score screen.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/files.h"
#include "shell/window_events.h"
#include "shell/game.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

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
                                                 {1000000000, "999999999"}, {INT_MAX, "999999999"}, {-5, "0"},
                                                 {INT_MIN, "0"}};
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

TEST(HighScoreReader, ADamagedLineCostsOnlyItselfAndIsNamed)
{
    const std::pair<std::string, const char*> damaged[] = {
        {"ROW3\tabc", "its score is not a whole number from 0 to 999999999"},
        {"ROW3\t-5", "its score is not a whole number from 0 to 999999999"},
        {"ROW3\t+5", "its score is not a whole number from 0 to 999999999"},
        {"ROW3\t1234567890", "its score is not a whole number from 0 to 999999999"},
        {"ROW3\t12a", "its score is not a whole number from 0 to 999999999"},
        {"R\xc3\xb3W3\t650", "its name has a character the game cannot show"},
        {"\x1b[2JROW3\t650", "its name has a character the game cannot show"},
        {std::string("RO\0W3\t650", 9), "its name has a character the game cannot show"},
        {"ABCDEFGHIJKLMNOP\t650", "its name is longer than 15 characters"},
        {"ROW3", "it has no score after the name"},
        {"ROW3\t650\tROW4\t600", "it holds more than a name and a score"},
        {"ROW3" + std::string(40, ' ') + "650", "it is longer than 40 bytes"}};
    for (const auto& [line, why] : damaged) {
        const std::string table = lines(2, 900, 100) + line + "\n" + lines(9, 900, 100).substr(lines(3, 900, 100).size());
        HighScoreEntry rows[HIGH_SCORE_ROWS];
        std::vector<std::string> leftOut;
        std::istringstream in(table);
        ASSERT_EQ(readHighScores(in, rows, &leftOut), 8) << why;
        EXPECT_STREQ(rows[1].name, "P1") << why;
        EXPECT_STREQ(rows[2].name, "P3") << why;
        EXPECT_STREQ(rows[7].name, "P8") << why;
        EXPECT_EQ(leftOut, std::vector<std::string>{std::string("line 3 left out: ") + why});
    }
}

TEST(HighScoreReader, RowsAreSortedAndOnlyTheNineBestKept)
{
    // Hand-edited: out of order, in lower case, loosely spaced, with blank lines between.
    const std::string table = "low 5\n\n  ala   120\r\nTOP\t0900\n \t\nP1 30\nP2 40\nP3 50\nP4 60\nP5 70\n"
                              "P6 80\nP7 1\nP8 2";
    HighScoreEntry rows[HIGH_SCORE_ROWS];
    std::vector<std::string> leftOut;
    std::istringstream in(table);
    ASSERT_EQ(readHighScores(in, rows, &leftOut), 9);
    const char* names[] = {"TOP", "ALA", "P6", "P5", "P4", "P3", "P2", "P1", "LOW"};
    for (int i = 0; i < 9; ++i) EXPECT_STREQ(rows[i].name, names[i]) << i;
    EXPECT_STREQ(rows[0].scoreText, "900");
    EXPECT_EQ(leftOut, (std::vector<std::string>{"line 12 left out: below the nine best",
                                                 "line 13 left out: below the nine best"}));
}

TEST_F(HighScoreFile, TheFirstResultCreatesTheFile)
{
    record("ALA", 50);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "ALA\t50\n");
    EXPECT_EQ(folder.names(), "high_score.txt high_score.txt.lock");
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

TEST_F(HighScoreFile, ANamelessResultStaysReadableAndOnlyTypedCharactersAreStored)
{
    record("", 10);
    record("  ", 0);
    record("\x1b]0;\x07zo\xc3\xab", 3);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "PLAYER\t10\n0ZO\t3\nPLAYER\t0\n");
}

TEST_F(HighScoreFile, ADamagedLineIsReportedAndTheRowsAfterItAreWrittenBack)
{
    std::string table = lines(9, 900, 100);
    table.replace(table.find("P2\t700"), 6, "ROW3\tabc");
    folder.write(HIGH_SCORE_FILE, table);
    testing::internal::CaptureStderr();
    record("NEW", 650);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Ghost Maze: high_score.txt line 3 left out: its score is not a whole number from 0 to 999999999\n");
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE),
              "P0\t900\nP1\t800\nNEW\t650\nP3\t600\nP4\t500\nP5\t400\nP6\t300\nP7\t200\nP8\t100\n");
}

TEST_F(HighScoreFile, AGameEndingWhileAnotherRecordsWaitsForItsTurn)
{
    std::thread second;
    {
        const FileLock first(HIGH_SCORE_FILE, 0);
        ASSERT_TRUE(first.held());
        second = std::thread([] {
            FrontEnd other;
            std::snprintf(other.playerName, sizeof other.playerName, "TWO");
            other.recordResult(20);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "") << "the second game did not wait";
        // The first game's change, made while it holds the lock.
        folder.write(HIGH_SCORE_FILE, "ONE\t10\n");
    }
    second.join();
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "TWO\t20\nONE\t10\n");
}

TEST_F(HighScoreFile, TwoGamesRecordingAtOnceKeepEveryResult)
{
    const auto play = [](char player) {
        FrontEnd game;
        for (int i = 0; i < 4; ++i) {
            std::snprintf(game.playerName, sizeof game.playerName, "%c%d", player, i);
            game.recordResult(10 * i + (player == 'A' ? 1 : 2));
        }
    };
    std::thread a(play, 'A'), b(play, 'B');
    a.join();
    b.join();
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "B3\t32\nA3\t31\nB2\t22\nA2\t21\nB1\t12\nA1\t11\nB0\t2\nA0\t1\n");
}

TEST_F(HighScoreFile, AMissingFileShowsNoRowsAndRecordsOnlyTheNewResult)
{
    folder.write(HIGH_SCORE_FILE, lines(9, 900, 100));
    frontEnd.loadHighScores();
    fs::remove(HIGH_SCORE_FILE);
    frontEnd.loadHighScores();
    EXPECT_EQ(frontEnd.itemsRead, 0);
    record("ALA", 3);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), "ALA\t3\n");
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
    EXPECT_EQ(folder.names(), "high_score.txt high_score.txt.lock");
    // The player has made the table read-only.
    fs::permissions(HIGH_SCORE_FILE, fs::perms::owner_read | fs::perms::group_read);
    record("ALA", 1);
    EXPECT_EQ(folder.read(HIGH_SCORE_FILE), old);
    EXPECT_EQ(folder.names(), "high_score.txt high_score.txt.lock");
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
    EXPECT_EQ(folder.names(), "high_score.txt high_score.txt.lock");
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
    EXPECT_EQ(folder.names(), "high_score.txt high_score.txt.lock");
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

TEST_F(HighScoreScreen, EveryRowHasItsRankAndLiesInTheWindowAboveTheFooter)
{
    // Each row's band, rank and name found wherever they were drawn: all nine must lie in the
    // window, in order, clear of the title's rule (y 143) and of the footer's text (y 705).
    const std::string names = "ABCDEFGHI";
    std::string table;
    for (int i = 0; i < 9; ++i) table += names.substr(i, 1) + "\t" + std::to_string(90 - i) + "\n";
    folder->write(HIGH_SCORE_FILE, table);
    game->drawHighScoreFrame();
    game->drawHighScoreRows();
    const auto rowsOf = [&](int x, int colour) {
        int top = -1, bottom = -1;
        for (int y = 0; y < page->h; ++y) {
            if (pixel(x, y) != colour) continue;
            if (top < 0) top = y;
            bottom = y;
        }
        return std::pair{top, bottom};
    };
    int lastBottom = 143;
    for (int i = 0; i < 9; ++i) {
        const int shade = 200 / (i + 1);
        const auto band = rowsOf(210, makecol(shade, shade, 0));
        const auto rank = rowsOf(425, cellColour(27 + i));
        const auto name = rowsOf(505, cellColour(1 + i));
        EXPECT_GT(band.first, lastBottom) << "row " << i + 1;
        EXPECT_LT(band.second, 700) << "row " << i + 1;
        EXPECT_EQ(rank.second - rank.first, 27) << "row " << i + 1;
        EXPECT_EQ(name, rank) << "row " << i + 1;
        EXPECT_GT(rank.first, band.first) << "row " << i + 1;
        EXPECT_LT(rank.second, band.second) << "row " << i + 1;
        lastBottom = band.second;
    }
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
    EXPECT_EQ(pixel(505, 175), cellColour(26));
    EXPECT_EQ(pixel(945, 175), cellColour(35));
    EXPECT_EQ(pixel(981, 175), cellColour(36));
    EXPECT_EQ(pixel(505, 161), makecol(10, 90, 40));
    EXPECT_EQ(pixel(945, 161), makecol(0, 0, 0));
    EXPECT_EQ(pixel(505, 235), cellColour(1));
    EXPECT_EQ(pixel(505, 295), makecol(0, 0, 0));
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

TEST_F(HighScoreScreen, OnlyRowsWithARecordingAreMarkedAndChosen)
{
    folder->write(HIGH_SCORE_FILE, "A\t30\nB\t20\nC\t10\n");
    mkdir("replays", 0777);
    folder->write("replays/row-A-30-5.gmr", "x");
    folder->write("replays/row-C-10-6.gmr", "x");
    folder->write("replays/row-B-21-7.gmr", "x");  // another score: not row B's
    game->drawHighScoreRows();
    const int white = makecol(255, 255, 255);
    EXPECT_EQ(pixel(1165, 180), white);
    EXPECT_NE(pixel(1165, 240), white);
    EXPECT_EQ(pixel(1165, 300), white);
    EXPECT_EQ(game->recordingOfRow(2), "replays/row-C-10-6.gmr");
    // The keys start on the first marked row and step over the unmarked one.
    EXPECT_EQ(game->scoreHighlight, 0);
    EXPECT_EQ(game->chosenHighScoreRow(1, false), -1);
    EXPECT_EQ(game->scoreHighlight, 2);
    onKeyEvent(KEY_ENTER);
    onKeyEvent(KEY_ENTER | 0x80);
    EXPECT_EQ(game->chosenHighScoreRow(0, false), 2);
    EXPECT_EQ(game->chosenHighScoreRow(0, true), 2);
    // A click chooses a marked row's band, and nothing on an unmarked one.
    for (int row : {1, 0}) {
        mouse_x = 700;
        mouse_y = 180 + 60 * row;
        mouse_b = 1;
        onMouseEvent(MOUSE_FLAG_LEFT_DOWN);
        mouse_b = 0;
        EXPECT_EQ(game->chosenHighScoreRow(0, false), row == 0 ? 0 : -1) << row;
    }
}
