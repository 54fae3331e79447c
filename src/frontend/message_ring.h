// The rising messages' layer as a ring: instead of moving its pixels up every frame, the ring
// turns, and world row y lies in ring row (y + rise) mod height. Only a band of rows may hold
// messages; the rest of the ring is known to be empty and is never laid over the view.
#pragma once

#include <allegro.h>

#include <cstdint>

class MessageRing {
public:
    std::int32_t rise = 0;    // rows the ring has turned, 0 to its height - 1; 0 for a new layer
    std::int32_t top = 0;     // world rows top to bottom - 1 may hold messages; both 0 for a new layer
    std::int32_t bottom = 0;

    void reset();  // a new, empty layer
    bool empty() const { return top >= bottom; }
    // The ring row that holds world row y of a ring `height` rows high.
    int ringRow(int y, int height) const { return (y + rise) % height; }
    // Widens the band of rows that may hold messages by world rows y to y + height - 1.
    void noteRows(BITMAP* ring, int y, int height);
    // `draw(ringY)` draws what belongs at world row y with its top at ring row ringY; it is called
    // for both bands of the ring, each clipped to the world rows it holds, so a picture across the
    // seam is split and one beyond the world's edge is cut.
    template <typename Draw>
    void drawAt(BITMAP* ring, int y, Draw draw) const;
    // Turns the ring as the messages rise by `rows`: the rows coming in at the bottom held those
    // lost at the top, so they are emptied.
    void turn(BITMAP* ring, int rows);
    // The band's rows laid over the target, world row 0 on target row y, as the library's
    // translucent sprite with the trans blender of this alpha lays them.
    void layOver(BITMAP* target, BITMAP* ring, int alpha, int x, int y) const;
};

template <typename Draw>
void MessageRing::drawAt(BITMAP* ring, int y, Draw draw) const
{
    const int h = ring->h;
    set_clip_rect(ring, 0, rise, ring->w - 1, h - 1);
    draw(y + rise);
    if (rise > 0) {
        set_clip_rect(ring, 0, 0, ring->w - 1, rise - 1);
        draw(y + rise - h);
    }
    set_clip_rect(ring, 0, 0, ring->w - 1, h - 1);
}
