// The main menu: button geometry, the highlight, and choosing by the mouse, the keys and the pad.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "shell/game.h"
#include "shell/screen_mode.h"
#include "shell/window_events.h"
#include "test_support.h"

namespace {

// Button k looks blue (normal) or green (highlighted), each with its own shade.
int normalColour(int k) { return makecol(0, 0, 100 + k); }
int highlightColour(int k) { return makecol(0, 200, 100 + k); }
constexpr int TOPS[] = {132, 214, 296, 378};

class Menu : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        AssetBitmaps& b = game->bitmaps;
        destroy_bitmap(b.buttonsPicture);
        destroy_bitmap(b.posterPicture);
        b.buttonsPicture = makeFilledBitmap(1080, 104, 0);
        for (int k = 0; k < 4; ++k) {
            rectfill(b.buttonsPicture, 270 * k, 0, 270 * k + 269, 51, normalColour(k));
            rectfill(b.buttonsPicture, 270 * k, 52, 270 * k + 269, 103, highlightColour(k));
        }
        b.posterPicture = makeFilledBitmap(600, 500, makecol(90, 0, 0));
        clear_to_color(b.menuBuffer, makecol(0, 0, 0));
        game->frontEnd.setButtonGeometry();
        game->drawMenuPage();
        game->startScreenInput();
    }
    int pixel(int x, int y) { return getpixel(game->bitmaps.menuBuffer, x, y); }
    bool pass(int x, int y, int buttons)
    {
        mouse_x = x;
        mouse_y = y;
        mouse_b = buttons;
        return game->menuPass();
    }
    static void tap(int scancode)
    {
        onKeyEvent(scancode);
        onKeyEvent(scancode | 0x80);
    }
    // A pixel inside each button, which tells its look.
    void expectLooks(int highlighted)
    {
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(pixel(150, TOPS[k] + 20), k == highlighted ? highlightColour(k) : normalColour(k)) << k;
    }
};

}  // namespace

TEST(MenuGeometry, FourButtonsWithStrictEdges)
{
    FrontEnd frontEnd;
    frontEnd.setButtonGeometry();
    EXPECT_EQ(frontEnd.buttonLeft, 20);
    EXPECT_EQ(frontEnd.buttonRight, 290);
    const int edges[] = {132, 184, 214, 266, 296, 348, 378, 430};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(frontEnd.buttonEdges[i], edges[i]);
    const int table[][3] = {{21, 133, 0},  {289, 183, 0}, {20, 150, -1},  {290, 150, -1}, {150, 132, -1},
                            {150, 184, -1}, {150, 200, -1}, {150, 215, 1}, {150, 300, 2},  {150, 429, 3},
                            {150, 430, -1}, {600, 300, -1}};
    for (const auto& [x, y, button] : table) EXPECT_EQ(frontEnd.buttonAt(x, y), button) << x << "," << y;
}

TEST_F(Menu, PointingMovesTheFramedHighlightWhichStaysWhenTheMouseLeaves)
{
    EXPECT_FALSE(pass(150, 240, 0));
    expectLooks(1);
    EXPECT_EQ(pixel(19, 215), makecol(255, 255, 255));
    EXPECT_EQ(pixel(19, 133), makecol(0, 0, 0));
    EXPECT_FALSE(pass(20, 240, 0));  // on the border: no button
    expectLooks(1);
    EXPECT_EQ(game->menuChoice, MENU_NONE);
}

TEST_F(Menu, KeysMoveTheHighlightAndChooseIt)
{
    const struct {
        int key, highlight;
    } moves[] = {{KEY_DOWN, 1}, {KEY_TAB, 2}, {KEY_UP, 1}, {KEY_UP, 0}, {KEY_UP, 3}, {KEY_DOWN, 0}, {KEY_ESC, 3}};
    for (const auto& m : moves) {
        tap(m.key);
        EXPECT_FALSE(pass(600, 600, 0));
        expectLooks(m.highlight);
    }
    // A mouse at rest does not take the highlight back; moved onto a button, it does.
    tap(KEY_UP);
    pass(600, 600, 0);
    expectLooks(2);
    pass(150, 160, 0);
    expectLooks(0);
    for (int chooser : {KEY_ENTER, KEY_SPACE}) {
        game->menuChoice = MENU_NONE;
        tap(KEY_DOWN);
        tap(chooser);
        EXPECT_TRUE(pass(150, 160, 0));
        EXPECT_EQ(game->menuChoice, chooser == KEY_ENTER ? MENU_PLAYER_NAME : MENU_HIGH_SCORES);
    }
}

