// The Game object's life cycle and its three bitmap groups.
#include <allegro.h>
#include <gtest/gtest.h>

#include "assets/assets.h"
#include "shell/game.h"
#include "test_support.h"

using GameLifeCycle = GameTest;

TEST_F(GameLifeCycle, AFreshGameHasOnlyTheFrontEndAndTheSounds)
{
    EXPECT_EQ(game->levelNumber, 0);
    EXPECT_EQ(game->builtLevel, 0);
    EXPECT_EQ(game->gameOver, 0);
    EXPECT_EQ(game->menuChoice, MENU_NONE);
    EXPECT_NE(game->bitmaps.menuBuffer, nullptr);
    EXPECT_NE(game->bitmaps.alphabetPicture, nullptr);
    EXPECT_NE(game->bitmaps.arrowPicture, nullptr);
    EXPECT_NE(game->bitmaps.nameFieldBitmap, nullptr);
    EXPECT_EQ(game->bitmaps.nameFieldBitmap->w, 275);
    EXPECT_EQ(game->bitmaps.nameFieldBitmap->h, 38);
    EXPECT_TRUE(game->samples.missingFiles().empty());
    EXPECT_TRUE(missingAssetFiles(*game).empty());
    EXPECT_EQ(game->bitmaps.worldBitmap, nullptr);
    EXPECT_EQ(game->bitmaps.spriteSheet, nullptr);
    EXPECT_EQ(game->wallGrid.columnCount, 0);
    EXPECT_EQ(game->ghosts, nullptr);
    EXPECT_EQ(game->bombs, nullptr);
}

TEST_F(GameLifeCycle, QuittingWithoutPlayingReleasesOnlyTheRunLongAssets)
{
    game->releaseAssets();
    EXPECT_EQ(game->bitmaps.menuBuffer, nullptr);
    EXPECT_EQ(game->bitmaps.posterPicture, nullptr);
    EXPECT_EQ(game->samples.coinSample, nullptr);
    EXPECT_EQ(game->samples.musicSamples[9], nullptr);
    // Nothing of a game was ever made, so the grids and arrays are still empty.
    game->releaseGrids();
    game->freeActorArrays();
    EXPECT_EQ(game->reachGrid.rowCount, 0);
    EXPECT_EQ(game->coins1, nullptr);
}

struct LevelSize {
    int rows, columns, worldWidth, worldHeight, radarWidth, radarHeight;
};

TEST_F(GameLifeCycle, LevelLayersFollowTheMazeSize)
{
    for (const LevelSize& level : {LevelSize{16, 32, 1280, 640, 288, 144}, LevelSize{17, 33, 1320, 680, 297, 153}}) {
        game->bitmaps.createLevelLayers(level.rows, level.columns);
        ASSERT_TRUE(game->bitmaps.levelLayersComplete());
        const AssetBitmaps& b = game->bitmaps;
        for (BITMAP* layer : {b.beamLayer, b.wallsBitmap, b.ghostMap, b.shadeMask, b.shadeLayer, b.messageLayer}) {
            EXPECT_EQ(layer->w, level.worldWidth);
            EXPECT_EQ(layer->h, level.worldHeight);
        }
        // What is drawn anew every frame and read only where it is seen is kept for the view alone.
        for (BITMAP* layer : {b.worldBitmap, b.glowLayer}) {
            EXPECT_EQ(layer->w, 1280);
            EXPECT_EQ(layer->h, 640);
        }
        EXPECT_EQ(b.radarBitmap->w, level.radarWidth);
        EXPECT_EQ(b.radarBitmap->h, level.radarHeight);
        EXPECT_EQ(b.backBuffer->w, 1280);
        EXPECT_EQ(b.backBuffer->h, 720);
        // The message and beam layers start transparent: frames wipe only what they drew there.
        EXPECT_EQ(getpixel(b.messageLayer, level.worldWidth - 1, level.worldHeight - 1), makecol(255, 0, 255));
        EXPECT_EQ(getpixel(b.beamLayer, level.worldWidth - 1, 0), makecol(255, 0, 255));
        EXPECT_EQ(getpixel(b.glowLayer, 1279, 639), makecol(255, 0, 255));
        game->bitmaps.destroyLevelLayers();
        EXPECT_EQ(game->bitmaps.worldBitmap, nullptr);
    }
}

TEST_F(GameLifeCycle, ASecondGameLoadsTheGameGroupAgain)
{
    for (int round = 0; round < 2; ++round) {
        game->bitmaps.loadGameBitmaps();
        ASSERT_TRUE(game->bitmaps.gameBitmapsComplete()) << "round " << round;
        EXPECT_EQ(game->bitmaps.hudTop->w, SCREEN_WIDTH);
        EXPECT_EQ(game->bitmaps.hudBottom->h, 40);
        EXPECT_EQ(game->bitmaps.debugPanel->w, 240);
        // The strips are black until the HUD draws them, so the first frame shows no noise.
        EXPECT_EQ(getpixel(game->bitmaps.hudTop, 100, 20), makecol(0, 0, 0));
        game->bitmaps.destroyGameBitmaps();
        EXPECT_EQ(game->bitmaps.spriteSheet, nullptr);
        EXPECT_NE(game->bitmaps.menuBuffer, nullptr);
    }
}

TEST_F(GameLifeCycle, AMissingPictureIsNamed)
{
    // Replace the linked picture folder with one that lacks the sprite sheet.
    std::string command = "rm _bmp && mkdir _bmp && cp " + std::string(GAME_DIR) +
                          "/_bmp/*.bmp _bmp/ && rm _bmp/sprites.bmp";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<std::string> missing = missingAssetFiles(*game);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0], "_bmp/sprites.bmp (missing)");
}
