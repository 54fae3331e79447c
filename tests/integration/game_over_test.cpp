// A game lost on its last life: the result stays as the player ended it, on the frozen board's
// HUD and in the table, and a bomb still ticking there changes neither the result nor the light.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "drawing_support.h"
#include "full_world_drawing.h"
#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {

bool samePixels(BITMAP* a, BITMAP* b)
{
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(a->line[y], b->line[y], static_cast<std::size_t>(a->w) * 4) != 0) return false;
    return true;
}

class LostGame : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        game->setUpLevel();
        ASSERT_FALSE(game->levelBuildFailed);
        game->lives = 1;
    }

    // Frames as the game loop runs them, with no logic ticks: the ghosts stand where they are put.
    void playFrames(int count)
    {
        for (int i = 0; i < count; ++i) {
            game->drawFrame();
            if (!game->applyRules()) game->presentFrame();
        }
    }

    void catchTheHero() { game->ghosts[0].placeAt(game->heroActor.x, game->heroActor.y); }
};

TEST_F(LostGame, TheResultIsShownUnderGameOverAndRecorded)
{
    Game& g = *game;
    g.score = 1500;  // past the targets of levels 1, 2 and 3
    catchTheHero();
    playFrames(1);
    ASSERT_EQ(g.gameOver, 1);
    EXPECT_EQ(g.levelNumber, 2) << "the level rose in the frame before the ghost was judged";

    playFrames(10);
    EXPECT_EQ(g.score, 1500);
    EXPECT_EQ(g.levelNumber, 2) << "a lost game climbs no further";
    EXPECT_EQ(g.lives, 0);
    const int white = makecol(255, 255, 255);
    EXPECT_TRUE(showsText(g.bitmaps.hudTop, 10, 15, "Pkt:1500", white));
    EXPECT_TRUE(showsText(g.bitmaps.hudTop, 74, 15, "/500", white)) << "the target follows a long score";
    EXPECT_TRUE(showsText(g.bitmaps.hudTop, 10, 25, "Level:2", white));
    EXPECT_TRUE(showsText(g.bitmaps.hudTop, SCREEN_WIDTH - 50, 5, "Life:0", white));

    g.endGame();
    EXPECT_NE(folder->read("high_score.txt").find("\t1500\n"), std::string::npos) << folder->read("high_score.txt");
    // The next game starts from nothing.
    g.setUpLevel();
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.levelNumber, 1);
    EXPECT_EQ(g.lives, 3);
}

TEST_F(LostGame, ABombStillTickingKillsButScoresNothingAndKeepsTheLight)
{
    Game& g = *game;
    // A bomb on cell (10, 8) with walls in its square, and a ghost beside it.
    const int bombX = 400, bombY = 320;
    int wallsInSquare = 0;
    for (int r = 6; r <= 10; ++r)
        for (int c = 8; c <= 12; ++c) wallsInSquare += g.wallGrid.getCell(c, r) == CELL_WALL;
    ASSERT_GT(wallsInSquare, 0) << "pick a square with walls for this seed";
    g.bombs[0].arm(bombX, bombY);
    g.bombs[0].fuse = 50;
    ghost& victim = g.ghosts[1];
    victim.placeAt(bombX + 40, bombY);
    g.score = 40;
    catchTheHero();
    playFrames(1);
    ASSERT_EQ(g.gameOver, 1);

    const std::vector<std::int32_t> reach = g.reachGrid.cells;
    BITMAP* fogBefore = create_bitmap_ex(32, g.bitmaps.shadeLayer->w, g.bitmaps.shadeLayer->h);
    blit(g.bitmaps.shadeLayer, fogBefore, 0, 0, 0, 0, fogBefore->w, fogBefore->h);
    playFrames(30);

    EXPECT_FALSE(g.bombs[0].armed) << "the bomb went off";
    EXPECT_EQ(victim.x, OFF_BOARD) << "its kill stays";
    for (int r = 6; r <= 10; ++r)
        for (int c = 8; c <= 12; ++c) EXPECT_EQ(g.wallGrid.getCell(c, r), CELL_FLOOR) << c << ", " << r;
    EXPECT_EQ(g.score, 40);
    EXPECT_EQ(g.levelNumber, 1);
    EXPECT_EQ(g.reachGrid.cells, reach) << "the frozen board is not put under fog";
    EXPECT_TRUE(samePixels(g.bitmaps.shadeLayer, fogBefore));
    destroy_bitmap(fogBefore);
}

// The value of "NAME=N" in an end-to-end script, or -1.
int scriptValue(const std::string& script, const std::string& name)
{
    std::ifstream in(std::string(TESTS_DIR) + "/e2e/" + script);
    const std::regex pattern("^" + name + "=([0-9]+)");
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_search(line, match, pattern)) return std::stoi(match[1]);
    return -1;
}

using LostGameScenario = GameTest;

// The end-to-end lost game walks the start row to its wall and must find exactly these points there.
TEST_F(LostGameScenario, TheSeededStartRowHoldsTheCoinsTheScriptCountsOnAndNothingElse)
{
    const int seed = scriptValue("lost_game_test.sh", "SEED");
    const int points = scriptValue("lost_game_test.sh", "COINS_IN_ROW");
    ASSERT_GT(seed, 0);
    ASSERT_GT(points, 0);
    discardGame(game);
    seedRandom(static_cast<std::uint32_t>(seed));
    game = new Game;
    game->setUpLevel();
    const Game& g = *game;
    const int row = cellOf(g.heroActor.y);
    int end = cellOf(g.heroActor.x) + 1;
    while (end < g.columns && g.wallGrid.getCell(end, row) != CELL_WALL) ++end;
    auto inRow = [&](const sprite& s) { return s.y == row * CELL_SIZE && s.x > g.heroActor.x && s.x < end * CELL_SIZE; };
    int found = 0;
    for (auto [coins, count, value] : {std::tuple{g.coins1, g.coin1Count, 1}, {g.coins2, g.coin2Count, 2},
                                       {g.coins5, g.coin5Count, 5}})
        for (int i = 0; i < count; ++i) found += inRow(coins[i]) ? value : 0;
    EXPECT_EQ(found, points);
    // No treasure of random worth, and no item that would change the lives or shield the hero.
    for (int i = 0; i < g.treasureCount; ++i) EXPECT_FALSE(inRow(g.treasures[i]));
    for (const sprite* item : {&g.shieldItem, &g.lifeItem, &g.shoesItem, &g.generatorItem, &g.radarItem})
        EXPECT_FALSE(inRow(*item));
}

}  // namespace
