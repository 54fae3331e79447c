// Loading, creating and destroying the three bitmap groups.
#include "assets/asset_bitmaps.h"

#include <allegro.h>
#include <sys/mman.h>

#include <cstdint>

#include "world/grid_layer.h"

namespace {

constexpr std::uintptr_t PAGE_BYTES = 4096;

// A world-size layer. A frame reads and writes only the view of it, 640 short rows far apart in a
// large block; on small pages nearly every row costs a page-table walk, so the block asks the
// kernel for huge pages before it is first touched.
BITMAP* createWorldLayer(int width, int height)
{
    BITMAP* layer = create_bitmap(width, height);
#ifdef MADV_HUGEPAGE
    if (layer) {
        const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(layer->line[0]);
        const std::uintptr_t end = start + static_cast<std::uintptr_t>(width) * static_cast<std::uintptr_t>(height) * 4;
        const std::uintptr_t first = (start + PAGE_BYTES - 1) & ~(PAGE_BYTES - 1);
        if (end > first) madvise(reinterpret_cast<void*>(first), (end - first) & ~(PAGE_BYTES - 1), MADV_HUGEPAGE);
    }
#endif
    return layer;
}

BITMAP* loadPicture(const char* path) { return load_bitmap(path, default_palette); }

constexpr int MAGENTA_R = 255, MAGENTA_G = 0, MAGENTA_B = 255;

// Destroys a bitmap and forgets it, so a destroyed group can never be drawn by mistake.
void destroy(BITMAP*& bitmap)
{
    destroy_bitmap(bitmap);
    bitmap = nullptr;
}

}  // namespace

const std::vector<std::string>& pictureFiles()
{
    static const std::vector<std::string> files = {
        "_bmp/afisz.bmp",     "_bmp/buttons.bmp",     "_bmp/zorbinik.bmp",  "_bmp/alfabet.bmp",
        "_bmp/player.bmp",    "_bmp/led.bmp",         "_bmp/arrow.bmp",     "_bmp/teren.bmp",
        "_bmp/gameover.bmp",  "_bmp/sprites.bmp",     "_bmp/1PLN.bmp",      "_bmp/2PLN.bmp",
        "_bmp/5PLN.bmp",      "_bmp/bomba.bmp",       "_bmp/wybuch.bmp",    "_bmp/zor_death.bmp",
        "_bmp/tarcza.bmp",    "_bmp/buty.bmp",        "_bmp/zor_life.bmp",  "_bmp/rama.bmp",
        "_bmp/skarb.bmp",     "_bmp/x_generator.bmp", "_bmp/laser.bmp",     "_bmp/x_radar.bmp",
    };
    return files;
}

void AssetBitmaps::clearBitmapSlots() { *this = AssetBitmaps{}; }

void AssetBitmaps::loadFrontEndBitmaps()
{
    menuBuffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    posterPicture = loadPicture("_bmp/afisz.bmp");
    buttonsPicture = loadPicture("_bmp/buttons.bmp");
    heroPicture = loadPicture("_bmp/zorbinik.bmp");
    alphabetPicture = loadPicture("_bmp/alfabet.bmp");
    playerPicture = loadPicture("_bmp/player.bmp");
    ledPicture = loadPicture("_bmp/led.bmp");
    nameFieldBitmap = create_bitmap(NAME_FIELD_WIDTH, NAME_FIELD_HEIGHT);
    arrowPicture = loadPicture("_bmp/arrow.bmp");
}

void AssetBitmaps::loadGameBitmaps()
{
    // The strips take the screen's width, whatever window the library gave us.
    const int stripWidth = screen ? SCREEN_W : SCREEN_WIDTH;
    hudTop = create_bitmap(stripWidth, HUD_HEIGHT);
    hudBottom = create_bitmap(stripWidth, HUD_HEIGHT);
    debugPanel = create_bitmap(DEBUG_PANEL_WIDTH, DEBUG_PANEL_HEIGHT);
    glowScratch = create_bitmap(GLOW_SCRATCH_SIZE, GLOW_SCRATCH_SIZE);
    // The first frame shows the strips before the HUD has drawn them once: keep them black.
    if (hudTop) clear_to_color(hudTop, makecol(0, 0, 0));
    if (hudBottom) clear_to_color(hudBottom, makecol(0, 0, 0));
    terrainPicture = loadPicture("_bmp/teren.bmp");
    gameOverPicture = loadPicture("_bmp/gameover.bmp");
    spriteSheet = loadPicture("_bmp/sprites.bmp");
    coin1Picture = loadPicture("_bmp/1PLN.bmp");
    coin2Picture = loadPicture("_bmp/2PLN.bmp");
    coin5Picture = loadPicture("_bmp/5PLN.bmp");
    bombPicture = loadPicture("_bmp/bomba.bmp");
    explosionPicture = loadPicture("_bmp/wybuch.bmp");
    deathPicture = loadPicture("_bmp/zor_death.bmp");
    shieldPicture = loadPicture("_bmp/tarcza.bmp");
    shoesPicture = loadPicture("_bmp/buty.bmp");
    lifePicture = loadPicture("_bmp/zor_life.bmp");
    framePicture = loadPicture("_bmp/rama.bmp");
    treasurePicture = loadPicture("_bmp/skarb.bmp");
    generatorPicture = loadPicture("_bmp/x_generator.bmp");
    laserPicture = loadPicture("_bmp/laser.bmp");
    radarPicture = loadPicture("_bmp/x_radar.bmp");
}

