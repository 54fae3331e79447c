// Player-name entry: the screen where the name is typed in big glyphs, the keys that type,
// and the name file "player.txt", read at every menu start and saved from here.
#include "shell/game.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <istream>
#include <sstream>
#include <string>

#include "shell/files.h"

#include "shell/window_events.h"

namespace {

constexpr int FIELD_CELL_WIDTH = 18;   // one character of the name field, pixels
constexpr int FIELD_CELL_X = 2;        // the first cell's left edge
constexpr int FIELD_GLYPH_Y = 5;
constexpr int FIELD_RULE_TOP = 1;      // the rules above and below a glyph, blotted out with it
constexpr int FIELD_RULE_BOTTOM = 36;
constexpr int FIELD_ON_PANEL_X = 48;   // where the field sits on the panel picture
constexpr int FIELD_ON_PANEL_Y = 8;
constexpr int PANEL_Y = 290;
constexpr int PICTURES_Y = 240;        // the hero and the title picture
constexpr int PAGE_CENTRE_X = 640;
constexpr int KEY_REPEAT_MS = 150;     // a held key types again after this long
constexpr int IDLE_POLL_MS = 1;        // keeps an idle screen from spinning a whole core

// The typing keys in the order of the glyph codes: their position + 1 is the code typed.
constexpr int TYPING_KEYS[] = {
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L,
    KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_W, KEY_V, KEY_X,
    KEY_Y, KEY_Z, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0,
};

int cellX(int position) { return FIELD_CELL_WIDTH * position + FIELD_CELL_X; }

}  // namespace

int scanGlyphKey()
{
    for (int i = 0; i < static_cast<int>(std::size(TYPING_KEYS)); ++i) {
        if (key[TYPING_KEYS[i]]) return i + 1;
    }
    return 0;
}

char typedCharacter(char byte)
{
    const char upper = byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
    // The keys type exactly the characters the glyph alphabet has.
    return glyphForChar(upper) != 0 ? upper : '\0';
}

int readPlayerName(std::istream& in, char* name)
{
    int length = 0;
    char c = 0;
    // Only what the name entry could have typed reaches the screen and the table: blanks, line
    // ends and every other byte are dropped, so is all past the 15th character.
    while (length < NAME_CAPACITY && in.get(c)) {
        const char typed = typedCharacter(c);
        if (typed != '\0') name[length++] = typed;
    }
    name[length] = '\0';
    return length;
}

int FrontEnd::loadPlayerName()
{
    for (char& c : playerName) c = '\0';
    itemsRead = 0;
    const FileContents file = readWholeFile(PLAYER_FILE, TEXT_FILE_LIMIT);
    if (file.outcome != FILE_READ) return file.outcome;
    std::istringstream in(file.bytes);
    itemsRead = readPlayerName(in, playerName);
    return FILE_READ;
}

void FrontEnd::savePlayerName()
{
    // Another game saving its name at the same moment finishes first.
    const FileLock lock(PLAYER_FILE, LOCK_PATIENCE_MS);
    if (!lock.held()) {
        std::fprintf(stderr, "Ghost Maze: %s cannot be locked (%s): the name is not saved\n", lock.lockPath.c_str(),
                     lock.problem.c_str());
        return;
    }
    // A name file that is there but cannot be read stays as the player has it.
    const FileContents file = readWholeFile(PLAYER_FILE, TEXT_FILE_LIMIT);
    if (file.outcome == FILE_UNREADABLE) {
        std::fprintf(stderr, "Ghost Maze: %s cannot be read (%s): the name is not saved\n", PLAYER_FILE,
                     file.problem.c_str());
        return;
    }
    const int length = std::clamp<int>(cursor, 0, NAME_CAPACITY);
    replaceFile(PLAYER_FILE, std::string(playerName, static_cast<std::size_t>(length)));
}

void Game::runNameEntry()
{
    startScreenInput();
    drawNameEntryPage();
    drawLoadedName();
    showNameField();
    for (;;) {
        const NameEntryPass pass = nameEntryPass();
        if (pass.closed) break;
        rest(pass.repeatPauses > 0 ? KEY_REPEAT_MS * pass.repeatPauses : IDLE_POLL_MS);
    }
}

