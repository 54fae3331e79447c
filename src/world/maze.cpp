// The level build: grid size, background colour, the items and object counts of a level,
// the random maze, the reachability pass with its fog, and the placement of every object.
#include "actors/kinds.h"
#include "shell/game.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "shell/random.h"
#include "shell/screen_mode.h"
#include "world/colours.h"

namespace {
// The maze grows by one row and one column per level.
constexpr int MAZE_EXTRA_ROWS = 15;
constexpr int MAZE_EXTRA_COLUMNS = 31;

// Each level's background is dark: its channels stay below these.
constexpr int BACKGROUND_RED_RANGE = 80;
constexpr int BACKGROUND_GREEN_RANGE = 40;
constexpr int BACKGROUND_BLUE_RANGE = 60;

// Item odds: one level in N gets the item (a draw of 0 puts it on the level).
constexpr int SHIELD_ODDS = 2;
constexpr int GENERATOR_ODDS = 2;
constexpr int LIFE_ODDS = 5;
constexpr int RARE_LIFE_ODDS = 100;  // once the player is this rich in lives ...
constexpr int RICH_IN_LIVES = 7;
constexpr int RARE_SHOES_ODDS = 100;  // ... or this fast
constexpr int FAST_SPEED = 8;

// Objects per maze cell.
constexpr double BLOCKS_PER_CELL = 0.02;
constexpr double COINS_PER_CELL = 0.005;  // of each value
constexpr double GHOSTS_PER_CELL = 0.01;  // on top of one ghost per level number
constexpr double TREASURES_PER_CELL = 0.005;
constexpr double DYNAMITES_PER_CELL = 0.007;

// The maze generator: the clearing's centre column is half a draw of CLEARING_MIN to
// columns - CLEARING_MARGIN + 2, so it lies in the left half; cells closer than CLEARING_REACH
// to its centre stay floor.
constexpr int CLEARING_MARGIN = 6;
constexpr int CLEARING_MIN = 3;
constexpr int CLEARING_REACH = 3;
constexpr int DENSITY_RANGE = 8;  // a maze's density m is 2 to 9
constexpr int DENSITY_MIN = 2;

constexpr int REACHABLE_DYNAMITES = 3;  // the first bomb pick-ups always lie within the hero's reach
constexpr int MOST_ORDINARY_KIND = 4;
constexpr int NEW_ROOM_VOLUME = 100;

// The fog spreads the unreached floor one cell each way, over the walls around it.
constexpr GridStep FOG_SPREAD[] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};
constexpr int FOG_REACH = 1;  // the farthest a fog square lies from its unreached cell, cells


bool fogged(std::int32_t cell) { return cell == CELL_FLOOR; }  // unreached floor lies in fog
int fogColour() { return makecol(0, 0, 0); }  // the fog's squares, painted and laid

bool anyCell(int, int) { return true; }

// The first free placement cell, rows outer, that passes the test; false when there is none.
template <typename Test>
bool findFreeCell(const GridLayer& placement, Test passes, GridStep& found)
{
    for (int r = 0; r < placement.rowCount; ++r)
        for (int c = 0; c < placement.columnCount; ++c)
            if (placement.getCell(c, r) == CELL_FLOOR && passes(c, r)) {
                found = {c, r};
                return true;
            }
    return false;
}

// The free placement cell whose corner lies farthest from (x, y); the first of equals wins.
bool findFarthestFreeCell(const GridLayer& placement, int x, int y, GridStep& found)
{
    int farthest = -1;
    for (int r = 0; r < placement.rowCount; ++r)
        for (int c = 0; c < placement.columnCount; ++c) {
            const int distance = pixelDistance(x, y, c * CELL_SIZE, r * CELL_SIZE);
            if (placement.getCell(c, r) == CELL_FLOOR && distance > farthest) {
                farthest = distance;
                found = {c, r};
            }
        }
    return farthest >= 0;
}
}  // namespace

