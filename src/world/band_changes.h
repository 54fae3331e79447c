// What keeps a frame from redrawing the band where nothing changed. A pixel of the band depends
// only on what the band is made of: where nothing that covers it differs from the last frame,
// the picture that holds the last frame holds this one's pixel already. These mark, in blocks,
// where something differs; a frame composes only the marked blocks.
#pragma once

#include <vector>

#include "world/drawn_blocks.h"
#include "world/pixel_loops.h"

// A part of a picture a frame copies over the band (a block) or onto the glow: the part, and
// its corner in the band's pixels.
struct PictureCopy {
    BITMAP* picture = nullptr;
    int sourceX = 0, sourceY = 0, width = 0, height = 0;
    int x = 0, y = 0;
    bool drawn = false;  // copied already in this frame
};

// What a frame's band was made of, kept for the next frame to compare its own with.
struct BandScene {
    bool kept = false;  // false: nothing is known, and the next frame redraws everything
    int originX = 0, originY = 0;
    int gameOver = 0;
    int background = 0;
    Disc lights[MAX_DISCS] = {};
    int lightCount = 0;
    WallRows walls;
    std::vector<Box> boxes;   // under the walls, in order
    std::vector<Disc> discs;  // under the walls, after the boxes
    DiscPicture darkness;
    int darknessAlpha = 0;
    FogSquares fog;
    std::vector<PictureCopy> blocks;
    std::vector<PictureCopy> glows;
    DrawnBlocks drawn;  // where it was drawn on or laid over other than by the copies: sprites, overlays
    int screenWrites = 0;   // the screen's count of pictures put over the band, when it was composed
    int screenGeneration = 0;
};

// Each pair of discs, one of the last frame and one of this, at the same place in their lists,
// marked where either covers a pixel and they differ there: a disc that only moved is marked
// only on the edges it swept. A disc in one list alone is marked whole.
void markDiscChanges(DrawnBlocks& changed, const Disc* before, int beforeCount, const Disc* now, int nowCount);
// Each pair of boxes, as for discs; a box that differs at all is marked where either lies.
void markBoxChanges(DrawnBlocks& changed, const Box* before, int beforeCount, const Box* now, int nowCount);
// Each pair of copies, as for boxes: one that moved or shows another part, where it lay and
// where it lies.
void markCopyChanges(DrawnBlocks& changed, const std::vector<PictureCopy>& before, const std::vector<PictureCopy>& now);
// The blocks wholly hidden by walls, unmarked: what lies under the walls cannot show there.
void unmarkUnderWalls(DrawnBlocks& marks, const WallRows& walls);
// The rows of cells whose runs of walls differ, with the rows their shadows reach; all of it
// when the tile, the shadows' colour or where the rows lie differ.
void markWallChanges(DrawnBlocks& changed, const WallRows& before, const WallRows& now);
// Each pixel row whose fog differs, where either frame's fog lies on it.
void markFogChanges(DrawnBlocks& changed, const FogSquares& before, const FogSquares& now);
