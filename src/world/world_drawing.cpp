// World drawing: the darkness around the hero, the level's background with its lights and
// shadows, the glow, the plasma beam and the radar mini-map; and what keeps a frame's work to the
// view: the view-size layers following the view, the walls and their shadows made from the cells
// in view, and the last beam wiped cell by cell.
#include <allegro.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "actors/kinds.h"
#include "shell/game.h"
#include "shell/random.h"
#include "shell/screen_mode.h"
#include "world/colours.h"
#include "world/pixel_loops.h"

namespace {

// The darkness: two grey rings, then the clear disc around the hero.
constexpr int DARK_OUTER_RADIUS = 600;
constexpr int DARK_OUTER_GREY = 10;
constexpr int DARK_INNER_RADIUS = 500;
constexpr int DARK_INNER_GREY = 20;
constexpr int LIT_RADIUS = 400;
constexpr int DARKNESS_RINGS = 3;
static_assert(DARKNESS_RINGS <= MAX_DISCS && DARK_OUTER_RADIUS <= MAX_DISC_RADIUS, "the darkness is made row by row");

// The hero's light without the shield: three discs, each a little brighter than the last.
struct LightDisc {
    int radius, red, green, blue;  // radius in pixels, colour added to the background
};
constexpr LightDisc HERO_LIGHT[] = {{180, 3, 3, 3}, {140, 12, 10, 10}, {100, 17, 15, 15}};

// The shield's halo: for i = 1, 2 a disc of radius 100 - 15 i, blue flickering by up to 30 i.
constexpr int SHIELD_HALO_RINGS = 2;
constexpr int SHIELD_HALO_BASE_RADIUS = 100;
constexpr int SHIELD_HALO_RADIUS_STEP = 15;
constexpr int SHIELD_FLICKER_STEP = 30;
constexpr int SHIELD_BLUE_GAIN = 2;

// The darker spot under the hero, up and left of his centre.
constexpr int HERO_SPOT_OFFSET = 10;
constexpr int HERO_SPOT_RADIUS = 20;
constexpr double HERO_SPOT_DIM = 0.2;

constexpr double WALL_SHADOW_DIM = 0.4;
constexpr double BLOCK_SHADOW_DIM = 0.6;
constexpr int BLOCK_SHADOW_OFFSET = 3;

// Ghost lights: for j = 1, 2 a disc of radius 60 - 15 j, colour flickering by up to 20 j and 10 j.
constexpr int GHOST_LIGHT_RINGS = 2;
constexpr int GHOST_LIGHT_BASE_RADIUS = 60;
constexpr int GHOST_LIGHT_RADIUS_STEP = 15;
constexpr int GHOST_FLICKER_STEP = 20;
constexpr int GHOST_TINT_STEP = 10;
constexpr int HUNTER_LIGHT_SCALE = 2;

// The beam: 24 animation frames; horizontal pieces in the laser picture's top row, vertical below.
constexpr int BEAM_FRAME_CYCLE = 24;
constexpr int BEAM_FRAMES_PER_STEP = 4;
constexpr int BEAM_HORIZONTAL_ROW = 0;
constexpr int BEAM_VERTICAL_ROW = CELL_SIZE;
constexpr int BEAM_VOLUME = 255;

// The radar's tints, its dots and its sweep ring.
constexpr int RADAR_TINT_BASE = 150;
constexpr int RADAR_TINT_RANGE = 105;
constexpr int RADAR_DARK_RANGE = 50;
constexpr int RADAR_HERO_OFFSET = 5;  // the hero's dot sits one pixel further in than a coin's
constexpr int RADAR_COIN_OFFSET = 4;
constexpr int RADAR_DOT_RADIUS = 5;
constexpr int RADAR_CROSS_REACH = 400;
constexpr int RADAR_SWEEP_STEP = 10;
constexpr int RADAR_SWEEP_END = 250;
constexpr int RADAR_ECHO_GAP = 15;  // the second ring trails the first by this many pixels

// The background colour darkened by a fraction f: c - c f, truncated.
int dim(int c, double f) { return static_cast<int>(c - c * f); }


// The hero's light about (cx, cy) on a background of (r, g, b): a flickering blue halo while
// shielded, a soft warm glow otherwise. Returns the number of discs; the spot comes after them.
constexpr int MAX_HERO_LIGHTS = std::size(HERO_LIGHT) + 1;
static_assert(SHIELD_HALO_RINGS < MAX_HERO_LIGHTS, "the halo's rings and the spot fit the lights");
int heroLights(bool shielded, int cx, int cy, int r, int g, int b, Disc* lights)
{
    int count = 0;
    if (shielded) {
        for (int i = 1; i <= SHIELD_HALO_RINGS; ++i) {
            const int d = gameRandom() % (SHIELD_FLICKER_STEP * i);
            lights[count++] = {cx, cy, SHIELD_HALO_BASE_RADIUS - SHIELD_HALO_RADIUS_STEP * i,
                               makecol(r, g, b + SHIELD_BLUE_GAIN * d)};
        }
    } else {
        for (const LightDisc& disc : HERO_LIGHT)
            lights[count++] = {cx, cy, disc.radius, makecol(r + disc.red, g + disc.green, b + disc.blue)};
    }
    return count;
}

}  // namespace

