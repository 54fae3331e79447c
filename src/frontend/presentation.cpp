// Frame presentation: the back buffer composed from the view and its translucent layers, the
// game-over picture, the rising messages, the radar and the two HUD strips; the F1 debug panel.
#include <allegro.h>

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <cstring>

#include "shell/game.h"
#include "shell/screen_mode.h"
#include "world/colours.h"
#include "world/pixel_loops.h"

namespace {

// Translucent layers over the view, as (red, green, blue, alpha) of the blender.
struct Blend {
    int red, green, blue, alpha;
};
constexpr Blend GLOW_BLEND = {255, 255, 0, 200};
constexpr Blend DARK_BLEND = {0, 0, 0, 120};
constexpr Blend SHADE_BLEND = {0, 0, 0, 200};
constexpr Blend MESSAGE_BLEND = {255, 255, 255, 125};
constexpr Blend RADAR_BLEND = {255, 255, 0, 150};

constexpr int MESSAGE_RISE = 3;         // pixels the messages rise per presented frame
constexpr int RADAR_RIGHT_MARGIN = 10;  // from the radar's right edge to the screen's, pixels
constexpr int RADAR_BOTTOM_MARGIN = 50; // from the radar's bottom edge to the screen's, pixels
constexpr const char* PAUSE_TEXT = "PAUSE";
constexpr int PAUSE_GLYPH_SCALE = 4;    // the paused game's word, four times the glyphs' size

// Top strip.
constexpr int ICON_SIZE = 40;          // every HUD icon is the top-left cell of its picture
constexpr int LIFE_LABEL_GAP = 50;     // from the "Life:" text to the first icon, pixels
constexpr int SCORE_X = 10;            // the score's text, and where the target follows it
constexpr int TARGET_X = 70;
constexpr int TOGGLE_KEYS_X = 125;     // the pause and sound keys' hint, right of the exit key's

// Bottom strip: the bomb group, the three bar groups and the radar icon, from their right ends.
constexpr int BOMB_GROUP_RIGHT = 540;  // the first bomb icon stands at W - 540
constexpr int BOMB_ICON_STEP = 22;     // icons overlap, stepping leftwards
constexpr int BOMB_BOX_LEFT = 308;
constexpr int BOMB_BOX_RIGHT = 22;
constexpr int BOMB_LABEL_LEFT = 845;
constexpr int BOMB_LABEL_RIGHT = 760;
constexpr int BOMB_LABEL_TEXT = 840;
constexpr int POWER_GROUP_RIGHT = 390;
constexpr int SPEED_GROUP_RIGHT = 240;
constexpr int SHIELD_GROUP_RIGHT = 90;
constexpr int BAR_LENGTH = 100;  // pixels of a full bar
constexpr int BAR_TOP = 20;
constexpr int BAR_BOTTOM = 40;
constexpr int LABEL_Y = 7;       // the bomb and bar labels
constexpr double POWER_COLOUR_DIVISOR = 0.079;
constexpr double SHOES_COLOUR_DIVISOR = 18.83;
constexpr double SHIELD_COLOUR_DIVISOR = 2.36;
constexpr double POWER_PER_PIXEL = 0.2;
constexpr int SHOES_STEPS_PER_PIXEL = 48;
constexpr int SHIELD_CHARGE_PER_PIXEL = 6;
constexpr int POWER_LABEL_SCALE = 5;

int white() { return makecol(255, 255, 255); }
int darkGrey() { return makecol(40, 40, 40); }
int outlineGrey() { return makecol(100, 100, 100); }

// A finished picture (or part of it at (x, y)) onto the bitmap that stands for the screen, or
// onto the screen itself at its scale.
void showOn(BITMAP* target, BITMAP* picture, int x, int y)
{
    if (target && target == screen)
        presentPicture(picture, x, y);
    else if (target)
        blit(picture, target, 0, 0, x, y, picture->w, picture->h);
}

// Where the radar's top-left pixel lies on a frame: near its bottom-right corner.
FramePoint radarCorner(const BITMAP* frame, const BITMAP* radar)
{
    return {frame->w - radar->w - RADAR_RIGHT_MARGIN, frame->h - radar->h - RADAR_BOTTOM_MARGIN};
}

void layOver(BITMAP* target, BITMAP* layer, const Blend& blend, int x, int y)
{
    layTranslucent(target, layer, blend.alpha, x, y);
}

// The radar laid over the band between the strips (the strips cover the rest). It grows with
// the maze, to most of the view at level 60.
void layRadarOver(BITMAP* target, BITMAP* radar, const Blend& blend, int x, int y)
{
    set_clip_rect(target, 0, HUD_HEIGHT, target->w - 1, target->h - HUD_HEIGHT - 1);
    layOver(target, radar, blend, x, y);
    set_clip_rect(target, 0, 0, target->w - 1, target->h - 1);
}

// A number through a format of one %d, drawn in the built-in font with no background. Formatted
// on the stack: the library's own printf allocates for every call, and frames must not.
void printValue(BITMAP* target, int x, int y, int colour, const char* format, int value)
{
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    textout_ex(target, font, text, x, y, colour, -1);
}

void drawIcon(BITMAP* picture, BITMAP* target, int sourceX, int x, int y)
{
    masked_blit(picture, target, sourceX, 0, x, y, ICON_SIZE, ICON_SIZE);
}

// One bar group: icon right of the bar, a dark 100-pixel box, the bar from red (empty) to
// green (full) growing leftwards from the right end, its outline and its label above.
struct BarGroup {
    int right;          // V, the bar's right end, pixels
    BITMAP* icon;
    double value;       // the charge that colours the bar
    double divisor;     // value / divisor is the bar's green
    int left;           // where the filled bar begins, pixels
    const char* label;  // one %d
    int labelValue;
};

void drawBarGroup(BITMAP* strip, const BarGroup& group)
{
    const int v = group.right;
    drawIcon(group.icon, strip, 0, v, 0);
    rectfill(strip, v - BAR_LENGTH, BAR_TOP, v, BAR_BOTTOM, darkGrey());
    const double a = group.value / group.divisor;
    rectfill(strip, group.left, BAR_TOP, v, BAR_BOTTOM, makecol(static_cast<int>(255.0 - a), static_cast<int>(a), 0));
    rect(strip, v - BAR_LENGTH, BAR_TOP, v, BAR_BOTTOM, outlineGrey());
    printValue(strip, v - BAR_LENGTH, LABEL_Y, white(), group.label, group.labelValue);
}

}  // namespace

