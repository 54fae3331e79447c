// The whole-world frame, step for step as the game drew it before its work was bounded by the
// view. The actor steps draw wherever they are let; here nothing is clipped.
#include "full_world_drawing.h"

#include <allegro.h>

#include <map>
#include <tuple>
#include <utility>

#include "shell/game.h"
#include "shell/random.h"

namespace {

// The game keeps its world picture and glow at view size, makes its darkness row by row as it
// lays it, and has no wall shadow or message scratch; this frame draws them whole, into
// world-size bitmaps of its own.
struct WholeLayers {
    BITMAP* world = nullptr;
    BITMAP* dark = nullptr;
    BITMAP* glow = nullptr;
    BITMAP* wallShadow = nullptr;
    BITMAP* messageScratch = nullptr;
    BITMAP* glowScratch = nullptr;  // where the game's own glow copies of the bombs and the beam go
};

std::map<const Game*, WholeLayers> kept;

WholeLayers& wholeLayersOf(const Game& game)
{
    WholeLayers& layers = kept[&game];
    const int width = game.bitmaps.wallsBitmap->w, height = game.bitmaps.wallsBitmap->h;
    if (!layers.world || layers.world->w != width || layers.world->h != height) {
        for (BITMAP** layer : {&layers.world, &layers.dark, &layers.glow, &layers.wallShadow, &layers.messageScratch,
                               &layers.glowScratch}) {
            if (*layer) destroy_bitmap(*layer);
            *layer = create_bitmap(width, height);
            clear_to_color(*layer, makecol(255, 0, 255));
        }
    }
    return layers;
}

// The whole-world layers stand in for the game's view-size ones while the frame draws and presents.
class WholeLayersInPlace {
public:
    explicit WholeLayersInPlace(Game& game) : bitmaps(game.bitmaps), layers(wholeLayersOf(game))
    {
        std::swap(bitmaps.worldBitmap, layers.world);
        std::swap(bitmaps.glowLayer, layers.glow);
        game.layerOrigin = LayerOrigin{};
    }
    ~WholeLayersInPlace()
    {
        std::swap(bitmaps.worldBitmap, layers.world);
        std::swap(bitmaps.glowLayer, layers.glow);
    }
    WholeLayersInPlace(const WholeLayersInPlace&) = delete;
    WholeLayersInPlace& operator=(const WholeLayersInPlace&) = delete;

