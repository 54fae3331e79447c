// The high-score table: reading and writing "high_score.txt", recording a finished game,
// the safe replacement of both text files, and the high-score screen.
#include "shell/game.h"

#include <allegro.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

#include "shell/window_events.h"

namespace {

// The widest values whose text fits the ten-byte field with its terminator.
constexpr std::int32_t HIGHEST_SCORE = 999999999;
constexpr std::int32_t LOWEST_SCORE = -99999999;
// Stands for a result without a player name, so that its line still reads as name and score.
constexpr const char* NAMELESS_PLAYER = "PLAYER";
constexpr const char* REPLACEMENT_SUFFIX = ".tmp";

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

std::string replacementPath(const char* path) { return std::string(path) + REPLACEMENT_SUFFIX; }

// A file the player has made read-only keeps its contents.
bool isWriteProtected(const char* path)
{
    struct stat status {};
    if (stat(path, &status) != 0) return false;
    const bool noWriteBits = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return noWriteBits || access(path, W_OK) != 0;
}

// Pushes the written bytes to the disk before the rename makes them the file.
bool syncToDisk(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY);
    if (descriptor < 0) return false;
    const bool synced = fsync(descriptor) == 0;
    close(descriptor);
    return synced;
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

void FrontEnd::loadHighScores()
{
    itemsRead = 0;
    fileStream.clear();
    fileStream.open(HIGH_SCORE_FILE, std::ios::in);
    if (!fileStream.is_open()) return;
    itemsRead = readHighScores(fileStream, highScores);
    fileStream.close();
    fileStream.clear();
}

void FrontEnd::recordResult(std::int32_t score)
{
    loadHighScores();
    // The newest result always enters: below a full table it takes the place of the ninth.
    const int row = std::min<int>(itemsRead, HIGH_SCORE_ROWS - 1);
    storeName(highScores[row].name, playerName);
    highScores[row].setScore(score);
    const int count = row + 1;
    std::stable_sort(highScores, highScores + count,
                     [](const HighScoreEntry& a, const HighScoreEntry& b) { return compareScores(a, b) < 0; });
    if (!openReplacement(HIGH_SCORE_FILE)) return;
    writeHighScores(fileStream, highScores, count);
    commitReplacement(HIGH_SCORE_FILE);
}

bool FrontEnd::openReplacement(const char* path)
{
    if (fileStream.is_open()) fileStream.close();
    fileStream.clear();
    if (isWriteProtected(path)) return false;
    fileStream.open(replacementPath(path), std::ios::out | std::ios::trunc);
    if (fileStream.is_open()) return true;
    fileStream.clear();
    return false;
}

bool FrontEnd::commitReplacement(const char* path)
{
    const std::string temporary = replacementPath(path);
    fileStream.flush();
    bool written = fileStream.good();
    fileStream.close();
    written = written && !fileStream.fail() && syncToDisk(temporary);
    fileStream.clear();
    if (written && std::rename(temporary.c_str(), path) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

// The high-score screen, drawn on the black page the menu left.
void Game::runHighScores()
{
    drawHighScoreFrame();
    drawHighScoreTitle();
    drawHighScoreRows();
    showMenuPage();
    while (!highScoresPass()) rest(CLOSE_POLL_MS);
}

bool Game::highScoresPass()
{
    // The window's close button ends the program from here too.
    if (closeRequested.load()) {
        menuChoice = MENU_QUIT;
        return true;
    }
    if (!key[KEY_ESC] && mouse_b != 2) return false;
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
