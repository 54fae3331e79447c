// The high-score table: reading and writing "high_score.txt", recording a finished game,
// and the high-score screen.
#include "shell/game.h"

#include <allegro.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "shell/files.h"
#include "shell/window_events.h"

namespace {

// The widest values whose text fits the ten-byte field with its terminator.
constexpr std::int32_t HIGHEST_SCORE = 999999999;
constexpr std::int32_t LOWEST_SCORE = -99999999;
// Stands for a result without a player name, so that its line still reads as name and score.
constexpr const char* NAMELESS_PLAYER = "PLAYER";

// The high-score screen.
constexpr int TABLE_ROW_HEIGHT = 70;   // pixels from one row of the table to the next
constexpr int RANKED_ROWS = 8;         // rank digits stand beside the first eight rows only
constexpr int FIRST_RANK_GLYPH = 27;   // the glyph of "1"
constexpr int ROW_TEXT_Y = 200;        // glyph top of the first row
constexpr int NAME_X = 500;
constexpr int SCORE_X = 940;
constexpr int TITLE_X = 540;
constexpr int TITLE_Y = 50;
constexpr int TITLE_ADVANCE = 52;      // narrower than a scale-3 glyph: the letters overlap
constexpr int TITLE_SCALE = 3;
constexpr const char* TITLE = "HIGH SCORE";
constexpr int CLOSE_POLL_MS = 50;

struct Column {
    int left, right;
};
constexpr Column TABLE_COLUMNS[] = {{400, 450}, {470, 900}, {920, 1200}};  // rank, name, score

bool isBlank(int character) { return std::isspace(static_cast<unsigned char>(character)) != 0; }

// Skips blanks, tabs and line ends; false at the end of the input.
bool skipBlanks(std::istream& in)
{
    for (int c = in.peek(); c != std::char_traits<char>::eof(); c = in.peek()) {
        if (!isBlank(c)) return true;
        in.get();
    }
    return false;
}

// Reads one word, keeping its first `capacity` characters and skipping the rest of it.
bool readWord(std::istream& in, char* word, int capacity)
{
    word[0] = '\0';
    if (!skipBlanks(in)) return false;
    int length = 0;
    for (int c = in.peek(); c != std::char_traits<char>::eof() && !isBlank(c); c = in.peek()) {
        in.get();
        if (length < capacity) word[length++] = static_cast<char>(c);
    }
    word[length] = '\0';
    return true;
}

// Reads one word that must be a whole decimal number (optional sign, then digits only);
// numbers beyond the score field are clamped on the way in.
bool readScore(std::istream& in, std::int32_t& score)
{
    if (!skipBlanks(in)) return false;
    int c = in.get();
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = in.get();
    std::int64_t magnitude = 0;
    int digits = 0;
    for (; c != std::char_traits<char>::eof() && !isBlank(c); c = in.get()) {
        if (c < '0' || c > '9') return false;
        magnitude = std::min<std::int64_t>(magnitude * 10 + (c - '0'), std::int64_t{HIGHEST_SCORE} + 1);
        ++digits;
    }
    if (digits == 0) return false;
    const std::int64_t value = negative ? -magnitude : magnitude;
    score = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, LOWEST_SCORE, HIGHEST_SCORE));
    return true;
}

// A name as the table stores it: blanks dropped, at most 15 characters, never empty.
void storeName(char* field, const char* name)
{
    int length = 0;
    for (const char* c = name; *c != '\0' && length < NAME_CAPACITY; ++c) {
        if (!isBlank(*c)) field[length++] = *c;
    }
    field[length] = '\0';
    if (length == 0) std::snprintf(field, NAME_CAPACITY + 1, "%s", NAMELESS_PLAYER);
}

// The complete entries of a table file that was read; none from a missing or unreadable one.
int tableRows(const FileContents& file, HighScoreEntry* rows)
{
    if (file.outcome != FILE_READ) return 0;
    std::istringstream in(file.bytes);
    return readHighScores(in, rows);
}

}  // namespace

void HighScoreEntry::setScore(std::int32_t value)
{
    score = std::clamp(value, LOWEST_SCORE, HIGHEST_SCORE);
    std::snprintf(scoreText, sizeof scoreText, "%d", static_cast<int>(score));
}

int compareScores(const HighScoreEntry& a, const HighScoreEntry& b)
{
    // Wide arithmetic, so that extreme scores keep the sign of their difference.
    const std::int64_t difference = std::int64_t{b.score} - std::int64_t{a.score};
    return static_cast<int>(std::clamp<std::int64_t>(difference, INT32_MIN, INT32_MAX));
}