void Game::presentFrame() { presentFrameTo(screen); }
void Game::composeFrame() { composeFrameTo(screen); }
void Game::drawHud() { drawHudTo(screen); }

void Game::presentFrameTo(BITMAP* target)
{
    composeFrameTo(target);
    drawHudTo(target);
}

void Game::layViewLights()
{
    // The view fills the band between the strips, where the world picture was drawn; the world
    // layers follow it. The view layers were drawn for this same view in this pass.
    FogSquares fog;
    fog.alpha = SHADE_BLEND.alpha;
    markFogSquares(fog);
    ViewLights lights;
    lights.glow = bitmaps.glowLayer;
    lights.glowDrawn = &glowDrawn;
    lights.glowAlpha = GLOW_BLEND.alpha;
    lights.wipeGlow = true;
    lights.darkness = &darkness;
    lights.darknessAlpha = DARK_BLEND.alpha;
    lights.fog = &fog;
    if (backgroundPending) {
        lights.background = &backgroundFill;
        lights.backgroundDrawn = &worldFilled;
    }
    DrawnBlocks* redraw = bandToRedraw(fog, DARK_BLEND.alpha);
    drawBlockPictures(redraw);
    lights.only = redraw;
    layLightsOver(bitmaps.worldBitmap, lights);
    keepBand(fog, DARK_BLEND.alpha);
    backgroundPending = false;
}

void Game::markOverlays(DrawnBlocks& drawn) const
{
    // The band's rows are the frame's less the top strip.
    if (!messages.empty())
        drawn.mark(0, messages.top - layerOrigin.y - HUD_HEIGHT, VIEW_WIDTH,
                   messages.bottom - layerOrigin.y - HUD_HEIGHT);
    const BITMAP* back = bitmaps.drawnFrame;
    const BITMAP* radar = bitmaps.radarBitmap;
    if (hasRadar && back && radar) {
        const FramePoint corner = radarCorner(back, radar);
        drawn.mark(corner.x, corner.y - HUD_HEIGHT, corner.x + radar->w, corner.y - HUD_HEIGHT + radar->h);
    }
}

bool Game::messagesReachStrips(const BITMAP* frame) const
{
    return !messages.empty() &&
           (messages.top - layerOrigin.y < HUD_HEIGHT || messages.bottom - layerOrigin.y > frame->h - HUD_HEIGHT);
}

void Game::finishUnshownFrame()
{
    // Drawn where the screen shows it, but not presented: the screen's picture would stand half
    // drawn for the pause, so its band is finished, though not shown.
    if (bitmaps.drawnFrame && bitmaps.drawnFrame == bitmaps.screenFrame) {
        layViewLights();
        bitmaps.composedDrawnFrame();
    }
    // Its band stands without the messages and the radar laid over it.
    forgetKeptBand();
}