void AssetBitmaps::createLevelLayers(int rows, int columns)
{
    const int width = columns * CELL_SIZE;
    const int height = rows * CELL_SIZE;
    backBuffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    // Nothing outside the view of these three is ever seen or read, and a small block of their
    // own keeps each frame's work in memory close together.
    worldBitmap = create_bitmap(VIEW_WIDTH, VIEW_HEIGHT);
    glowLayer = create_bitmap(VIEW_WIDTH, VIEW_HEIGHT);
    darkLayer = create_bitmap(VIEW_WIDTH, VIEW_HEIGHT);
    beamLayer = createWorldLayer(width, height);
    wallsBitmap = createWorldLayer(width, height);
    ghostMap = createWorldLayer(width, height);
    shadeMask = createWorldLayer(width, height);
    shadeLayer = createWorldLayer(width, height);
    messageLayer = createWorldLayer(width, height);
    radarBitmap = create_bitmap(columns * RADAR_CELL_SIZE, rows * RADAR_CELL_SIZE);
    const int magenta = makecol(MAGENTA_R, MAGENTA_G, MAGENTA_B);
    if (messageLayer) clear_to_color(messageLayer, magenta);
    // Only the cells the beam covered are wiped again, so the rest must start empty.
    if (beamLayer) clear_to_color(beamLayer, magenta);
}

bool AssetBitmaps::levelLayersComplete() const
{
    return backBuffer && worldBitmap && glowLayer && darkLayer && beamLayer && wallsBitmap && ghostMap && shadeMask &&
           shadeLayer && messageLayer && radarBitmap;
}

bool AssetBitmaps::gameBitmapsComplete() const
{
    return hudTop && hudBottom && debugPanel && glowScratch && terrainPicture && gameOverPicture &&
           spriteSheet && coin1Picture && coin2Picture && coin5Picture && bombPicture && explosionPicture &&
           deathPicture && shieldPicture && shoesPicture && lifePicture && framePicture && treasurePicture &&
           generatorPicture && laserPicture && radarPicture;
}

void AssetBitmaps::destroyFrontEndBitmaps()
{
    destroy(menuBuffer);
    destroy(posterPicture);
    destroy(buttonsPicture);
    destroy(heroPicture);
    destroy(alphabetPicture);
    destroy(playerPicture);
    destroy(ledPicture);
    destroy(nameFieldBitmap);
    destroy(arrowPicture);
}

void AssetBitmaps::destroyLevelLayers()
{
    destroy(backBuffer);
    destroy(worldBitmap);
    destroy(glowLayer);
    destroy(darkLayer);
    destroy(beamLayer);
    destroy(wallsBitmap);
    destroy(ghostMap);
    destroy(shadeMask);
    destroy(shadeLayer);
    destroy(messageLayer);
    destroy(radarBitmap);
}

void AssetBitmaps::destroyGameBitmaps()
{
    destroy(hudTop);
    destroy(hudBottom);
    destroy(debugPanel);
    destroy(glowScratch);
    destroy(terrainPicture);
    destroy(gameOverPicture);
    destroy(spriteSheet);
    destroy(coin1Picture);
    destroy(coin2Picture);
    destroy(coin5Picture);
    destroy(bombPicture);
    destroy(explosionPicture);
    destroy(deathPicture);
    destroy(shieldPicture);
    destroy(shoesPicture);
    destroy(lifePicture);
    destroy(framePicture);
    destroy(treasurePicture);
    destroy(generatorPicture);
    destroy(laserPicture);
    destroy(radarPicture);
}