    AssetBitmaps& bitmaps;
    WholeLayers& layers;  // while in place: the game's own view-size layers, and the extra ones
};

int dim(int c, double f) { return static_cast<int>(c - c * f); }
int magenta() { return makecol(255, 0, 255); }

void prepareLightLayers(Game& game, BITMAP* dark)
{
    clear_to_color(game.bitmaps.glowLayer, magenta());
    clear_to_color(dark, makecol(0, 0, 0));
    const int cx = game.heroActor.x + 20;
    const int cy = game.heroActor.y + 20;
    circlefill(dark, cx, cy, 600, makecol(10, 10, 10));
    circlefill(dark, cx, cy, 500, makecol(20, 20, 20));
    circlefill(dark, cx, cy, 400, magenta());
}

void drawBackground(Game& game, BITMAP* shadow)
{
    BITMAP* world = game.bitmaps.worldBitmap;
    const int r = game.backgroundRed, g = game.backgroundGreen, b = game.backgroundBlue;
    clear_to_color(world, makecol(r, g, b));
    const int cx = game.heroActor.x + 20;
    const int cy = game.heroActor.y + 20;
    if (game.hasShield) {
        for (int i = 1; i <= 2; ++i) {
            const int d = gameRandom() % (30 * i);
            circlefill(world, cx, cy, 100 - 15 * i, makecol(r, g, b + 2 * d));
        }
    } else {
        circlefill(world, cx, cy, 180, makecol(r + 3, g + 3, b + 3));
        circlefill(world, cx, cy, 140, makecol(r + 12, g + 10, b + 10));
        circlefill(world, cx, cy, 100, makecol(r + 17, g + 15, b + 15));
    }
    circlefill(world, game.heroActor.x + 10, game.heroActor.y + 10, 20, makecol(dim(r, 0.2), dim(g, 0.2), dim(b, 0.2)));

    game.wallGrid.paintCells(shadow, 255, 0, 255, dim(r, 0.4), dim(g, 0.4), dim(b, 0.4), CELL_SIZE);
    for (int i = 1; i <= 3; ++i) masked_blit(shadow, world, 0, 0, i, i, shadow->w, shadow->h);

    const int blockShadow = makecol(dim(r, 0.6), dim(g, 0.6), dim(b, 0.6));
    for (int i = 0; i < game.blockCount; ++i) {
        const sprite& block = game.blocks[i];
        rectfill(world, block.x + 3, block.y + 3, block.x + 43, block.y + 43, blockShadow);
    }

    for (int i = 0; i < game.ghostCount; ++i) {
        const ghost& gh = game.ghosts[i];
        for (int j = 1; j <= 2; ++j) {
            const int d = gameRandom() % (20 * j);
            const int e = gameRandom() % (10 * j);
            int radius = 60 - 15 * j;
            int colour = 0;
            switch (gh.kind) {
            case 0: colour = makecol(r + d, g, b); break;
            case 1: colour = makecol(r + d, g + e, b); break;
            case 2: colour = makecol(r + d, g, b + d); break;
            case 3: colour = makecol(r, g + d, b + d); break;
            case 4: colour = makecol(r + d, g, b + e); break;
            case 5:
                colour = makecol(r, g, b + 2 * d);
                radius *= 2;
                break;
            default: continue;
            }
            circlefill(world, gh.x + 20, gh.y + 20, radius, colour);
        }
    }
}

// The walls, the actors and the glow drawn by the library's own masked copy, not the game's loops,
// so a fault of those loops shows as a difference. Each cell is 40 x 40 at its sheet cell.
void drawCell(BITMAP* picture, BITMAP* target, int column, int row, const sprite& s)
{
    masked_blit(picture, target, column * 40, row * 40, s.x, s.y, 40, 40);
}

void drawActors(Game& game)
{
    AssetBitmaps& b = game.bitmaps;
    BITMAP* world = b.worldBitmap;
    masked_blit(b.wallsBitmap, world, 0, 0, 0, 0, world->w, world->h);

    hero& h = game.heroActor;
    if (game.walkClock < 20)
        h.frame = HERO_SHEET_COLUMN;
    else if (game.walkClock < 40)
        h.frame = HERO_SHEET_COLUMN + 1;
    drawCell(b.spriteSheet, world, h.frame, h.row, h);

    const std::pair<BITMAP*, std::pair<const sprite*, std::int32_t>> items[] = {
        {b.shieldPicture, {&game.shieldItem, game.shieldAbsent}},
        {b.generatorPicture, {&game.generatorItem, game.generatorAbsent}},
        {b.radarPicture, {&game.radarItem, game.radarAbsent}},
        {b.lifePicture, {&game.lifeItem, game.lifeAbsent}},
        {b.shoesPicture, {&game.shoesItem, game.shoesAbsent}}};
    for (const auto& [picture, item] : items)
        if (item.second == 0) drawCell(picture, world, 0, 0, *item.first);
    for (int i = 0; i < game.dynamiteCount; ++i) drawCell(b.bombPicture, world, 0, 0, game.dynamites[i]);
    for (int i = 0; i < game.treasureCount; ++i) drawCell(b.treasurePicture, world, 0, 0, game.treasures[i]);
    const int coinFrame = game.coinClock / 4;
    for (auto [picture, coins, n] : {std::tuple{b.coin1Picture, game.coins1, game.coin1Count},
                                     {b.coin2Picture, game.coins2, game.coin2Count},
                                     {b.coin5Picture, game.coins5, game.coin5Count}})
        for (int i = 0; i < n; ++i) drawCell(picture, b.glowLayer, coinFrame, 0, coins[i]);
}

// After the bombs, which the game draws as it ticks them.
void drawBlocksAndGhosts(Game& game)
{
    AssetBitmaps& b = game.bitmaps;
    for (int i = 0; i < game.blockCount; ++i)
        drawCell(b.terrainPicture, b.worldBitmap, game.blocks[i].frame, 0, game.blocks[i]);
    for (int i = 0; i < game.ghostCount; ++i) {
        ghost& g = game.ghosts[i];
        if (game.walkClock < 40) {
            g.frame = ghostSheetColumn(g.kind) + (game.walkClock < 20 ? 0 : 1);
            if (g.kind == HUNTER_KIND) g.row = 0;
        }
        drawCell(b.spriteSheet, b.glowLayer, g.frame, g.row, g);
    }
}

// Runs a drawing of the game's with the glow layer standing in for it by a scratch layer.
template <typename Drawing>
void withScratchGlow(Game& game, BITMAP* scratch, Drawing drawing)
{
    BITMAP* glow = game.bitmaps.glowLayer;
    game.bitmaps.glowLayer = scratch;
    drawing();
    game.bitmaps.glowLayer = glow;
}

// The game ticks the bombs, and draws their explosions' glow into a scratch layer with its own
// loops; the library's masked copy draws them into the glow where the game's cells say.
void tickBombs(Game& game, BITMAP* scratch)
{
    AssetBitmaps& b = game.bitmaps;
    BITMAP* glow = b.glowLayer;
    withScratchGlow(game, scratch, [&] { game.updateBombs(); });
    for (int i = 0; i < BOMB_SLOTS; ++i) {
        PictureCell cell;
        if (game.bombs[i].armed && Game::explosionCell(game.bombs[i], cell))
            masked_blit(b.explosionPicture, glow, cell.sourceX, cell.sourceY, cell.x, cell.y, cell.width, cell.height);
    }
}

// The game walks the beam, drawing its glow into a scratch layer with its own loops and the beam
// layer with the library's; the glow takes the library's beam from the beam layer, which holds
// this frame's beam alone on magenta.
void drawBeam(Game& game, BITMAP* scratch)
{
    AssetBitmaps& b = game.bitmaps;
    BITMAP* glow = b.glowLayer;
    withScratchGlow(game, scratch, [&] { game.drawBeam(); });
    masked_blit(b.beamLayer, glow, 0, 0, 0, 0, glow->w, glow->h);
}

void layOver(BITMAP* target, BITMAP* layer, int red, int green, int blue, int alpha, int x, int y)
{
    set_trans_blender(red, green, blue, alpha);
    draw_trans_sprite(target, layer, x, y);
}

}  // namespace

