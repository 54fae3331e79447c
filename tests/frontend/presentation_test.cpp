// Frame presentation: how the layers, the game-over picture, the rising messages and the radar
// are composed, what the HUD strips show at their edge values, and the F1 debug panel.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "drawing_support.h"
#include "shell/game.h"
#include "test_support.h"

namespace {

constexpr int W = SCREEN_WIDTH;

int magenta() { return makecol(255, 0, 255); }
int black() { return makecol(0, 0, 0); }

class Presentation : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        buildBareBoard(*game, 20, 40);  // a world of 1600 x 800, larger than the view
        game->mapX = 200;
        game->mapY = 120;
        game->followView();
        clear_to_color(game->bitmaps.worldBitmap, makecol(100, 100, 100));
        for (BITMAP* layer : {game->bitmaps.glowLayer, game->bitmaps.shadeLayer}) clear_to_color(layer, magenta());
        game->darkness = DiscPicture{};
        game->darkness.background = magenta();  // no darkness unless a test makes some
        target = makeFilledBitmap(W, SCREEN_HEIGHT, black());
    }
    void TearDown() override
    {
        destroy_bitmap(target);
        GameTest::TearDown();
    }
    int shown(int x, int y) const { return getpixel(target, x, y); }
    BITMAP* target = nullptr;  // stands in for the screen
};

using FrameComposition = Presentation;

TEST_F(FrameComposition, TheViewFillsTheBandBetweenTheStripsAndReachesTheScreen)
{
    putpixel(game->bitmaps.worldBitmap, 5, 7, makecol(1, 2, 3));  // the view layers start at the view
    clear_to_color(game->bitmaps.hudTop, makecol(10, 0, 0));
    clear_to_color(game->bitmaps.hudBottom, makecol(0, 10, 0));
    game->composeFrameTo(target);
    EXPECT_EQ(shown(5, 47), makecol(1, 2, 3));
    EXPECT_EQ(shown(6, 47), makecol(100, 100, 100));
    for (const int y : {0, 39}) EXPECT_EQ(shown(640, y), makecol(10, 0, 0));
    for (const int y : {40, 679}) EXPECT_EQ(shown(640, y), makecol(100, 100, 100));
    for (const int y : {680, 719}) EXPECT_EQ(shown(640, y), makecol(0, 10, 0));
    game->composeFrame();  // no screen in a headless test: nothing to copy to
}

TEST_F(FrameComposition, GlowBrightensWhileDarknessAndFogDarkenTheView)
{
    putpixel(game->bitmaps.glowLayer, 10, 10, makecol(255, 255, 255));
    game->glowDrawn.mark(10, 10, 11, 11);
    game->darkness.discs[0] = {20, 10, 0, black()};  // a disc of radius 0 is one pixel
    game->darkness.discCount = 1;
    game->reachGrid.setCell(8, 3, CELL_FLOOR);  // world pixels 320 to 359 across: view 120 to 159
    game->composeFrameTo(target);
    EXPECT_GT(getr(shown(10, 50)), 100);
    EXPECT_LT(getr(shown(20, 50)), 100);
    EXPECT_LT(getr(shown(130, 50)), getr(shown(20, 50)));
    EXPECT_EQ(shown(40, 50), makecol(100, 100, 100));  // magenta lets the view through
}

