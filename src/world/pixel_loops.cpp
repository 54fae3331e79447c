// The game's own loops for the frame's translucent layers, masked copies, discs and wipes: the
// library's pixels exactly, several pixels at a time.
#include "world/pixel_loops.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

#include "world/colours.h"

namespace {

// Pixels tested together for a see-through run: a run of them all magenta is passed over
// without being blended. The glow is see-through almost everywhere, the darkness inside the
// lit disc.
constexpr int RUN = 16;

constexpr int LINE_BYTES = 64;  // the processor's cache line
constexpr int ASK_AHEAD_ROWS = 12;

// Where the processor has wider vectors than every x86-64 is sure to have, the loops are also
// built for them, and the wider build is chosen when the program starts. GHOSTMAZE_PLAIN_LOOPS
// builds the plain loops alone, so their tests see them on a machine that would choose the wider.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(GHOSTMAZE_PLAIN_LOOPS)
#define WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_VECTORS
#endif

// A line the loops will write soon, asked for with the right to write it. A processor without
// prefetchw passes over the instruction.
inline void askForWriting(const char* line)
{
#if defined(__x86_64__) && defined(__GNUC__)
    asm volatile("prefetchw %0" : : "m"(*line));
#else
    (void)line;
#endif
}

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

// Pixels left to right - 1 of a row, as far as they lie within first to end - 1.
void fillSpan(std::uint32_t* pixels, int first, int end, int left, int right, int colour)
{
    left = std::max(left, first);
    right = std::min(right, end);
    if (left < right) std::fill(pixels + left, pixels + right, static_cast<std::uint32_t>(colour));
}

// The discs' half-widths on every row from their centres, as discHalfWidths gives them.
using DiscTables = int[MAX_DISCS][MAX_DISC_RADIUS + 1];

bool discsFitTables(const Disc* discs, int discCount)
{
    bool fit = discCount <= MAX_DISCS;
    for (int i = 0; i < discCount; ++i) fit = fit && discs[i].radius >= 0 && discs[i].radius <= MAX_DISC_RADIUS;
    return fit;
}

// The tables of discs that fit them.
void makeDiscTables(const Disc* discs, int discCount, DiscTables& halfWidths)
{
    for (int i = 0; i < discCount; ++i) discHalfWidths(discs[i].radius, halfWidths[i]);
}

using Segment = BackgroundFill::Run;
constexpr int MAX_SEGMENTS = BackgroundFill::MAX_LIGHT_RUNS;

// Row y of the background with its discs drawn in turn, pixels first to end - 1 of it, as the
// runs of one colour it falls into, left to right: each pixel is the last disc's over it, or
// the background's. Returns the number of runs.
int discRowSegments(int y, int first, int end, int background, const Disc* discs, int discCount,
                    const DiscTables& halfWidths, Segment* segments)
{
    int spanLeft[MAX_DISCS], spanRight[MAX_DISCS];  // each disc's span on the row; empty if none
    int edges[2 * MAX_DISCS + 2];
    int edgeCount = 0;
    edges[edgeCount++] = first;
    edges[edgeCount++] = end;
    for (int i = 0; i < discCount; ++i) {
        const Disc& disc = discs[i];
        const int rowFromCentre = y > disc.y ? y - disc.y : disc.y - y;
        const int halfWidth = rowFromCentre > disc.radius ? -1 : halfWidths[i][rowFromCentre];
        spanLeft[i] = halfWidth < 0 ? end : std::clamp(disc.x - halfWidth, first, end);
        spanRight[i] = halfWidth < 0 ? end : std::clamp(disc.x + halfWidth + 1, first, end);
        edges[edgeCount++] = spanLeft[i];
        edges[edgeCount++] = spanRight[i];
    }
    // A handful of edges, nearly in order: an insertion sort does them with no call.
    for (int i = 1; i < edgeCount; ++i) {
        const int edge = edges[i];
        int j = i;
        for (; j > 0 && edges[j - 1] > edge; --j) edges[j] = edges[j - 1];
        edges[j] = edge;
    }
    int count = 0;
    for (int e = 0; e + 1 < edgeCount; ++e) {
        const int left = edges[e], right = edges[e + 1];
        if (left >= right) continue;
        int colour = background;
        for (int i = 0; i < discCount; ++i)
            if (spanLeft[i] <= left && right <= spanRight[i]) colour = discs[i].colour;
        if (count > 0 && segments[count - 1].colour == colour && segments[count - 1].right == left)
            segments[count - 1].right = right;
        else
            segments[count++] = {left, right, colour};
    }
    return count;
}

// Pixels moved towards one colour, as blendSpan does with a layer of that colour.
WIDE_VECTORS void blendColour(std::uint32_t* to, int count, std::uint32_t colour, std::uint32_t weight)
{
    for (int i = 0; i < count; ++i) to[i] = blendPixel(colour, to[i], weight);
}

// The library's weight for an alpha: alpha + 1, except that alpha 0 leaves the target as it is.
std::uint32_t weightOf(int alpha) { return alpha ? static_cast<std::uint32_t>(alpha) + 1 : 0; }

}  // namespace