void Game::prepareLightLayers()
{
    wipeDrawn(bitmaps.glowLayer, glowDrawn, seeThrough());
    glowPictures.clear();
    const int cx = layerOrigin.layerX(heroActor.x + HALF_ACTOR);
    const int cy = layerOrigin.layerY(heroActor.y + HALF_ACTOR);
    darkness.background = makecol(0, 0, 0);
    darkness.discs[0] = {cx, cy, DARK_OUTER_RADIUS, makecol(DARK_OUTER_GREY, DARK_OUTER_GREY, DARK_OUTER_GREY)};
    darkness.discs[1] = {cx, cy, DARK_INNER_RADIUS, makecol(DARK_INNER_GREY, DARK_INNER_GREY, DARK_INNER_GREY)};
    darkness.discs[2] = {cx, cy, LIT_RADIUS, seeThrough()};
    darkness.discCount = DARKNESS_RINGS;
}

void Game::drawGlow(BITMAP* picture, int sourceX, int sourceY, int x, int y, int width, int height)
{
    // Marked wherever the copy may reach, so the frame lays the glow there and wipes it after.
    glowDrawn.mark(x, y, x + width, y + height);
    glowPictures.push_back({picture, sourceX, sourceY, width, height, x, y});
    askForArea(bitmaps.glowLayer, x, y, width, height);
    copyMasked(picture, bitmaps.glowLayer, sourceX, sourceY, x, y, width, height);
}

void Game::drawBackground()
{
    BITMAP* world = bitmaps.worldBitmap;
    const int r = backgroundRed, g = backgroundGreen, b = backgroundBlue;

    // The picture holds only the view.
    const LayerOrigin& origin = layerOrigin;
    gatherWallRows();

    // The hero's light, then the darker spot under him, then the walls' shadows, then what lies
    // under the walls, then the walls, in one pass.
    Disc lights[MAX_HERO_LIGHTS];
    const int lightCount = heroLights(hasShield, origin.layerX(heroActor.x + HALF_ACTOR),
                                      origin.layerY(heroActor.y + HALF_ACTOR), r, g, b, lights);
    lights[lightCount] = {origin.layerX(heroActor.x + HERO_SPOT_OFFSET), origin.layerY(heroActor.y + HERO_SPOT_OFFSET),
                          HERO_SPOT_RADIUS, makecol(dim(r, HERO_SPOT_DIM), dim(g, HERO_SPOT_DIM), dim(b, HERO_SPOT_DIM))};
    // Block shadows and ghost lights lie over the wall shadows, but under the walls.
    const int blockShadow = makecol(dim(r, BLOCK_SHADOW_DIM), dim(g, BLOCK_SHADOW_DIM), dim(b, BLOCK_SHADOW_DIM));
    underWallBoxes.clear();
    for (int i = 0; i < blockCount; ++i) {
        const sprite& block = blocks[i];
        const int x = origin.layerX(block.x + BLOCK_SHADOW_OFFSET);
        const int y = origin.layerY(block.y + BLOCK_SHADOW_OFFSET);
        underWallBoxes.push_back({x, y, x + ACTOR_SIZE, y + ACTOR_SIZE, blockShadow});
    }
    gatherGhostLights();
    UnderWalls under;
    under.boxes = underWallBoxes.data();
    under.boxCount = static_cast<int>(underWallBoxes.size());
    under.discs = underWallDiscs.data();
    under.discCount = static_cast<int>(underWallDiscs.size());
    under.walls = bitmaps.wallsBitmap;
    under.wallsX = origin.x;
    under.wallsY = origin.y;
    worldFilled.clear();
    backgroundPending = backgroundFill.prepare(world, makecol(r, g, b), lights, lightCount + 1, wallRows, under);
    if (!backgroundPending) fillWithDiscsUnder(world, makecol(r, g, b), lights, lightCount + 1, wallRows, under);
}

void Game::openWorld(int x, int y, int width, int height)
{
    if (!backgroundPending) return;
    BITMAP* world = bitmaps.worldBitmap;
    askForArea(world, x, y, width, height);
    worldFilled.markNew(x, y, x + width, y + height,
                        [&](int row, int left, int right) { backgroundFill.fill(world, row, left, right); });
}