TEST_F(FrameComposition, FogIsLaidWhereverTheReachPutsItEvenAtTheViewsEdges)
{
    // The view shows world columns 5 to 36 and rows 3 to 18. Unreached cells just outside its
    // corners, on its edges and inside: their fog reaches one cell and one pixel further. The
    // frame lays the fog from the cells; it must be the library's lay of the painted fog.
    Game& g = *game;
    g.reachGrid.fill(2);
    for (const auto& [c, r] : {std::pair{3, 1}, {3, 17}, {38, 2}, {38, 19}, {5, 3}, {36, 18}, {20, 10}, {21, 10}, {12, 15}})
        g.reachGrid.setCell(c, r, CELL_FLOOR);
    g.forgetPaintedLayers();
    g.paintFog();
    BITMAP* world = g.bitmaps.worldBitmap;
    for (int y = 0; y < VIEW_HEIGHT; ++y)
        for (int x = 0; x < VIEW_WIDTH; ++x) putpixel(world, x, y, makecol(x % 256, y % 256, 90));
    BITMAP* expected = makeFilledBitmap(W, SCREEN_HEIGHT, black());
    blit(world, expected, 0, 0, 0, HUD_HEIGHT, VIEW_WIDTH, VIEW_HEIGHT);
    set_clip_rect(expected, 0, HUD_HEIGHT, W - 1, HUD_HEIGHT + VIEW_HEIGHT - 1);
    set_trans_blender(0, 0, 0, 200);
    draw_trans_sprite(expected, g.bitmaps.shadeLayer, -g.mapX, HUD_HEIGHT - g.mapY);
    g.composeFrameTo(target);
    int differing = 0, fogged = 0;
    for (int y = HUD_HEIGHT; y < SCREEN_HEIGHT - HUD_HEIGHT; ++y)
        for (int x = 0; x < W; ++x) {
            differing += getpixel(target, x, y) != getpixel(expected, x, y);
            fogged += getpixel(g.bitmaps.shadeLayer, x + g.mapX, y - HUD_HEIGHT + g.mapY) != magenta();
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(fogged, 10 * 41 * 41);  // the script did put fog into the view
    destroy_bitmap(expected);
}

TEST_F(FrameComposition, TheGameOverPictureIsCentredOnTheWholeScreenUnderTheStrips)
{
    game->composeFrameTo(target);
    EXPECT_EQ(shown(540, 320), makecol(100, 100, 100));  // not while the game goes on
    game->gameOver = 1;
    game->composeFrameTo(target);  // the coded picture is 200 x 80
    EXPECT_EQ(shown(540, 320), cellColour(0, 0, GAME_OVER_TINT));
    EXPECT_EQ(shown(739, 399), cellColour(4, 1, GAME_OVER_TINT));
    EXPECT_EQ(shown(539, 320), makecol(100, 100, 100));
    EXPECT_EQ(shown(740, 399), makecol(100, 100, 100));
    replacePicture(game->bitmaps.gameOverPicture, makeFilledBitmap(40, SCREEN_HEIGHT, makecol(7, 7, 7)));
    game->composeFrameTo(target);
    EXPECT_EQ(shown(640, 20), black());
    EXPECT_EQ(shown(640, 360), makecol(7, 7, 7));
    EXPECT_EQ(shown(640, 700), black());
}

TEST_F(FrameComposition, MessagesRiseThreePixelsPerPresentedFrame)
{
    BITMAP* messages = game->bitmaps.messageLayer;
    BITMAP* dot = makeFilledBitmap(1, 1, makecol(255, 255, 255));
    const int bottom = messages->h - 1;
    for (const int y : {400, 2, bottom}) game->drawMessagePicture(dot, 0, 0, 300, y, 1, 1);
    destroy_bitmap(dot);
    for (const int y : {397, 394}) {
        game->composeFrameTo(target);
        EXPECT_EQ(messagePixel(*game, 300, y), makecol(255, 255, 255));
        EXPECT_EQ(messagePixel(*game, 300, y + 3), magenta());
        // The message layer sits 40 pixels higher on the screen than the world layers.
        EXPECT_GT(getr(shown(300 - 200, y - 120)), 100);
    }
    for (int y = 0; y < 3; ++y) EXPECT_EQ(messagePixel(*game, 300, y), magenta());  // the top rows are lost
    // The bottom rows come in empty.
    EXPECT_EQ(messagePixel(*game, 300, bottom - 6), makecol(255, 255, 255));
    for (int y = bottom - 5; y <= bottom; ++y) EXPECT_EQ(messagePixel(*game, 300, y), magenta());
}

TEST_F(FrameComposition, TheRadarLiesTenPixelsFromTheRightFiftyAboveTheBottom)
{
    clear_to_color(game->bitmaps.radarBitmap, makecol(0, 0, 255));  // 360 x 180
    game->composeFrameTo(target);
    EXPECT_EQ(shown(1280 - 10 - 1, 720 - 50 - 1), makecol(100, 100, 100));  // not without the radar
    game->hasRadar = true;
    game->composeFrameTo(target);
    const int left = 1280 - 360 - 10, top = 720 - 180 - 50;
    EXPECT_NE(shown(left, top), makecol(100, 100, 100));
    EXPECT_NE(shown(1269, 669), makecol(100, 100, 100));
    EXPECT_EQ(shown(left - 1, top), makecol(100, 100, 100));
    EXPECT_EQ(shown(1270, 669), makecol(100, 100, 100));
}

using HudStrips = Presentation;

TEST_F(HudStrips, TheTopStripNamesThePlayerScoreTargetAndLevel)
{
    std::snprintf(game->frontEnd.playerName, sizeof game->frontEnd.playerName, "%s", "Ala%d");
    game->score = 57;
    for (const auto& level : {std::pair<int, const char*>{1, "/200"}, {4, "/1700"}}) {
        game->levelNumber = level.first;
        game->drawHud();
        BITMAP* strip = game->bitmaps.hudTop;
        const int white = makecol(255, 255, 255);
        EXPECT_TRUE(showsText(strip, 10, 5, "Player:", white));
        EXPECT_TRUE(showsText(strip, 70, 5, "Ala%d", white));  // a name is no format
        EXPECT_TRUE(showsText(strip, 10, 15, "Pkt:57", white));
        EXPECT_TRUE(showsText(strip, 70, 15, level.second, white));
        EXPECT_TRUE(showsText(strip, 10, 25, level.first == 1 ? "Level:1" : "Level:4", white));
    }
}

TEST_F(HudStrips, OneLifeIconPerLifeEndsAtTheRightEdge)
{
    const char* labels[] = {"Life:0", "Life:1", "Life:2", "Life:3"};
    for (int lives = 0; lives <= 3; ++lives) {
        SCOPED_TRACE(lives);
        game->lives = lives;
        game->drawHud();
        BITMAP* strip = game->bitmaps.hudTop;
        EXPECT_TRUE(showsText(strip, W - lives * 40 - 50, 5, labels[lives], makecol(255, 255, 255)));
        for (int i = 0; i < lives; ++i)
            EXPECT_EQ(getpixel(strip, W - lives * 40 + i * 40 + 20, 20), cellColour(10, 0, SHEET_TINT));
        EXPECT_EQ(getpixel(strip, W - lives * 40 - 1, 20), black());
    }
}

TEST_F(HudStrips, TheBombGroupShowsOnlyWhileTheHeroHoldsBombs)
{
    BITMAP* strip = game->bitmaps.hudBottom;
    const int b = W - 540;
    game->bombCount = 0;
    game->drawHud();
    EXPECT_TRUE(showsText(strip, 5, 30, "[ESC] - exit", makecol(255, 255, 255)));
    EXPECT_TRUE(showsText(strip, 125, 30, "[P] - pause  [M] - sound", makecol(255, 255, 255)));
    for (int x = W - 848; x <= W - 518; ++x)
        for (int y = 0; y < 40; ++y) ASSERT_EQ(getpixel(strip, x, y), black()) << x << ", " << y;
    game->bombCount = 1;
    game->drawHud();
    EXPECT_EQ(getpixel(strip, b - 1, 38), makecol(40, 40, 40));
    EXPECT_EQ(getpixel(strip, b, 39), cellColour(0, 0, BOMB_TINT));
    EXPECT_EQ(getpixel(strip, W - 845, 5), makecol(100, 100, 100));
    EXPECT_TRUE(showsText(strip, W - 840, 7, "[B]bomb:1", makecol(255, 255, 255)));
    game->bombCount = 15;
    game->drawHud();
    EXPECT_EQ(getpixel(strip, b - 22 * 14, 39), cellColour(0, 0, BOMB_TINT));
    EXPECT_EQ(getpixel(strip, b - 22 * 14 - 1, 39), black());
    EXPECT_TRUE(showsText(strip, W - 840, 7, "[B]bomb:15", makecol(255, 255, 255)));
}

struct BarCase {
    bool Game::*flag;
    std::int32_t Game::*charge;
    int value;
    int right;      // V, the bar's right end
    int tint;       // of the icon
    int length;     // of the coloured bar, pixels
    int colour;
    const char* label;
};

TEST_F(HudStrips, BarsGrowLeftwardsFromTheirRightEndAndTurnFromRedToGreen)
{
    game->heroActor.speed = 5;
    const BarCase bars[] = {
        {&Game::hasGenerator, &Game::beamPower, 0, W - 390, GENERATOR_TINT, 0, 0, "[G]power:0"},
        {&Game::hasGenerator, &Game::beamPower, 20, W - 390, GENERATOR_TINT, 100, makecol(1, 253, 0), "[G]power:100"},
        {&Game::hasShoes, &Game::shoesTime, 0, W - 240, SHOES_TINT, 0, 0, "speed:5"},
        {&Game::hasShoes, &Game::shoesTime, 4800, W - 240, SHOES_TINT, 100, makecol(0, 254, 0), "speed:5"},
        {&Game::hasShield, &Game::shieldTime, 300, W - 90, SHIELD_TINT, 50, makecol(127, 127, 0), "shield:50"},
        {&Game::hasShield, &Game::shieldTime, 600, W - 90, SHIELD_TINT, 100, makecol(0, 254, 0), "shield:100"},
    };
    BITMAP* strip = game->bitmaps.hudBottom;
    const int grey = makecol(100, 100, 100);
    for (const BarCase& bar : bars) {
        SCOPED_TRACE(bar.label);
        game->*bar.charge = bar.value;
        game->*bar.flag = false;
        game->drawHud();
        EXPECT_EQ(getpixel(strip, bar.right, 30), black());  // no group without its power-up
        game->*bar.flag = true;
        game->drawHud();
        EXPECT_EQ(getpixel(strip, bar.right + 20, 20), cellColour(0, 0, bar.tint));
        // The outline lies over both ends of the bar.
        EXPECT_EQ(getpixel(strip, bar.right, 30), grey);
        EXPECT_EQ(getpixel(strip, bar.right - 100, 30), grey);
        if (bar.length > 0) {
            EXPECT_EQ(getpixel(strip, bar.right - 1, 30), bar.colour);
            EXPECT_EQ(getpixel(strip, bar.right - std::min(bar.length, 99), 30), bar.colour);
        }
        if (bar.length < 100) {
            EXPECT_EQ(getpixel(strip, bar.right - bar.length - 1, 30), makecol(40, 40, 40));
        }
        EXPECT_TRUE(showsText(strip, bar.right - 100, 7, bar.label, makecol(255, 255, 255)));
        game->*bar.flag = false;
    }
    game->hasRadar = true;
    game->drawHud();
    EXPECT_EQ(getpixel(strip, W - 20, 20), cellColour(0, 0, RADAR_TINT));
}

TEST_F(HudStrips, TheScreenShowsTheStripsOfThePreviousFrame)
{
    game->score = 5;
    game->presentFrameTo(target);
    game->score = 6;
    game->presentFrameTo(target);
    EXPECT_TRUE(showsText(target, 10, 15, "Pkt:5", makecol(255, 255, 255)));
    EXPECT_TRUE(showsText(game->bitmaps.hudTop, 10, 15, "Pkt:6", makecol(255, 255, 255)));
}

using DebugPanel = Presentation;

TEST_F(DebugPanel, HoldingF1ShowsTheCurrentScrollingValuesInTheTopLeftCorner)
{
    game->drawHudTo(target);
    EXPECT_EQ(shown(0, 0), black());
    key[KEY_F1] = 1;
    game->readControls();
    game->ogrMinY = -7;
    game->drawHudTo(target);
    const int pink = makecol(255, 128, 255);
    EXPECT_EQ(shown(0, 0), pink);
    EXPECT_EQ(shown(239, 119), pink);
    EXPECT_EQ(shown(240, 0), black());
    EXPECT_TRUE(showsText(target, 100, 5, "-7", black()));
    EXPECT_TRUE(showsText(target, 100, 35, "mapX:200", black()));
    EXPECT_TRUE(showsText(target, 100, 45, "mapY:120", black()));
    EXPECT_TRUE(showsText(target, 5, 100, "bWorldX:1600", black()));
    EXPECT_TRUE(showsText(target, 120, 110, "bBuforY:720", black()));
    game->drawHud();  // no screen to show it on: the panel is still drawn
}

}  // namespace