// The library's midpoint walk, keeping the widest fill of each row.
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

namespace {

// Calls span(y, left, right) for each row y of the disc within the target's clip rows, with the
// disc's pixels left to right - 1 on it, as circlefill fills them. The disc is no wider than
// MAX_DISC_RADIUS.
template <typename Span>
void forEachDiscRow(const BITMAP* target, const Disc& disc, Span span)
{
    int halfWidths[MAX_DISC_RADIUS + 1];
    discHalfWidths(disc.radius, halfWidths);
    const int top = std::max(disc.y - disc.radius, target->ct), bottom = std::min(disc.y + disc.radius + 1, target->cb);
    for (int y = top; y < bottom; ++y) {
        const int halfWidth = halfWidths[y > disc.y ? y - disc.y : disc.y - y];
        if (halfWidth >= 0) span(y, disc.x - halfWidth, disc.x + halfWidth + 1);
    }
}

}  // namespace

void layTranslucentDisc(BITMAP* target, const Disc& disc, int alpha)
{
    const auto colour = static_cast<std::uint32_t>(disc.colour);
    if (disc.radius < 0 || disc.radius > MAX_DISC_RADIUS || colour == static_cast<std::uint32_t>(seeThrough())) return;
    const std::uint32_t weight = weightOf(alpha);
    forEachDiscRow(target, disc, [&](int y, int left, int right) {
        left = std::max(left, target->cl);
        right = std::min(right, target->cr);
        if (left < right) blendColour(row(target, y) + left, right - left, colour, weight);
    });
}

void askForArea(BITMAP* target, int x, int y, int width, int height)
{
    const int left = std::max(x, target->cl), right = std::min(x + width, target->cr);
    const int top = std::max(y, target->ct), bottom = std::min(y + height, target->cb);
    if (left >= right) return;
    for (int r = top; r < bottom; ++r) {
        const char* pixels = reinterpret_cast<const char*>(row(target, r));
        // The last line too, which the steps may pass over.
        for (int at = left * 4; at < right * 4; at += LINE_BYTES) askForWriting(pixels + at);
        askForWriting(pixels + right * 4 - 1);
    }
}

