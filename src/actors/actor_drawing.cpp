// Actor drawing: the hero, items, coins, blocks and ghosts from their picture sheets, and the
// two animation clocks that pick their frames.
#include <allegro.h>

#include "actors/kinds.h"
#include "shell/game.h"
#include "world/pixel_loops.h"

namespace {

constexpr int WALK_CLOCK_END = 40;     // the walk clock runs 0 to 40, ticks
constexpr int WALK_SECOND_FRAME = 20;  // from here the second walking frame shows
constexpr int COIN_CLOCK_END = 47;     // the coin clock runs 0 to 47, ticks
constexpr int COIN_TICKS_PER_FRAME = 4;

constexpr int HUNTER_ROW = 0;  // the hunter flies without a facing

// One 40 x 40 cell of a picture, at sheet cell (column, row), onto the target at (x, y).
void drawCell(BITMAP* picture, BITMAP* target, int column, int row, int x, int y)
{
    copyMasked(picture, target, column * ACTOR_SIZE, row * ACTOR_SIZE, x, y, ACTOR_SIZE, ACTOR_SIZE);
}

// One 40 x 40 cell of a picture onto a view-size layer, at a world point.
void drawCellAt(BITMAP* picture, BITMAP* layer, const LayerOrigin& origin, int column, int row, const sprite& s)
{
    drawCell(picture, layer, column, row, origin.layerX(s.x), origin.layerY(s.y));
}

}  // namespace

void Game::advanceClocks()
{
    if (++walkClock > WALK_CLOCK_END) walkClock = 0;
    if (++coinClock > COIN_CLOCK_END) coinClock = 0;
}

void Game::drawWalls()
{
    // Nothing is left to draw: the background made the walls from the cells in view, and drew
    // its lights and shadows under them.
}

void Game::drawHero()
{
    // At the clock's last value the frame stays as it was: a one-tick pause in the walk.
    if (walkClock < WALK_SECOND_FRAME)
        heroActor.frame = HERO_SHEET_COLUMN;
    else if (walkClock < WALK_CLOCK_END)
        heroActor.frame = HERO_SHEET_COLUMN + 1;
    drawWorldCell(bitmaps.spriteSheet, heroActor.frame, heroActor.row, heroActor);
}

void Game::drawItems()
{
    // Every item has a cell of its own, so the order they are drawn in shows nowhere.
    for (const PowerUpKind& kind : POWER_UP_KINDS)
        if (this->*kind.absent == 0) drawWorldCell(bitmaps.*kind.picture, 0, 0, this->*kind.item);
    for (int i = 0; i < dynamiteCount; ++i) drawWorldCell(bitmaps.bombPicture, 0, 0, dynamites[i]);
    for (int i = 0; i < treasureCount; ++i) drawWorldCell(bitmaps.treasurePicture, 0, 0, treasures[i]);

    // Coins glow: they go to the luminous layer, all turning in step.
    const int coinFrame = coinClock / COIN_TICKS_PER_FRAME;
    for (const CoinKind& kind : COIN_KINDS)
        for (int i = 0; i < this->*kind.count; ++i)
            drawGlowCell(bitmaps.*kind.picture, coinFrame, 0, (this->*kind.coins)[i]);
}

void Game::drawBlocks()
{
    // Drawn as the band is made (drawBlockPictures): a block that stands where it stood, with
    // nothing changed around it, is in the band already.
    blockPictures.clear();
    for (int i = 0; i < blockCount; ++i)
        blockPictures.push_back({bitmaps.terrainPicture, blocks[i].frame * ACTOR_SIZE, 0, ACTOR_SIZE, ACTOR_SIZE,
                                 layerOrigin.layerX(blocks[i].x), layerOrigin.layerY(blocks[i].y)});
}

void Game::drawBlockPictures(DrawnBlocks* only)
{
    // A block is drawn whole, and the band made again under all of it, which may reach the
    // block beside it.
    for (bool drewOne = true; drewOne;) {
        drewOne = false;
        for (PictureCopy& block : blockPictures) {
            const int right = block.x + block.width, bottom = block.y + block.height;
            if (block.drawn || (only && !only->any(block.x, block.y, right, bottom))) continue;
            if (only) only->mark(block.x, block.y, right, bottom);
            openWorld(block.x, block.y, block.width, block.height);
            copyMasked(block.picture, bitmaps.worldBitmap, block.sourceX, block.sourceY, block.x, block.y, block.width,
                       block.height);
            block.drawn = drewOne = true;
        }
    }
}

void Game::drawGhosts()
{
    for (int i = 0; i < ghostCount; ++i) {
        ghost& g = ghosts[i];
        const bool hunting = g.kind == HUNTER_KIND;
        const int firstFrame = ghostSheetColumn(g.kind);
        if (walkClock < WALK_CLOCK_END) {
            g.frame = firstFrame + (walkClock < WALK_SECOND_FRAME ? 0 : 1);
            if (hunting) g.row = HUNTER_ROW;
        }
        drawGlowCell(bitmaps.spriteSheet, g.frame, g.row, g);
    }
}

void Game::drawGlowCell(BITMAP* picture, int column, int row, const sprite& s)
{
    drawGlow(picture, column * ACTOR_SIZE, row * ACTOR_SIZE, layerOrigin.layerX(s.x), layerOrigin.layerY(s.y), ACTOR_SIZE,
             ACTOR_SIZE);
}

void Game::drawWorldCell(BITMAP* picture, int column, int row, const sprite& s)
{
    openWorld(layerOrigin.layerX(s.x), layerOrigin.layerY(s.y), ACTOR_SIZE, ACTOR_SIZE);
    drawCellAt(picture, bitmaps.worldBitmap, layerOrigin, column, row, s);
}
