// The frame's heaviest pixel work in loops of the game's own, on 32-bit memory bitmaps: each
// gives exactly the pixels of the library call it stands for, but where the library calls a
// function per pixel, these run several pixels at a time and pass over see-through runs.
#pragma once

#include <algorithm>
#include <cstdint>

#include "world/drawn_blocks.h"
#include "world/grid_layer.h"

struct BITMAP;

// As set_trans_blender(red, green, blue, alpha) then draw_trans_sprite(target, layer, x, y) at
// 32 bits (the blender's colour does not matter there): the layer's pixels other than magenta
// move the target's towards them by (alpha + 1) / 256, within the target's clip rectangle.
void layTranslucent(BITMAP* target, BITMAP* layer, int alpha, int x, int y);

// The lines of a part of a picture, within its clip rectangle, asked for at once before it is
// written: its rows lie a page or more apart, where the processor does not guess the next, and
// one by one each would wait for memory in turn.
void askForArea(BITMAP* target, int x, int y, int width, int height);

// As masked_blit: the source's pixels other than magenta copied, clipped as the library clips.
void copyMasked(BITMAP* source, BITMAP* target, int sourceX, int sourceY, int x, int y, int width, int height);

// As rectfill: the rectangle between two corners, both inside it, filled within the target's
// clip rectangle.
void fillRectangle(BITMAP* target, int x1, int y1, int x2, int y2, int colour);

// A filled circle as circlefill draws it: centre and radius in pixels, and colour.
struct Disc {
    int x = 0, y = 0, radius = 0, colour = 0;
};

// Beyond these the discs are left to the library.
constexpr int MAX_DISCS = 4;
constexpr int MAX_DISC_RADIUS = 1023;

// How far circlefill reaches left and right of a disc's centre on each row from its centre row
// out, halfWidths[0] to halfWidths[radius] (the disc is the same above and below).
void discHalfWidths(int radius, int* halfWidths);

// As circlefill of the disc into a see-through picture, then layTranslucent of that picture with
// this alpha: the target's pixels under the disc moved towards its colour, within the target's
// clip rectangle, and nothing read or written beside it. A disc of the mask colour, or wider
// than MAX_DISC_RADIUS, lays nothing.
void layTranslucentDisc(BITMAP* target, const Disc& disc, int alpha);

// As clear_to_color(target, background) then circlefill for each disc in turn, but row by row,
// so each row of the picture is written out once rather than once per disc.
void fillWithDiscs(BITMAP* target, int background, const Disc* discs, int discCount);

// The walls over a picture, each wall cell one tile with its shadow under it, made from the wall
// grid's runs of cells rather than read from a picture of them: a row of pixels needs the cells
// and the one tile, which stays at hand. A cell's shadow is its square, one pixel wider than the
// cell as every painted cell is, laid 1 to SHADOW_DEPTH pixels down and right, so a run's shadows
// are one shape stretched from its first cell's left to its last's right. Rows of cells are added
// from the top down, one cell apart, each with its runs left to right.
struct WallRows {
    static constexpr int SHADOW_DEPTH = 3;
    // A view's rows of cells, with the part rows at its edges and the row above whose shadows
    // reach in; and along a row, at most every other cell of as many.
    static constexpr int MAX_ROWS = VIEW_HEIGHT / CELL_SIZE + 2;
    static constexpr int MAX_RUNS = (VIEW_WIDTH / CELL_SIZE + 3) / 2;

    struct Run {
        int left = 0, right = 0;  // pixels left to right - 1: whole cells
    };
    struct Row {
        int top = 0;
        int runCount = 0;
        Run runs[MAX_RUNS] = {};
    };

    BITMAP* tiles = nullptr;  // the tile is the CELL_SIZE square at (tileX, tileY); null: no walls drawn
    int tileX = 0, tileY = 0;
    bool opaque[CELL_SIZE] = {};  // the tile's rows with nothing see-through: what lies under them is hidden
    int shadow = 0;  // the shadows' colour
    int rowCount = 0;
    Row rows[MAX_ROWS] = {};

