// The hero's steps through the wall picture, the three-level scrolling view, and the shoes.
#include <allegro.h>
#include <gtest/gtest.h>

#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {
const int MAGENTA = 0xFF00FF;
const int WALL = 0x406080;
}  // namespace

// A real level whose walls are then cleared, or redrawn by the case, in the wall picture.
class HeroWalk : public GameTest {
protected:
    void build(int level)
    {
        game->setUpLevel();
        if (level > 1) {
            game->levelNumber = level;
            game->setUpLevel();
        }
        ASSERT_FALSE(game->levelBuildFailed);
        clear_to_color(game->bitmaps.wallsBitmap, MAGENTA);
    }
    void walk(int arrow, int ticks)
    {
        key[arrow] = 1;
        game->readControls();
        for (int i = 0; i < ticks; ++i) game->moveHero();
        key[arrow] = 0;
    }
    void expectView(int x, int ogrX, int mapX, int nadX)
    {
        EXPECT_EQ(game->heroActor.x, x);
        EXPECT_EQ(game->ogrX, ogrX);
        EXPECT_EQ(game->mapX, mapX);
        EXPECT_EQ(game->nadX, nadX);
    }
};

TEST_F(HeroWalk, AtLevelOneTheViewNeverScrollsAndTheWorldsEdgeStopsTheHero)
{
    build(1);
    EXPECT_EQ(game->mapMaxX, 0);
    EXPECT_EQ(game->mapMaxY, 0);
    expectView(80, 0, 0, -240);
    walk(KEY_RIGHT, 60);
    expectView(320, 0, 0, 0);
    walk(KEY_RIGHT, 160);
    expectView(960, 640, 0, 0);
    walk(KEY_RIGHT, 1);
    expectView(964, 640, 0, 4);
    // The probes past the picture's edge read as wall.
    walk(KEY_RIGHT, 100);
    expectView(1240, 640, 0, 280);
    walk(KEY_DOWN, 200);
    EXPECT_EQ(game->heroActor.y, 600);
    EXPECT_EQ(game->mapY, 0);
    // Left and up probe the hero's own first column and row, so he ends one step past the edge.
    walk(KEY_LEFT, 400);
    walk(KEY_UP, 200);
    EXPECT_EQ(game->heroActor.x, -4);
    EXPECT_EQ(game->heroActor.y, -4);
    EXPECT_EQ(game->mapX, 0);
}

TEST_F(HeroWalk, AtLevelTwoTheViewScrollsFortyPixelsBetweenTheOverflows)
{
    build(2);
    EXPECT_EQ(game->mapMaxX, 40);
    EXPECT_EQ(game->mapMaxY, 40);
    walk(KEY_RIGHT, 220);
    expectView(960, 640, 0, 0);
    walk(KEY_RIGHT, 10);
    expectView(1000, 640, 40, 0);
    walk(KEY_RIGHT, 2);
    expectView(1008, 640, 40, 8);
    walk(KEY_LEFT, 2);
    expectView(1000, 640, 40, 0);
    walk(KEY_LEFT, 1);
    expectView(996, 636, 40, 0);
    // Down the same way: the box is 280 high.
    walk(KEY_DOWN, 20 + 70 + 10);
    EXPECT_EQ(game->ogrY, 280);
    EXPECT_EQ(game->mapY, 40);
    EXPECT_EQ(game->nadY, 0);
}

TEST_F(HeroWalk, AStepBackFromAnOverflowDropsWhatIsLeftOfIt)
{
    build(2);
    struct Case {
        int arrow, nad;
        bool horizontal;
    };
    for (const Case& test : {Case{KEY_UP, 3, false}, Case{KEY_DOWN, -3, false}, Case{KEY_LEFT, 3, true},
                             Case{KEY_RIGHT, -3, true}}) {
        game->resetView();
        game->heroActor.placeAt(400, 300);
        int& nad = test.horizontal ? game->nadX : game->nadY;
        nad = test.nad;
        walk(test.arrow, 1);
        EXPECT_EQ(nad, 0) << test.arrow;
        EXPECT_EQ(game->ogrX + game->ogrY + game->mapX + game->mapY, 0) << "nothing else moves";
    }
}

