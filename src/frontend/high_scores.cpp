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
#include <vector>

#include "shell/files.h"
#include "shell/replays.h"
#include "shell/window_events.h"

namespace {

// The widest value whose text fits the ten-byte field with its terminator; the game's scores
// never fall below 0.
constexpr std::int32_t HIGHEST_SCORE = 999999999;
// Stands for a result without a player name, so that its line still reads as name and score.
constexpr const char* NAMELESS_PLAYER = "PLAYER";
// The longest line the game writes is 26 bytes (15 name, tab, 9 digits, line end); a line much
// longer than that was never the game's.
constexpr std::size_t LONGEST_LINE = 40;

// The high-score screen.
constexpr int TABLE_ROW_HEIGHT = 60;   // pixels from one row of the table to the next
constexpr int BAND_TOP = 155;          // the first row's yellow band, clear of the title's rule
constexpr int BAND_HEIGHT = 50;
constexpr int ROW_TEXT_Y = BAND_TOP + 10;  // glyph top of the first row
constexpr int FIRST_RANK_GLYPH = 27;   // the glyph of "1"; "9" is code 35
constexpr int RANK_X = 420;
constexpr int NAME_X = 500;
constexpr int SCORE_X = 940;
constexpr int TITLE_X = 540;
constexpr int TITLE_Y = 50;
constexpr int TITLE_ADVANCE = 52;      // narrower than a scale-3 glyph: the letters overlap
constexpr int TITLE_SCALE = 3;
constexpr const char* TITLE = "HIGH SCORE";
constexpr int CLOSE_POLL_MS = 50;
constexpr int PLAY_MARK_X = 1160;      // the play sign of a row with a recording, in the score column

struct Column {
    int left, right;
};
constexpr Column TABLE_COLUMNS[] = {{400, 450}, {470, 900}, {920, 1200}};  // rank, name, score

bool isBlank(char character) { return std::isspace(static_cast<unsigned char>(character)) != 0; }

bool isBlankLine(const std::string& line) { return std::all_of(line.begin(), line.end(), isBlank); }

// Stores a name as the name entry would have typed it, or says why it cannot be one.
const char* parseName(const std::string& word, char* field)
{
    if (word.size() > static_cast<std::size_t>(NAME_CAPACITY)) return "its name is longer than 15 characters";
    for (std::size_t i = 0; i < word.size(); ++i) {
        field[i] = typedCharacter(word[i]);
        if (field[i] == '\0') return "its name has a character the game cannot show";
    }
    field[word.size()] = '\0';
    return nullptr;
}

// Digits only, as the game writes them: no sign, nothing wider than the score's field.
const char* parseScore(const std::string& word, std::int32_t& score)
{
    const bool digitsOnly = std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (word.empty() || word.size() > static_cast<std::size_t>(MAX_SCORE_DIGITS) || !digitsOnly)
        return "its score is not a whole number from 0 to 999999999";
    score = static_cast<std::int32_t>(std::stol(word));
    return nullptr;
}

// Reads one line of the table into row; says why when it is not a row.
const char* parseRow(const std::string& line, HighScoreEntry& row)
{
    if (line.size() > LONGEST_LINE) return "it is longer than 40 bytes";
    std::istringstream words(line);
    std::string name, score, more;
    words >> name >> score >> more;
    if (score.empty()) return "it has no score after the name";
    if (!more.empty()) return "it holds more than a name and a score";
    if (const char* why = parseName(name, row.name)) return why;
    std::int32_t value = 0;
    if (const char* why = parseScore(score, value)) return why;
    row.setScore(value);
    return nullptr;
}

// A name as the table stores it: only what the name entry types, at most 15 characters, never empty.
void storeName(char* field, const char* name)
{
    int length = 0;
    for (const char* c = name; *c != '\0' && length < NAME_CAPACITY; ++c) {
        const char typed = typedCharacter(*c);
        if (typed != '\0') field[length++] = typed;
    }
    field[length] = '\0';
    if (length == 0) std::snprintf(field, NAME_CAPACITY + 1, "%s", NAMELESS_PLAYER);
}

// The rows of a table file that was read, each line left out named on standard error; none from
// a missing or unreadable file.
int tableRows(const FileContents& file, HighScoreEntry* rows)
{
    if (file.outcome != FILE_READ) return 0;
    std::istringstream in(file.bytes);
    std::vector<std::string> leftOut;
    const int count = readHighScores(in, rows, &leftOut);
    for (const std::string& line : leftOut) std::fprintf(stderr, "Ghost Maze: %s %s\n", HIGH_SCORE_FILE, line.c_str());
    return count;
}

bool ranksFirst(const HighScoreEntry& a, const HighScoreEntry& b) { return compareScores(a, b) < 0; }

}  // namespace

void HighScoreEntry::setScore(std::int32_t value)
{
    score = std::clamp<std::int32_t>(value, 0, HIGHEST_SCORE);
    std::snprintf(scoreText, sizeof scoreText, "%d", static_cast<int>(score));
}

