// Grid layer operations: allocation, copies, the flood fill, painting into bitmaps and the
// bomb's blast of a 5 x 5 square of cells.
#include "world/grid_layer.h"

#include <allegro.h>

#include <algorithm>
#include <climits>
#include <new>

#include "shell/random.h"
#include "shell/ticks.h"
#include "world/colours.h"

namespace {
constexpr int WALL_TILE_STYLES = 25;  // tiles 1 to 25 of the terrain strip; tile 0 is the block
constexpr long long MAX_GRID_CELLS = INT_MAX;
}  // namespace

int cellOf(int pixel) { return (pixel - pixel % CELL_SIZE) / CELL_SIZE; }

void CellBox::add(int column, int row)
{
    if (empty()) {
        *this = {column, row, column, row};
        return;
    }
    firstColumn = std::min(firstColumn, column);
    firstRow = std::min(firstRow, row);
    lastColumn = std::max(lastColumn, column);
    lastRow = std::max(lastRow, row);
}

CellBox blastSquare(int x, int y)
{
    const int column = cellOf(x), row = cellOf(y);
    return {column - BLAST_CELLS, row - BLAST_CELLS, column + BLAST_CELLS, row + BLAST_CELLS};
}

bool GridLayer::allocate(int rows, int columns)
{
    // Cells are addressed with int arithmetic elsewhere, so the count must fit in an int.
    const long long count = static_cast<long long>(rows) * columns;
    if (rows <= 0 || columns <= 0 || count > MAX_GRID_CELLS) return false;
    try {
        cells.assign(static_cast<std::size_t>(count), CELL_FLOOR);
    } catch (const std::bad_alloc&) {
        std::vector<std::int32_t>().swap(cells);
        return false;
    }
    columnCount = columns;
    rowCount = rows;
    return true;
}

void GridLayer::release()
{
    if (columnCount == 0) return;
    std::vector<std::int32_t>().swap(cells);
    std::vector<GridStep>().swap(fillStack);
    columnCount = 0;
    rowCount = 0;
}

void GridLayer::fill(std::int32_t value) { cells.assign(cells.size(), value); }

int GridLayer::isWallAt(int column, int row, int dColumn, int dRow) const
{
    return getCell(column + dColumn, row + dRow) == CELL_WALL ? 1 : 0;
}

void GridLayer::copyWallsTo(GridLayer& target) const
{
    for (std::size_t i = 0; i < cells.size(); ++i) target.cells[i] = cells[i] == CELL_WALL ? CELL_WALL : CELL_FLOOR;
}

void GridLayer::floodFill(int column, int row)
{
    // An explicit stack, so the fill's depth never depends on the maze's size. A cell is marked
    // as it is pushed, so the stack never holds more than every cell: room for that is made once
    // per grid. The start cell itself is marked only when it is reached back from a neighbour.
    fillStack.reserve(cells.size() + 1);
    fillStack.clear();
    fillStack.push_back({column, row});
    while (!fillStack.empty()) {
        const GridStep cell = fillStack.back();
        fillStack.pop_back();
        for (int direction = 0; direction < DIRECTION_COUNT; ++direction) {
            const GridStep step = directionStep(direction);
            const int c = cell.column + step.column;
            const int r = cell.row + step.row;
            if (contains(c, r) && getCell(c, r) == CELL_FLOOR) {
                setCell(c, r, CELL_REACHED);
                fillStack.push_back({c, r});
            }
        }
    }
}

void GridLayer::paintCells(BITMAP* bitmap, int backR, int backG, int backB, int cellR, int cellG, int cellB,
                           int size) const
{
    clear_to_color(bitmap, makecol(backR, backG, backB));
    const int colour = makecol(cellR, cellG, cellB);
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < columnCount; ++c)
            if (getCell(c, r) == CELL_WALL) rectfill(bitmap, c * size, r * size, c * size + size, r * size + size, colour);
}

void GridLayer::paintCellRange(BITMAP* bitmap, int background, int colour, int size, int firstColumn, int firstRow,
                               int lastColumn, int lastRow, std::int32_t value) const
{
    // Each square spills one pixel into its right and lower neighbours, so the cells just
    // before the range are painted too, clipped to it.
    set_clip_rect(bitmap, firstColumn * size, firstRow * size, (lastColumn + 1) * size - 1, (lastRow + 1) * size - 1);
    clear_to_color(bitmap, background);
    for (int r = firstRow > 0 ? firstRow - 1 : 0; r <= lastRow; ++r)
        for (int c = firstColumn > 0 ? firstColumn - 1 : 0; c <= lastColumn; ++c)
            if (getCell(c, r) == value) rectfill(bitmap, c * size, r * size, c * size + size, r * size + size, colour);
    set_clip_rect(bitmap, 0, 0, bitmap->w - 1, bitmap->h - 1);
}

int GridLayer::paintWallTiles(BITMAP* bitmap, BITMAP* terrain) const
{
    const int tile = gameRandom() % WALL_TILE_STYLES + 1;
    clear_to_color(bitmap, seeThrough());
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < columnCount; ++c)
            if (getCell(c, r) == CELL_WALL)
                masked_blit(terrain, bitmap, tile * CELL_SIZE, 0, c * CELL_SIZE, r * CELL_SIZE, CELL_SIZE, CELL_SIZE);
    return tile;
}

void GridLayer::paintUnreached(BITMAP* bitmap, int size) const
{
    clear_to_color(bitmap, seeThrough());
    const int black = makecol(0, 0, 0);
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < columnCount; ++c)
            if (getCell(c, r) == CELL_FLOOR) rectfill(bitmap, c * size, r * size, c * size + size, r * size + size, black);
}

void GridLayer::blast(BITMAP* walls, int x, int y)
{
    // No tick may be counted while the grid and its picture disagree. Outside a game there is
    // no clock to pause, and none may be started.
    const bool ticking = ticksRunning();
    if (ticking) stopTicks();
    const CellBox square = blastSquare(x, y);
    for (int c = square.firstColumn; c <= square.lastColumn; ++c)
        for (int r = square.firstRow; r <= square.lastRow; ++r)
            if (contains(c, r)) {
                setCell(c, r, CELL_FLOOR);
                rectfill(walls, c * CELL_SIZE, r * CELL_SIZE, (c + 1) * CELL_SIZE - 1, (r + 1) * CELL_SIZE - 1,
                         seeThrough());
            }
    if (ticking) startTicks();
}

bool PaintedCopy::takeChanges(const GridLayer& grid, bool (*shown)(std::int32_t cell), CellBox& changed)
{
    if (grid.columnCount == 0) return false;
    if (copy.columnCount != grid.columnCount || copy.rowCount != grid.rowCount) {
        copy.release();
        copy.allocate(grid.rowCount, grid.columnCount);
        forget();
    }
    changed = CellBox{};
    for (int r = 0; r < grid.rowCount; ++r)
        for (int c = 0; c < grid.columnCount; ++c) {
            const std::int32_t was = copy.getCell(c, r);
            if (was == FORGOTTEN || shown(was) != shown(grid.getCell(c, r))) changed.add(c, r);
        }
    copy.cells = grid.cells;  // the same size: no allocation
    return !changed.empty();
}