void layTranslucent(BITMAP* target, BITMAP* layer, int alpha, int x, int y)
{
    const std::uint32_t weight = weightOf(alpha);
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

void copyMasked(BITMAP* source, BITMAP* target, int sourceX, int sourceY, int x, int y, int width, int height)
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

namespace {

// The fog's part of a composed row: the target's pixels, indexed as the picture's, left to
// right - 1 of them in the picture. Its squares are of one colour, so nothing is read for them.
void layFogRow(std::uint32_t* to, const FogSquares& fog, int r, int left, int right)
{
    const auto colour = static_cast<std::uint32_t>(fog.colour);
    const std::uint32_t weight = weightOf(fog.alpha);
    fog.forEachSpan(r, left, right, [&](int spanLeft, int spanRight) {
        blendColour(to + spanLeft, spanRight - spanLeft, colour, weight);
    });
}

}  // namespace

namespace {

// Pixels spanLeft to spanRight - 1 of row r of the background, made where nothing was drawn over
// them already; the target's row r + y holds the picture's row r from pixel x on.
void fillBackgroundSpan(BITMAP* target, const ViewLights& lights, int r, int x, int y, int spanLeft, int spanRight)
{
    int at = spanLeft;
    const auto fillTo = [&](int end) {
        if (at < end) lights.background->fill(target, r + y, at + x, end + x);
    };
    lights.backgroundDrawn->forEachSpan(r, [&](int drawnLeft, int drawnRight) {
        fillTo(std::min(drawnLeft, spanRight));
        at = std::max(at, drawnRight);
    });
    fillTo(spanRight);
}

// The glow's drawn blocks of row r laid over pixels spanLeft to spanRight - 1.
void layGlowSpan(std::uint32_t* to, const ViewLights& lights, int r, int spanLeft, int spanRight)
{
    std::uint32_t* glow = row(lights.glow, r);
    const auto glowMask = static_cast<std::uint32_t>(bitmap_mask_color(lights.glow));
    lights.glowDrawn->forEachSpan(r, [&](int blockLeft, int blockRight) {
        const int left = std::max(blockLeft, spanLeft), right = std::min(blockRight, spanRight);
        if (left < right) blendRow(glow + left, to + left, right - left, weightOf(lights.glowAlpha), glowMask);
    });
}

// The glow's drawn blocks of row r wiped see-through.
void wipeGlowRow(const ViewLights& lights, int r)
{
    std::uint32_t* glow = row(lights.glow, r);
    const auto glowMask = static_cast<std::uint32_t>(bitmap_mask_color(lights.glow));
    lights.glowDrawn->forEachSpan(r, [&](int blockLeft, int blockRight) {
        std::fill(glow + blockLeft, glow + blockRight, glowMask);
    });
}

// The darkness laid along rows of pixels left to right - 1: its discs' tables made once, and a
// row's runs found at its first span, for all of them.
class DarknessRows {
public:
    DarknessRows(const ViewLights& lights, int left, int right) : left(left), right(right)
    {
        // A darkness the tables cannot hold is the caller's fault: it is left out rather than let
        // overrun them.
        darkness = lights.darkness;
        if (darkness && !discsFitTables(darkness->discs, darkness->discCount)) darkness = nullptr;
        if (darkness) makeDiscTables(darkness->discs, darkness->discCount, halfWidths);
        weight = weightOf(lights.darknessAlpha);
    }

    void lay(std::uint32_t* to, int r, int spanLeft, int spanRight)
    {
        if (!darkness) return;
        if (row != r) {
            count = discRowSegments(r, left, right, darkness->background, darkness->discs, darkness->discCount,
                                    halfWidths, segments);
            row = r;
        }
        const auto litMask = static_cast<std::uint32_t>(seeThrough());  // the lit disc
        for (int s = 0; s < count; ++s) {
            const auto colour = static_cast<std::uint32_t>(segments[s].colour);
            const int from = std::max(segments[s].left, spanLeft), end = std::min(segments[s].right, spanRight);
            if (colour != litMask && from < end) blendColour(to + from, end - from, colour, weight);
        }
    }

private:
    const DiscPicture* darkness = nullptr;
    DiscTables halfWidths;
    std::uint32_t weight = 0;
    int left = 0, right = 0;
    Segment segments[MAX_SEGMENTS];
    int count = 0, row = -1;
};

// The spans of row r to compose lie scattered, where the processor cannot guess them: their
// lines are asked for some rows ahead, so they arrive together rather than one by one.
void askForSpans(BITMAP* target, const DrawnBlocks& only, int r, int x, int y, int left, int right)
{
    const char* pixels = reinterpret_cast<const char*>(row(target, r + y) + x);
    only.forEachSpan(r, [&](int onlyLeft, int onlyRight) {
        const int spanLeft = std::max(onlyLeft, left), spanRight = std::min(onlyRight, right);
        for (int at = spanLeft * 4; at < spanRight * 4; at += LINE_BYTES) askForWriting(pixels + at);
    });
}

// The rows of the view from top to bottom - 1, pixels left to right - 1 of each, in the picture's
// coordinates: the picture copied in unless it is null (the target holds it already), then each
// light laid over it in turn.
WIDE_VECTORS void composeRows(BITMAP* target, BITMAP* picture, const ViewLights& lights, int x, int y, int left,
                              int top, int right, int bottom)
{
    const auto pictureMask = picture ? static_cast<std::uint32_t>(bitmap_mask_color(picture)) : 0;
    DarknessRows darkness(lights, left, right);

    // Pixels spanLeft to spanRight - 1 of row r, each layer in turn.
    const auto composeSpan = [&](int r, std::uint32_t* to, int spanLeft, int spanRight) {
        if (picture) copyMaskedRow(row(picture, r) + spanLeft, to + spanLeft, spanRight - spanLeft, pictureMask);
        // The row is made here, where the lights find it at hand.
        if (lights.background) fillBackgroundSpan(target, lights, r, x, y, spanLeft, spanRight);
        if (lights.glow) layGlowSpan(to, lights, r, spanLeft, spanRight);
        darkness.lay(to, r, spanLeft, spanRight);
        if (lights.fog) layFogRow(to, *lights.fog, r, spanLeft, spanRight);
    };

    if (lights.only)
        for (int r = top; r < std::min(top + ASK_AHEAD_ROWS, bottom); ++r)
            askForSpans(target, *lights.only, r, x, y, left, right);
    for (int r = top; r < bottom; ++r) {
        std::uint32_t* to = row(target, r + y) + x;  // the target's pixels, indexed as the picture's
        if (lights.only) {
            if (r + ASK_AHEAD_ROWS < bottom) askForSpans(target, *lights.only, r + ASK_AHEAD_ROWS, x, y, left, right);
            lights.only->forEachSpan(r, [&](int onlyLeft, int onlyRight) {
                const int spanLeft = std::max(onlyLeft, left), spanRight = std::min(onlyRight, right);
                if (spanLeft < spanRight) composeSpan(r, to, spanLeft, spanRight);
            });
        } else {
            composeSpan(r, to, left, right);
        }
        if (lights.glow && lights.wipeGlow) wipeGlowRow(lights, r);
    }
}

}  // namespace

void composeView(BITMAP* target, BITMAP* picture, const ViewLights& lights, int x, int y)
{
    const int left = std::max(target->cl - x, 0), top = std::max(target->ct - y, 0);  // in the picture
    const int right = std::min({target->cr - x, picture->w, VIEW_WIDTH});
    const int bottom = std::min({target->cb - y, picture->h, VIEW_HEIGHT});
    if (right <= left || bottom <= top) return;
    composeRows(target, picture, lights, x, y, left, top, right, bottom);
}

void layLightsOver(BITMAP* view, const ViewLights& lights)
{
    const int right = std::min(view->cr, VIEW_WIDTH), bottom = std::min(view->cb, VIEW_HEIGHT);
    if (right <= view->cl || bottom <= view->ct) return;
    composeRows(view, nullptr, lights, 0, 0, view->cl, view->ct, right, bottom);
    // Rows the lights did not reach keep their marks, and are wiped with the next frame's.
    DrawnBlocks* drawn = lights.glowDrawn;
    if (lights.glow && lights.wipeGlow && view->ct <= drawn->top && drawn->bottom <= bottom) drawn->clear();
}

void wipeDrawn(BITMAP* layer, DrawnBlocks& drawn, int colour)
{
    const int bottom = std::min(drawn.bottom, layer->h);
    for (int r = drawn.top; r < bottom; ++r)
        drawn.forEachSpan(r, [&](int left, int right) { fillSpan(row(layer, r), 0, layer->w, left, right, colour); });
    drawn.clear();
}

void fillRectangle(BITMAP* target, int x1, int y1, int x2, int y2, int colour)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const int top = std::max(y1, target->ct), bottom = std::min(y2 + 1, target->cb);
    for (int y = top; y < bottom; ++y) fillSpan(row(target, y), target->cl, target->cr, x1, x2 + 1, colour);
}