TEST_F(HeroWalk, EveryKeyHeldTurnsTheHeroAndStepsOnlyWhereItsOwnProbesAreFree)
{
    build(1);
    // Opposite keys both act, and the last one handled sets the facing.
    key[KEY_RIGHT] = key[KEY_LEFT] = 1;
    game->readControls();
    game->moveHero();
    EXPECT_EQ(game->heroActor.x, 80);
    EXPECT_EQ(game->heroActor.direction, DIRECTION_LEFT);
    EXPECT_EQ(game->heroActor.row, DIRECTION_LEFT);
    rectfill(game->bitmaps.wallsBitmap, 120, 0, 159, 639, WALL);
    game->moveHero();
    EXPECT_EQ(game->heroActor.x, 76);
    releaseAllInput();

    // Walled in, each key still turns him.
    clear_to_color(game->bitmaps.wallsBitmap, WALL);
    for (int arrow : {KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_LEFT}) {
        walk(arrow, 1);
        const int facing = arrow == KEY_RIGHT ? 0 : arrow == KEY_DOWN ? 1 : arrow == KEY_LEFT ? 2 : 3;
        EXPECT_EQ(game->heroActor.direction, facing);
        EXPECT_EQ(game->heroActor.row, game->heroActor.direction);
    }
    EXPECT_EQ(game->heroActor.x, 76);
    EXPECT_EQ(game->heroActor.y, 80);
}

TEST_F(HeroWalk, TheHeroEntersAOneCellPassageFromTenBeforeToNinePastItsLine)
{
    build(1);
    // A corridor along row 2 with a passage going down from column 10.
    BITMAP* walls = game->bitmaps.wallsBitmap;
    clear_to_color(walls, WALL);
    rectfill(walls, 0, 80, 1279, 119, MAGENTA);
    rectfill(walls, 400, 120, 439, 639, MAGENTA);
    struct Case {
        int offset;
        bool enters;
    };
    for (const Case& test : {Case{-11, false}, Case{-10, true}, Case{0, true}, Case{9, true}, Case{10, false}}) {
        game->heroActor.placeAt(400 + test.offset, 80);
        walk(KEY_DOWN, 1);
        EXPECT_EQ(game->heroActor.y, test.enters ? 84 : 80) << test.offset;
    }
}

TEST_F(HeroWalk, ShoesLoseASpeedPointEvery4800AllowedSteps)
{
    build(1);
    game->hasShoes = true;
    game->heroActor.speed = game->baseSpeed = 6;
    game->shoesTime = 1;
    walk(KEY_RIGHT, 1);
    EXPECT_EQ(game->shoesTime, 4800);
    EXPECT_EQ(game->heroActor.speed, 5);
    EXPECT_EQ(game->baseSpeed, 5);
    EXPECT_TRUE(game->hasShoes);

    // Two keys make two steps in one tick; a blocked key makes none.
    key[KEY_RIGHT] = key[KEY_DOWN] = 1;
    game->readControls();
    game->moveHero();
    EXPECT_EQ(game->shoesTime, 4798);
    rectfill(game->bitmaps.wallsBitmap, 0, 0, 1279, 639, WALL);
    game->moveHero();
    EXPECT_EQ(game->shoesTime, 4798);
    releaseAllInput();

    clear_to_color(game->bitmaps.wallsBitmap, MAGENTA);
    game->heroActor.placeAt(80, 80);
    game->shoesTime = 1;
    walk(KEY_RIGHT, 1);
    EXPECT_FALSE(game->hasShoes);
    EXPECT_EQ(game->heroActor.speed, 4);
    EXPECT_EQ(game->baseSpeed, 4);
    // Barefoot, the countdown stands still.
    walk(KEY_RIGHT, 3);
    EXPECT_EQ(game->shoesTime, 0);
    EXPECT_EQ(game->heroActor.speed, 4);
}
