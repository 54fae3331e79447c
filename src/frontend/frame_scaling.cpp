// The game's own scaling of its finished picture onto a larger (or smaller) screen: where it
// lands, the whole-factor and sharp loops, and the way back from a screen point to the picture.
#include "frontend/frame_scaling.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t* pixelRow(BITMAP* bitmap, int y) { return reinterpret_cast<std::uint32_t*>(bitmap->line[y]); }

// Floor division, for screen points left of or above the picture.
int floorDivide(long long numerator, long long denominator)
{
    long long quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) --quotient;
    return static_cast<int>(quotient);
}

// The output pixels, first and past the last, of an axis whose source lies from `from` to `to`
// (excluded).
void outputSpan(const ScaleAxis& axis, int from, int to, int& begin, int& end)
{
    begin = static_cast<int>(std::lower_bound(axis.first.begin(), axis.first.end(), from) - axis.first.begin());
    end = static_cast<int>(std::lower_bound(axis.first.begin(), axis.first.end(), to) - axis.first.begin());
}

// One whole source row, each pixel `factor` times over.
void widenRow(const std::uint32_t* source, int width, std::uint32_t* out, int factor)
{
    switch (factor) {
    case 1:
        std::memcpy(out, source, static_cast<std::size_t>(width) * sizeof *out);
        break;
    case 2:
        for (int x = 0; x < width; ++x) out[2 * x] = out[2 * x + 1] = source[x];
        break;
    case 3:
        for (int x = 0; x < width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = source[x];
        break;
    default:
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < factor; ++i) out[factor * x + i] = source[x];
    }
}

// The rounded mean of two colours, channel by channel: the half blend, which every blend of a
// screen 1.5 times the picture is.
inline std::uint32_t halfBlend(std::uint32_t a, std::uint32_t b)
{
    return ((a | b) - (((a ^ b) & 0xFEFEFEFEu) >> 1)) & 0xFFFFFFu;
}

// One source row through the sharp filter's columns, for the output columns begin to end.
void widenSharpRow(const std::uint32_t* source, int sourceWidth, const ScaleAxis& columns, int partX, int begin,
                   int end, std::uint32_t* out)
{
    const std::int32_t* first = columns.first.data();
    const std::int32_t* weight = columns.weight.data();
    const int last = sourceWidth - 1;
    for (int x = begin; x < end; ++x) {
        const int from = first[x] - partX;
        const std::uint32_t a = source[from], b = source[std::min(from + 1, last)];
        const std::uint32_t w = static_cast<std::uint32_t>(weight[x]);
        // Inside a source pixel the output is that pixel; only its edges blend.
        *out++ = w == BLEND_WHOLE / 2 ? halfBlend(a, b) : blendPixels(a, b, w);
    }
}

// A whole source row 1.5 times as wide: each pair of pixels keeps one output pixel each and
// shares the half blend between them, as the sharp filter's table says for this scale.
void widenThreeForTwo(const std::uint32_t* source, int sourceWidth, std::uint32_t* out)
{
    for (int x = 0; x + 1 < sourceWidth; x += 2, out += 3) {
        const std::uint32_t a = source[x], b = source[x + 1];
        out[0] = a & 0xFFFFFFu;
        out[1] = halfBlend(a, b);
        out[2] = b & 0xFFFFFFu;
    }
}

// Two widened rows blended into an output row.
void blendRows(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t weight, int width,
               std::uint32_t* out)
{
    if (weight == BLEND_WHOLE / 2) {
        for (int x = 0; x < width; ++x) out[x] = halfBlend(upper[x], lower[x]);
        return;
    }
    for (int x = 0; x < width; ++x) out[x] = blendPixels(upper[x], lower[x], weight);
}

}  // namespace

int windowScaleFor(int areaWidth, int areaHeight)
{
    const int across = (areaWidth - WINDOW_FRAME_ROOM) / SCREEN_WIDTH;
    const int down = (areaHeight - WINDOW_FRAME_ROOM) / SCREEN_HEIGHT;
    return std::max(1, std::min(across, down));
}