    // The walls' tile, or none.
    void setTile(BITMAP* picture, int x, int y);
    void clear() { rowCount = 0; }
    // Beyond MAX_ROWS rows or MAX_RUNS runs nothing is kept: more than a view holds.
    void addRow(int top)
    {
        if (rowCount < MAX_ROWS) rows[rowCount++] = Row{top, 0, {}};
    }
    void addRun(int left, int right)
    {
        Row& row = rows[rowCount - 1];
        if (row.runCount < MAX_RUNS) row.runs[row.runCount++] = Run{left, right};
    }

    // Pixels left to right - 1 of a target row y: the shadows over them filled in, and the walls
    // copied over them.
    void shadeRow(std::uint32_t* to, int y, int left, int right) const;
    void wallRow(std::uint32_t* to, int y, int left, int right) const;
    // The runs of walls over row y that hide whatever lies under them; count says how many.
    const Run* hidingRuns(int y, int& count) const;
    // The index of the row of cells over pixel row y, which may be past the last; -1 above the first.
    int rowOver(int y) const { return rowCount == 0 || y < rows[0].top ? -1 : (y - rows[0].top) / CELL_SIZE; }
};

// A rectangle between two corners, both inside it, and its colour.
struct Box {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, colour = 0;
};

// What lies over the background and the walls' shadows but under the walls, in this order: the
// boxes, then the discs. Where they are too many to be laid with the fill, each is laid alone
// where the walls picture is see-through or does not reach; the walls' pixel (x + wallsX,
// y + wallsY) lies over target pixel (x, y), and it must be the wall rows' walls.
struct UnderWalls {
    const Box* boxes = nullptr;
    int boxCount = 0;
    const Disc* discs = nullptr;
    int discCount = 0;
    BITMAP* walls = nullptr;
    int wallsX = 0, wallsY = 0;
};

// As fillWithDiscs, then the walls' shadows, then fillRectangle for each of the boxes and
// circlefill for each of the discs under the walls, in turn, then the walls; but row by row, so
// each row is made once while the processor keeps it at hand.
void fillWithDiscsUnder(BITMAP* target, int background, const Disc* discs, int discCount, const WallRows& walls,
                        const UnderWalls& under);

// The background fillWithDiscsUnder gives, kept as what it is made of, so any span of any row
// can be made when it is wanted: just before the lights are laid over it, or before something
// is drawn over it. The wall rows are read then, so they must be kept until.
struct BackgroundFill {
    static constexpr int MAX_UNDER_SHAPES = 1024;  // in the view: more are laid one by one
    static constexpr int MAX_UNDER_SIZES = 8;      // the discs' radii: a ghost's two rings, a hunter's two

    // A shape under the walls, as the rows it covers and its span on each: a box's is the same on
    // every row, a disc's comes from the half-widths of its radius.
    struct UnderShape {
        int top = 0, bottom = 0;  // rows top to bottom - 1
        int left = 0, right = 0;  // a box's span; the widest a disc's reaches
        int x = 0, y = 0;         // a disc's centre
        const int* halfWidths = nullptr;  // a disc's, from its centre row; null for a box
        int colour = 0;
    };

