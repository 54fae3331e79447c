// The main menu: the poster and four picture buttons, chosen by the mouse, the keyboard or the
// gamepad.
#include "shell/game.h"

#include <allegro.h>

#include "shell/screen_mode.h"
#include "shell/window_events.h"

namespace {

constexpr int BUTTON_LEFT = 20;
constexpr int BUTTON_WIDTH = 270;
constexpr int BUTTON_HEIGHT = 52;
constexpr int FIRST_BUTTON_TOP = 132;
constexpr int BUTTON_SPACING = 30;   // from one button's bottom to the next one's top
constexpr int POSTER_X = 310;
constexpr int MENU_POLL_MS = 100;    // the menu looks at the mouse ten times a second
constexpr int QUIT_BUTTON = 3;
constexpr int FRAME_WIDTH = 3;       // pixels of the frame around the highlighted button

int top(const FrontEnd& frontEnd, int k) { return frontEnd.buttonEdges[2 * k]; }
int bottom(const FrontEnd& frontEnd, int k) { return frontEnd.buttonEdges[2 * k + 1]; }

// The frame just around a button: white marks the highlight, yellow a choice, black wipes either.
void outlineButton(BITMAP* page, const FrontEnd& frontEnd, int k, int colour)
{
    for (int i = 0; i < FRAME_WIDTH; ++i)
        rect(page, frontEnd.buttonLeft - 1 - i, top(frontEnd, k) + 1 - i, frontEnd.buttonRight + 1 + i,
             bottom(frontEnd, k) + 1 + i, colour);
}

// Button k in its normal (row 0) or highlighted (row 1) look.
void drawButton(BITMAP* page, BITMAP* buttons, const FrontEnd& frontEnd, int k, int look)
{
    masked_blit(buttons, page, k * BUTTON_WIDTH, look * BUTTON_HEIGHT, frontEnd.buttonLeft, top(frontEnd, k),
                BUTTON_WIDTH, BUTTON_HEIGHT);
}

}  // namespace

void FrontEnd::setButtonGeometry()
{
    buttonLeft = BUTTON_LEFT;
    buttonRight = BUTTON_LEFT + BUTTON_WIDTH;
    int nextTop = FIRST_BUTTON_TOP;
    for (int k = 0; k < MENU_BUTTON_COUNT; ++k) {
        buttonEdges[2 * k] = nextTop;
        buttonEdges[2 * k + 1] = nextTop + BUTTON_HEIGHT;
        nextTop += BUTTON_HEIGHT + BUTTON_SPACING;
    }
}

int FrontEnd::buttonAt(int x, int y) const
{
    if (x <= buttonLeft || x >= buttonRight) return -1;
    for (int k = 0; k < MENU_BUTTON_COUNT; ++k) {
        if (y > top(*this, k) && y < bottom(*this, k)) return k;
    }
    return -1;
}

void Game::runMenu()
{
    // Every game removes the mouse driver, so each menu installs it again.
    install_mouse();
    watchClicks();
    showPointer();
    vsync();
    clear_to_color(bitmaps.menuBuffer, makecol(0, 0, 0));
    showMenuPage();
    frontEnd.loadPlayerName();
    frontEnd.setButtonGeometry();
    drawMenuPage();
    // An M typed into the name entry was a letter, not the sound switch.
    startScreenInput();
    menuHighlight = 0;
    const FramePoint pointer = mouseOnPicture();
    menuMouseX = pointer.x;
    menuMouseY = pointer.y;
    for (;;) {
        const bool chosen = menuPass();
        if (chosen && closeRequested.load()) break;
        // A chosen button keeps its yellow frame on screen a moment before the next screen.
        if (chosen) rest(MENU_POLL_MS);
        restNotingPad(MENU_POLL_MS);
        if (chosen) break;
    }
    // The next screen draws on a black page.
    clear_to_color(bitmaps.menuBuffer, makecol(0, 0, 0));
}

void Game::drawMenuPage()
{
    BITMAP* poster = bitmaps.posterPicture;
    blit(poster, bitmaps.menuBuffer, 0, 0, POSTER_X, (SCREEN_HEIGHT - poster->h) / 2, poster->w, poster->h);
    for (int k = 0; k < MENU_BUTTON_COUNT; ++k) drawButton(bitmaps.menuBuffer, bitmaps.buttonsPicture, frontEnd, k, 0);
}

bool Game::menuPass()
{
    // The window's close button quits as the quit button does.
    if (closeRequested.load()) {
        menuChoice = MENU_QUIT;
        return true;
    }
    if (takeKeyTap(settings.keys.sound)) switchSound();
    takeFullScreenKey();
    int chosen = menuKeyChoice();
    // A click counted as it happened chooses, however short; so does one still held.
    int clickX = 0, clickY = 0;
    if (chosen < 0 && takeLeftClick(clickX, clickY)) chosen = frontEnd.buttonAt(clickX, clickY);
    const FramePoint pointer = mouseOnPicture();
    const int hovered = frontEnd.buttonAt(pointer.x, pointer.y);
    const int held = mouse_b;
    if (chosen < 0 && held == 1) chosen = hovered;
    if (chosen >= 0) {
        chooseMenuButton(chosen);
        return true;
    }
    // Pointing at a button highlights it; a mouse at rest leaves the highlight to the keys.
    // While a button is held the mouse moves nothing.
    const bool moved = pointer.x != menuMouseX || pointer.y != menuMouseY;
    if (held == 0 && moved && hovered >= 0) menuHighlight = hovered;
    if (held == 0) {
        menuMouseX = pointer.x;
        menuMouseY = pointer.y;
    }
    drawMenuButtons();
    showMenuPage();
    return false;
}

int Game::menuKeyChoice()
{
    notePadPresses();
    int step = padPresses.vertical;
    const bool padChose = padPresses.choose;
    padPresses = PadPresses{};
    if (takeKeyTap(KEY_ESC)) menuHighlight = QUIT_BUTTON;
    while (takeKeyTap(KEY_UP)) --step;
    while (takeKeyTap(KEY_DOWN) || takeKeyTap(KEY_TAB)) ++step;
    menuHighlight = ((menuHighlight + step) % MENU_BUTTON_COUNT + MENU_BUTTON_COUNT) % MENU_BUTTON_COUNT;
    const bool keyChose = takeAnyKeyTap({KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE});
    return keyChose || padChose ? menuHighlight : -1;
}

void Game::drawMenuButtons()
{
    BITMAP* page = bitmaps.menuBuffer;
    for (int k = 0; k < MENU_BUTTON_COUNT; ++k) {
        const bool lit = k == menuHighlight;
        drawButton(page, bitmaps.buttonsPicture, frontEnd, k, lit ? 1 : 0);
        outlineButton(page, frontEnd, k, lit ? makecol(255, 255, 255) : makecol(0, 0, 0));
    }
}

void Game::chooseMenuButton(int k)
{
    menuHighlight = k;
    drawMenuButtons();
    outlineButton(bitmaps.menuBuffer, frontEnd, k, makecol(255, 255, 0));
    showMenuPage();
    menuChoice = k + 1;
}

void Game::showMenuPage()
{
    // No screen when the game runs headless.
    if (!screen) return;
    scare_mouse();
    presentPicture(bitmaps.menuBuffer);
    unscare_mouse();
}
