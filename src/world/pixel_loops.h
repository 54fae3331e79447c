// The frame's heaviest pixel work in loops of the game's own, on 32-bit memory bitmaps: each
// gives exactly the pixels of the library call it stands for, but where the library calls a
// function per pixel, these run several pixels at a time and pass over see-through runs.
#pragma once

struct BITMAP;

// As set_trans_blender(red, green, blue, alpha) then draw_trans_sprite(target, layer, x, y) at
// 32 bits (the blender's colour does not matter there): the layer's pixels other than magenta
// move the target's towards them by (alpha + 1) / 256, within the target's clip rectangle.
void layTranslucent(BITMAP* target, BITMAP* layer, int alpha, int x, int y);

// A translucent layer and the alpha it is laid with.
struct Translucent {
    BITMAP* layer = nullptr;
    int alpha = 0;
};

// As copyMasked(picture, target, 0, 0, x, y, picture->w, picture->h), then layTranslucent of
// each layer at (x, y) in turn, the layers the picture's size and the target clipping, as every
// bitmap the game composes into does; but row by row, so each row of the target is read from
// memory and written back once, not once per step.
void composeLayers(BITMAP* target, BITMAP* picture, const Translucent* layers, int layerCount, int x, int y);

// As masked_blit: the source's pixels other than magenta copied, clipped as the library clips.
void copyMasked(BITMAP* source, BITMAP* target, int sourceX, int sourceY, int x, int y, int width, int height);

// As clear_to_color: the target's clip rectangle filled with the colour.
void fillBitmap(BITMAP* target, int colour);

// A filled circle as circlefill draws it: centre and radius in pixels, and colour.
struct Disc {
    int x = 0, y = 0, radius = 0, colour = 0;
};

// As clear_to_color(target, background) then circlefill for each disc in turn, but row by row,
// so each row of the picture is written out once rather than once per disc.
void fillWithDiscs(BITMAP* target, int background, const Disc* discs, int discCount);
