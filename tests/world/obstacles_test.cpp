// The one writer of obstacle cells: after every rule that moves, removes or restores an obstacle,
// the ghosts' collision picture is exactly what painting it afresh from the grid would give.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "hand_built_board.h"

namespace {

class ObstacleWriter : public HandBuiltBoard {
protected:
    // Walls around the board's middle, so that every change lies next to a wall whose painted
    // square spills into it; blocks on cells (10, 8), (14, 8) and (25, 12).
    void SetUp() override
    {
        HandBuiltBoard::SetUp();
        for (int c = 7; c <= 17; ++c) {
            game->obstacleGrid.setCell(c, 5, CELL_WALL);
            game->obstacleGrid.setCell(c, 11, CELL_WALL);
        }
        for (int r = 5; r <= 11; ++r) {
            game->obstacleGrid.setCell(7, r, CELL_WALL);
            game->obstacleGrid.setCell(17, r, CELL_WALL);
        }
        game->obstacleGrid.setCell(9, 8, CELL_WALL);
        placeBlock(0, 10, 8);
        placeBlock(1, 14, 8);
        placeBlock(2, 25, 12);
        game->blockCount = 3;
        game->paintGhostMap();
    }

    void placeBlock(int index, int column, int row)
    {
        game->blocks[index].placeAt(column * CELL_SIZE, row * CELL_SIZE);
        game->obstacleGrid.setCell(column, row, CELL_WALL);
    }

    // The first pixel where the ghosts' map differs from a fresh painting of the grid ("": none),
    // leaving out one pixel the case marked itself.
    std::string differenceFromFreshPainting(int skipX = -1, int skipY = -1) const
    {
        BITMAP* map = game->bitmaps.ghostMap;
        BITMAP* fresh = create_bitmap(map->w, map->h);
        game->obstacleGrid.paintCells(fresh, 255, 0, 255, 0, 255, 0, CELL_SIZE);
        std::string difference;
        for (int y = 0; y < map->h && difference.empty(); ++y)
            for (int x = 0; x < map->w && difference.empty(); ++x)
                if ((x != skipX || y != skipY) && getpixel(map, x, y) != getpixel(fresh, x, y))
                    difference = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
        destroy_bitmap(fresh);
        return difference;
    }
};

TEST_F(ObstacleWriter, APushedBlockIsInTheGhostsMapAtItsNewCellAtOnce)
{
    // The hero 30 pixels left of block 0, walking right: the block jumps to (11, 8).
    game->heroActor.placeAt(370, 320);
    game->heroActor.direction = DIRECTION_RIGHT;
    game->pushBlocks();
    ASSERT_EQ(game->blocks[0].x, 11 * CELL_SIZE);
    EXPECT_EQ(differenceFromFreshPainting(), "");
}

TEST_F(ObstacleWriter, ABlockBlastAwayOrTakenOffLeavesNoTraceInTheGhostsMap)
{
    // A live blast centred on block 1's corner takes it; block 0 is taken by hand.
    game->bombs[0].arm(14 * CELL_SIZE - 20, 8 * CELL_SIZE - 20);
    game->bombs[0].fuse = 65;
    game->blastItems();
    ASSERT_EQ(game->blocks[1].x, OFF_BOARD);
    EXPECT_EQ(game->obstacleGrid.getCell(14, 8), CELL_FLOOR);
    EXPECT_EQ(differenceFromFreshPainting(), "");

    game->takeBlockOffBoard(game->blocks[0]);
    EXPECT_EQ(game->obstacleGrid.getCell(10, 8), CELL_FLOOR);
    EXPECT_EQ(differenceFromFreshPainting(), "");
}

TEST_F(ObstacleWriter, AWallBlastRepaintsOnlyWhatItChangedAndKeepsSurvivingBlocksSolid)
{
    // Centre (420, 340), on block 0's cell: the square (8..12, 6..10) holds block 0, which the
    // wall blast itself does not destroy, and ends beside the wall column 7 and row 11.
    BITMAP* map = game->bitmaps.ghostMap;
    // A mark far from the square: a repaint that reaches it wipes it.
    putpixel(map, 25 * CELL_SIZE + 5, 12 * CELL_SIZE + 5, makecol(255, 0, 0));
    game->bombs[0].arm(400, 320);
    game->bombs[0].fuse = 69;
    game->updateBombs();
    ASSERT_EQ(game->bombs[0].fuse, 70);
    EXPECT_EQ(game->obstacleGrid.getCell(9, 8), CELL_FLOOR);
    EXPECT_EQ(game->obstacleGrid.getCell(10, 8), CELL_WALL) << "the block still stands";
    EXPECT_EQ(game->obstacleGrid.getCell(7, 8), CELL_WALL);
    EXPECT_EQ(differenceFromFreshPainting(25 * CELL_SIZE + 5, 12 * CELL_SIZE + 5), "");
    EXPECT_EQ(getpixel(map, 25 * CELL_SIZE + 5, 12 * CELL_SIZE + 5), makecol(255, 0, 0))
        << "only the cells the blast changed are painted again";
}

}  // namespace