WIDE_VECTORS void fillWithDiscs(BITMAP* target, int background, const Disc* discs, int discCount)
{
    if (!discsFitTables(discs, discCount)) {
        clear_to_color(target, background);
        for (int i = 0; i < discCount; ++i) circlefill(target, discs[i].x, discs[i].y, discs[i].radius, discs[i].colour);
        return;
    }
    DiscTables halfWidths;
    makeDiscTables(discs, discCount, halfWidths);
    for (int y = target->ct; y < target->cb; ++y) {
        Segment segments[MAX_SEGMENTS];
        const int count = discRowSegments(y, target->cl, target->cr, background, discs, discCount, halfWidths, segments);
        for (int s = 0; s < count; ++s)
            fillSpan(row(target, y), target->cl, target->cr, segments[s].left, segments[s].right, segments[s].colour);
    }
}

namespace {

// Pixels of one colour where the cover is see-through; elsewhere they stay as they are.
WIDE_VECTORS void fillSeeThrough(std::uint32_t* __restrict__ to, const std::uint32_t* __restrict__ cover, int count,
                                 std::uint32_t colour, std::uint32_t mask)
{
    for (int i = 0; i < count; ++i) to[i] = cover[i] == mask ? colour : to[i];
}

// Pixels left to right - 1 of target row y in one colour, where the cover is see-through.
void fillSpanUnder(BITMAP* target, int y, int left, int right, std::uint32_t colour, BITMAP* cover, int coverX,
                   int coverY)
{
    left = std::max(left, target->cl);
    right = std::min(right, target->cr);
    if (left >= right) return;
    std::uint32_t* to = row(target, y);
    const int coverRow = y + coverY;
    // Where the cover does not reach, nothing hides the fill.
    const int coverLeft = coverRow >= 0 && coverRow < cover->h ? std::clamp(-coverX, left, right) : right;
    const int coverRight = coverRow >= 0 && coverRow < cover->h ? std::clamp(cover->w - coverX, coverLeft, right) : right;
    std::fill(to + left, to + coverLeft, colour);
    if (coverLeft < coverRight)
        fillSeeThrough(to + coverLeft, row(cover, coverRow) + coverX + coverLeft, coverRight - coverLeft, colour,
                       static_cast<std::uint32_t>(bitmap_mask_color(cover)));
    std::fill(to + coverRight, to + right, colour);
}

}  // namespace

