// The one writer of the obstacle grid: whatever rule changes a cell, the ghosts' collision
// picture follows at once, so nothing that reads ghostMap ever sees a cell as it was.
#include <allegro.h>

#include <algorithm>

#include "shell/game.h"
#include "world/colours.h"

void Game::setObstacle(int column, int row, std::int32_t value)
{
    if (!obstacleGrid.contains(column, row) || obstacleGrid.getCell(column, row) == value) return;
    obstacleGrid.setCell(column, row, value);
    obstacleChanges.add(column, row);
    if (obstacleChangeDepth == 0) repaintObstacleChanges();
}

void Game::repaintObstacleChanges()
{
    if (obstacleChanges.empty()) return;
    // A painted square spills one pixel into its right and lower neighbours, so those are
    // painted again too.
    const CellBox& box = obstacleChanges;
    obstacleGrid.paintCellRange(bitmaps.ghostMap, seeThrough(), ghostMapGreen(), CELL_SIZE, box.firstColumn,
                                box.firstRow, std::min(box.lastColumn + 1, obstacleGrid.columnCount - 1),
                                std::min(box.lastRow + 1, obstacleGrid.rowCount - 1));
    obstacleChanges = CellBox{};
}

void Game::paintGhostMap()
{
    obstacleGrid.paintCellRange(bitmaps.ghostMap, seeThrough(), ghostMapGreen(), CELL_SIZE, 0, 0,
                                obstacleGrid.columnCount - 1, obstacleGrid.rowCount - 1);
    obstacleChanges = CellBox{};
}
