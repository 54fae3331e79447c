// World drawing: the darkness and lights, the shadows, the beam's reach and animation, the radar.
#include <allegro.h>
#include <gtest/gtest.h>

#include "drawing_support.h"
#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {

constexpr int SEED = 777;

class WorldDrawing : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        buildBareBoard(*game, 16, 32);
        seedRandom(SEED);
    }
    int background(int dr = 0, int dg = 0, int db = 0) const
    {
        return makecol(game->backgroundRed + dr, game->backgroundGreen + dg, game->backgroundBlue + db);
    }
    int world(int x, int y) const
    {
        game->finishBackground();  // the frame's lights would have made what was not drawn over
        return getpixel(game->bitmaps.worldBitmap, x, y);
    }
    int glow(int x, int y) const { return getpixel(game->bitmaps.glowLayer, x, y); }
    int radar(int x, int y) const { return getpixel(game->bitmaps.radarBitmap, x, y); }
    void addGhost(int kind, int x, int y)
    {
        game->ghosts = new ghost[1];
        game->ghostCount = 1;
        game->ghosts[0].placeAt(x, y);
        game->ghosts[0].kind = kind;
    }
};

using LightsAndShadows = WorldDrawing;

TEST_F(LightsAndShadows, TheDarknessDeepensBeyondFourHundredPixelsFromTheHero)
{
    game->heroActor.placeAt(600, 300);  // centre (620, 320)
    game->prepareLightLayers();
    // The darkness as its discs draw it; the frame lays it row by row.
    BITMAP* dark = create_bitmap(VIEW_WIDTH, VIEW_HEIGHT);
    const DiscPicture& darkness = game->darkness;
    fillWithDiscs(dark, darkness.background, darkness.discs, darkness.discCount);
    EXPECT_EQ(getpixel(dark, 620 + 399, 320), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(dark, 620 + 450, 320), makecol(20, 20, 20));
    EXPECT_EQ(getpixel(dark, 620 - 550, 320), makecol(10, 10, 10));
    EXPECT_EQ(getpixel(dark, 620 + 650, 320), makecol(0, 0, 0));
    EXPECT_EQ(glow(0, 0), makecol(255, 0, 255));
    destroy_bitmap(dark);
}

TEST_F(LightsAndShadows, TheHeroCarriesAWarmLightOrWithTheShieldAFlickeringBlueHalo)
{
    game->heroActor.placeAt(600, 300);  // centre (620, 320)
    game->drawBackground();
    EXPECT_EQ(world(620 + 160, 320), background(3, 3, 3));
    EXPECT_EQ(world(620 + 120, 320), background(12, 10, 10));
    EXPECT_EQ(world(620 + 60, 320), background(17, 15, 15));
    EXPECT_EQ(world(620, 320), makecol(32, 24, 48));  // 0.8 of the background, under the hero
    EXPECT_EQ(world(620 + 200, 320), background());

    game->hasShield = true;
    seedRandom(SEED);
    game->drawBackground();
    seedRandom(SEED);
    const int outer = gameRandom() % 30;
    const int inner = gameRandom() % 60;
    EXPECT_EQ(world(620 + 80, 320), background(0, 0, 2 * outer));
    EXPECT_EQ(world(620 + 50, 320), background(0, 0, 2 * inner));
    EXPECT_EQ(world(620 + 120, 320), background());  // no warm light around the halo
}

TEST_F(LightsAndShadows, WallsAndBlocksCastShadowsToTheLowerRight)
{
    game->wallGrid.setCell(20, 10, CELL_WALL);  // (800, 400), far from the hero's light
    game->blocks = new sprite[1];
    game->blockCount = 1;
    game->blocks[0].placeAt(1000, 400);
    game->drawBackground();
    EXPECT_EQ(world(843, 443), makecol(24, 18, 36));
    EXPECT_EQ(world(844, 444), background());
    EXPECT_EQ(world(1043, 443), makecol(16, 12, 24));
    EXPECT_EQ(world(1044, 444), background());
    EXPECT_EQ(world(1002, 402), background());
}