ScaleAxis sharpAxis(int sourceSize, int outputSize)
{
    ScaleAxis axis;
    axis.first.resize(outputSize);
    axis.weight.resize(outputSize);
    // The enlargement by the whole factor just above the scale: its pixels never blend within one
    // source pixel, and every source pixel keeps at least one output pixel of its own.
    const long long factor = std::max(1, (outputSize + sourceSize - 1) / sourceSize);
    const long long enlarged = sourceSize * factor;
    const long long last = enlarged - 1;
    const long long span = 2LL * outputSize;
    for (int x = 0; x < outputSize; ++x) {
        // The centre of output pixel x in the enlarged picture, as `at` + `fraction` / `span`.
        long long position = (2LL * x + 1) * enlarged - outputSize;
        if (position < 0) position = 0;
        long long at = position / span;
        long long fraction = position % span;
        if (at >= last) {
            at = last;
            fraction = 0;
        }
        const long long from = at / factor;
        long long weight = (at + 1) / factor == from ? 0 : (fraction * BLEND_WHOLE + span / 2) / span;
        long long start = from;
        if (weight == BLEND_WHOLE) {
            start = from + 1;
            weight = 0;
        }
        axis.first[x] = static_cast<std::int32_t>(start);
        axis.weight[x] = static_cast<std::int32_t>(weight);
    }
    return axis;
}

FramePlacement placeFrame(int screenWidth, int screenHeight)
{
    FramePlacement placement;
    placement.screenWidth = screenWidth;
    placement.screenHeight = screenHeight;
    // As large as the screen's height allows, or its width where the screen is narrower.
    if (static_cast<long long>(screenWidth) * SCREEN_HEIGHT >= static_cast<long long>(screenHeight) * SCREEN_WIDTH) {
        placement.height = screenHeight;
        placement.width = (screenHeight * SCREEN_WIDTH + SCREEN_HEIGHT / 2) / SCREEN_HEIGHT;
    } else {
        placement.width = screenWidth;
        placement.height = (screenWidth * SCREEN_HEIGHT + SCREEN_WIDTH / 2) / SCREEN_WIDTH;
    }
    placement.left = (screenWidth - placement.width) / 2;
    placement.top = (screenHeight - placement.height) / 2;
    const int factor = placement.height / SCREEN_HEIGHT;
    const bool whole = factor >= 1 && placement.height == factor * SCREEN_HEIGHT && placement.width == factor * SCREEN_WIDTH;
    placement.wholeFactor = whole ? factor : 0;
    if (!whole) {
        placement.columns = sharpAxis(SCREEN_WIDTH, placement.width);
        placement.rows = sharpAxis(SCREEN_HEIGHT, placement.height);
        placement.widenedRows.assign(2 * static_cast<std::size_t>(placement.width), 0);
    }
    return placement;
}

FramePoint framePointOf(const FramePlacement& placement, int screenX, int screenY)
{
    FramePoint point;
    const int x = screenX - placement.left, y = screenY - placement.top;
    point.x = floorDivide(static_cast<long long>(x) * SCREEN_WIDTH, placement.width);
    point.y = floorDivide(static_cast<long long>(y) * SCREEN_HEIGHT, placement.height);
    // On the picture, the sharp filter says which picture pixel a screen pixel starts from.
    if (placement.wholeFactor == 0 && x >= 0 && x < placement.width) point.x = placement.columns.first[x];
    if (placement.wholeFactor == 0 && y >= 0 && y < placement.height) point.y = placement.rows.first[y];
    return point;
}

ScreenArea screenAreaOf(const FramePlacement& placement, int x, int y, int width, int height)
{
    ScreenArea area;
    if (placement.wholeFactor > 0) {
        const int k = placement.wholeFactor;
        area = {placement.left + x * k, placement.top + y * k, width * k, height * k};
        return area;
    }
    int begin = 0, end = 0;
    outputSpan(placement.columns, x, x + width, begin, end);
    area.x = placement.left + begin;
    area.width = end - begin;
    outputSpan(placement.rows, y, y + height, begin, end);
    area.y = placement.top + begin;
    area.height = end - begin;
    return area;
}

