// Helpers of the drawing tests: the hand-built board with pictures whose every 40 x 40 cell
// has its own colour, so a pixel tells which cell of which picture was drawn.
#pragma once

#include <allegro.h>
#include <gtest/gtest.h>

#include "hand_built_board.h"
#include "shell/game.h"

// The colour of cell (column, row) of a coded picture; the tint tells the pictures apart.
inline int cellColour(int column, int row, int tint) { return makecol(20 + column * 16, 20 + row * 50, tint); }

inline BITMAP* makeCodedPicture(int columns, int rows, int tint)
{
    BITMAP* picture = create_bitmap_ex(32, columns * CELL_SIZE, rows * CELL_SIZE);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            rectfill(picture, c * CELL_SIZE, r * CELL_SIZE, c * CELL_SIZE + CELL_SIZE - 1, r * CELL_SIZE + CELL_SIZE - 1,
                     cellColour(c, r, tint));
    return picture;
}

// The pixel of the message layer at world (x, y): the layer is a ring.
inline int messagePixel(const Game& game, int x, int y)
{
    BITMAP* ring = game.bitmaps.messageLayer;
    return getpixel(ring, x, game.messages.ringRow(y, ring->h));
}

// The built-in font's text stands at (x, y): its pixels are in the colour and the rest of its box is not.
inline ::testing::AssertionResult showsText(BITMAP* target, int x, int y, const char* text, int colour)
{
    const int black = makecol(0, 0, 0);
    BITMAP* reference = create_bitmap_ex(32, text_length(font, text), text_height(font));
    clear_to_color(reference, black);
    textout_ex(reference, font, text, 0, 0, makecol(255, 255, 255), -1);
    for (int ry = 0; ry < reference->h; ++ry)
        for (int rx = 0; rx < reference->w; ++rx) {
            const bool inked = getpixel(reference, rx, ry) != black;
            if (inked != (getpixel(target, x + rx, y + ry) == colour)) {
                destroy_bitmap(reference);
                return ::testing::AssertionFailure() << "\"" << text << "\" differs at (" << x + rx << ", " << y + ry << ")";
            }
        }
    destroy_bitmap(reference);
    return ::testing::AssertionSuccess();
}

inline void replacePicture(BITMAP*& slot, BITMAP* picture)
{
    destroy_bitmap(slot);
    slot = picture;
}

// Tints of the coded pictures.
enum PictureTint {
    SHEET_TINT = 100, COIN1_TINT, COIN2_TINT, COIN5_TINT, LASER_TINT, TERRAIN_TINT, BOMB_TINT,
    GENERATOR_TINT, RADAR_TINT, SHIELD_TINT, SHOES_TINT, LIFE_TINT, TREASURE_TINT, GAME_OVER_TINT
};

// The game's pictures swapped for coded ones of the same layout.
inline void useCodedPictures(AssetBitmaps& b)
{
    replacePicture(b.spriteSheet, makeCodedPicture(14, 4, SHEET_TINT));
    replacePicture(b.coin1Picture, makeCodedPicture(12, 1, COIN1_TINT));
    replacePicture(b.coin2Picture, makeCodedPicture(12, 1, COIN2_TINT));
    replacePicture(b.coin5Picture, makeCodedPicture(12, 1, COIN5_TINT));
    replacePicture(b.laserPicture, makeCodedPicture(7, 2, LASER_TINT));
    replacePicture(b.terrainPicture, makeCodedPicture(26, 1, TERRAIN_TINT));
    replacePicture(b.bombPicture, makeCodedPicture(5, 1, BOMB_TINT));
    replacePicture(b.generatorPicture, makeCodedPicture(1, 1, GENERATOR_TINT));
    replacePicture(b.radarPicture, makeCodedPicture(1, 1, RADAR_TINT));
    replacePicture(b.shieldPicture, makeCodedPicture(1, 1, SHIELD_TINT));
    replacePicture(b.shoesPicture, makeCodedPicture(1, 1, SHOES_TINT));
    replacePicture(b.lifePicture, makeCodedPicture(1, 1, LIFE_TINT));
    replacePicture(b.treasurePicture, makeCodedPicture(1, 1, TREASURE_TINT));
    replacePicture(b.gameOverPicture, makeCodedPicture(5, 2, GAME_OVER_TINT));
}

// The hand-built board of the given size with coded pictures, the hero on cell (2, 2) and a
// dark blue background.
inline void buildBareBoard(Game& game, int rows, int columns)
{
    buildHandBuiltBoard(game, rows, columns, 80, 80);
    useCodedPictures(game.bitmaps);
    game.backgroundRed = 40;
    game.backgroundGreen = 30;
    game.backgroundBlue = 60;
}