void fillDiscUnder(BITMAP* target, const Disc& disc, BITMAP* cover, int coverX, int coverY)
{
    if (disc.radius < 0 || disc.radius > MAX_DISC_RADIUS) {
        // Wider than any view: left to the library, with the cover copied back over it.
        circlefill(target, disc.x, disc.y, disc.radius, disc.colour);
        copyMasked(cover, target, 0, 0, -coverX, -coverY, cover->w, cover->h);
        return;
    }
    forEachDiscRow(target, disc, [&](int y, int left, int right) {
        fillSpanUnder(target, y, left, right, static_cast<std::uint32_t>(disc.colour), cover, coverX, coverY);
    });
}

void fillRectangleUnder(BITMAP* target, int x1, int y1, int x2, int y2, int colour, BITMAP* cover, int coverX,
                        int coverY)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const int top = std::max(y1, target->ct), bottom = std::min(y2 + 1, target->cb);
    for (int y = top; y < bottom; ++y)
        fillSpanUnder(target, y, x1, x2 + 1, static_cast<std::uint32_t>(colour), cover, coverX, coverY);
}

void WallRows::setTile(BITMAP* picture, int x, int y)
{
    tiles = picture;
    tileX = x;
    tileY = y;
    if (!tiles) return;
    const auto mask = static_cast<std::uint32_t>(bitmap_mask_color(tiles));
    for (int r = 0; r < CELL_SIZE; ++r) {
        const std::uint32_t* pixels = row(tiles, tileY + r) + tileX;
        opaque[r] = std::find(pixels, pixels + CELL_SIZE, mask) == pixels + CELL_SIZE;
    }
}

const WallRows::Run* WallRows::hidingRuns(int y, int& count) const
{
    count = 0;
    const int at = rowOver(y);
    if (!tiles || at < 0 || at >= rowCount || !opaque[y - rows[at].top]) return nullptr;
    count = rows[at].runCount;
    return rows[at].runs;
}

void WallRows::shadeRow(std::uint32_t* to, int y, int left, int right) const
{
    // The row of cells over y and the one above reach it.
    const int at = rowOver(y);
    if (at < 0) return;
    for (int i = std::max(at - 1, 0); i <= std::min(at, rowCount - 1); ++i) {
        const int down = y - rows[i].top;
        // The squares laid depth pixels down and right cover rows depth to depth + CELL_SIZE.
        const int firstDepth = std::max(1, down - CELL_SIZE), lastDepth = std::min(SHADOW_DEPTH, down);
        if (firstDepth > lastDepth) continue;
        // The runs lie left to right: those past the span end the row.
        for (int r = 0; r < rows[i].runCount && rows[i].runs[r].left + firstDepth < right; ++r) {
            const Run& run = rows[i].runs[r];
            fillSpan(to, left, right, run.left + firstDepth, run.right + lastDepth + 1, shadow);
        }
    }
}

