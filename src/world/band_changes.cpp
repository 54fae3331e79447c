// Where a frame's band may differ from the last frame's: the marks of what changed, and the game's
// keeping of what its last band was made of.
#include "world/band_changes.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

#include "shell/game.h"
#include "shell/screen_mode.h"

namespace {

constexpr int MARK_ROWS = 8;   // a changed disc's rows marked together
constexpr int REDRAW_GAP = 6;  // blocks between two runs of a row that are made again with them

bool sameDisc(const Disc& a, const Disc& b)
{
    return a.x == b.x && a.y == b.y && a.radius == b.radius && a.colour == b.colour;
}

bool sameBox(const Box& a, const Box& b)
{
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.colour == b.colour;
}

bool sameCopy(const PictureCopy& a, const PictureCopy& b)
{
    return a.picture == b.picture && a.sourceX == b.sourceX && a.sourceY == b.sourceY && a.width == b.width &&
           a.height == b.height && a.x == b.x && a.y == b.y;
}

// The items at each place of two lists, the last frame's and this one's, that differ:
// differ(before, now), either null where its list is the shorter.
template <typename Item, typename Same, typename Differ>
void forEachDiffering(const Item* before, int beforeCount, const Item* now, int nowCount, Same same, Differ differ)
{
    for (int i = 0; i < std::max(beforeCount, nowCount); ++i) {
        const Item* a = i < beforeCount ? &before[i] : nullptr;
        const Item* b = i < nowCount ? &now[i] : nullptr;
        if (!a || !b || !same(*a, *b)) differ(a, b);
    }
}

// Two rows of runs, each with its left and right, alike run for run.
template <typename Run>
bool sameRuns(const Run* a, int aCount, const Run* b, int bCount)
{
    if (aCount != bCount) return false;
    for (int i = 0; i < aCount; ++i)
        if (a[i].left != b[i].left || a[i].right != b[i].right) return false;
    return true;
}

// A disc's span on one row, pixels left to right - 1; empty (left == right) off the disc.
struct RowSpan {
    int left = 0, right = 0;
};
RowSpan discSpan(const Disc& disc, const int* halfWidths, int y)
{
    const int fromCentre = y > disc.y ? y - disc.y : disc.y - y;
    if (fromCentre > disc.radius || halfWidths[fromCentre] < 0) return {};
    return {disc.x - halfWidths[fromCentre], disc.x + halfWidths[fromCentre] + 1};
}

// A disc that only moved, of one size and colour: each row differs only between the two lefts
// and between the two rights.
void markSweptEdges(DrawnBlocks& changed, const Disc& before, const Disc& now, const int* halfWidths)
{
    const int top = std::max(std::min(before.y, now.y) - now.radius, 0);
    const int bottom = std::min(std::max(before.y, now.y) + now.radius + 1, VIEW_HEIGHT);
    for (int y = top; y < bottom; ++y) {
        const RowSpan a = discSpan(before, halfWidths, y);
        const RowSpan b = discSpan(now, halfWidths, y);
        if (a.left < a.right && b.left < b.right) {
            changed.mark(std::min(a.left, b.left), y, std::max(a.left, b.left), y + 1);
            changed.mark(std::min(a.right, b.right), y, std::max(a.right, b.right), y + 1);
        } else {
            changed.mark(a.left, y, a.right, y + 1);
            changed.mark(b.left, y, b.right, y + 1);
        }
    }
}

// A disc whole, a few rows at a time, each time as wide as the widest of them: the one nearest
// the centre.
void markWholeDisc(DrawnBlocks& changed, const Disc& disc, const int* halfWidths)
{
    const int end = std::min(disc.y + disc.radius + 1, VIEW_HEIGHT);
    for (int y = std::max(disc.y - disc.radius, 0); y < end; y += MARK_ROWS) {
        const int last = std::min(y + MARK_ROWS, end) - 1;
        const RowSpan widest = discSpan(disc, halfWidths, std::clamp(disc.y, y, last));
        changed.mark(widest.left, y, widest.right, last + 1);
    }
}

bool inView(const Disc& disc)
{
    return disc.x + disc.radius >= 0 && disc.x - disc.radius < VIEW_WIDTH && disc.y + disc.radius >= 0 &&
           disc.y - disc.radius < VIEW_HEIGHT;
}

// Two discs at one place of their lists that differ; either may be absent (null).
void markDiscChange(DrawnBlocks& changed, const Disc* before, const Disc* now)
{
    for (const Disc* disc : {before, now})
        if (disc && (disc->radius < 0 || disc->radius > MAX_DISC_RADIUS)) return changed.markAll();
    if (!(before && inView(*before)) && !(now && inView(*now))) return;
    int widthsBefore[MAX_DISC_RADIUS + 1], widthsNow[MAX_DISC_RADIUS + 1];
    if (before) discHalfWidths(before->radius, widthsBefore);
    const bool sameSize = before && now && before->radius == now->radius;
    const int* halfWidthsNow = sameSize ? widthsBefore : widthsNow;
    if (now && !sameSize) discHalfWidths(now->radius, widthsNow);
    if (sameSize && before->colour == now->colour) return markSweptEdges(changed, *before, *now, widthsBefore);
    // Otherwise (a flicker, mostly) each whole; a disc that only flickered, once.
    if (before) markWholeDisc(changed, *before, widthsBefore);
    if (now && !(sameSize && before->x == now->x && before->y == now->y)) markWholeDisc(changed, *now, halfWidthsNow);
}

bool sameWallRow(const WallRows::Row& a, const WallRows::Row& b)
{
    return a.top == b.top && sameRuns(a.runs, a.runCount, b.runs, b.runCount);
}

bool sameFogRow(const FogSquares::Row& a, const FogSquares::Row& b)
{
    return a.top == b.top && a.bottom == b.bottom && sameRuns(a.runs, a.runCount, b.runs, b.runCount);
}

bool sameFog(const FogSquares& a, const FogSquares& b)
{
    if (a.colour != b.colour || a.alpha != b.alpha || a.rowCount != b.rowCount) return false;
    for (int i = 0; i < a.rowCount; ++i)
        if (!sameFogRow(a.rows[i], b.rows[i])) return false;
    return true;
}

}  // namespace