TEST_F(Menu, AClickShorterThanAPollChoosesWhereItWas)
{
    mouse_x = 150;
    mouse_y = TOPS[3] + 20;
    mouse_b = 1;
    onMouseEvent(MOUSE_FLAG_LEFT_DOWN);
    mouse_b = 0;
    EXPECT_TRUE(pass(600, 600, 0));
    EXPECT_EQ(game->menuChoice, MENU_QUIT);
    // Not on a button, or with another button held too, it chooses nothing.
    game->menuChoice = MENU_NONE;
    for (int buttons : {1, 3}) {
        mouse_x = buttons == 1 ? 20 : 150;
        mouse_b = buttons;
        onMouseEvent(MOUSE_FLAG_LEFT_DOWN);
        mouse_b = 0;
        EXPECT_FALSE(pass(600, 600, 0)) << buttons;
    }
    EXPECT_EQ(game->menuChoice, MENU_NONE);
}

TEST_F(Menu, ALeftClickInsideAButtonChoosesIt)
{
    for (int k = 0; k < 4; ++k) {
        game->menuChoice = MENU_NONE;
        EXPECT_TRUE(pass(200, TOPS[k] + 26, 1));
        EXPECT_EQ(game->menuChoice, k + 1);
        // The yellow frame marks the choice; the next pass shows the highlight there instead.
        EXPECT_EQ(pixel(19, TOPS[k] + 1), makecol(255, 255, 0));
        EXPECT_EQ(pixel(291, TOPS[k] + 53), makecol(255, 255, 0));
        pass(600, 600, 0);
        EXPECT_EQ(pixel(19, TOPS[k] + 1), makecol(255, 255, 255));
    }
}

TEST_F(Menu, OnAScaledScreenPointingAndClicksAreReadOnThePicture)
{
    // Full screen at 2560 x 1600: the picture twice its size, 80 pixels below the screen's top.
    screenMode.placement = placeFrame(2560, 1600);
    EXPECT_FALSE(pass(300, 80 + 2 * (TOPS[1] + 20), 0));
    expectLooks(1);
    mouse_x = 300;
    mouse_y = 80 + 2 * (TOPS[3] + 20);
    mouse_b = 1;
    onMouseEvent(MOUSE_FLAG_LEFT_DOWN);
    mouse_b = 0;
    // Where the unscaled picture would have had START GAME, the screen shows black margin.
    const bool chosen = pass(300, 2 * (TOPS[0] + 20), 0);
    screenMode.placement = FramePlacement{};
    EXPECT_TRUE(chosen);
    EXPECT_EQ(game->menuChoice, MENU_QUIT);
}

TEST_F(Menu, AClickOnABorderPixelChoosesNothing)
{
    for (const auto& [x, y] : {std::pair{20, 150}, {290, 150}, {150, 132}, {150, 184}, {150, 378}, {150, 430}}) {
        EXPECT_FALSE(pass(x, y, 1)) << x << "," << y;
        EXPECT_EQ(game->menuChoice, MENU_NONE);
    }
}

TEST_F(Menu, OnlyTheLeftButtonAloneChoosesAndHeldButtonsFreezeTheHighlights)
{
    pass(150, 240, 0);
    for (int buttons : {2, 3, 4, 5}) {
        EXPECT_FALSE(pass(150, 320, buttons)) << buttons;
        expectLooks(1);
    }
    EXPECT_FALSE(pass(600, 600, 1));
    expectLooks(1);
    EXPECT_EQ(game->menuChoice, MENU_NONE);
}