void WallRows::wallRow(std::uint32_t* to, int y, int left, int right) const
{
    const int at = rowOver(y);
    if (!tiles || at < 0 || at >= rowCount) return;
    const Row& cells = rows[at];
    const std::uint32_t* tile = row(tiles, tileY + y - cells.top) + tileX;
    const auto mask = static_cast<std::uint32_t>(bitmap_mask_color(tiles));
    for (int r = 0; r < cells.runCount && cells.runs[r].left < right; ++r) {
        const Run& run = cells.runs[r];
        // Cell by cell, each from the tile's column where the span enters it.
        for (int x = std::max(run.left, left), end = std::min(run.right, right); x < end;) {
            const int column = (x - run.left) % CELL_SIZE;
            const int count = std::min(end - x, CELL_SIZE - column);
            if (opaque[y - cells.top])
                std::copy(tile + column, tile + column + count, to + x);
            else
                copyMaskedRow(tile + column, to + x, count, mask);
            x += count;
        }
    }
}

bool BackgroundFill::prepare(const BITMAP* target, int colour, const Disc* lights, int lightCount,
                             const WallRows& wallRows, const UnderWalls& under)
{
    if (!discsFitTables(lights, lightCount)) return false;
    lightRunsTarget = nullptr;
    background = colour;
    for (int i = 0; i < lightCount; ++i) discs[i] = lights[i];
    discCount = lightCount;
    makeDiscTables(discs, discCount, halfWidths);
    walls = &wallRows;

    // Only the shapes that reach into the clip rectangle, in their order.
    shapeCount = sizeCount = 0;
    for (int i = 0; i < under.boxCount; ++i) {
        const Box& box = under.boxes[i];
        const int left = std::min(box.x1, box.x2), right = std::max(box.x1, box.x2) + 1;
        const int top = std::max(std::min(box.y1, box.y2), target->ct);
        const int bottom = std::min(std::max(box.y1, box.y2) + 1, target->cb);
        if (top >= bottom || right <= target->cl || left >= target->cr) continue;
        if (shapeCount == MAX_UNDER_SHAPES) return false;
        shapes[shapeCount++] = {top, bottom, left, right, 0, 0, nullptr, box.colour};
    }
    for (int i = 0; i < under.discCount; ++i) {
        const Disc& disc = under.discs[i];
        if (disc.radius < 0 || disc.radius > MAX_DISC_RADIUS) return false;
        const int top = std::max(disc.y - disc.radius, target->ct);
        const int bottom = std::min(disc.y + disc.radius + 1, target->cb);
        if (top >= bottom || disc.x + disc.radius < target->cl || disc.x - disc.radius >= target->cr) continue;
        int size = 0;
        while (size < sizeCount && radii[size] != disc.radius) ++size;
        if (size == sizeCount) {
            if (sizeCount == MAX_UNDER_SIZES) return false;
            radii[sizeCount] = disc.radius;
            discHalfWidths(disc.radius, shapeHalfWidths[sizeCount++]);
        }
        if (shapeCount == MAX_UNDER_SHAPES) return false;
        shapes[shapeCount++] = {top, bottom, disc.x - disc.radius, disc.x + disc.radius + 1, disc.x, disc.y,
                                shapeHalfWidths[size], disc.colour};
    }

    // Each band's shapes, counted, then placed in order.
    bandTop = target->ct;
    const int rows = std::max(target->cb - target->ct, 1);
    bandHeight = (rows + MAX_BANDS - 1) / MAX_BANDS;
    const int bands = bandCount = (rows + bandHeight - 1) / bandHeight;
    std::fill(bandStart, bandStart + bands + 1, 0);
    for (int i = 0; i < shapeCount; ++i)
        for (int band = (shapes[i].top - bandTop) / bandHeight; band <= (shapes[i].bottom - 1 - bandTop) / bandHeight; ++band)
            ++bandStart[band + 1];
    for (int band = 0; band < bands; ++band) bandStart[band + 1] += bandStart[band];
    if (bandStart[bands] > MAX_BAND_ENTRIES) return false;
    int placed[MAX_BANDS] = {};
    for (int i = 0; i < shapeCount; ++i)
        for (int band = (shapes[i].top - bandTop) / bandHeight; band <= (shapes[i].bottom - 1 - bandTop) / bandHeight; ++band)
            bandShapes[bandStart[band] + placed[band]++] = static_cast<std::int16_t>(i);
    return true;
}

