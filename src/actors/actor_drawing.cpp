// Actor drawing: the hero, items, coins, blocks and ghosts from their picture sheets, and the
// two animation clocks that pick their frames.
#include <allegro.h>

#include "shell/game.h"
#include "world/pixel_loops.h"

namespace {

constexpr int WALK_CLOCK_END = 40;     // the walk clock runs 0 to 40, ticks
constexpr int WALK_SECOND_FRAME = 20;  // from here the second walking frame shows
constexpr int COIN_CLOCK_END = 47;     // the coin clock runs 0 to 47, ticks
constexpr int COIN_TICKS_PER_FRAME = 4;

// Columns of the sprite sheet: ghost kind k walks in 2k and 2k + 1.
constexpr int HERO_FIRST_FRAME = 10;
constexpr int HUNTER_FIRST_FRAME = 12;
constexpr int HUNTER_ROW = 0;  // the hunter flies without a facing

// One 40 x 40 cell of a picture, at sheet cell (column, row), onto the target at (x, y).
void drawCell(BITMAP* picture, BITMAP* target, int column, int row, int x, int y)
{
    copyMasked(picture, target, column * ACTOR_SIZE, row * ACTOR_SIZE, x, y, ACTOR_SIZE, ACTOR_SIZE);
}

// Where a target holds only part of the world, (ox, oy) is the world point at its corner.
void drawItem(BITMAP* picture, BITMAP* target, int ox, int oy, const sprite& item, std::int32_t absent)
{
    if (absent == 0) drawCell(picture, target, 0, 0, item.x - ox, item.y - oy);
}

void drawAll(BITMAP* picture, BITMAP* target, int ox, int oy, const sprite* objects, int count, int column)
{
    for (int i = 0; i < count; ++i) drawCell(picture, target, column, 0, objects[i].x - ox, objects[i].y - oy);
}

}  // namespace

void Game::advanceClocks()
{
    if (++walkClock > WALK_CLOCK_END) walkClock = 0;
    if (++coinClock > COIN_CLOCK_END) coinClock = 0;
}

void Game::drawWalls()
{
    BITMAP* world = bitmaps.worldBitmap;
    copyMasked(bitmaps.wallsBitmap, world, layerOriginX, layerOriginY, 0, 0, world->w, world->h);
}

void Game::drawHero()
{
    // At the clock's last value the frame stays as it was: a one-tick pause in the walk.
    if (walkClock < WALK_SECOND_FRAME)
        heroActor.frame = HERO_FIRST_FRAME;
    else if (walkClock < WALK_CLOCK_END)
        heroActor.frame = HERO_FIRST_FRAME + 1;
    drawCell(bitmaps.spriteSheet, bitmaps.worldBitmap, heroActor.frame, heroActor.row, heroActor.x - layerOriginX,
             heroActor.y - layerOriginY);
}

void Game::drawItems()
{
    BITMAP* world = bitmaps.worldBitmap;
    const int ox = layerOriginX, oy = layerOriginY;
    drawItem(bitmaps.generatorPicture, world, ox, oy, generatorItem, generatorAbsent);
    drawItem(bitmaps.radarPicture, world, ox, oy, radarItem, radarAbsent);
    drawItem(bitmaps.shieldPicture, world, ox, oy, shieldItem, shieldAbsent);
    drawItem(bitmaps.lifePicture, world, ox, oy, lifeItem, lifeAbsent);
    drawAll(bitmaps.bombPicture, world, ox, oy, dynamites, dynamiteCount, 0);
    drawAll(bitmaps.treasurePicture, world, ox, oy, treasures, treasureCount, 0);
    drawItem(bitmaps.shoesPicture, world, ox, oy, shoesItem, shoesAbsent);

    // Coins glow: they go to the luminous layer, all turning in step.
    const int coinFrame = coinClock / COIN_TICKS_PER_FRAME;
    drawAll(bitmaps.coin1Picture, bitmaps.glowLayer, ox, oy, coins1, coin1Count, coinFrame);
    drawAll(bitmaps.coin2Picture, bitmaps.glowLayer, ox, oy, coins2, coin2Count, coinFrame);
    drawAll(bitmaps.coin5Picture, bitmaps.glowLayer, ox, oy, coins5, coin5Count, coinFrame);
}

void Game::drawBlocks()
{
    for (int i = 0; i < blockCount; ++i)
        drawCell(bitmaps.terrainPicture, bitmaps.worldBitmap, blocks[i].frame, 0, blocks[i].x - layerOriginX,
                 blocks[i].y - layerOriginY);
}

void Game::drawGhosts()
{
    for (int i = 0; i < ghostCount; ++i) {
        ghost& g = ghosts[i];
        const bool hunting = g.kind == HUNTER_KIND;
        const int firstFrame = hunting ? HUNTER_FIRST_FRAME : 2 * g.kind;
        if (walkClock < WALK_CLOCK_END) {
            g.frame = firstFrame + (walkClock < WALK_SECOND_FRAME ? 0 : 1);
            if (hunting) g.row = HUNTER_ROW;
        }
        drawCell(bitmaps.spriteSheet, bitmaps.glowLayer, g.frame, g.row, g.x - layerOriginX, g.y - layerOriginY);
    }
}