    int background = 0;
    Disc discs[MAX_DISCS] = {};
    int discCount = 0;
    int halfWidths[MAX_DISCS][MAX_DISC_RADIUS + 1] = {};
    const WallRows* walls = nullptr;
    UnderShape shapes[MAX_UNDER_SHAPES] = {};  // those that reach into the clip rectangle, in order
    int shapeCount = 0;
    // The clip rectangle's rows in bands, and for each band the shapes that reach into it, in
    // their order, so a row looks only at the shapes near it.
    static constexpr int MAX_BANDS = 64;
    static constexpr int MAX_BAND_ENTRIES = 16384;
    int bandTop = 0, bandHeight = 1, bandCount = 0;
    int bandStart[MAX_BANDS + 1] = {};  // band b's shapes are bandShapes[bandStart[b]] up to bandStart[b + 1] - 1
    std::int16_t bandShapes[MAX_BAND_ENTRIES] = {};
    int radii[MAX_UNDER_SIZES] = {};
    int shapeHalfWidths[MAX_UNDER_SIZES][MAX_DISC_RADIUS + 1] = {};
    int sizeCount = 0;

    // A run of one colour along a row: pixels left to right - 1.
    struct Run {
        int left = 0, right = 0, colour = 0;
    };
    static constexpr int MAX_LIGHT_RUNS = 2 * MAX_DISCS + 1;
    // Each row's lights' runs across the target's clip rectangle, found when the row is first
    // filled: a row is filled span by span and sprite by sprite, and they are found once for all.
    // Rows past the view's height share the last slot and are found each time.
    static constexpr int KEPT_ROWS = VIEW_HEIGHT;
    mutable const BITMAP* lightRunsTarget = nullptr;  // null: none found since prepare
    mutable int lightRunsLeft = 0, lightRunsRight = 0;
    mutable std::int8_t lightRunCounts[KEPT_ROWS + 1] = {};  // -1: not found yet
    mutable Run lightRuns[KEPT_ROWS + 1][MAX_LIGHT_RUNS] = {};

    // As for fillWithDiscsUnder, for the target's clip rectangle as it stands. False when the
    // discs or the shapes do not fit here: then fillWithDiscsUnder alone makes the background.
    bool prepare(const BITMAP* target, int colour, const Disc* lights, int lightCount, const WallRows& wallRows,
                 const UnderWalls& under);
    // Pixels left to right - 1 of row y of the target, as far as they lie in its clip rectangle.
    void fill(BITMAP* target, int y, int left, int right) const;

private:
    const Run* lightRunsOf(const BITMAP* target, int y, int& count) const;
};

// As circlefill(target, disc) and as fillRectangle, but the target's pixels are written only
// where the cover is see-through (or absent): the cover's pixel (x + coverX, y + coverY) lies over
// target pixel (x, y). So lights and shadows go under the walls without the walls being copied
// back over them. A disc wider than MAX_DISC_RADIUS is drawn whole and the cover copied over it.
void fillDiscUnder(BITMAP* target, const Disc& disc, BITMAP* cover, int coverX, int coverY);
void fillRectangleUnder(BITMAP* target, int x1, int y1, int x2, int y2, int colour, BITMAP* cover, int coverX,
                        int coverY);

// A picture that is discs on a background, kept as its discs rather than its pixels: each row
// is made when it is needed, where the processor keeps it at hand. Its discs, in the order
// fillWithDiscs draws them, are at most MAX_DISCS, none wider than MAX_DISC_RADIUS.
struct DiscPicture {
    int background = 0;
    Disc discs[MAX_DISCS] = {};
    int discCount = 0;
};

// Squares of one colour over the view, by rows of squares, so the fog is laid from the maze's
// cells rather than read from a picture of them. Each row holds the pixel rows top to bottom - 1
// of the view and, along them, its runs of squares as spans of pixels left to right - 1. Rows are
// added from the top down and may overlap by a pixel row (a square spills one pixel right and
// down of its cell); where they do, the pixels under either are laid once.
struct FogSquares {
    static constexpr int MAX_ROWS = 24;
    static constexpr int MAX_RUNS = 24;

    struct Span {
        int left = 0, right = 0;
    };
    struct Row {
        int top = 0, bottom = 0;
        int runCount = 0;
        Span runs[MAX_RUNS] = {};
    };

    int colour = 0;
    int alpha = 0;
    int rowCount = 0;
    Row rows[MAX_ROWS] = {};