const BackgroundFill::Run* BackgroundFill::lightRunsOf(const BITMAP* target, int y, int& count) const
{
    if (target != lightRunsTarget || target->cl != lightRunsLeft || target->cr != lightRunsRight) {
        std::fill(std::begin(lightRunCounts), std::end(lightRunCounts), -1);
        lightRunsTarget = target;
        lightRunsLeft = target->cl;
        lightRunsRight = target->cr;
    }
    const int slot = y >= 0 && y < KEPT_ROWS ? y : KEPT_ROWS;
    if (slot == KEPT_ROWS || lightRunCounts[slot] < 0)
        lightRunCounts[slot] = static_cast<std::int8_t>(
            discRowSegments(y, target->cl, target->cr, background, discs, discCount, halfWidths, lightRuns[slot]));
    count = lightRunCounts[slot];
    return lightRuns[slot];
}

void BackgroundFill::fill(BITMAP* target, int y, int left, int right) const
{
    left = std::max(left, target->cl);
    right = std::min(right, target->cr);
    if (left >= right || y < target->ct || y >= target->cb) return;
    int count = 0;
    const Segment* segments = lightRunsOf(target, y, count);
    std::uint32_t* to = row(target, y);
    // The background and the shadows only between the walls that hide them.
    int hidingCount = 0;
    const WallRows::Run* hiding = walls->hidingRuns(y, hidingCount);
    for (int h = 0, open = left; h <= hidingCount && open < right; ++h) {
        const int openRight = h < hidingCount ? std::min(hiding[h].left, right) : right;
        if (open < openRight) {
            for (int s = 0; s < count; ++s)
                fillSpan(to, open, openRight, segments[s].left, segments[s].right, segments[s].colour);
            walls->shadeRow(to, y, open, openRight);
        }
        if (h < hidingCount) open = std::max(open, hiding[h].right);
    }
    const int band = std::clamp((y - bandTop) / bandHeight, 0, std::max(bandCount - 1, 0));
    for (int entry = bandStart[band]; entry < bandStart[band + 1]; ++entry) {
        const UnderShape& shape = shapes[bandShapes[entry]];
        if (y < shape.top || y >= shape.bottom || shape.right <= left || shape.left >= right) continue;
        if (!shape.halfWidths) {
            fillSpan(to, left, right, shape.left, shape.right, shape.colour);
            continue;
        }
        const int halfWidth = shape.halfWidths[y > shape.y ? y - shape.y : shape.y - y];
        if (halfWidth >= 0) fillSpan(to, left, right, shape.x - halfWidth, shape.x + halfWidth + 1, shape.colour);
    }
    walls->wallRow(to, y, left, right);
}

void fillWithDiscsUnder(BITMAP* target, int background, const Disc* discs, int discCount, const WallRows& walls,
                        const UnderWalls& under)
{
    BackgroundFill fill;
    if (fill.prepare(target, background, discs, discCount, walls, under)) {
        for (int y = target->ct; y < target->cb; ++y) fill.fill(target, y, target->cl, target->cr);
        return;
    }
    // Discs or shapes the tables cannot hold: the shapes are laid one by one after the rest.
    if (fill.prepare(target, background, discs, discCount, walls, UnderWalls{})) {
        for (int y = target->ct; y < target->cb; ++y) fill.fill(target, y, target->cl, target->cr);
    } else {
        fillWithDiscs(target, background, discs, discCount);
        for (int y = target->ct; y < target->cb; ++y) {
            walls.shadeRow(row(target, y), y, target->cl, target->cr);
            walls.wallRow(row(target, y), y, target->cl, target->cr);
        }
    }
    for (int i = 0; i < under.boxCount; ++i) {
        const Box& box = under.boxes[i];
        fillRectangleUnder(target, box.x1, box.y1, box.x2, box.y2, box.colour, under.walls, under.wallsX, under.wallsY);
    }
    for (int i = 0; i < under.discCount; ++i) fillDiscUnder(target, under.discs[i], under.walls, under.wallsX, under.wallsY);
}
