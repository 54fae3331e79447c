// Grid layer operations: allocation, copies, flood fill, painting and the blast.  (not yet written)
#include "world/grid_layer.h"

int cellOf(int pixel) { return (pixel - pixel % CELL_SIZE) / CELL_SIZE; }
GridStep directionStep(int) { return {}; }
void GridLayer::allocate(int, int) {}
void GridLayer::release() {}
void GridLayer::fill(std::int32_t) {}
int GridLayer::isWallAt(int, int, int, int) const { return 0; }
void GridLayer::copyWallsTo(GridLayer&) const {}
void GridLayer::floodFill(int, int) {}
void GridLayer::paintCells(BITMAP*, int, int, int, int, int, int, int) const {}
void GridLayer::paintWallTiles(BITMAP*, BITMAP*) const {}
void GridLayer::paintUnreached(BITMAP*, int) const {}
void GridLayer::blast(BITMAP*, int, int) {}
