// Record-setting operations of the actor classes and the two distance tests.
#include "actors/actors.h"

#include <climits>
#include <cmath>

#include "shell/random.h"

namespace {
constexpr int DEAD_GHOST_KIND = 2;  // what a dead ghost reads until it is spawned again
}

void sprite::placeAt(int newX, int newY)
{
    x = newX;
    y = newY;
}

void sprite::takeOffBoard()
{
    x = y = OFF_BOARD;
    frame = row = width = height = 0;
}

void hero::setUp(int newX, int newY, int newWidth, int newHeight, int newFrame, int newRow, int newSpeed,
                 int newDirection)
{
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    frame = newFrame;
    row = newRow;
    speed = newSpeed;
    direction = newDirection;
}

void hero::hide()
{
    x = y = HIDDEN_HERO;
    frame = row = width = height = speed = direction = 0;
}

void ghost::spawn(int newX, int newY, int newKind, int speedFactor)
{
    direction = gameRandom() % DIRECTION_COUNT;
    kind = newKind;
    x = newX;
    y = newY;
    width = height = ACTOR_SIZE;
    frame = ghostSheetColumn(newKind);
    row = direction;
    speed = speedFactor * (newKind + 1);
}

void ghost::kill()
{
    x = y = OFF_BOARD;
    frame = row = width = height = speed = direction = 0;
    kind = DEAD_GHOST_KIND;
}

void bomb::clear()
{
    armed = false;
    x = y = OFF_BOARD;
    frame = row = width = height = 0;
    fuse = 0;
}

void bomb::arm(int newX, int newY)
{
    armed = true;
    fuse = 0;
    x = newX;
    y = newY;
}

int ghostSheetColumn(int kind) { return kind == HUNTER_KIND ? HUNTER_SHEET_COLUMN : SHEET_COLUMNS_PER_KIND * kind; }

int pixelDistance(int ax, int ay, int bx, int by)
{
    const double dx = static_cast<double>(bx) - ax;
    const double dy = static_cast<double>(by) - ay;
    // Points at the ends of the int range lie farther apart than an int can say.
    const double distance = std::sqrt(dx * dx + dy * dy);
    return distance >= INT_MAX ? INT_MAX : static_cast<int>(distance);
}

bool withinReach(int ax, int ay, int bx, int by, int reach) { return pixelDistance(ax, ay, bx, by) < reach; }