void Game::finishBackground()
{
    openWorld(0, 0, VIEW_WIDTH, VIEW_HEIGHT);
    drawBlockPictures(nullptr);
}

void Game::reserveUnderWalls()
{
    underWallBoxes.reserve(static_cast<std::size_t>(blockCount));
    underWallDiscs.reserve(static_cast<std::size_t>(ghostCount) * GHOST_LIGHT_RINGS);
    blockPictures.reserve(static_cast<std::size_t>(blockCount));
    keptBand.blocks.reserve(blockPictures.capacity());
    // The coins and ghosts, with room for a beam across the maze and the bombs' explosions.
    glowPictures.reserve(static_cast<std::size_t>(coin1Count + coin2Count + coin5Count + ghostCount +
                                                  std::max(rows, columns) + BOMB_SLOTS));
    keptBand.glows.reserve(glowPictures.capacity());
    keptBand.boxes.reserve(underWallBoxes.capacity());
    keptBand.discs.reserve(underWallDiscs.capacity());
}

void Game::gatherWallRows()
{
    const LayerOrigin& origin = layerOrigin;
    const int r = backgroundRed, g = backgroundGreen, b = backgroundBlue;
    wallRows.shadow = makecol(dim(r, WALL_SHADOW_DIM), dim(g, WALL_SHADOW_DIM), dim(b, WALL_SHADOW_DIM));
    wallRows.clear();
    // The cells in view, and those left of and above it whose shadows reach in.
    const int firstColumn = std::max(cellOf(origin.x) - 1, 0);
    const int firstRow = std::max(cellOf(origin.y) - 1, 0);
    const int lastColumn = std::min(cellOf(origin.x + VIEW_WIDTH - 1), wallGrid.columnCount - 1);
    const int lastRow = std::min(cellOf(origin.y + VIEW_HEIGHT - 1), wallGrid.rowCount - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        wallRows.addRow(origin.layerY(row * CELL_SIZE));
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (wallGrid.getCell(column, row) != CELL_WALL) continue;
            const int first = column;
            while (column < lastColumn && wallGrid.getCell(column + 1, row) == CELL_WALL) ++column;
            wallRows.addRun(origin.layerX(first * CELL_SIZE), origin.layerX((column + 1) * CELL_SIZE));
        }
    }
}

void Game::gatherGhostLights()
{
    const LayerOrigin& origin = layerOrigin;
    const int r = backgroundRed, g = backgroundGreen, b = backgroundBlue;
    // The colour tells the kind; the hunter's light is twice as wide and blue.
    underWallDiscs.clear();
    for (int i = 0; i < ghostCount; ++i) {
        const ghost& gh = ghosts[i];
        for (int j = 1; j <= GHOST_LIGHT_RINGS; ++j) {
            const int d = gameRandom() % (GHOST_FLICKER_STEP * j);
            const int e = gameRandom() % (GHOST_TINT_STEP * j);
            int radius = GHOST_LIGHT_BASE_RADIUS - GHOST_LIGHT_RADIUS_STEP * j;
            int colour = 0;
            switch (gh.kind) {
            case 0: colour = makecol(r + d, g, b); break;
            case 1: colour = makecol(r + d, g + e, b); break;
            case 2: colour = makecol(r + d, g, b + d); break;
            case 3: colour = makecol(r, g + d, b + d); break;
            case 4: colour = makecol(r + d, g, b + e); break;
            case HUNTER_KIND:
                colour = makecol(r, g, b + 2 * d);
                radius *= HUNTER_LIGHT_SCALE;
                break;
            default: continue;
            }
            underWallDiscs.push_back({origin.layerX(gh.x + HALF_ACTOR), origin.layerY(gh.y + HALF_ACTOR), radius, colour});
        }
    }
}

void Game::drawBeam()
{
    if (!beamFiring() || heroActor.x <= 0) return;
    const int row = cellOf(heroActor.y + HALF_ACTOR);
    const int column = cellOf(heroActor.x + HALF_ACTOR);

    // Walk from the hero's cell in the firing direction until a wall or a block stops the beam.
    const GridStep step = directionStep(heroActor.direction);
    const int dColumn = step.column, dRow = step.row;
    const int sourceY = dRow == 0 ? BEAM_HORIZONTAL_ROW : BEAM_VERTICAL_ROW;
    // Remembered, so the next frame can wipe exactly these cells.
    beamFirstColumn = column + dColumn;
    beamFirstRow = row + dRow;
    beamStepColumn = dColumn;
    beamStepRow = dRow;
    beamCellCount = 0;
    if (dColumn != 0 || dRow != 0) {
        for (int c = column + dColumn, r = row + dRow; obstacleGrid.contains(c, r); c += dColumn, r += dRow) {
            if (obstacleGrid.getCell(c, r) == CELL_WALL) break;
            drawBeamSegment(c * CELL_SIZE, r * CELL_SIZE, sourceY);
            ++beamCellCount;
        }
    }

    // Started again every frame, so the hum lasts exactly as long as the beam.
    playSound(samples.beamSample, BEAM_VOLUME);
    if (beamFrame == BEAM_FRAME_CYCLE) beamFrame = 0;
    ++beamFrame;
}

