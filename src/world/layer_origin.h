// Where the view-size layers (worldBitmap, glowLayer, the darkness and the kept picture) lie in the
// world: the world point drawn at their top-left pixel. It is the view's corner, taken as a frame's
// drawing begins, and every world point is drawn into those layers, and the layers laid over the
// view, through it. It also says which view the kept picture holds and what has changed under it.
#pragma once

#include <cstdint>

#include "world/grid_layer.h"

class LayerOrigin {
public:
    std::int32_t x = 0;  // world pixels
    std::int32_t y = 0;

    // The kept picture (the walls with their shadows, kept from frame to frame) holds the view
    // whose corner is (keptX, keptY) while keptValid; the cells in keptStale have changed since
    // it was painted. A new maze or new layers make it invalid.
    bool keptValid = false;
    std::int32_t keptX = 0;  // world pixels
    std::int32_t keptY = 0;
    CellBox keptStale;

    int layerX(int worldX) const { return worldX - x; }
    int layerY(int worldY) const { return worldY - y; }
};
