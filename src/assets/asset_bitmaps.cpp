// Loading, creating and destroying the three bitmap groups.
#include "assets/asset_bitmaps.h"

#include <allegro.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "world/colours.h"
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

// Destroys a bitmap and forgets it, so a destroyed group can never be drawn by mistake.
void destroy(BITMAP*& bitmap)
{
    destroy_bitmap(bitmap);
    bitmap = nullptr;
}

// One bitmap of a group: a picture names the file it is loaded from, a bitmap the game
// creates names none (its size is given where the group is made).
struct BitmapSlot {
    BITMAP* AssetBitmaps::*member;
    const char* path;
};

// Each group's table drives its loading, its completeness check and its destruction.
const BitmapSlot FRONT_END_GROUP[] = {
    {&AssetBitmaps::menuBuffer, nullptr},
    {&AssetBitmaps::posterPicture, "_bmp/afisz.bmp"},
    {&AssetBitmaps::buttonsPicture, "_bmp/buttons.bmp"},
    {&AssetBitmaps::heroPicture, "_bmp/zorbinik.bmp"},
    {&AssetBitmaps::alphabetPicture, "_bmp/alfabet.bmp"},
    {&AssetBitmaps::playerPicture, "_bmp/player.bmp"},
    {&AssetBitmaps::ledPicture, "_bmp/led.bmp"},
    {&AssetBitmaps::nameFieldBitmap, nullptr},
    {&AssetBitmaps::arrowPicture, "_bmp/arrow.bmp"},
};

const BitmapSlot GAME_GROUP[] = {
    {&AssetBitmaps::hudTop, nullptr},
    {&AssetBitmaps::hudBottom, nullptr},
    {&AssetBitmaps::debugPanel, nullptr},
    {&AssetBitmaps::terrainPicture, "_bmp/teren.bmp"},
    {&AssetBitmaps::gameOverPicture, "_bmp/gameover.bmp"},
    {&AssetBitmaps::spriteSheet, "_bmp/sprites.bmp"},
    {&AssetBitmaps::coin1Picture, "_bmp/1PLN.bmp"},
    {&AssetBitmaps::coin2Picture, "_bmp/2PLN.bmp"},
    {&AssetBitmaps::coin5Picture, "_bmp/5PLN.bmp"},
    {&AssetBitmaps::bombPicture, "_bmp/bomba.bmp"},
    {&AssetBitmaps::explosionPicture, "_bmp/wybuch.bmp"},
    {&AssetBitmaps::deathPicture, "_bmp/zor_death.bmp"},
    {&AssetBitmaps::shieldPicture, "_bmp/tarcza.bmp"},
    {&AssetBitmaps::shoesPicture, "_bmp/buty.bmp"},
    {&AssetBitmaps::lifePicture, "_bmp/zor_life.bmp"},
    {&AssetBitmaps::framePicture, "_bmp/rama.bmp"},
    {&AssetBitmaps::treasurePicture, "_bmp/skarb.bmp"},
    {&AssetBitmaps::generatorPicture, "_bmp/x_generator.bmp"},
    {&AssetBitmaps::laserPicture, "_bmp/laser.bmp"},
    {&AssetBitmaps::radarPicture, "_bmp/x_radar.bmp"},
};

const BitmapSlot LEVEL_GROUP[] = {
    // A band goes before its frame, as a part before the whole.
    {&AssetBitmaps::firstBand, nullptr},   {&AssetBitmaps::secondBand, nullptr},
    {&AssetBitmaps::firstFrame, nullptr},  {&AssetBitmaps::secondFrame, nullptr},
    {&AssetBitmaps::glowLayer, nullptr},   {&AssetBitmaps::beamLayer, nullptr},
    {&AssetBitmaps::wallsBitmap, nullptr}, {&AssetBitmaps::ghostMap, nullptr},
    {&AssetBitmaps::shadeMask, nullptr},   {&AssetBitmaps::shadeLayer, nullptr},
    {&AssetBitmaps::messageLayer, nullptr}, {&AssetBitmaps::radarBitmap, nullptr},
};

template <std::size_t N>
void loadPictures(AssetBitmaps& bitmaps, const BitmapSlot (&group)[N])
{
    std::string problem;
    for (const BitmapSlot& slot : group)
        if (slot.path) bitmaps.*slot.member = loadPicture(slot.path, problem);
}

template <std::size_t N>
bool groupComplete(const AssetBitmaps& bitmaps, const BitmapSlot (&group)[N])
{
    for (const BitmapSlot& slot : group)
        if (!(bitmaps.*slot.member)) return false;
    return true;
}

template <std::size_t N>
void destroyGroup(AssetBitmaps& bitmaps, const BitmapSlot (&group)[N])
{
    for (const BitmapSlot& slot : group) destroy(bitmaps.*slot.member);
}

}  // namespace