void Game::drawNameEntryPage()
{
    BITMAP* page = bitmaps.menuBuffer;
    circlefill(page, 640, 310, 320, makecol(255, 100, 0));
    circlefill(page, 640, 310, 290, makecol(200, 140, 0));
    circlefill(page, 640, 310, 260, makecol(255, 255, 0));
    rectfill(page, 290, 190, 990, 440, makecol(0, 0, 0));
    rect(page, 290, 190, 990, 440, makecol(50, 40, 0));
    BITMAP* hero = bitmaps.heroPicture;
    blit(hero, page, 0, 0, PAGE_CENTRE_X + bitmaps.ledPicture->w / 2, PICTURES_Y, hero->w, hero->h);
    BITMAP* title = bitmaps.playerPicture;
    masked_blit(title, page, 0, 0, PAGE_CENTRE_X - title->w / 2, PICTURES_Y, title->w, title->h);
    BITMAP* field = bitmaps.nameFieldBitmap;
    clear_to_color(field, makecol(9, 13, 15));
    rect(field, 0, 0, NAME_FIELD_WIDTH - 1, NAME_FIELD_HEIGHT - 1, makecol(10, 40, 40));
    textout_ex(page, font, "exit - [ESC] or [RMB]", 560, 695, makecol(255, 255, 255), -1);
    textout_ex(page, font, "commit - [Enter]", 574, 705, makecol(255, 255, 255), -1);
}

void Game::drawLoadedName()
{
    const int loaded = std::clamp<int>(frontEnd.itemsRead, 0, NAME_CAPACITY);
    for (int i = 0; i < loaded; ++i) {
        frontEnd.glyphCode = glyphForChar(frontEnd.playerName[i]);
        frontEnd.drawGlyph(bitmaps.alphabetPicture, bitmaps.nameFieldBitmap, cellX(i), FIELD_GLYPH_Y, 1, 1);
    }
    // Typing goes on right after the loaded name.
    frontEnd.cursor = loaded;
}

void Game::showNameField()
{
    BITMAP* field = bitmaps.nameFieldBitmap;
    BITMAP* panel = bitmaps.ledPicture;
    masked_blit(field, panel, 0, 0, FIELD_ON_PANEL_X, FIELD_ON_PANEL_Y, field->w, field->h);
    masked_blit(panel, bitmaps.menuBuffer, 0, 0, PAGE_CENTRE_X - panel->w / 2, PANEL_Y, panel->w, panel->h);
    showMenuPage();
}

NameEntryPass Game::nameEntryPass()
{
    NameEntryPass pass;
    FrontEnd& entry = frontEnd;
    const int held = mouse_b;
    // The window's close button leaves without saving, and the program ends.
    if (closeRequested.load()) {
        menuChoice = MENU_QUIT;
        pass.closed = true;
        return pass;
    }
    if (key[KEY_ESC] || held == 2 || screenLeavePressed()) {
        menuChoice = MENU_NONE;
        pass.closed = true;
        return pass;
    }
    takeFullScreenKey();
    // Enter counts as pressed, so one held since the menu chose this screen does not save.
    if (takeAnyKeyTap({KEY_ENTER, KEY_ENTER_PAD}) && entry.cursor > 0) {
        entry.savePlayerName();
        menuChoice = MENU_NONE;
        pass.closed = true;
        return pass;
    }
    if (key[KEY_BACKSPACE]) {
        if (entry.cursor > 0) --entry.cursor;
        entry.playerName[entry.cursor] = '\0';
        rectfill(bitmaps.nameFieldBitmap, cellX(entry.cursor), FIELD_RULE_TOP, cellX(entry.cursor) + FIELD_CELL_WIDTH,
                 FIELD_RULE_BOTTOM, makecol(2, 2, 2));
        showNameField();
        ++pass.repeatPauses;
    }
    const int code = scanGlyphKey();
    if (code != 0 && entry.cursor < NAME_CAPACITY) {
        entry.playerName[entry.cursor] = charForGlyph(code);
        entry.playerName[entry.cursor + 1] = '\0';
        entry.glyphCode = code;
        entry.drawGlyph(bitmaps.alphabetPicture, bitmaps.nameFieldBitmap, cellX(entry.cursor), FIELD_GLYPH_Y, 1, 1);
        ++entry.cursor;
        showNameField();
        ++pass.repeatPauses;
    }
    return pass;
}
