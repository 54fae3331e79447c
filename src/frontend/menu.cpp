// The main menu: the poster and four picture buttons, driven by the mouse alone.
#include "shell/game.h"

#include <allegro.h>

#include "shell/window_events.h"

namespace {

constexpr int BUTTON_LEFT = 20;
constexpr int BUTTON_WIDTH = 270;
constexpr int BUTTON_HEIGHT = 52;
constexpr int FIRST_BUTTON_TOP = 132;
constexpr int BUTTON_SPACING = 30;   // from one button's bottom to the next one's top
constexpr int POSTER_X = 310;
constexpr int MENU_POLL_MS = 100;    // the menu looks at the mouse ten times a second

int top(const FrontEnd& frontEnd, int k) { return frontEnd.buttonEdges[2 * k]; }
int bottom(const FrontEnd& frontEnd, int k) { return frontEnd.buttonEdges[2 * k + 1]; }

// The outline just around a button: black wipes a yellow one left by a click.
void outlineButton(BITMAP* page, const FrontEnd& frontEnd, int k, int colour)
{
    rect(page, frontEnd.buttonLeft - 1, top(frontEnd, k) + 1, frontEnd.buttonRight + 1, bottom(frontEnd, k) + 1,
         colour);
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
    if (screen) show_mouse(screen);
    vsync();
    clear_to_color(bitmaps.menuBuffer, makecol(0, 0, 0));
    showMenuPage();
    frontEnd.loadPlayerName();
    frontEnd.setButtonGeometry();
    drawMenuPage();
    // An M typed into the name entry was a letter, not the sound switch.
    forgetWindowEvents();
    for (;;) {
        const bool chosen = menuPass();
        if (chosen && closeRequested.load()) break;
        // A chosen button keeps its yellow frame on screen a moment before the next screen.
        if (chosen) rest(MENU_POLL_MS);
        rest(MENU_POLL_MS);
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
    if (takeKeyTap(KEY_M)) toggleSound(samples);
    BITMAP* page = bitmaps.menuBuffer;
    const int hovered = frontEnd.buttonAt(mouse_x, mouse_y);
    const int held = mouse_b;
    if (held == 0) {
        for (int k = 0; k < MENU_BUTTON_COUNT; ++k) {
            if (k == hovered) {
                drawButton(page, bitmaps.buttonsPicture, frontEnd, k, 1);
            } else {
                drawButton(page, bitmaps.buttonsPicture, frontEnd, k, 0);
                outlineButton(page, frontEnd, k, makecol(0, 0, 0));
            }
        }
        showMenuPage();
        return false;
    }
    // Only the left button alone chooses; right, middle or several buttons do nothing.
    if (held != 1 || hovered < 0) return false;
    outlineButton(page, frontEnd, hovered, makecol(255, 255, 0));
    showMenuPage();
    menuChoice = hovered + 1;
    return true;
}

void Game::showMenuPage()
{
    // No screen when the game runs headless.
    if (!screen) return;
    scare_mouse();
    blit(bitmaps.menuBuffer, screen, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    unscare_mouse();
}
