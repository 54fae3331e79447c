// The actor classes: everything that stands on the board, with the distance tests the rules use.
#pragma once

#include <cstdint>

#include "world/directions.h"
#include "world/grid_layer.h"

constexpr int ACTOR_SIZE = CELL_SIZE;       // every actor is one cell, pixels
constexpr int HALF_ACTOR = ACTOR_SIZE / 2;  // from an actor's corner to its centre, pixels
constexpr int OFF_BOARD = -100;          // where taken, destroyed and killed objects lie
constexpr int HIDDEN_HERO = -1000;       // where the hero lies once the game is lost
constexpr int HUNTER_KIND = 5;           // a ghost's kind while it hunts
constexpr int BOMB_SLOTS = 15;           // bombs that can tick at once; also the most the hero holds

// Where the hero starts on every maze (cell 2, 2), world pixels, and how fast.
constexpr int HERO_START_X = 80;
constexpr int HERO_START_Y = 80;
constexpr int HERO_START_SPEED = 4;      // pixels per step; every pair of shoes adds one
constexpr int SHOES_STEPS = 4800;        // the hero's steps before the shoes lose a speed point

// Columns of the sprite sheet: ghost kind k walks in columns 2k and 2k + 1, the hero from column
// 10 and the hunter from 12, each on the row of its facing (the hunter on row 0).
constexpr int HERO_SHEET_COLUMN = 10;
constexpr int HUNTER_SHEET_COLUMN = 12;
constexpr int SHEET_COLUMNS_PER_KIND = 2;

// Reaches of the rules, in pixels, tested with withinReach.
constexpr int GHOST_CATCH_REACH = 20;
constexpr int COLLECT_REACH = 30;
constexpr int PUSH_REACH = 35;
constexpr int SHIELD_REACH = 80;
constexpr int BLAST_REACH = 120;
constexpr int GHOST_SPAWN_DISTANCE = 400;

// A rectangle of a picture sheet and where it goes.
class PictureCell {
public:
    int sourceX = 0;
    int sourceY = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class sprite {
public:
    std::int32_t frame = 0;   // column of the picture strip, in 40-pixel cells
    std::int32_t row = 0;     // row of the picture strip; the facing of hero and ghosts
    std::int32_t x = 0;       // left edge, world pixels
    std::int32_t y = 0;       // top edge, world pixels
    std::int32_t width = 0;   // 40 for the hero and ghosts once placed
    std::int32_t height = 0;

    virtual ~sprite() = default;
    void placeAt(int newX, int newY);
    void takeOffBoard();
};

class hero : public sprite {
public:
    std::int32_t speed = 0;      // pixels per step
    std::int32_t direction = 0;  // direction code

    void setUp(int newX, int newY, int newWidth, int newHeight, int newFrame, int newRow, int newSpeed,
               int newDirection);
    void hide();
};

class ghost : public hero {
public:
    std::int32_t turnRoll = 0;  // the last random-turn roll, 0 to 149, kept as a record
    std::int32_t kind = 0;      // 0 to 4 ordinary, 5 while hunting

    void spawn(int newX, int newY, int newKind, int speedFactor);
    void kill();
};

class bomb : public sprite {
public:
    bool armed = false;        // the slot holds a laid bomb
    std::int32_t fuse = 0;     // frames since the bomb was laid

    void clear();
    void arm(int newX, int newY);
};

// The first walking frame's column of a ghost kind, the hunter's included.
int ghostSheetColumn(int kind);

// The truncated Euclidean distance of two points.
int pixelDistance(int ax, int ay, int bx, int by);
// Whether the truncated distance is strictly below the reach.
bool withinReach(int ax, int ay, int bx, int by, int reach);
