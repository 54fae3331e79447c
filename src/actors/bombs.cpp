// Bombs: laying with key B, the 72-frame fuse with its drawing and sounds, the wall blast,
// and the three blast rules against items, ghosts and the hero.
#include "actors/kinds.h"
#include "shell/game.h"

#include <allegro.h>

#include <algorithm>

#include "shell/random.h"
#include "world/colours.h"
#include "world/pixel_loops.h"

namespace {
constexpr int LAY_COOLDOWN_FRAMES = 10;  // B lays again only once more frames than this have passed
constexpr int FUSE_ALARM = 40;
constexpr int FUSE_FIRST_BLAST = 61;     // the blast rules are live from here ...
constexpr int FUSE_LAST_BLAST = 69;      // ... to here
constexpr int FUSE_FIRST_EXPLOSION = 67; // the ticking bomb gives way to the explosion frames
constexpr int FUSE_WALL_BLAST = 70;
constexpr int FUSE_END = 72;             // the slot is free again
constexpr int BOMB_FRAME_SIZE = 40;
constexpr int EXPLOSION_FRAME_SIZE = 120;
constexpr int LAST_PICTURE_FRAME = 4;
constexpr int HALF_BOMB = BOMB_FRAME_SIZE / 2;
constexpr int GLOW_ALPHA = 40;
constexpr int FLASH_ALPHA = 60;
constexpr int FLASH_RADIUS = 150;
// The bomb, its ring and its translucent discs all lie within this far of its centre.
constexpr int DRAWN_REACH = std::max({BLAST_REACH, FLASH_RADIUS, HALF_BOMB});


bool blastIsLive(const bomb& b) { return b.fuse >= FUSE_FIRST_BLAST && b.fuse <= FUSE_LAST_BLAST; }

bool inBlast(const bomb& b, const sprite& target)
{
    return withinReach(b.x + HALF_BOMB, b.y + HALF_BOMB, target.x, target.y, BLAST_REACH);
}

// A translucent disc on the bomb's centre, laid over the world.
void drawDisc(AssetBitmaps& bitmaps, const LayerOrigin& origin, const bomb& b, int alpha, int radius, int colour)
{
    const Disc disc = {origin.layerX(b.x + HALF_BOMB), origin.layerY(b.y + HALF_BOMB), radius, colour};
    layTranslucentDisc(bitmaps.worldBitmap, disc, alpha);
}

void drawTickingBomb(AssetBitmaps& bitmaps, const LayerOrigin& origin, const bomb& b)
{
    const int x = origin.layerX(b.x);
    const int y = origin.layerY(b.y);
    masked_blit(bitmaps.bombPicture, bitmaps.worldBitmap, BOMB_FRAME_SIZE * Game::bombFrame(b.fuse), 0, x, y,
                BOMB_FRAME_SIZE, BOMB_FRAME_SIZE);
    // The red ring shows the player how far the blast will reach.
    circle(bitmaps.worldBitmap, x + HALF_BOMB, y + HALF_BOMB, BLAST_REACH, makecol(255, 0, 0));
    // The glow warms as the fuse burns down.
    drawDisc(bitmaps, origin, b, GLOW_ALPHA, BLAST_REACH, makecol(b.fuse + 180, b.fuse, 0));
}

void drawFlash(AssetBitmaps& bitmaps, const LayerOrigin& origin, const bomb& b)
{
    const int greenPart = gameRandom() % 60 + 70;
    const int redPart = gameRandom() % 100 + 150;
    drawDisc(bitmaps, origin, b, FLASH_ALPHA, FLASH_RADIUS, makecol(redPart, greenPart, 0));
}
}  // namespace

void Game::updateBombs()
{
    layBomb();
    for (int i = 0; i < BOMB_SLOTS; ++i)
        if (bombs[i].armed) tickBomb(bombs[i]);
}

void Game::layBomb()
{
    ++bombCooldown;
    // The lost hero is hidden off the world: a bomb laid there would blast him again and again.
    if (gameOver == 1) return;
    if (!controls.bomb || bombCooldown <= LAY_COOLDOWN_FRAMES || bombCount <= 0) return;
    // Even with every slot in use the press counts, so holding B tries again 11 frames later.
    bombCooldown = 0;
    for (int i = 0; i < BOMB_SLOTS; ++i)
        if (!bombs[i].armed) {
            bombs[i].arm(heroActor.x, heroActor.y);
            --bombCount;
            return;
        }
}

bool Game::explosionCell(const bomb& b, PictureCell& cell)
{
    if (b.fuse < FUSE_FIRST_EXPLOSION || b.fuse >= FUSE_END) return false;
    cell.sourceX = EXPLOSION_FRAME_SIZE * bombFrame(b.fuse);
    cell.sourceY = 0;
    cell.x = b.x + HALF_BOMB - EXPLOSION_FRAME_SIZE / 2;
    cell.y = b.y + HALF_BOMB - EXPLOSION_FRAME_SIZE / 2;
    cell.width = EXPLOSION_FRAME_SIZE;
    cell.height = EXPLOSION_FRAME_SIZE;
    return true;
}