void Game::drawBeamSegment(int x, int y, int sourceY)
{
    // Stepping the source back and forth through the frames makes the beam shimmer; the pieces
    // whose source lies left of the picture are clipped away by the library.
    const int sourceX = (beamFrame / BEAM_FRAMES_PER_STEP - beamFrame % BEAM_FRAMES_PER_STEP) * CELL_SIZE;
    drawGlow(bitmaps.laserPicture, sourceX, sourceY, layerOrigin.layerX(x), layerOrigin.layerY(y), CELL_SIZE, CELL_SIZE);
    masked_blit(bitmaps.laserPicture, bitmaps.beamLayer, sourceX, sourceY, x, y, CELL_SIZE, CELL_SIZE);
}

void Game::drawRadar()
{
    if (!hasRadar) return;
    BITMAP* radar = bitmaps.radarBitmap;
    const int a = gameRandom() % RADAR_TINT_RANGE + RADAR_TINT_BASE;
    const int b = gameRandom() % RADAR_DARK_RANGE;
    const int hx = cellOf(heroActor.x + HALF_ACTOR) * RADAR_CELL_SIZE + RADAR_HERO_OFFSET;
    const int hy = cellOf(heroActor.y + HALF_ACTOR) * RADAR_CELL_SIZE + RADAR_HERO_OFFSET;

    wallGrid.paintCells(radar, 255, 255, 255, 0, b, 0, RADAR_CELL_SIZE);
    const int black = makecol(0, 0, 0);
    rect(radar, 0, 0, radar->w - 1, radar->h - 1, black);
    rect(radar, 1, 1, radar->w - 2, radar->h - 2, black);

    // Only the coins are shown: the radar is for finding what is left to collect.
    const int coinColour = makecol(255, a, b);
    for (const CoinKind& kind : COIN_KINDS)
        for (int i = 0; i < this->*kind.count; ++i) {
            const sprite& coin = (this->*kind.coins)[i];
            circlefill(radar, coin.x / CELL_SIZE * RADAR_CELL_SIZE + RADAR_COIN_OFFSET,
                       coin.y / CELL_SIZE * RADAR_CELL_SIZE + RADAR_COIN_OFFSET, RADAR_DOT_RADIUS, coinColour);
        }

    circlefill(radar, hx, hy, RADAR_DOT_RADIUS, makecol(255, 0, 0));
    const int crossColour = makecol(50, a, 50);
    line(radar, hx - RADAR_CROSS_REACH, hy, hx + RADAR_CROSS_REACH, hy, crossColour);
    line(radar, hx, hy - RADAR_CROSS_REACH, hx, hy + RADAR_CROSS_REACH, crossColour);
    circle(radar, hx, hy, radarSweep, crossColour);
    circle(radar, hx, hy, radarSweep + RADAR_ECHO_GAP, makecol(0, b, 0));
    radarSweep += RADAR_SWEEP_STEP;
    if (radarSweep >= RADAR_SWEEP_END) radarSweep = 0;
}

void Game::forgetPaintedLayers()
{
    paintedReach.forget();
    messages.reset();
    glowDrawn.clear();  // a new glow layer starts see-through
    forgetKeptBand();
    beamCellCount = 0;
}

void Game::followView()
{
    layerOrigin.x = mapX;
    layerOrigin.y = mapY;
}

void Game::startFrame()
{
    // Where there is a screen, the frame is drawn where the screen shows it.
    BITMAP* onScreen = screenPicture();
    bitmaps.drawIntoFrameNotShown(onScreen, screenMode.generation);
    eraseLastBeam();
    followView();
}

void Game::eraseLastBeam()
{
    // The beam's hit test reads the beam layer anywhere, and a frame wipes only these cells.
    for (int i = 0; i < beamCellCount; ++i) {
        const int x = (beamFirstColumn + i * beamStepColumn) * CELL_SIZE;
        const int y = (beamFirstRow + i * beamStepRow) * CELL_SIZE;
        rectfill(bitmaps.beamLayer, x, y, x + CELL_SIZE - 1, y + CELL_SIZE - 1, seeThrough());
    }
    beamCellCount = 0;
}