void GridLayer::generateMaze()
{
    const int lastColumn = columnCount - 1;
    const int lastRow = rowCount - 1;
    for (int r = 0; r <= lastRow; ++r)
        for (int c = 0; c <= lastColumn; ++c)
            if (c == 0 || c == lastColumn || r == 0 || r == lastRow) setCell(c, r, CELL_WALL);

    const int clearingColumn = (gameRandom() % (columnCount - CLEARING_MARGIN) + CLEARING_MIN) / 2;
    const int clearingRow = rowCount / 2;
    const int density = gameRandom() % DENSITY_RANGE + DENSITY_MIN;

    // Columns outer, so the column to the left is finished when the corridor rule reads it.
    for (int c = 1; c < lastColumn; ++c)
        for (int r = 1; r < lastRow; ++r) {
            // Every interior cell takes its draw, even those that stay floor.
            const int draw = gameRandom() % density;
            const bool heroStart = c == cellOf(HERO_START_X) && r == cellOf(HERO_START_Y);
            const bool inClearing = clearingColumn - CLEARING_REACH < c && c < clearingColumn + CLEARING_REACH &&
                                    clearingRow - CLEARING_REACH < r && r < clearingRow + CLEARING_REACH;
            // A floor cell closed above and below on the left goes on to the right.
            const bool continuesCorridor = isWallAt(c, r, -1, 1) && getCell(c - 1, r) == CELL_FLOOR &&
                                           (isWallAt(c, r, -1, -1) || isWallAt(c, r, 0, -1));
            if (heroStart || inClearing || continuesCorridor) continue;
            if (draw > 0) setCell(c, r, CELL_WALL);
        }
}

void Game::chooseGridSize()
{
    rows = levelNumber + MAZE_EXTRA_ROWS;
    columns = levelNumber + MAZE_EXTRA_COLUMNS;
}

void Game::allocateGrids()
{
    const bool allocated = placementGrid.allocate(rows, columns) && wallGrid.allocate(rows, columns) &&
                           obstacleGrid.allocate(rows, columns) && reachGrid.allocate(rows, columns) &&
                           paintedReach.allocate(rows, columns);
    if (!allocated) return failLevelBuild("no memory for the maze grids");
    forgetPaintedLayers();
}

void Game::chooseBackground()
{
    backgroundRed = gameRandom() % BACKGROUND_RED_RANGE;
    backgroundGreen = gameRandom() % BACKGROUND_GREEN_RANGE;
    backgroundBlue = gameRandom() % BACKGROUND_BLUE_RANGE;
}

void Game::rollItems()
{
    shieldAbsent = gameRandom() % SHIELD_ODDS;
    generatorAbsent = gameRandom() % GENERATOR_ODDS;
    radarAbsent = 0;
    lifeAbsent = gameRandom() % (lives >= RICH_IN_LIVES ? RARE_LIFE_ODDS : LIFE_ODDS);
    shoesAbsent = baseSpeed >= FAST_SPEED ? gameRandom() % RARE_SHOES_ODDS : 0;
}

void Game::createLevelObjects()
{
    const double cellCount = static_cast<double>(rows) * columns;
    blockCount = static_cast<int>(cellCount * BLOCKS_PER_CELL);
    for (const CoinKind& kind : COIN_KINDS) this->*kind.count = static_cast<int>(cellCount * COINS_PER_CELL);
    coinsLeft = coinTotal();
    ghostCount = static_cast<int>(levelNumber + cellCount * GHOSTS_PER_CELL);
    treasureCount = static_cast<int>(cellCount * TREASURES_PER_CELL);
    // A hero with every bomb slot filled finds no more pick-ups.
    dynamiteCount = bombCount < BOMB_SLOTS ? static_cast<int>(cellCount * DYNAMITES_PER_CELL) : 0;

    bombs = new bomb[BOMB_SLOTS];
    blocks = new sprite[blockCount];
    for (const CoinKind& kind : COIN_KINDS) this->*kind.coins = new sprite[this->*kind.count];
    ghosts = new ghost[ghostCount];
    dynamites = new sprite[dynamiteCount];
    treasures = new sprite[treasureCount];
    reserveUnderWalls();
}

void Game::buildLevel()
{
    buildMaze();
    updateReach(HERO_START_X, HERO_START_Y);
    placePowerUps(false);
    placeDynamites();
    for (int i = 0; i < treasureCount; ++i) placeOnFreeCell(treasures[i]);
    placePowerUps(true);
    heroActor.setUp(HERO_START_X, HERO_START_Y, ACTOR_SIZE, ACTOR_SIZE, HERO_SHEET_COLUMN, DIRECTION_RIGHT, baseSpeed,
                    DIRECTION_RIGHT);
    placeGhosts();
    for (int i = 0; i < BOMB_SLOTS; ++i) bombs[i].clear();
    placeBlocks();
    for (const CoinKind& kind : COIN_KINDS) placeCoins(this->*kind.coins, this->*kind.count);
    // The build writes the obstacle grid whole; the ghosts take their first steps on the new
    // maze before its first frame is drawn.
    paintGhostMap();
}

