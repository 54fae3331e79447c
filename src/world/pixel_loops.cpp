// The game's own loops for the frame's translucent layers, masked copies and clears: the
// library's pixels exactly, several pixels at a time.
#include "world/pixel_loops.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Pixels tested together for a see-through run: a run of them all magenta is passed over
// without being blended. The glow is see-through almost everywhere, the darkness inside the
// lit disc.
constexpr int RUN = 16;

// Where the processor has wider vectors than every x86-64 is sure to have, the loops are also
// built for them, and the wider build is chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__)
#define WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_VECTORS
#endif

std::uint32_t* row(BITMAP* bitmap, int y) { return reinterpret_cast<std::uint32_t*>(bitmap->line[y]); }

// One pixel of the library's translucent blender at 32 bits: each channel moves from the old
// colour towards the new by weight / 256, truncated as the library's unsigned arithmetic
// truncates. Only the low 24 bits are kept, and those depend only on the low 32 bits of every
// step, so 32-bit arithmetic gives the library's pixels exactly.
inline std::uint32_t blendPixel(std::uint32_t colour, std::uint32_t old, std::uint32_t weight)
{
    const std::uint32_t redBlue = ((colour & 0xFF00FF) - (old & 0xFF00FF)) * weight / 256 + old;
    const std::uint32_t green = ((colour & 0xFF00) - (old & 0xFF00)) * weight / 256 + (old & 0xFF00);
    return (redBlue & 0xFF00FF) | (green & 0xFF00);
}

// True when the RUN pixels from `pixels` on are all the mask colour: tested four at a time
// rather than one by one.
inline bool allSeeThrough(const std::uint32_t* pixels, std::uint32_t mask)
{
    using Four = std::uint32_t __attribute__((vector_size(4 * sizeof(std::uint32_t))));
    Four differs = {};
    for (int k = 0; k < RUN; k += 4) {
        Four four;
        std::memcpy(&four, pixels + k, sizeof four);
        differs |= four ^ mask;
    }
    std::uint64_t halves[2];
    std::memcpy(halves, &differs, sizeof halves);
    return (halves[0] | halves[1]) == 0;
}

// A layer and its target, or a source and its target, are never the same picture.
inline void blendSpan(const std::uint32_t* __restrict__ from, std::uint32_t* __restrict__ to, int count, std::uint32_t weight,
                      std::uint32_t mask)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t old = to[i];
        const std::uint32_t blended = blendPixel(from[i], old, weight);
        to[i] = from[i] == mask ? old : blended;
    }
}

WIDE_VECTORS void blendRow(const std::uint32_t* from, std::uint32_t* to, int count, std::uint32_t weight, std::uint32_t mask)
{
    int i = 0;
    for (; i + RUN <= count; i += RUN)
        if (!allSeeThrough(from + i, mask)) blendSpan(from + i, to + i, RUN, weight, mask);
    blendSpan(from + i, to + i, count - i, weight, mask);
}

// No run is passed over here: the walls and the world picture change between wall and floor
// every cell or so, and a copy costs little more than the test.
WIDE_VECTORS void copyMaskedRow(const std::uint32_t* __restrict__ from, std::uint32_t* __restrict__ to, int count,
                                std::uint32_t mask)
{
    for (int i = 0; i < count; ++i) to[i] = from[i] == mask ? to[i] : from[i];
}

// Beyond these the discs are left to the library.
constexpr int MAX_DISCS = 4;
constexpr int MAX_DISC_RADIUS = 1023;

// How far circlefill's fill reaches left and right of the centre on each row, from the centre
// row out (the disc is the same above and below): the library's midpoint walk, keeping the
// widest fill of each row.
void discHalfWidths(int radius, int* halfWidths)
{
    std::fill(halfWidths, halfWidths + radius + 1, -1);
    int across = 0, down = radius;  // the walk's point, from the centre
    int error = 1 - radius, stepAcross = 3, stepDiagonal = 5 - 2 * radius;
    do {
        halfWidths[across] = std::max(halfWidths[across], down);
        if (error < 0) {
            error += stepAcross;
            stepAcross += 2;
            stepDiagonal += 2;
        } else {
            if (across != down) halfWidths[down] = std::max(halfWidths[down], across);
            error += stepDiagonal;
            stepAcross += 2;
            stepDiagonal += 4;
            --down;
        }
        ++across;
    } while (across <= down);
}

void fillSpan(BITMAP* target, int y, int left, int right, int colour)
{
    left = std::max(left, target->cl);
    right = std::min(right + 1, target->cr);
    if (left < right) std::fill(row(target, y) + left, row(target, y) + right, static_cast<std::uint32_t>(colour));
}

}  // namespace

