// The front end's state: menu geometry, glyph drawing state, the nine-row high-score table
// and the player's name; and the readers of the two files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct BITMAP;

constexpr const char* PLAYER_FILE = "player.txt";
constexpr const char* HIGH_SCORE_FILE = "high_score.txt";
// Either file is a few hundred bytes at most; anything much bigger is not the game's.
constexpr std::size_t TEXT_FILE_LIMIT = 64 * 1024;
// A game waits this long for another game in the same folder to finish changing one of the two
// files; a change takes milliseconds, so a lock held longer belongs to a game that hangs.
constexpr int LOCK_PATIENCE_MS = 5000;
constexpr int HIGH_SCORE_ROWS = 9;
constexpr int NAME_CAPACITY = 15;      // characters of a name, without its terminator
constexpr int MAX_SCORE_DIGITS = 9;
constexpr int MENU_BUTTON_COUNT = 4;

// The glyph alphabet's cells, pixels at scale 1: a glyph, the spacing strip drawn after it, and
// the step from one character of a text to the next.
constexpr int GLYPH_WIDTH = 16;
constexpr int GLYPH_HEIGHT = 28;
constexpr int GAP_WIDTH = 2;
constexpr int CHARACTER_ADVANCE = GLYPH_WIDTH + GAP_WIDTH;

class HighScoreEntry {
public:
    char name[NAME_CAPACITY + 1] = {};           // NUL-terminated, only what the name entry types
    std::int32_t score = 0;                       // points, 0 to 999999999
    char scoreText[MAX_SCORE_DIGITS + 1] = {};   // score in decimal, refreshed with it

    void setScore(std::int32_t value);
};

// What one pass of the name entry's loop did: whether the screen closed, and how many
// key-repeat pauses the loop owes before the next pass (one per edit made).
struct NameEntryPass {
    bool closed = false;
    int repeatPauses = 0;
};

class FrontEnd {
public:
    std::int32_t buttonLeft = 0;                            // menu button columns, pixels
    std::int32_t buttonRight = 0;
    std::int32_t buttonEdges[2 * MENU_BUTTON_COUNT] = {};   // top and bottom of each button
    std::int32_t glyphCode = 0;                             // the glyph drawGlyph draws
    std::int32_t cursor = 0;                                // name-entry position, 0 to 15
    HighScoreEntry highScores[HIGH_SCORE_ROWS];
    std::int32_t itemsRead = 0;                             // what the last load read
    char playerName[20] = {};                               // NUL-terminated, at most 15 characters

    // frontend/menu.cpp
    void setButtonGeometry();
    int buttonAt(int x, int y) const;  // the button (0 to 3) strictly inside which (x, y) lies, or -1

    // frontend/name_entry.cpp
    int loadPlayerName();  // how reading "player.txt" ended (FILE_READ ... in shell/files.h)
    void savePlayerName();

    // frontend/high_scores.cpp
    int loadHighScores();  // how reading "high_score.txt" ended (FILE_READ ... in shell/files.h)
    void recordResult(std::int32_t score);

    // frontend/glyphs.cpp
    void drawGlyph(BITMAP* alphabet, BITMAP* target, int x, int y, int ruled, int scale);
    void drawText(BITMAP* alphabet, BITMAP* target, int x, int y, int ruled, const char* text, int scale = 1);
};

// frontend/high_scores.cpp: a player's name as the table keeps it (never empty).
std::string storedPlayerName(const char* name);
// frontend/high_scores.cpp: the sort order, higher score first (negative when a ranks first).
int compareScores(const HighScoreEntry& a, const HighScoreEntry& b);
// Reads the high-score format: every line that is a row (a name of what the name entry types,
// lower case taken as upper case, and a score from 0 to 999999999) is kept, the nine best go into
// rows sorted, highest first, and their number is returned. Each line left out, damaged or below
// the nine best, adds one sentence to leftOut ("line 3 left out: ..."), when it is given.
int readHighScores(std::istream& in, HighScoreEntry* rows, std::vector<std::string>* leftOut = nullptr);
// Writes count rows in the high-score format, a readable placeholder standing for empty names.
void writeHighScores(std::ostream& out, const HighScoreEntry* rows, int count);

// frontend/name_entry.cpp: reads the name format into a buffer of at least 16 bytes, keeping only
// what the name entry types (lower case taken as upper case), at most 15 characters; returns
// the characters stored.
int readPlayerName(std::istream& in, char* name);

// frontend/glyphs.cpp: glyph codes 1 to 36 (W before V); 0 for a character without a glyph.
int glyphForChar(char character);
char charForGlyph(int code);

// frontend/name_entry.cpp: the glyph code of the first typing key held, or 0.
int scanGlyphKey();
// frontend/name_entry.cpp: the character the name entry types for a byte read from a file (lower
// case taken as upper case), or '\0' when it types no such character.
char typedCharacter(char byte);
