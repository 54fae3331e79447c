// The one direction code of the game, shared by the hero, the ghosts, the blocks, the beam and
// the flood fill, and the one table of the cell step each direction takes.
#pragma once

constexpr int DIRECTION_RIGHT = 0;
constexpr int DIRECTION_DOWN = 1;
constexpr int DIRECTION_LEFT = 2;
constexpr int DIRECTION_UP = 3;
constexpr int DIRECTION_NONE = 4;  // a ghost that does not move
constexpr int DIRECTION_COUNT = 4;  // the four that move: a draw of 0 to 3 picks one

// A step on the grid: columns grow to the right, rows downwards.
struct GridStep {
    int column = 0;
    int row = 0;
};

// The unit step of each direction code, DIRECTION_NONE standing still.
constexpr GridStep DIRECTION_STEPS[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {0, 0}};

// The unit step of a direction code; any code outside the four stands still.
constexpr GridStep directionStep(int direction)
{
    return direction >= 0 && direction < DIRECTION_COUNT ? DIRECTION_STEPS[direction] : DIRECTION_STEPS[DIRECTION_NONE];
}