struct GhostLight {
    int kind;
    int rMul, gMulD, gMulE, bMulD, bMulE;  // how d and e tint each component
    int radius1, radius2;
};

TEST_F(LightsAndShadows, EachGhostKindGlowsInItsOwnColourAndTheHunterTwiceAsWide)
{
    const GhostLight lights[] = {
        {0, 1, 0, 0, 0, 0, 45, 30}, {1, 1, 0, 1, 0, 0, 45, 30}, {2, 1, 0, 0, 1, 0, 45, 30},
        {3, 0, 1, 0, 1, 0, 45, 30}, {4, 1, 0, 0, 0, 1, 45, 30}, {5, 0, 0, 0, 2, 0, 90, 60},
    };
    for (const GhostLight& light : lights) {
        addGhost(light.kind, 600, 300);
        seedRandom(SEED);
        game->drawBackground();
        seedRandom(SEED);
        int d[3], e[3];
        for (int j = 1; j <= 2; ++j) {
            d[j] = gameRandom() % (20 * j);
            e[j] = gameRandom() % (10 * j);
        }
        auto tint = [&](int j) {
            return background(light.rMul * d[j], light.gMulD * d[j] + light.gMulE * e[j],
                              light.bMulD * d[j] + light.bMulE * e[j]);
        };
        SCOPED_TRACE(light.kind);
        EXPECT_EQ(world(620 + light.radius1 - 1, 320), tint(1));
        EXPECT_EQ(world(620 + light.radius2 - 1, 320), tint(2));
        EXPECT_EQ(world(620 + light.radius1 + 1, 320), background());
        delete[] game->ghosts;
        game->ghosts = nullptr;
    }
}

using Beam = WorldDrawing;

struct BeamShot {
    int direction;
    int stepColumn, stepRow;
    int sheetRow;  // horizontal pieces come from the top row of the laser picture
};

TEST_F(Beam, ItRunsFromTheHeroToTheFirstWallOrBlockAndPassesOverCoins)
{
    const BeamShot shots[] = {{DIRECTION_RIGHT, 1, 0, 0}, {DIRECTION_DOWN, 0, 1, 1},
                              {DIRECTION_LEFT, -1, 0, 0}, {DIRECTION_UP, 0, -1, 1}};
    key[KEY_G] = 1;
    game->readControls();
    game->hasGenerator = true;
    game->heroActor.placeAt(10 * 40, 8 * 40);
    game->coins1 = new sprite[1];
    game->coin1Count = 1;
    for (const BeamShot& shot : shots) {
        SCOPED_TRACE(shot.direction);
        game->heroActor.direction = shot.direction;
        game->obstacleGrid.fill(CELL_FLOOR);
        game->obstacleGrid.setCell(10 + 4 * shot.stepColumn, 8 + 4 * shot.stepRow, CELL_WALL);
        game->coins1[0].placeAt((10 + 2 * shot.stepColumn) * 40, (8 + 2 * shot.stepRow) * 40);
        game->beamFrame = 0;
        game->prepareLightLayers();
        game->drawItems();
        game->drawBeam();
        const int beamColour = cellColour(0, shot.sheetRow, LASER_TINT);
        for (int step = 1; step <= 3; ++step)
            EXPECT_EQ(glow((10 + step * shot.stepColumn) * 40 + 20, (8 + step * shot.stepRow) * 40 + 20), beamColour)
                << "cell " << step;
        EXPECT_EQ(glow((10 + 4 * shot.stepColumn) * 40 + 20, (8 + 4 * shot.stepRow) * 40 + 20), makecol(255, 0, 255));
        EXPECT_EQ(glow(10 * 40 + 20, 8 * 40 + 20), makecol(255, 0, 255));
        EXPECT_EQ(game->beamFrame, 1);
    }
}