void Game::buildMaze()
{
    playSound(samples.newRoomSample, NEW_ROOM_VOLUME);
    clearScreen();
    clear_to_color(bitmaps.wallsBitmap, seeThrough());
    wallGrid.fill(CELL_FLOOR);
    wallGrid.generateMaze();
    // Every wall of the maze is the one tile, so the frame makes the walls from it and the cells.
    const int tile = wallGrid.paintWallTiles(bitmaps.wallsBitmap, bitmaps.terrainPicture);
    wallRows.setTile(bitmaps.terrainPicture, tile * CELL_SIZE, 0);
    wallGrid.copyWallsTo(obstacleGrid);
    wallGrid.copyWallsTo(placementGrid);
}

void Game::updateReach(int x, int y)
{
    wallGrid.copyWallsTo(reachGrid);
    reachGrid.floodFill(cellOf(x + ACTOR_SIZE / 2), cellOf(y + ACTOR_SIZE / 2));
    paintFog();
}

void Game::paintFog()
{
    // Only the cells whose reach changed, and those their fog spreads over, are painted again:
    // after a blast that is a few cells, not the whole world.
    CellBox changed;
    if (!paintedReach.takeChanges(reachGrid, fogged, changed)) return;
    const int spread = FOG_REACH + 1;  // the spread, and the pixel each painted square spills over
    const GridStep first{std::max(changed.firstColumn - spread, 0), std::max(changed.firstRow - spread, 0)};
    const GridStep last{std::min(changed.lastColumn + spread, columns - 1), std::min(changed.lastRow + spread, rows - 1)};
    reachGrid.paintCellRange(bitmaps.shadeMask, seeThrough(), makecol(0, 0, 0), CELL_SIZE, first.column, first.row,
                             last.column, last.row, CELL_FLOOR);

    // The fog is the unreached floor widened one cell each way.
    BITMAP* shade = bitmaps.shadeLayer;
    set_clip_rect(shade, first.column * CELL_SIZE, first.row * CELL_SIZE, (last.column + 1) * CELL_SIZE - 1,
                  (last.row + 1) * CELL_SIZE - 1);
    clear_to_color(shade, seeThrough());
    const int colour = fogColour();
    for (int r = std::max(first.row - spread, 0); r <= std::min(last.row + spread, rows - 1); ++r)
        for (int c = std::max(first.column - spread, 0); c <= std::min(last.column + spread, columns - 1); ++c) {
            if (reachGrid.getCell(c, r) != CELL_FLOOR) continue;
            for (const GridStep& step : FOG_SPREAD) {
                const int x = (c + step.column) * CELL_SIZE;
                const int y = (r + step.row) * CELL_SIZE;
                rectfill(shade, x, y, x + CELL_SIZE, y + CELL_SIZE, colour);
            }
        }
    set_clip_rect(shade, 0, 0, shade->w - 1, shade->h - 1);
}

// The rows of cells a view meets, with the row above it, and the runs of squares one of them holds.
static_assert(FogSquares::MAX_ROWS >= VIEW_HEIGHT / CELL_SIZE + 3, "every row of squares over the view fits");
static_assert(FogSquares::MAX_RUNS >= (VIEW_WIDTH / CELL_SIZE + 3) / 2 + 1, "every run of squares along a row fits");

void Game::markFogSquares(FogSquares& squares) const
{
    // A square lies on every cell the fog spreads to from an unreached one; it covers its cell
    // and spills one pixel into the cells right of and below it, so the cells just before the
    // view count too, and nothing spills past the world's edge. Runs of squares along a row are
    // marked at once.
    const LayerOrigin& view = layerOrigin;
    squares.colour = fogColour();
    auto isSquare = [this](int c, int r) {
        for (const GridStep& step : FOG_SPREAD) {
            const int fromColumn = c - step.column, fromRow = r - step.row;
            if (reachGrid.contains(fromColumn, fromRow) && fogged(reachGrid.getCell(fromColumn, fromRow))) return true;
        }
        return false;
    };
    const int worldRight = view.layerX(columns * CELL_SIZE), worldBottom = view.layerY(rows * CELL_SIZE);
    const int firstColumn = std::max(cellOf(view.x) - 1, 0), lastColumn = std::min(cellOf(view.x + VIEW_WIDTH - 1), columns - 1);
    const int firstRow = std::max(cellOf(view.y) - 1, 0), lastRow = std::min(cellOf(view.y + VIEW_HEIGHT - 1), rows - 1);
    for (int r = firstRow; r <= lastRow; ++r) {
        squares.addRow(view.layerY(r * CELL_SIZE), std::min(view.layerY((r + 1) * CELL_SIZE + 1), worldBottom));
        for (int c = firstColumn; c <= lastColumn; ++c) {
            if (!isSquare(c, r)) continue;
            const int first = c;
            while (c < lastColumn && isSquare(c + 1, r)) ++c;
            squares.addRun(view.layerX(first * CELL_SIZE), std::min(view.layerX((c + 1) * CELL_SIZE + 1), worldRight));
        }
    }
}

