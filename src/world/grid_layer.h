// The cell grids that hold the maze: walls, obstacles, placement and reachability.
// Each cell is one 40 x 40 square of the world.
#pragma once

#include <cstdint>
#include <vector>

#include "world/directions.h"

struct BITMAP;

constexpr int CELL_SIZE = 40;  // world pixels per cell side

// Cell values.
constexpr std::int32_t CELL_FLOOR = 0;
constexpr std::int32_t CELL_WALL = 1;     // wall, block, or a cell already taken
constexpr std::int32_t CELL_REACHED = 2;  // floor reached by the flood fill

// The cell index of a world pixel coordinate (truncating: -39 to 39 all give 0).
int cellOf(int pixel);

// A rectangle of cells, corners included.
struct CellBox {
    int firstColumn = 0, firstRow = 0, lastColumn = -1, lastRow = -1;

    bool empty() const { return lastColumn < firstColumn || lastRow < firstRow; }
    void add(int column, int row);  // widens the box to hold the cell
};

constexpr int BLAST_CELLS = 2;  // a wall blast clears a square of this many cells each way

// The square of cells a wall blast centred on world point (x, y) clears, before clipping to a grid.
CellBox blastSquare(int x, int y);

class GridLayer {
public:
    std::int32_t columnCount = 0;      // extent along x, cells
    std::int32_t rowCount = 0;         // extent along y, cells
    std::vector<std::int32_t> cells;   // row by row: cell (c, r) at r * columnCount + c
    std::vector<GridStep> fillStack;   // the flood fill's work, kept so that a fill in play never allocates

    GridLayer() = default;
    GridLayer(const GridLayer&) = delete;
    GridLayer& operator=(const GridLayer&) = delete;
    ~GridLayer() { release(); }

    // Rows first. False, leaving the layer empty, when the grid cannot be held in memory.
    bool allocate(int rows, int columns);
    void release();
    void fill(std::int32_t value);
    void setCell(int column, int row, std::int32_t value) { cells[index(column, row)] = value; }
    std::int32_t getCell(int column, int row) const { return cells[index(column, row)]; }
    int isWallAt(int column, int row, int dColumn, int dRow) const;
    bool contains(int column, int row) const
    {
        return column >= 0 && column < columnCount && row >= 0 && row < rowCount;
    }
    void copyWallsTo(GridLayer& target) const;
    void generateMaze();  // defined with the level build, in world/maze.cpp
    void floodFill(int column, int row);
    void paintCells(BITMAP* bitmap, int backR, int backG, int backB, int cellR, int cellG, int cellB,
                    int size) const;
    // paintCells (or, with value 0, paintUnreached) for the pixels of the cells from
    // (firstColumn, firstRow) to (lastColumn, lastRow) only, leaving the rest of the bitmap as it
    // is; colours are makecol values.
    void paintCellRange(BITMAP* bitmap, int background, int colour, int size, int firstColumn, int firstRow,
                        int lastColumn, int lastRow, std::int32_t value = CELL_WALL) const;
    int paintWallTiles(BITMAP* bitmap, BITMAP* terrain) const;  // returns the tile drawn, 1 to 25
    void paintUnreached(BITMAP* bitmap, int size) const;
    // The wall blast centred on world point (x, y): its square's cells become floor, and their
    // pixels of the wall tiles picture see-through.
    void blast(BITMAP* walls, int x, int y);

private:
    std::size_t index(int column, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount) +
               static_cast<std::size_t>(column);
    }
};

// A grid as its picture was last painted, so that the picture is painted again only where what it
// shows of the grid has changed. A forgotten copy counts every cell as changed.
class PaintedCopy {
public:
    bool allocate(int rows, int columns) { return copy.allocate(rows, columns); }
    void release() { copy.release(); }
    void forget() { copy.fill(FORGOTTEN); }
    // The box of the cells where the picture shows `shown(cell)` differently from what it showed
    // when painted; the copy then takes the grid. False when no cell changed.
    bool takeChanges(const GridLayer& grid, bool (*shown)(std::int32_t cell), CellBox& changed);

private:
    static constexpr std::int32_t FORGOTTEN = -1;
    GridLayer copy;
};