void Game::composeFrameTo(BITMAP* target)
{
    BITMAP* back = bitmaps.drawnFrame;
    // Messages rise; the top rows fall off, the bottom rows come in empty. Turned first, so the
    // band is composed where they will lie.
    messages.turn(bitmaps.messageLayer, MESSAGE_RISE);
    layViewLights();

    // Once lost, the board stays visible behind the picture, centred on the whole frame.
    if (gameOver == 1) {
        BITMAP* picture = bitmaps.gameOverPicture;
        masked_blit(picture, back, 0, 0, (back->w - picture->w) / 2, (back->h - picture->h) / 2, picture->w,
                    picture->h);
    }

    if (!messages.empty())
        messages.layOver(back, bitmaps.messageLayer, MESSAGE_BLEND.alpha, -layerOrigin.x, -layerOrigin.y);

    if (hasRadar) {
        BITMAP* radar = bitmaps.radarBitmap;
        const FramePoint corner = radarCorner(back, radar);
        layRadarOver(back, radar, RADAR_BLEND, corner.x, corner.y);
    }

    // Most frames hold the strips as they are already; the lost game's picture and the messages
    // may reach into their rows.
    if (stripsToCopy || gameOver == 1 || messagesReachStrips(back)) {
        blit(bitmaps.hudTop, back, 0, 0, 0, 0, bitmaps.hudTop->w, bitmaps.hudTop->h);
        blit(bitmaps.hudBottom, back, 0, 0, 0, back->h - HUD_HEIGHT, bitmaps.hudBottom->w, bitmaps.hudBottom->h);
    }
    bitmaps.composedDrawnFrame();
    showOn(target, back, 0, 0);
}

void Game::showPauseTo(BITMAP* target)
{
    // The back buffer still holds the last frame composed: the paused game stands as it was seen.
    BITMAP* back = bitmaps.backBuffer;
    forgetKeptBand();
    const int width = static_cast<int>(std::strlen(PAUSE_TEXT)) * CHARACTER_ADVANCE * PAUSE_GLYPH_SCALE;
    const int height = GLYPH_HEIGHT * PAUSE_GLYPH_SCALE;
    frontEnd.drawText(bitmaps.alphabetPicture, back, (back->w - width) / 2, (back->h - height) / 2, 0, PAUSE_TEXT,
                      PAUSE_GLYPH_SCALE);
    showOn(target, back, 0, 0);
}

bool Game::HudValues::operator==(const HudValues& other) const
{
    return top == other.top && bottom == other.bottom && std::strcmp(name, other.name) == 0 && score == other.score &&
           target == other.target && level == other.level && lives == other.lives && bombs == other.bombs &&
           power == other.power && shoes == other.shoes && speed == other.speed && shield == other.shield &&
           generator == other.generator && shod == other.shod && shielded == other.shielded && radar == other.radar;
}

Game::HudValues Game::hudValues() const
{
    HudValues values;
    values.top = bitmaps.hudTop;
    values.bottom = bitmaps.hudBottom;
    std::memcpy(values.name, frontEnd.playerName, sizeof values.name);
    values.name[sizeof values.name - 1] = '\0';
    values.score = score;
    values.target = levelTarget();
    values.level = levelNumber;
    values.lives = lives;
    values.bombs = bombCount;
    values.power = beamPower;
    values.shoes = shoesTime;
    values.speed = heroActor.speed;
    values.shield = shieldTime;
    values.generator = hasGenerator;
    values.shod = hasShoes;
    values.shielded = hasShield;
    values.radar = hasRadar;
    return values;
}

void Game::drawHudTo(BITMAP* target)
{
    // The strips are drawn again only when what they show changed: most frames it has not.
    const HudValues values = hudValues();
    const bool changed = !(values == hudShown);
    if (changed) {
        ++stripDrawings;
        drawTopStrip();
    }
    // Shown while held, straight onto the frame just copied, so it tells the current values.
    if (controls.debugPanel) {
        drawDebugPanel();
        showOn(target, bitmaps.debugPanel, 0, 0);
    }
    if (changed) drawBottomStrip();
    hudShown = values;
}