void Game::tickBomb(bomb& b)
{
    const int f = ++b.fuse;
    const LayerOrigin& origin = layerOrigin;
    if (f < FUSE_FIRST_EXPLOSION || (f >= FUSE_FIRST_BLAST && f <= FUSE_LAST_BLAST))
        openWorld(origin.layerX(b.x + HALF_BOMB - DRAWN_REACH), origin.layerY(b.y + HALF_BOMB - DRAWN_REACH),
                  2 * DRAWN_REACH + 1, 2 * DRAWN_REACH + 1);
    if (f < FUSE_FIRST_EXPLOSION) drawTickingBomb(bitmaps, origin, b);
    if (f == FUSE_ALARM) playSound(samples.alarmSample, 255);
    if (f >= FUSE_FIRST_BLAST && f <= FUSE_LAST_BLAST) drawFlash(bitmaps, origin, b);
    PictureCell explosion;
    if (explosionCell(b, explosion))
        drawGlow(bitmaps.explosionPicture, explosion.sourceX, explosion.sourceY, origin.layerX(explosion.x),
                 origin.layerY(explosion.y), explosion.width, explosion.height);
    if (f == FUSE_WALL_BLAST) blastWalls(b);
    if (f == FUSE_END) {
        b.armed = false;
        b.fuse = 0;
        playSound(samples.explosionSample, 255);
    }
}

int Game::bombFrame(int fuse)
{
    // Counting down through frames 1 to 4, then blinking between 0 and 4 every two frames.
    if (fuse < 35) return 0;
    if (fuse < 55) return (fuse - 35) / 5 + 1;
    if (fuse < FUSE_FIRST_EXPLOSION) return (fuse - 55) / 2 % 2 == 0 ? 0 : LAST_PICTURE_FRAME;
    // The explosion plays its five frames once.
    const int frame = fuse - FUSE_FIRST_EXPLOSION;
    return frame < LAST_PICTURE_FRAME ? frame : LAST_PICTURE_FRAME;
}

void Game::blastItems()
{
    for (int i = 0; i < BOMB_SLOTS; ++i) {
        const bomb& b = bombs[i];
        if (!blastIsLive(b)) continue;
        for (int d = 0; d < dynamiteCount; ++d)
            if (inBlast(b, dynamites[d])) dynamites[d].takeOffBoard();
        for (int t = 0; t < treasureCount; ++t)
            if (inBlast(b, treasures[t])) treasures[t].takeOffBoard();
        for (int k = 0; k < blockCount; ++k)
            if (inBlast(b, blocks[k])) takeBlockOffBoard(blocks[k]);
        // Coins are never destroyed: the maze must stay completable.
        for (const PowerUpKind& kind : POWER_UP_KINDS)
            if (inBlast(b, this->*kind.item)) (this->*kind.item).takeOffBoard();
    }
}

void Game::blastWalls(const bomb& b)
{
    const int x = b.x + HALF_BOMB, y = b.y + HALF_BOMB;
    wallGrid.blast(bitmaps.wallsBitmap, x, y);
    // Only the cells that change are painted again, once, when the blocks are back in place.
    changeObstaclesTogether([&] {
        const CellBox square = blastSquare(x, y);
        for (int c = square.firstColumn; c <= square.lastColumn; ++c)
            for (int r = square.firstRow; r <= square.lastRow; ++r) setObstacle(c, r, CELL_FLOOR);
        keepBlocksSolid();
    });
    // Newly opened floor loses its fog; the frozen board keeps its light, as the hidden
    // hero reaches nothing.
    if (gameOver != 1) updateReach(heroActor.x, heroActor.y);
}

void Game::takeBlockOffBoard(sprite& block)
{
    // A block that is gone must stop nothing, from the ghosts' very next step on.
    setObstacle(cellOf(block.x), cellOf(block.y), CELL_FLOOR);
    block.takeOffBoard();
}

void Game::keepBlocksSolid()
{
    // The wall blast empties every cell of its square, but a block beyond the blast's reach
    // survives in it: it must go on stopping ghosts, blocks and the beam where it is drawn.
    for (int k = 0; k < blockCount; ++k)
        if (blocks[k].x != OFF_BOARD) setObstacle(cellOf(blocks[k].x), cellOf(blocks[k].y), CELL_WALL);
}

void Game::blastGhosts()
{
    for (int i = 0; i < BOMB_SLOTS; ++i) {
        if (!blastIsLive(bombs[i])) continue;
        for (int j = 0; j < ghostCount; ++j)
            if (inBlast(bombs[i], ghosts[j])) killGhost(j);
    }
}

bool Game::blastHero()
{
    for (int i = 0; i < BOMB_SLOTS; ++i) {
        bomb& b = bombs[i];
        if (!blastIsLive(b) || !inBlast(b, heroActor)) continue;
        heroHit = true;
        playSound(samples.screamSample1, 255, 1200);
        // The bomb that caught the hero is spent: no walls blown, no explosion shown.
        b.fuse = 0;
        b.armed = false;
        if (gameOver != 1) --lives;
        return true;
    }
    return false;
}
