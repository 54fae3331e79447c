// The board built by hand for the tests: a level-1 world with its layers, grids of open floor,
// every power-up left out and the hero facing right. Each case puts on it only what it needs.
#pragma once

#include <allegro.h>

#include "shell/game.h"
#include "test_support.h"

// The board of the given size, the hero with his corner at (heroX, heroY).
inline void buildHandBuiltBoard(Game& g, int rows, int columns, int heroX, int heroY)
{
    g.bitmaps.loadGameBitmaps();
    g.bitmaps.createLevelLayers(rows, columns);
    for (GridLayer* grid : {&g.placementGrid, &g.obstacleGrid, &g.wallGrid, &g.reachGrid}) grid->allocate(rows, columns);
    g.rows = rows;
    g.columns = columns;
    clear_to_color(g.bitmaps.wallsBitmap, makecol(255, 0, 255));
    // All the floor reached: no fog until a case puts some.
    g.reachGrid.fill(CELL_REACHED);
    clear_to_color(g.bitmaps.shadeLayer, makecol(255, 0, 255));
    g.heroActor.setUp(heroX, heroY, 40, 40, 10, 0, 4, DIRECTION_RIGHT);
    g.levelNumber = 1;
    g.lives = 3;
    g.shieldAbsent = g.lifeAbsent = g.radarAbsent = g.shoesAbsent = g.generatorAbsent = 1;
}

// The board of the tests of the rules: 16 x 32 cells, actor arrays with everything off the board,
// and the hero standing on cell (5, 5).

class HandBuiltBoard : public GameTest {
protected:
    static constexpr int ROWS = 16;
    static constexpr int COLUMNS = 32;
    static constexpr int CAPACITY = 16;  // elements made in every actor array
    static constexpr int HERO_X = 200;
    static constexpr int HERO_Y = 200;

    void SetUp() override
    {
        GameTest::SetUp();
        Game& g = *game;
        buildHandBuiltBoard(g, ROWS, COLUMNS, HERO_X, HERO_Y);
        ASSERT_TRUE(g.bitmaps.gameBitmapsComplete());
        ASSERT_TRUE(g.bitmaps.levelLayersComplete());
        g.builtLevel = 1;
        g.bombCount = 1;
        g.hunterIndex = 10000;
        g.ghostSpeedFactor = 1;
        g.baseSpeed = 4;
        g.ghosts = new ghost[CAPACITY];
        g.bombs = new bomb[BOMB_SLOTS];
        g.blocks = new sprite[CAPACITY];
        g.coins1 = new sprite[CAPACITY];
        g.coins2 = new sprite[CAPACITY];
        g.coins5 = new sprite[CAPACITY];
        g.dynamites = new sprite[CAPACITY];
        g.treasures = new sprite[CAPACITY];
        for (int i = 0; i < CAPACITY; ++i) {
            g.ghosts[i].kill();
            for (sprite* array : {g.blocks, g.coins1, g.coins2, g.coins5, g.dynamites, g.treasures})
                array[i].takeOffBoard();
        }
        for (int i = 0; i < BOMB_SLOTS; ++i) g.bombs[i].clear();
        for (sprite* item : {&g.shieldItem, &g.lifeItem, &g.shoesItem, &g.generatorItem, &g.radarItem})
            item->takeOffBoard();
        clearLayers();
    }

    // The layers as a fresh frame finds them: free ghost map, walls picture and glow, black world.
    void clearLayers()
    {
        clear_to_color(game->bitmaps.wallsBitmap, magenta());
        clear_to_color(game->bitmaps.glowLayer, magenta());
        clear_to_color(game->bitmaps.worldBitmap, makecol(0, 0, 0));
        repaintGhostMap();
    }

    // Every cell open floor again.
    void openFloor()
    {
        for (GridLayer* grid : {&game->placementGrid, &game->obstacleGrid, &game->wallGrid, &game->reachGrid})
            grid->fill(CELL_FLOOR);
        clearLayers();
    }

    // A wall cell, in the grids and in both collision pictures.
    void wall(int column, int row)
    {
        game->wallGrid.setCell(column, row, CELL_WALL);
        game->obstacleGrid.setCell(column, row, CELL_WALL);
        game->reachGrid.setCell(column, row, CELL_WALL);
        rectfill(game->bitmaps.wallsBitmap, column * CELL_SIZE, row * CELL_SIZE, column * CELL_SIZE + CELL_SIZE - 1,
                 row * CELL_SIZE + CELL_SIZE - 1, makecol(90, 90, 90));
        repaintGhostMap();
    }

    // Walls on every cell, the border included.
    void wallEverywhere()
    {
        for (GridLayer* grid : {&game->obstacleGrid, &game->wallGrid, &game->reachGrid}) grid->fill(CELL_WALL);
        clear_to_color(game->bitmaps.wallsBitmap, makecol(90, 90, 90));
        repaintGhostMap();
    }

    // The ghosts' picture, painted from the obstacle grid as every frame starts.
    void repaintGhostMap() { game->obstacleGrid.paintCells(game->bitmaps.ghostMap, 255, 0, 255, 0, 255, 0, CELL_SIZE); }

    // A ghost of a kind, standing still facing a direction, at a pixel position.
    ghost& putGhost(int index, int x, int y, int kind = 0, int direction = DIRECTION_RIGHT)
    {
        if (game->ghostCount <= index) game->ghostCount = index + 1;
        ghost& g = game->ghosts[index];
        g.spawn(x, y, kind, 1);
        g.direction = g.row = direction;
        return g;
    }

    static int magenta() { return makecol(255, 0, 255); }

    // Whether two bitmaps hold the same pixels in a rectangle.
    static bool sameRegion(BITMAP* a, BITMAP* b, int x, int y, int w, int h)
    {
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px)
                if (getpixel(a, px, py) != getpixel(b, px, py)) return false;
        return true;
    }

    // Counts the pixels of a colour in a rectangle of a bitmap.
    static int countColour(BITMAP* bitmap, int x, int y, int w, int h, int colour)
    {
        int count = 0;
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px) count += getpixel(bitmap, px, py) == colour;
        return count;
    }
};