void Game::placeObject()
{
    GridStep cell;
    if (!findFreeCell(placementGrid, anyCell, cell)) {
        // A full board: the object waits off the board.
        placeX = placeY = OFF_BOARD;
        return;
    }
    do {
        cell.column = gameRandom() % columns;
        cell.row = gameRandom() % rows;
    } while (placementGrid.getCell(cell.column, cell.row) != CELL_FLOOR);
    takePlacementCell(cell.column, cell.row);
}

void Game::placeDynamites()
{
    for (int i = 0; i < dynamiteCount; ++i) {
        if (i < REACHABLE_DYNAMITES)
            placeReachableObject();
        else
            placeObject();
        dynamites[i].placeAt(placeX, placeY);
    }
}

void Game::placeGhosts()
{
    placeGhostSpawn();
    for (int i = 0; i < ghostCount; ++i) {
        int kind = gameRandom() % (levelNumber + 1);
        if (kind > MOST_ORDINARY_KIND) kind = MOST_ORDINARY_KIND;
        ghosts[i].spawn(placeX, placeY, kind, ghostSpeedFactor);
    }
}

void Game::takePlacementCell(int column, int row)
{
    placeX = column * CELL_SIZE;
    placeY = row * CELL_SIZE;
    placementGrid.setCell(column, row, CELL_WALL);
}

void Game::placeOnFreeCell(sprite& object)
{
    placeObject();
    object.placeAt(placeX, placeY);
}

void Game::placeItem(sprite& item, int absent)
{
    if (absent == 0) placeOnFreeCell(item);
}

void Game::placePowerUps(bool afterFinds)
{
    for (const PowerUpKind& kind : POWER_UP_KINDS)
        if (kind.placedAfterFinds == afterFinds) placeItem(this->*kind.item, this->*kind.absent);
}

void Game::placeReachableObject()
{
    GridStep cell;
    const auto reachable = [this](int c, int r) { return reachGrid.getCell(c, r) == CELL_REACHED; };
    // Rejected tries keep their cells taken, as every placement does.
    while (findFreeCell(placementGrid, reachable, cell)) {
        placeObject();
        if (reachGrid.getCell(cellOf(placeX), cellOf(placeY)) == CELL_REACHED) return;
    }
    // Nothing reachable is free: any free cell will do.
    if (findFreeCell(placementGrid, anyCell, cell))
        takePlacementCell(cell.column, cell.row);
    else
        placeX = placeY = OFF_BOARD;
}

void Game::placeGhostSpawn()
{
    GridStep cell;
    const auto farEnough = [this](int c, int r) {
        return pixelDistance(heroActor.x, heroActor.y, c * CELL_SIZE, r * CELL_SIZE) >= GHOST_SPAWN_DISTANCE;
    };
    while (findFreeCell(placementGrid, farEnough, cell)) {
        placeObject();
        if (pixelDistance(heroActor.x, heroActor.y, placeX, placeY) >= GHOST_SPAWN_DISTANCE) return;
    }
    // No free cell is far enough: the farthest free one.
    if (findFarthestFreeCell(placementGrid, heroActor.x, heroActor.y, cell))
        takePlacementCell(cell.column, cell.row);
    else
        placeX = placeY = OFF_BOARD;
}

void Game::placeBlocks()
{
    for (int i = 0; i < blockCount; ++i) {
        placeOnFreeCell(blocks[i]);
        if (placeX != OFF_BOARD) obstacleGrid.setCell(cellOf(placeX), cellOf(placeY), CELL_WALL);
    }
}

void Game::placeCoins(sprite* coins, int count)
{
    for (int i = 0; i < count; ++i) {
        placeOnFreeCell(coins[i]);
        // A coin that found no cell cannot be collected, so the maze must not wait for it.
        if (coins[i].x == OFF_BOARD) --coinsLeft;
    }
}