std::string storedPlayerName(const char* name)
{
    char field[NAME_CAPACITY + 1] = {};
    storeName(field, name);
    return field;
}

int compareScores(const HighScoreEntry& a, const HighScoreEntry& b)
{
    // Wide arithmetic, so that extreme scores keep the sign of their difference.
    const std::int64_t difference = std::int64_t{b.score} - std::int64_t{a.score};
    return static_cast<int>(std::clamp<std::int64_t>(difference, INT32_MIN, INT32_MAX));
}

int readHighScores(std::istream& in, HighScoreEntry* rows, std::vector<std::string>* leftOut)
{
    struct NumberedRow {
        HighScoreEntry row;
        int line = 0;
    };
    std::vector<NumberedRow> found;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (isBlankLine(text)) continue;
        NumberedRow numbered;
        numbered.line = line;
        // A damaged line costs only itself: the rows after it are read on.
        const char* why = parseRow(text, numbered.row);
        if (why == nullptr) {
            found.push_back(numbered);
        } else if (leftOut) {
            leftOut->push_back("line " + std::to_string(line) + " left out: " + why);
        }
    }
    // Sorted as read, so the ninth row is always the lowest; equal scores keep the file's order.
    std::stable_sort(found.begin(), found.end(),
                     [](const NumberedRow& a, const NumberedRow& b) { return ranksFirst(a.row, b.row); });
    const int count = std::min<int>(static_cast<int>(found.size()), HIGH_SCORE_ROWS);
    for (int i = 0; i < count; ++i) rows[i] = found[static_cast<std::size_t>(i)].row;
    if (leftOut) {
        std::vector<int> belowTheBest;
        for (std::size_t i = static_cast<std::size_t>(count); i < found.size(); ++i) belowTheBest.push_back(found[i].line);
        std::sort(belowTheBest.begin(), belowTheBest.end());
        for (int line : belowTheBest) leftOut->push_back("line " + std::to_string(line) + " left out: below the nine best");
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
    // Held from reading the table to replacing it: another game ending now records after this one.
    const FileLock lock(HIGH_SCORE_FILE, LOCK_PATIENCE_MS);
    if (!lock.held()) {
        std::fprintf(stderr, "Ghost Maze: %s cannot be locked (%s): this result is not recorded\n",
                     lock.lockPath.c_str(), lock.problem.c_str());
        return;
    }
    // A table that is there but cannot be read stays as the player has it, rather than being
    // replaced by one that holds this result alone.
    const FileContents file = readWholeFile(HIGH_SCORE_FILE, TEXT_FILE_LIMIT);
    if (file.outcome == FILE_UNREADABLE) {
        std::fprintf(stderr, "Ghost Maze: %s cannot be read (%s): this result is not recorded\n", HIGH_SCORE_FILE,
                     file.problem.c_str());
        return;
    }
    itemsRead = tableRows(file, highScores);
    // The newest result always enters: in a full table it takes the place of the lowest.
    const int row = std::min<int>(itemsRead, HIGH_SCORE_ROWS - 1);
    storeName(highScores[row].name, playerName);
    highScores[row].setScore(score);
    const int count = row + 1;
    std::stable_sort(highScores, highScores + count, ranksFirst);
    std::ostringstream table;
    writeHighScores(table, highScores, count);
    replaceFile(HIGH_SCORE_FILE, table.str());
}

// The high-score screen, drawn on the black page the menu left.
void Game::runHighScores()
{
    startScreenInput();
    scoreHighlight = -1;
    showHighScores();
    while (!highScoresPass()) restNotingPad(CLOSE_POLL_MS);
}

void Game::showHighScores()
{
    clear_to_color(bitmaps.menuBuffer, makecol(0, 0, 0));
    drawHighScoreFrame();
    drawHighScoreTitle();
    drawHighScoreRows();
    showMenuPage();
}

bool Game::highScoresPass()
{
    // The window's close button ends the program from here too.
    if (closeRequested.load()) {
        menuChoice = MENU_QUIT;
        return true;
    }
    // The pad's up, down and choose are the table's; its leave button is left to close it.
    notePadPresses();
    const int padStep = padPresses.vertical;
    const bool padChose = padPresses.choose;
    padPresses.vertical = 0;
    padPresses.choose = false;
    if (key[KEY_ESC] || mouse_b == 2 || screenLeavePressed()) {
        menuChoice = MENU_NONE;
        return true;
    }
    takeFullScreenKey();
    const int row = chosenHighScoreRow(padStep, padChose);
    if (row >= 0) watchHighScoreRow(row);
    return false;
}

