// Where the view-size layers (worldBitmap, glowLayer and the darkness) lie in the world: the world
// point drawn at their top-left pixel. It is the view's corner, taken as a frame's drawing begins,
// and every world point is drawn into those layers, and the layers laid over the view, through it.
#pragma once

#include <cstdint>

class LayerOrigin {
public:
    std::int32_t x = 0;  // world pixels
    std::int32_t y = 0;

    int layerX(int worldX) const { return worldX - x; }
    int layerY(int worldY) const { return worldY - y; }
};