WIDE_VECTORS void layTranslucent(BITMAP* target, BITMAP* layer, int alpha, int x, int y)
{
    // The library's weight: alpha + 1, except that alpha 0 leaves the target as it is.
    const std::uint32_t weight = alpha ? static_cast<std::uint32_t>(alpha) + 1 : 0;
    int left = 0, top = 0, right = layer->w, bottom = layer->h;  // in the layer
    if (target->clip) {
        left = std::max(target->cl - x, 0);
        top = std::max(target->ct - y, 0);
        right = std::min(target->cr - x, layer->w);
        bottom = std::min(target->cb - y, layer->h);
    }
    if (right <= left || bottom <= top) return;
    const auto mask = static_cast<std::uint32_t>(bitmap_mask_color(layer));
    for (int r = top; r < bottom; ++r) blendRow(row(layer, r) + left, row(target, r + y) + left + x, right - left, weight, mask);
}

WIDE_VECTORS void copyMasked(BITMAP* source, BITMAP* target, int sourceX, int sourceY, int x, int y, int width, int height)
{
    if (sourceX >= source->w || sourceY >= source->h || x >= target->cr || y >= target->cb) return;
    // What lies outside the source, then outside the target's clip rectangle, is cut away.
    if (sourceX < 0) {
        width += sourceX;
        x -= sourceX;
        sourceX = 0;
    }
    if (sourceY < 0) {
        height += sourceY;
        y -= sourceY;
        sourceY = 0;
    }
    width = std::min(width, source->w - sourceX);
    height = std::min(height, source->h - sourceY);
    if (x < target->cl) {
        width -= target->cl - x;
        sourceX += target->cl - x;
        x = target->cl;
    }
    if (y < target->ct) {
        height -= target->ct - y;
        sourceY += target->ct - y;
        y = target->ct;
    }
    width = std::min(width, target->cr - x);
    height = std::min(height, target->cb - y);
    if (width <= 0 || height <= 0) return;
    const auto mask = static_cast<std::uint32_t>(bitmap_mask_color(source));
    for (int r = 0; r < height; ++r) copyMaskedRow(row(source, sourceY + r) + sourceX, row(target, y + r) + x, width, mask);
}

WIDE_VECTORS void composeLayers(BITMAP* target, BITMAP* picture, const Translucent* layers, int layerCount, int x, int y)
{
    const int left = std::max(target->cl - x, 0), top = std::max(target->ct - y, 0);  // in the picture
    const int right = std::min(target->cr - x, picture->w), bottom = std::min(target->cb - y, picture->h);
    if (right <= left || bottom <= top) return;
    const auto pictureMask = static_cast<std::uint32_t>(bitmap_mask_color(picture));
    for (int r = top; r < bottom; ++r) {
        std::uint32_t* to = row(target, r + y) + left + x;
        copyMaskedRow(row(picture, r) + left, to, right - left, pictureMask);
        for (int l = 0; l < layerCount; ++l) {
            BITMAP* layer = layers[l].layer;
            const int alpha = layers[l].alpha;
            blendRow(row(layer, r) + left, to, right - left, alpha ? static_cast<std::uint32_t>(alpha) + 1 : 0,
                     static_cast<std::uint32_t>(bitmap_mask_color(layer)));
        }
    }
}

WIDE_VECTORS void fillBitmap(BITMAP* target, int colour)
{
    for (int y = target->ct; y < target->cb; ++y)
        std::fill(row(target, y) + target->cl, row(target, y) + target->cr, static_cast<std::uint32_t>(colour));
}

WIDE_VECTORS void fillWithDiscs(BITMAP* target, int background, const Disc* discs, int discCount)
{
    bool ours = discCount <= MAX_DISCS;
    for (int i = 0; i < discCount; ++i) ours = ours && discs[i].radius >= 0 && discs[i].radius <= MAX_DISC_RADIUS;
    if (!ours) {
        clear_to_color(target, background);
        for (int i = 0; i < discCount; ++i) circlefill(target, discs[i].x, discs[i].y, discs[i].radius, discs[i].colour);
        return;
    }
    int halfWidths[MAX_DISCS][MAX_DISC_RADIUS + 1];
    for (int i = 0; i < discCount; ++i) discHalfWidths(discs[i].radius, halfWidths[i]);
    for (int y = target->ct; y < target->cb; ++y) {
        fillSpan(target, y, target->cl, target->cr - 1, background);
        for (int i = 0; i < discCount; ++i) {
            const Disc& disc = discs[i];
            const int rowFromCentre = y > disc.y ? y - disc.y : disc.y - y;
            if (rowFromCentre > disc.radius) continue;
            const int halfWidth = halfWidths[i][rowFromCentre];
            if (halfWidth >= 0) fillSpan(target, y, disc.x - halfWidth, disc.x + halfWidth, disc.colour);
        }
    }
}