    // A row of squares below those added so far; rows beyond MAX_ROWS are not kept.
    void addRow(int top, int bottom)
    {
        if (rowCount < MAX_ROWS) rows[rowCount++] = Row{top, bottom, 0, {}};
    }
    // A run of squares along the last row added; runs beyond MAX_RUNS are not kept.
    void addRun(int left, int right)
    {
        Row& row = rows[rowCount - 1];
        if (left < right && row.runCount < MAX_RUNS) row.runs[row.runCount++] = Span{left, right};
    }

    // Calls spanDone(left, right) for each span of pixel row y under some square, within pixels
    // first to end - 1, left to right and never overlapping.
    template <typename SpanDone>
    void forEachSpan(int y, int first, int end, SpanDone spanDone) const
    {
        const Row* under[2] = {};
        int count = 0;
        for (int i = 0; i < rowCount && count < 2; ++i)
            if (rows[i].top <= y && y < rows[i].bottom) under[count++] = &rows[i];
        int next[2] = {0, 0};
        bool open = false;  // a span is being gathered
        int openLeft = 0, openRight = 0;
        for (;;) {
            // The run that starts leftmost among those not yet taken.
            int pick = -1;
            for (int k = 0; k < count; ++k)
                if (next[k] < under[k]->runCount &&
                    (pick < 0 || under[k]->runs[next[k]].left < under[pick]->runs[next[pick]].left))
                    pick = k;
            if (pick < 0) break;
            const Span run = under[pick]->runs[next[pick]++];
            const int left = std::max(run.left, first), right = std::min(run.right, end);
            if (left >= right) continue;
            if (open && left <= openRight) {
                openRight = std::max(openRight, right);
                continue;
            }
            if (open) spanDone(openLeft, openRight);
            open = true;
            openLeft = left;
            openRight = right;
        }
        if (open) spanDone(openLeft, openRight);
    }
};

// What is laid over the view's picture as the frame is composed, in this order; each may be
// left out (null).
struct ViewLights {
    // Unless null, only these blocks of each row are composed: the target holds the rest already
    // as it must stand.
    const DrawnBlocks* only = nullptr;
    // Unless null, each row is first filled from the background, but in these blocks, which hold
    // it already with something drawn over it.
    const BackgroundFill* background = nullptr;
    const DrawnBlocks* backgroundDrawn = nullptr;
    BITMAP* glow = nullptr;  // the picture's size; read only in its drawn blocks
    DrawnBlocks* glowDrawn = nullptr;
    int glowAlpha = 0;
    // The glow wiped see-through as it is laid, while it is at hand, and its marks cleared, so
    // the next frame has none to wipe.
    bool wipeGlow = false;
    const DiscPicture* darkness = nullptr;  // the picture's size
    int darknessAlpha = 0;
    const FogSquares* fog = nullptr;  // in the picture's pixels
};

// As copyMasked(picture, target, 0, 0, x, y, picture->w, picture->h), then layTranslucent of the
// glow, whose pixels outside its drawn blocks must be see-through, then of the darkness drawn
// by fillWithDiscs into a picture of the picture's size, each at (x, y); then of the fog's
// squares at (x, y), as the library lays a picture of them drawn with rectfill. The picture is
// no wider or taller than the view. Row by row, so each row of the target is read from memory
// and written back once, and the darkness never is.
void composeView(BITMAP* target, BITMAP* picture, const ViewLights& lights, int x, int y);

// As composeView(view, picture, lights, 0, 0) where the view already holds the picture, which
// has no see-through pixels: the lights laid over the view where it lies, within its clip
// rectangle, without a copy.
void layLightsOver(BITMAP* view, const ViewLights& lights);

// As fillBitmap(layer, colour) where the layer's drawn blocks may hold anything else; the marks
// are cleared.
void wipeDrawn(BITMAP* layer, DrawnBlocks& drawn, int colour);