void markDiscChanges(DrawnBlocks& changed, const Disc* before, int beforeCount, const Disc* now, int nowCount)
{
    forEachDiffering(before, beforeCount, now, nowCount, sameDisc,
                     [&](const Disc* a, const Disc* b) { markDiscChange(changed, a, b); });
}

void markBoxChanges(DrawnBlocks& changed, const Box* before, int beforeCount, const Box* now, int nowCount)
{
    forEachDiffering(before, beforeCount, now, nowCount, sameBox, [&](const Box* a, const Box* b) {
        for (const Box* box : {a, b})
            if (box) changed.mark(box->x1, box->y1, box->x2 + 1, box->y2 + 1);
    });
}

void markCopyChanges(DrawnBlocks& changed, const std::vector<PictureCopy>& before, const std::vector<PictureCopy>& now)
{
    forEachDiffering(before.data(), static_cast<int>(before.size()), now.data(), static_cast<int>(now.size()), sameCopy,
                     [&](const PictureCopy* a, const PictureCopy* b) {
                         for (const PictureCopy* copy : {a, b})
                             if (copy) changed.mark(copy->x, copy->y, copy->x + copy->width, copy->y + copy->height);
                     });
}

void unmarkUnderWalls(DrawnBlocks& marks, const WallRows& walls)
{
    // A row of cells hides the same blocks on each of its rows that hide at all.
    std::uint64_t hidden[DrawnBlocks::WORDS_PER_ROW] = {};
    int hiddenRow = -1;  // the row of cells they are of
    for (int y = marks.top; y < marks.bottom; ++y) {
        int count = 0;
        const WallRows::Run* hiding = walls.hidingRuns(y, count);
        if (count == 0) continue;
        if (walls.rowOver(y) != hiddenRow) {
            hiddenRow = walls.rowOver(y);
            std::fill(hidden, hidden + DrawnBlocks::WORDS_PER_ROW, 0);
            for (int i = 0; i < count; ++i) DrawnBlocks::addBlocksWithin(hiding[i].left, hiding[i].right, hidden);
        }
        marks.unmark(y, hidden);
    }
}

void markWallChanges(DrawnBlocks& changed, const WallRows& before, const WallRows& now)
{
    if (before.tiles != now.tiles || before.tileX != now.tileX || before.tileY != now.tileY ||
        before.shadow != now.shadow || before.rowCount != now.rowCount ||
        (now.rowCount > 0 && before.rows[0].top != now.rows[0].top))
        return changed.markAll();
    // A cell's shadow reaches SHADOW_DEPTH rows below it, and one more as the painted cell does.
    for (int i = 0; i < now.rowCount; ++i)
        if (!sameWallRow(before.rows[i], now.rows[i]))
            changed.mark(0, now.rows[i].top, VIEW_WIDTH, now.rows[i].top + CELL_SIZE + WallRows::SHADOW_DEPTH + 1);
}

void markFogChanges(DrawnBlocks& changed, const FogSquares& before, const FogSquares& now)
{
    if (sameFog(before, now)) return;
    const bool sameLook = before.colour == now.colour && before.alpha == now.alpha;
    constexpr int MOST_SPANS = 2 * FogSquares::MAX_RUNS;
    for (int y = 0; y < VIEW_HEIGHT; ++y) {
        RowSpan spansBefore[MOST_SPANS], spansNow[MOST_SPANS];
        int countBefore = 0, countNow = 0;
        before.forEachSpan(y, 0, VIEW_WIDTH, [&](int left, int right) { spansBefore[countBefore++] = {left, right}; });
        now.forEachSpan(y, 0, VIEW_WIDTH, [&](int left, int right) { spansNow[countNow++] = {left, right}; });
        bool same = sameLook && countBefore == countNow;
        for (int i = 0; same && i < countNow; ++i)
            same = spansBefore[i].left == spansNow[i].left && spansBefore[i].right == spansNow[i].right;
        if (same) continue;
        for (int i = 0; i < countBefore; ++i) changed.mark(spansBefore[i].left, y, spansBefore[i].right, y + 1);
        for (int i = 0; i < countNow; ++i) changed.mark(spansNow[i].left, y, spansNow[i].right, y + 1);
    }
}