TEST_F(Beam, ItNeedsTheKeyTheGeneratorAndAHeroOnTheBoardButNotRoomToFire)
{
    struct Case {
        bool keyDown, generator;
        int heroX;
        bool wallAhead;
        int frameAfter;  // the animation runs on whenever the beam is fired, even into a wall
    } cases[] = {{false, true, 80, false, 5}, {true, false, 80, false, 5}, {true, true, 0, false, 5},
                 {true, true, -1000, false, 5}, {true, true, 80, true, 6}};
    for (const Case& c : cases) {
        key[KEY_G] = c.keyDown;
        game->readControls();
        game->hasGenerator = c.generator;
        game->heroActor.placeAt(c.heroX, 80);
        game->obstacleGrid.setCell(3, 2, c.wallAhead ? CELL_WALL : CELL_FLOOR);
        game->beamFrame = 5;
        game->prepareLightLayers();
        game->drawBeam();
        EXPECT_EQ(game->beamFrame, c.frameAfter);
        for (int x = 0; x < 1280; x += 40) EXPECT_EQ(glow(x + 20, 100), makecol(255, 0, 255));
    }
}

TEST_F(Beam, ItsPiecesShimmerThroughTheLaserFramesInACycleOfTwentyFour)
{
    key[KEY_G] = 1;
    game->readControls();
    game->hasGenerator = true;
    game->prepareLightLayers();
    // Frames whose source lies left of the picture draw nothing (-1 marks them).
    const int pieces[25] = {0, -1, -1, -1, 1, 0, -1, -1, 2, 1, 0, -1, 3, 2, 1, 0, 4, 3, 2, 1, 5, 4, 3, 2, 6};
    for (int frame = 0; frame <= 24; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(game->beamFrame, frame);
        clear_to_color(game->bitmaps.glowLayer, makecol(255, 0, 255));
        game->drawBeam();
        const int expected = pieces[frame] < 0 ? makecol(255, 0, 255) : cellColour(pieces[frame], 0, LASER_TINT);
        EXPECT_EQ(glow(140, 100), expected);
    }
    EXPECT_EQ(game->beamFrame, 1);  // 24 wraps round to 1
}

using Radar = WorldDrawing;

TEST_F(Radar, ItShowsWallsCoinsAndTheHeroInTheirCellsUnderAFrame)
{
    game->hasRadar = true;
    game->heroActor.placeAt(120, 80);  // cell (3, 2): his dot is centred on (32, 23)
    game->wallGrid.setCell(20, 10, CELL_WALL);
    game->coins5 = new sprite[2];
    game->coin5Count = 2;
    game->coins5[0].placeAt(25 * 40, 12 * 40);
    game->coins5[1].placeAt(120, 80);  // a coin in cell (3, 2) is centred on (31, 22)
    game->drawRadar();
    seedRandom(SEED);
    const int a = gameRandom() % 105 + 150;
    const int b = gameRandom() % 50;
    EXPECT_EQ(radar(32 + 4, 23 + 2), makecol(255, 0, 0));  // the hero's dot, clear of the cross-hairs
    EXPECT_EQ(radar(31 - 5, 22), makecol(255, a, b));      // the coin's, peeping out left of it
    EXPECT_EQ(radar(31 - 6, 22), makecol(255, 255, 255));
    EXPECT_EQ(radar(32 + 30, 23), makecol(50, a, 50));     // cross-hair
    EXPECT_EQ(radar(25 * 9 + 4, 12 * 9 + 4), makecol(255, a, b));
    EXPECT_EQ(radar(20 * 9 + 4, 10 * 9 + 4), makecol(0, b, 0));
    EXPECT_EQ(radar(1, 100), makecol(0, 0, 0));
    EXPECT_EQ(radar(100, 130), makecol(255, 255, 255));
}

TEST_F(Radar, ItsSweepRingGrowsTenPixelsAFrameAndStartsAgainAfterTwoForty)
{
    game->drawRadar();
    EXPECT_EQ(game->radarSweep, 0);  // no radar, no sweep
    const int next = gameRandom();
    seedRandom(SEED);
    EXPECT_EQ(next, gameRandom());  // and no draw taken
    game->hasRadar = true;
    for (int frame = 0; frame < 25; ++frame) {
        EXPECT_EQ(game->radarSweep, frame * 10);
        game->drawRadar();
    }
    EXPECT_EQ(game->radarSweep, 0);
}

}  // namespace
