// Where the game's 1280 x 720 picture lands on a screen of another size, the loops that put it
// there (a whole-factor enlargement, and the sharp filter for the sizes between), and the way
// back from a point of the window to a point of the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "world/view_geometry.h"

struct BITMAP;

// Room left each way around a scaled window for the window manager's frame, title bar and
// panels, pixels: a window 1280k x 720k opens only where the desktop has this much more.
constexpr int WINDOW_FRAME_ROOM = 48;
constexpr int BLEND_WHOLE = 256;  // the sharp filter's weights run from 0 to this

// The largest whole factor k >= 1 for which a 1280k x 720k window fits in a desktop area of this
// size with room for its frame.
int windowScaleFor(int areaWidth, int areaHeight);

// One axis of the sharp filter: for each pixel of the output, the source pixel it starts from
// and the weight, 0 to BLEND_WHOLE - 1, of the source pixel after it. The weight is 0 except
// where the output pixel straddles two source pixels.
class ScaleAxis {
public:
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> weight;
};
// The sharp filter's axis from `sourceSize` pixels to `outputSize`: a nearest enlargement by the
// whole factor just above the scale, then a linear step down to the exact size, in one table.
ScaleAxis sharpAxis(int sourceSize, int outputSize);

class FramePlacement {
public:
    int screenWidth = SCREEN_WIDTH;  // the bitmap the picture is presented into, pixels
    int screenHeight = SCREEN_HEIGHT;
    int left = 0;  // the picture's top-left corner there, pixels; black all round it
    int top = 0;
    int width = SCREEN_WIDTH;  // the picture's size there, pixels
    int height = SCREEN_HEIGHT;
    int wholeFactor = 1;  // every picture pixel a k x k block; 0 when the sharp filter makes it
    ScaleAxis columns;    // the sharp filter's, when wholeFactor is 0
    ScaleAxis rows;
    // Two source rows as the sharp filter widened them, kept while one present writes the
    // output rows that blend them; made with the placement, so presenting allocates nothing.
    std::vector<std::uint32_t> widenedRows;
};

// The picture as large as it fits on a screen of this size keeping its shape, centred: by a
// whole factor where one fits exactly, otherwise through the sharp filter.
FramePlacement placeFrame(int screenWidth, int screenHeight);

// The point of the 1280 x 720 picture shown at a point of the screen; outside the picture's
// bounds where the screen shows black.
struct FramePoint {
    int x = 0;
    int y = 0;
};
FramePoint framePointOf(const FramePlacement& placement, int screenX, int screenY);

// The area of the screen that shows a part of the picture, w x h at (x, y) of the picture.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
ScreenArea screenAreaOf(const FramePlacement& placement, int x, int y, int width, int height);

// Writes `part`, standing at (partX, partY) of the picture, into `target` as the placement says.
// Both are 32-bit linear bitmaps (memory bitmaps, or a screen whose lines are its memory); the
// caller tells the window system what changed. Nothing is allocated.
void presentInto(BITMAP* part, BITMAP* target, FramePlacement& placement, int partX = 0, int partY = 0);

// The loops presentInto chooses from: each source pixel a factor x factor block with its top-left
// corner at (left, top); and the sharp filter for the output columns and rows of the placement
// whose source lies in the part.
void scaleWhole(BITMAP* source, BITMAP* target, int factor, int left, int top);
void scaleSharp(BITMAP* part, BITMAP* target, FramePlacement& placement, int partX, int partY);

// One channel-wise blend of two 32-bit colours, `weight` of 256 going to b, rounded to nearest.
inline std::uint32_t blendPixels(std::uint32_t a, std::uint32_t b, std::uint32_t weight)
{
    const std::uint32_t keep = BLEND_WHOLE - weight;
    const std::uint32_t redBlue = ((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight + 0x800080u) >> 8;
    const std::uint32_t green = ((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight + 0x008000u) >> 8;
    return (redBlue & 0xFF00FFu) | (green & 0x00FF00u);
}