void scaleWhole(BITMAP* source, BITMAP* target, int factor, int left, int top)
{
    const std::size_t rowBytes = static_cast<std::size_t>(source->w) * factor * sizeof(std::uint32_t);
    for (int y = 0; y < source->h; ++y) {
        // One output row made, then copied: the other rows of the block are the same.
        const int outY = top + y * factor;
        std::uint32_t* out = pixelRow(target, outY) + left;
        widenRow(pixelRow(source, y), source->w, out, factor);
        for (int i = 1; i < factor; ++i) std::memcpy(pixelRow(target, outY + i) + left, out, rowBytes);
    }
}

// The last two source rows widened, and where they lie: straight in an output row that shows one
// alone, or in one of two spare rows. Rows come in order, so the lower of the two is done with.
struct WidenedRows {
    std::uint32_t* spare[2] = {nullptr, nullptr};
    int nextSpare = 0;
    const std::uint32_t* pixels[2] = {nullptr, nullptr};
    int sourceRow[2] = {-1, -1};

    void keep(int row, const std::uint32_t* made)
    {
        const int s = sourceRow[0] <= sourceRow[1] ? 0 : 1;
        pixels[s] = made;
        sourceRow[s] = row;
    }
    const std::uint32_t* find(int row) const
    {
        for (int s = 0; s < 2; ++s)
            if (sourceRow[s] == row) return pixels[s];
        return nullptr;
    }
    // The row, widened into a spare row unless it is kept already.
    template <typename Widen>
    const std::uint32_t* get(int row, Widen widen)
    {
        if (const std::uint32_t* made = find(row)) return made;
        std::uint32_t* made = spare[nextSpare];
        nextSpare ^= 1;
        widen(row, made);
        keep(row, made);
        return made;
    }
};

void scaleSharp(BITMAP* part, BITMAP* target, FramePlacement& placement, int partX, int partY)
{
    int columnBegin = 0, columnEnd = 0, rowBegin = 0, rowEnd = 0;
    outputSpan(placement.columns, partX, partX + part->w, columnBegin, columnEnd);
    outputSpan(placement.rows, partY, partY + part->h, rowBegin, rowEnd);
    const int width = columnEnd - columnBegin;
    if (width <= 0) return;
    const bool threeForTwo = partX == 0 && part->w == SCREEN_WIDTH && 2 * width == 3 * part->w;
    auto widen = [&](int sourceRow, std::uint32_t* out) {
        if (threeForTwo)
            widenThreeForTwo(pixelRow(part, sourceRow), part->w, out);
        else
            widenSharpRow(pixelRow(part, sourceRow), part->w, placement.columns, partX, columnBegin, columnEnd, out);
    };
    auto outputRow = [&](int y) { return pixelRow(target, placement.top + y) + placement.left + columnBegin; };
    // Each source row is widened once, and kept while the output rows use it.
    WidenedRows widened;
    widened.spare[0] = placement.widenedRows.data();
    widened.spare[1] = placement.widenedRows.data() + width;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
    int widenedAhead = -1;  // an output row already made while its neighbour above was blended
    for (int y = rowBegin; y < rowEnd; ++y) {
        if (y == widenedAhead) continue;
        const int from = placement.rows.first[y] - partY;
        const std::uint32_t w = static_cast<std::uint32_t>(placement.rows.weight[y]);
        std::uint32_t* out = outputRow(y);
        if (w == 0) {
            if (const std::uint32_t* made = widened.find(from)) {
                std::memcpy(out, made, rowBytes);
            } else {
                widen(from, out);
                widened.keep(from, out);
            }
            continue;
        }
        const std::uint32_t* upper = widened.get(from, widen);
        const int below = std::min(from + 1, part->h - 1);
        if (!widened.find(below) && y + 1 < rowEnd && placement.rows.first[y + 1] - partY == below &&
            placement.rows.weight[y + 1] == 0) {
            // The row below shows that source row alone: it is made first, and this one from it.
            widen(below, outputRow(y + 1));
            widened.keep(below, outputRow(y + 1));
            widenedAhead = y + 1;
        }
        blendRows(upper, widened.get(below, widen), w, width, out);
    }
}

void presentInto(BITMAP* part, BITMAP* target, FramePlacement& placement, int partX, int partY)
{
    if (placement.wholeFactor > 0) {
        const int k = placement.wholeFactor;
        scaleWhole(part, target, k, placement.left + partX * k, placement.top + partY * k);
        return;
    }
    scaleSharp(part, target, placement, partX, partY);
}