DrawnBlocks* Game::bandToRedraw(const FogSquares& fog, int darknessAlpha)
{
    const BandScene& before = keptBand;
    // What is drawn over the band this frame, and what was the last, is drawn again whatever
    // else holds.
    DrawnBlocks& changed = bandChanged;
    changed = worldFilled;
    markOverlays(changed);
    bandDrawn = changed;
    changed.add(before.drawn);

    // Nothing but frames was drawn where the frames are since the last.
    const bool framesOnly = before.kept && before.screenWrites == screenMode.writes &&
                            before.screenGeneration == screenMode.generation;
    const bool anew = !framesOnly || !backgroundPending || before.originX != layerOrigin.x ||
                      before.originY != layerOrigin.y || before.gameOver != gameOver ||
                      before.background != backgroundFill.background || before.darknessAlpha != darknessAlpha;
    if (anew) {
        changed.markAll();
    } else {
        // What lies under the walls, where the walls stand as they stood.
        DrawnBlocks& under = bandUnderWalls;
        under.clear();
        markDiscChanges(under, before.lights, before.lightCount, backgroundFill.discs, backgroundFill.discCount);
        markBoxChanges(under, before.boxes.data(), static_cast<int>(before.boxes.size()), underWallBoxes.data(),
                       static_cast<int>(underWallBoxes.size()));
        markDiscChanges(under, before.discs.data(), static_cast<int>(before.discs.size()), underWallDiscs.data(),
                        static_cast<int>(underWallDiscs.size()));
        unmarkUnderWalls(under, wallRows);
        changed.add(under);
        markWallChanges(changed, before.walls, wallRows);
        markDiscChanges(changed, before.darkness.discs, before.darkness.discCount, darkness.discs,
                        darkness.discCount);
        markFogChanges(changed, before.fog, fog);
        markCopyChanges(changed, before.blocks, blockPictures);
        markCopyChanges(changed, before.glows, glowPictures);
    }

    // The picture drawn into holds the last frame (0), or the frame before it (1): then what
    // changed since that one too; or neither (-1).
    BITMAP* into = bitmaps.drawnFrame;
    const int held = into == keptFrames[0] ? 0 : into && into == keptFrames[1] ? 1 : -1;
    bandRedrawn = changed;
    if (held == 1) bandRedrawn.add(bandChangedBefore);
    if (held < 0) bandRedrawn.markAll();
    // The strips' rows are the strips' alone: only the screen's own writes touch them between.
    stripsToCopy = !framesOnly || held < 0 || keptStrips[held] != stripDrawings;
    // Runs a few blocks apart are made as one: each run has a cost of its own, to find its
    // lights and shapes, whatever its width.
    bandRedrawn.closeGaps(REDRAW_GAP);
    return &bandRedrawn;
}

void Game::keepBand(const FogSquares& fog, int darknessAlpha)
{
    BandScene& scene = keptBand;
    scene.kept = true;
    scene.originX = layerOrigin.x;
    scene.originY = layerOrigin.y;
    scene.gameOver = gameOver;
    scene.background = backgroundFill.background;
    std::copy(backgroundFill.discs, backgroundFill.discs + backgroundFill.discCount, scene.lights);
    scene.lightCount = backgroundFill.discCount;
    scene.walls = wallRows;
    // Their room was made with the level's: no frame allocates.
    scene.boxes.assign(underWallBoxes.begin(), underWallBoxes.end());
    scene.discs.assign(underWallDiscs.begin(), underWallDiscs.end());
    scene.darkness = darkness;
    scene.darknessAlpha = darknessAlpha;
    scene.fog = fog;
    scene.blocks.assign(blockPictures.begin(), blockPictures.end());
    scene.glows.assign(glowPictures.begin(), glowPictures.end());
    scene.drawn = bandDrawn;
    scene.screenWrites = screenMode.writes;
    scene.screenGeneration = screenMode.generation;
    bandChangedBefore = bandChanged;
    if (bitmaps.drawnFrame != keptFrames[0]) {
        keptFrames[1] = keptFrames[0];
        keptStrips[1] = keptStrips[0];
        keptFrames[0] = bitmaps.drawnFrame;
    }
    keptStrips[0] = stripDrawings;  // the frame is given them as it is composed
}

void Game::forgetKeptBand()
{
    keptBand.kept = false;
    keptFrames[0] = keptFrames[1] = nullptr;
}