const std::vector<std::string>& pictureFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> paths;
        for (const BitmapSlot& slot : FRONT_END_GROUP)
            if (slot.path) paths.push_back(slot.path);
        for (const BitmapSlot& slot : GAME_GROUP)
            if (slot.path) paths.push_back(slot.path);
        return paths;
    }();
    return files;
}

void AssetBitmaps::clearBitmapSlots() { *this = AssetBitmaps{}; }

void AssetBitmaps::loadFrontEndBitmaps()
{
    menuBuffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    nameFieldBitmap = create_bitmap(NAME_FIELD_WIDTH, NAME_FIELD_HEIGHT);
    loadPictures(*this, FRONT_END_GROUP);
}

void AssetBitmaps::loadGameBitmaps()
{
    // The strips are the picture's width, whatever size the screen shows it at.
    const int stripWidth = SCREEN_WIDTH;
    hudTop = create_bitmap(stripWidth, HUD_HEIGHT);
    hudBottom = create_bitmap(stripWidth, HUD_HEIGHT);
    debugPanel = create_bitmap(DEBUG_PANEL_WIDTH, DEBUG_PANEL_HEIGHT);
    // The first frame shows the strips before the HUD has drawn them once: keep them black.
    if (hudTop) clear_to_color(hudTop, makecol(0, 0, 0));
    if (hudBottom) clear_to_color(hudBottom, makecol(0, 0, 0));
    loadPictures(*this, GAME_GROUP);
}

void AssetBitmaps::createLevelLayers(int rows, int columns)
{
    const int width = columns * CELL_SIZE;
    const int height = rows * CELL_SIZE;
    firstFrame = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    secondFrame = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (firstFrame) firstBand = create_sub_bitmap(firstFrame, 0, HUD_HEIGHT, VIEW_WIDTH, VIEW_HEIGHT);
    if (secondFrame) secondBand = create_sub_bitmap(secondFrame, 0, HUD_HEIGHT, VIEW_WIDTH, VIEW_HEIGHT);
    backBuffer = firstFrame;
    drawnFrame = secondFrame;
    worldBitmap = secondBand;
    // Nothing outside the view of these is ever seen or read, and a small block of their own
    // keeps each frame's work in memory close together.
    glowLayer = create_bitmap(VIEW_WIDTH, VIEW_HEIGHT);
    beamLayer = createWorldLayer(width, height);
    wallsBitmap = createWorldLayer(width, height);
    ghostMap = createWorldLayer(width, height);
    shadeMask = createWorldLayer(width, height);
    shadeLayer = createWorldLayer(width, height);
    messageLayer = createWorldLayer(width, height);
    radarBitmap = create_bitmap(columns * RADAR_CELL_SIZE, rows * RADAR_CELL_SIZE);
    const int magenta = seeThrough();
    if (messageLayer) clear_to_color(messageLayer, magenta);
    // Frames wipe only where they drew into the glow.
    if (glowLayer) clear_to_color(glowLayer, magenta);
    // Only the cells the beam covered are wiped again, so the rest must start empty.
    if (beamLayer) clear_to_color(beamLayer, magenta);
}

bool AssetBitmaps::levelLayersComplete() const { return groupComplete(*this, LEVEL_GROUP); }

bool AssetBitmaps::gameBitmapsComplete() const { return groupComplete(*this, GAME_GROUP); }

void AssetBitmaps::destroyFrontEndBitmaps() { destroyGroup(*this, FRONT_END_GROUP); }

void AssetBitmaps::destroyLevelLayers()
{
    destroyGroup(*this, LEVEL_GROUP);
    destroy(screenBand);
    backBuffer = drawnFrame = worldBitmap = screenFrame = nullptr;
}

void AssetBitmaps::drawIntoFrameNotShown(BITMAP* onScreen, int generation)
{
    if (onScreen && (onScreen != screenFrame || generation != screenFrameGeneration)) {
        destroy(screenBand);
        screenBand = create_sub_bitmap(onScreen, 0, HUD_HEIGHT, VIEW_WIDTH, VIEW_HEIGHT);
        screenFrame = screenBand ? onScreen : nullptr;
        screenFrameGeneration = generation;
    }
    if (onScreen && screenBand) {
        drawnFrame = screenFrame;
        worldBitmap = screenBand;
        return;
    }
    if (drawnFrame != backBuffer && drawnFrame != screenFrame) return;
    const bool first = backBuffer == firstFrame;
    drawnFrame = first ? secondFrame : firstFrame;
    worldBitmap = first ? secondBand : firstBand;
}

void AssetBitmaps::composedDrawnFrame() { backBuffer = drawnFrame; }

void AssetBitmaps::destroyGameBitmaps() { destroyGroup(*this, GAME_GROUP); }