void drawWholeWorldFrame(Game& game)
{
    const WholeLayersInPlace whole(game);
    // The hit test reads the game's beam layer, which the game wipes where the last beam was.
    game.eraseLastBeam();
    game.obstacleGrid.paintCells(game.bitmaps.ghostMap, 255, 0, 255, 0, 255, 0, CELL_SIZE);
    prepareLightLayers(game, whole.layers.dark);
    drawBackground(game, whole.layers.wallShadow);
    drawActors(game);
    tickBombs(game, whole.layers.glowScratch);
    drawBlocksAndGhosts(game);
    if (game.beamFiring()) drawBeam(game, whole.layers.glowScratch);
    game.drawRadar();
}

BITMAP* wholeWorldGlow(const Game& game) { return wholeLayersOf(game).glow; }

BITMAP* wholeWorldPicture(const Game& game) { return wholeLayersOf(game).world; }

void discardGame(Game*& game)
{
    if (!game) return;
    const auto found = kept.find(game);
    if (found != kept.end()) {
        WholeLayers& layers = found->second;
        for (BITMAP* layer :
             {layers.world, layers.dark, layers.glow, layers.wallShadow, layers.messageScratch, layers.glowScratch})
            if (layer) destroy_bitmap(layer);
        kept.erase(found);
    }
    game->bitmaps.destroyLevelLayers();
    game->bitmaps.destroyGameBitmaps();
    game->releaseAssets();
    delete game;
    game = nullptr;
}

void presentWholeWorldFrame(Game& game, BITMAP* target)
{
    const WholeLayersInPlace whole(game);
    AssetBitmaps& b = game.bitmaps;
    BITMAP* back = b.backBuffer;
    const int mapX = game.mapX, mapY = game.mapY;
    masked_blit(b.worldBitmap, back, mapX, mapY, 0, 40, back->w, back->h - 80);
    layOver(back, b.glowLayer, 255, 255, 0, 200, -mapX, 40 - mapY);
    layOver(back, whole.layers.dark, 0, 0, 0, 120, -mapX, 40 - mapY);
    layOver(back, b.shadeLayer, 0, 0, 0, 200, -mapX, 40 - mapY);
    if (game.gameOver == 1) {
        BITMAP* picture = b.gameOverPicture;
        masked_blit(picture, back, 0, 0, (back->w - picture->w) / 2, (back->h - picture->h) / 2, picture->w,
                    picture->h);
    }
    // The rise by copying: the layer never turns, so the message writers draw it as it stands.
    BITMAP* messages = b.messageLayer;
    BITMAP* scratch = whole.layers.messageScratch;
    masked_blit(messages, scratch, 0, 3, 0, 0, messages->w, messages->h);
    clear_to_color(messages, magenta());
    masked_blit(scratch, messages, 0, 0, 0, 0, scratch->w, scratch->h);
    layOver(back, scratch, 255, 255, 255, 125, -mapX, -mapY);
    clear_to_color(scratch, magenta());
    if (game.hasRadar) {
        BITMAP* radar = b.radarBitmap;
        layOver(back, radar, 255, 255, 0, 150, back->w - radar->w - 10, back->h - radar->h - 50);
    }
    blit(b.hudTop, back, 0, 0, 0, 0, b.hudTop->w, b.hudTop->h);
    blit(b.hudBottom, back, 0, 0, 0, back->h - 40, b.hudBottom->w, b.hudBottom->h);
    if (target) blit(back, target, 0, 0, 0, 0, back->w, back->h);
    game.drawHudTo(target);
}