int readHighScores(std::istream& in, HighScoreEntry* rows)
{
    int count = 0;
    while (count < HIGH_SCORE_ROWS) {
        char name[NAME_CAPACITY + 1] = {};
        std::int32_t score = 0;
        // A damaged line ends the table: the complete entries before it stay.
        if (!readWord(in, name, NAME_CAPACITY) || !readScore(in, score)) break;
        std::memcpy(rows[count].name, name, sizeof name);
        rows[count].setScore(score);
        ++count;
    }
    return count;
}

void writeHighScores(std::ostream& out, const HighScoreEntry* rows, int count)
{
    for (int i = 0; i < count; ++i) {
        const char* name = rows[i].name[0] != '\0' ? rows[i].name : NAMELESS_PLAYER;
        out << name << '\t' << rows[i].scoreText << '\n';
    }
}

int FrontEnd::loadHighScores()
{
    const FileContents file = readWholeFile(HIGH_SCORE_FILE, TEXT_FILE_LIMIT);
    itemsRead = tableRows(file, highScores);
    return file.outcome;
}

void FrontEnd::recordResult(std::int32_t score)
{
    // A table that is there but cannot be read stays as the player has it, rather than being
    // replaced by one that holds this result alone.
    const FileContents file = readWholeFile(HIGH_SCORE_FILE, TEXT_FILE_LIMIT);
    if (file.outcome == FILE_UNREADABLE) {
        std::fprintf(stderr, "Ghost Maze: %s cannot be read (%s): this result is not recorded\n", HIGH_SCORE_FILE,
                     file.problem.c_str());
        return;
    }
    itemsRead = tableRows(file, highScores);
    // The newest result always enters: below a full table it takes the place of the ninth.
    const int row = std::min<int>(itemsRead, HIGH_SCORE_ROWS - 1);
    storeName(highScores[row].name, playerName);
    highScores[row].setScore(score);
    const int count = row + 1;
    std::stable_sort(highScores, highScores + count,
                     [](const HighScoreEntry& a, const HighScoreEntry& b) { return compareScores(a, b) < 0; });
    std::ostringstream table;
    writeHighScores(table, highScores, count);
    replaceFile(HIGH_SCORE_FILE, table.str());
}

// The high-score screen, drawn on the black page the menu left.
void Game::runHighScores()
{
    startScreenInput();
    drawHighScoreFrame();
    drawHighScoreTitle();
    drawHighScoreRows();
    showMenuPage();
    while (!highScoresPass()) restNotingPad(CLOSE_POLL_MS);
}

bool Game::highScoresPass()
{
    // The window's close button ends the program from here too.
    if (closeRequested.load()) {
        menuChoice = MENU_QUIT;
        return true;
    }
    if (!key[KEY_ESC] && mouse_b != 2 && !screenLeavePressed()) return false;
    menuChoice = MENU_NONE;
    return true;
}

void Game::drawHighScoreFrame()
{
    BITMAP* page = bitmaps.menuBuffer;
    rectfill(page, 256, 14, 1024, 698, makecol(50, 50, 50));
    for (int i = 0; i < HIGH_SCORE_ROWS; ++i) {
        const int shade = 200 / (i + 1);
        rectfill(page, 200, 190 + TABLE_ROW_HEIGHT * i, 1080, 240 + TABLE_ROW_HEIGHT * i, makecol(shade, shade, 0));
    }
    for (const Column& column : TABLE_COLUMNS) rectfill(page, column.left, 150, column.right, 870, makecol(20, 20, 20));
    for (int i = 0; i < RANKED_ROWS; ++i) {
        frontEnd.glyphCode = FIRST_RANK_GLYPH + i;
        frontEnd.drawGlyph(bitmaps.alphabetPicture, page, 420, ROW_TEXT_Y + TABLE_ROW_HEIGHT * i, 0, 1);
    }
    textout_ex(page, font, "exit - [ESC] or [RMB]", 560, 705, makecol(255, 255, 255), -1);
}

void Game::drawHighScoreTitle()
{
    for (int n = 0; TITLE[n] != '\0'; ++n) {
        if (TITLE[n] == ' ') continue;
        frontEnd.glyphCode = glyphForChar(TITLE[n]);
        frontEnd.drawGlyph(bitmaps.alphabetPicture, bitmaps.menuBuffer, TITLE_X + TITLE_ADVANCE * n, TITLE_Y, 1,
                           TITLE_SCALE);
    }
}

void Game::drawHighScoreRows()
{
    frontEnd.loadHighScores();
    for (int i = 0; i < frontEnd.itemsRead; ++i) {
        const int y = ROW_TEXT_Y + TABLE_ROW_HEIGHT * i;
        frontEnd.drawText(bitmaps.alphabetPicture, bitmaps.menuBuffer, NAME_X, y, 1, frontEnd.highScores[i].name);
        frontEnd.drawText(bitmaps.alphabetPicture, bitmaps.menuBuffer, SCORE_X, y, 0, frontEnd.highScores[i].scoreText);
    }
}