void Game::drawTopStrip()
{
    BITMAP* strip = bitmaps.hudTop;
    const int w = strip->w;
    clear_to_color(strip, makecol(0, 0, 0));
    textout_ex(strip, font, "Player:", 10, 5, white(), -1);
    textout_ex(strip, font, frontEnd.playerName, 70, 5, white(), -1);
    char scoreText[24];
    std::snprintf(scoreText, sizeof scoreText, "Pkt:%d", score);
    textout_ex(strip, font, scoreText, SCORE_X, 15, white(), -1);
    // The score the level-up rule must see exceeded; a score of four digits or more pushes it
    // right rather than running into it.
    const int targetX = std::max(TARGET_X, SCORE_X + text_length(font, scoreText));
    printValue(strip, targetX, 15, white(), "/%d", levelTarget());
    printValue(strip, 10, 25, white(), "Level:%d", levelNumber);

    // One icon per life, the last ending at the right edge.
    const int iconsLeft = w - lives * ICON_SIZE;
    printValue(strip, iconsLeft - LIFE_LABEL_GAP, 5, white(), "Life:%d", lives);
    for (int i = 0; i < lives; ++i)
        drawIcon(bitmaps.spriteSheet, strip, HERO_SHEET_COLUMN * ICON_SIZE, iconsLeft + i * ICON_SIZE, 0);
}

void Game::drawBottomStrip()
{
    BITMAP* strip = bitmaps.hudBottom;
    const int w = strip->w;
    clear_to_color(strip, makecol(0, 0, 0));
    textout_ex(strip, font, "[ESC] - exit", 5, 30, white(), -1);
    textout_ex(strip, font, "[P] - pause  [M] - sound", TOGGLE_KEYS_X, 30, white(), -1);

    if (bombCount > 0) {
        const int b = w - BOMB_GROUP_RIGHT;
        rectfill(strip, b - BOMB_BOX_LEFT, 2, b + BOMB_BOX_RIGHT, 38, darkGrey());
        for (int i = 0; i < bombCount; ++i) drawIcon(bitmaps.bombPicture, strip, 0, b - BOMB_ICON_STEP * i, 0);
        rectfill(strip, w - BOMB_LABEL_LEFT, 5, w - BOMB_LABEL_RIGHT, 15, darkGrey());
        rect(strip, w - BOMB_LABEL_LEFT, 5, w - BOMB_LABEL_RIGHT, 15, outlineGrey());
        printValue(strip, w - BOMB_LABEL_TEXT, LABEL_Y, white(), "[B]bomb:%d", bombCount);
    }

    if (hasGenerator) {
        const int v = w - POWER_GROUP_RIGHT;
        drawBarGroup(strip, {v, bitmaps.generatorPicture, static_cast<double>(beamPower), POWER_COLOUR_DIVISOR,
                             static_cast<int>(v - beamPower / POWER_PER_PIXEL), "[G]power:%d",
                             beamPower * POWER_LABEL_SCALE});
    }
    if (hasShoes) {
        const int v = w - SPEED_GROUP_RIGHT;
        drawBarGroup(strip, {v, bitmaps.shoesPicture, static_cast<double>(shoesTime), SHOES_COLOUR_DIVISOR,
                             v - shoesTime / SHOES_STEPS_PER_PIXEL, "speed:%d", heroActor.speed});
    }
    if (hasShield) {
        const int v = w - SHIELD_GROUP_RIGHT;
        drawBarGroup(strip, {v, bitmaps.shieldPicture, static_cast<double>(shieldTime), SHIELD_COLOUR_DIVISOR,
                             v - shieldTime / SHIELD_CHARGE_PER_PIXEL, "shield:%d",
                             shieldTime / SHIELD_CHARGE_PER_PIXEL});
    }
    if (hasRadar) drawIcon(bitmaps.radarPicture, strip, 0, w - ICON_SIZE, 0);
}

void Game::drawDebugPanel()
{
    BITMAP* panel = bitmaps.debugPanel;
    clear_to_color(panel, makecol(255, 128, 255));
    const int black = makecol(0, 0, 0);
    // The four bounds stand round the centre column like a compass.
    const struct {
        const char* format;
        int value, x, y;
    } rows[] = {
        {"%d", ogrMinY, 100, 5},
        {"%d", ogrMaxY, 100, 80},
        {"%d", ogrMinX, 5, 35},
        {"%d", ogrMaxX, 180, 35},
        {"ogrX:%d", ogrX, 100, 15},
        {"ogrY:%d", ogrY, 100, 25},
        {"mapX:%d", mapX, 100, 35},
        {"mapY:%d", mapY, 100, 45},
        {"nadX:%d", nadX, 100, 55},
        {"nadY:%d", nadY, 100, 65},
        {"bWorldX:%d", bitmaps.wallsBitmap->w, 5, 100},  // the world's size, as every world-size layer has
        {"bWorldY:%d", bitmaps.wallsBitmap->h, 5, 110},
        {"bBuforX:%d", bitmaps.backBuffer->w, 120, 100},
        {"bBuforY:%d", bitmaps.backBuffer->h, 120, 110},
    };
    for (const auto& row : rows) printValue(panel, row.x, row.y, black, row.format, row.value);
}