int Game::chosenHighScoreRow(int step, bool padChose)
{
    while (takeKeyTap(KEY_UP)) --step;
    while (takeKeyTap(KEY_DOWN) || takeKeyTap(KEY_TAB)) ++step;
    // The highlight moves over the rows that have a recording only.
    for (int moved = 0; step != 0 && moved < HIGH_SCORE_ROWS * HIGH_SCORE_ROWS; ++moved) {
        const int direction = step > 0 ? 1 : -1;
        scoreHighlight = ((scoreHighlight + direction) % HIGH_SCORE_ROWS + HIGH_SCORE_ROWS) % HIGH_SCORE_ROWS;
        if (rowRecorded[scoreHighlight]) step -= direction;
    }
    if (scoreHighlight >= 0 && !rowRecorded[scoreHighlight]) scoreHighlight = -1;
    int x = 0, y = 0;
    if (takeLeftClick(x, y)) {
        const int row = (y - BAND_TOP) / TABLE_ROW_HEIGHT;
        const bool onBand = y >= BAND_TOP && (y - BAND_TOP) % TABLE_ROW_HEIGHT <= BAND_HEIGHT && x >= 200 && x <= 1200;
        if (onBand && row < HIGH_SCORE_ROWS && rowRecorded[row]) return row;
    }
    const bool chose = takeAnyKeyTap({KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE}) || padChose;
    return chose ? scoreHighlight : -1;
}

void Game::watchHighScoreRow(int row)
{
    Recording watched;
    std::string problem;
    const std::string path = recordingOfRow(row);
    if (readRecordingFile(path.c_str(), watched, problem) != RECORDING_READ) {
        std::fprintf(stderr, "Ghost Maze: the recording %s cannot be played: %s\n", path.c_str(), problem.c_str());
        return;
    }
    scoreHighlight = row;
    playRecording(watched, true);
    // The Escape that left the recording is not the table's too: it is let go first.
    while ((key[KEY_ESC] || key[settings.keys.end]) && !closeRequested.load()) rest(CLOSE_POLL_MS);
    // Back to the table as it was left, with the mouse the game took away.
    install_mouse();
    startScreenInput();
    showHighScores();
}
void Game::drawHighScoreFrame()
{
    BITMAP* page = bitmaps.menuBuffer;
    rectfill(page, 256, 14, 1024, 698, makecol(50, 50, 50));
    for (int i = 0; i < HIGH_SCORE_ROWS; ++i) {
        const int shade = 200 / (i + 1);
        const int top = BAND_TOP + TABLE_ROW_HEIGHT * i;
        rectfill(page, 200, top, 1080, top + BAND_HEIGHT, makecol(shade, shade, 0));
    }
    for (const Column& column : TABLE_COLUMNS) rectfill(page, column.left, 150, column.right, 870, makecol(20, 20, 20));
    // Every row has its rank, the ninth too: a full table puts the newest result there.
    for (int i = 0; i < HIGH_SCORE_ROWS; ++i) {
        frontEnd.glyphCode = FIRST_RANK_GLYPH + i;
        frontEnd.drawGlyph(bitmaps.alphabetPicture, page, RANK_X, ROW_TEXT_Y + TABLE_ROW_HEIGHT * i, 0, 1);
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
    BITMAP* page = bitmaps.menuBuffer;
    frontEnd.loadHighScores();
    for (int i = 0; i < HIGH_SCORE_ROWS; ++i) rowRecorded[i] = i < frontEnd.itemsRead && !recordingOfRow(i).empty();
    // The keys start on the first row that can be watched.
    if (scoreHighlight < 0 || !rowRecorded[scoreHighlight])
        scoreHighlight = static_cast<int>(std::find(rowRecorded, rowRecorded + HIGH_SCORE_ROWS, true) - rowRecorded);
    if (scoreHighlight >= HIGH_SCORE_ROWS) scoreHighlight = -1;
    for (int i = 0; i < frontEnd.itemsRead; ++i) {
        const int y = ROW_TEXT_Y + TABLE_ROW_HEIGHT * i;
        frontEnd.drawText(bitmaps.alphabetPicture, page, NAME_X, y, 1, frontEnd.highScores[i].name);
        frontEnd.drawText(bitmaps.alphabetPicture, page, SCORE_X, y, 0, frontEnd.highScores[i].scoreText);
        const int top = BAND_TOP + TABLE_ROW_HEIGHT * i;
        if (rowRecorded[i]) {
            // A play sign: this row's game can be watched.
            triangle(page, PLAY_MARK_X, top + 12, PLAY_MARK_X, top + BAND_HEIGHT - 12, PLAY_MARK_X + 22,
                     top + BAND_HEIGHT / 2, makecol(255, 255, 255));
        }
        if (i == scoreHighlight)
            rect(page, 197, top - 3, 1203, top + BAND_HEIGHT + 3, makecol(255, 255, 255));
    }
    if (scoreHighlight >= 0)
        textout_ex(page, font, "watch - [ENTER] or click a marked row", 492, 690, makecol(255, 255, 255), -1);
}
