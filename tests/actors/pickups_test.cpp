// What the hero touches: the reach of collecting, coins, treasures, bomb pick-ups and power-ups
// with their texts, ghost contact with and without the shield, the beam and block pushing.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hand_built_board.h"
#include "shell/random.h"

namespace {
enum class Pickup { Coin1, Coin2, Coin5, Treasure, Dynamite, Generator, Radar, Life, Shield, Shoes };

const Pickup allPickups[] = {Pickup::Coin1,     Pickup::Coin2, Pickup::Coin5, Pickup::Treasure, Pickup::Dynamite,
                             Pickup::Generator, Pickup::Radar, Pickup::Life,  Pickup::Shield,   Pickup::Shoes};
}  // namespace

class PickupBoard : public HandBuiltBoard {
protected:
    // Puts one pick-up of a kind on the board (as the only one of its kind) and returns it.
    sprite& put(Pickup kind, int x, int y)
    {
        Game& g = *game;
        sprite* s = nullptr;
        switch (kind) {
        case Pickup::Coin1: g.coin1Count = 1; s = &g.coins1[0]; break;
        case Pickup::Coin2: g.coin2Count = 1; s = &g.coins2[0]; break;
        case Pickup::Coin5: g.coin5Count = 1; s = &g.coins5[0]; break;
        case Pickup::Treasure: g.treasureCount = 1; s = &g.treasures[0]; break;
        case Pickup::Dynamite: g.dynamiteCount = 1; s = &g.dynamites[0]; break;
        case Pickup::Generator: g.generatorAbsent = 0; s = &g.generatorItem; break;
        case Pickup::Radar: g.radarAbsent = 0; s = &g.radarItem; break;
        case Pickup::Life: g.lifeAbsent = 0; s = &g.lifeItem; break;
        case Pickup::Shield: g.shieldAbsent = 0; s = &g.shieldItem; break;
        case Pickup::Shoes: g.shoesAbsent = 0; s = &g.shoesItem; break;
        }
        s->placeAt(x, y);
        return *s;
    }

    // The message layer as it would look with these texts written on a fresh one.
    BITMAP* expectedMessages(const std::vector<std::pair<std::string, std::pair<int, int>>>& texts)
    {
        BITMAP* expected = makeFilledBitmap(game->bitmaps.messageLayer->w, game->bitmaps.messageLayer->h, magenta());
        for (const auto& [words, at] : texts)
            textprintf_ex(expected, font, at.first, at.second, makecol(255, 255, 255), -1, "%s", words.c_str());
        return expected;
    }

    void expectMessages(const std::vector<std::pair<std::string, std::pair<int, int>>>& texts)
    {
        BITMAP* expected = expectedMessages(texts);
        EXPECT_TRUE(sameRegion(game->bitmaps.messageLayer, expected, 0, 0, expected->w, expected->h));
        destroy_bitmap(expected);
    }
};

using CollectReach = PickupBoard;

TEST_F(CollectReach, EveryPickupIsTakenAt29PixelsAndLeftAt30)
{
    struct Offset {
        int dx, dy;
        bool taken;
    };
    // 21, 21 is 29.7 pixels and truncates to 29; 18, 24 is exactly 30.
    const Offset offsets[] = {{29, 0, true}, {0, -29, true}, {21, 21, true}, {-30, 0, false}, {0, 30, false}, {18, 24, false}};
    for (Pickup kind : allPickups)
        for (const Offset& o : offsets) {
            SCOPED_TRACE(testing::Message() << "pick-up " << static_cast<int>(kind) << " at " << o.dx << ", " << o.dy);
            game->coinsLeft = 10;
            sprite& s = put(kind, HERO_X + o.dx, HERO_Y + o.dy);
            game->collectPickups();
            EXPECT_EQ(s.x == OFF_BOARD && s.y == OFF_BOARD, o.taken);
            s.takeOffBoard();
        }
}

TEST_F(CollectReach, AnItemLeftOutOfTheLevelCannotBeTaken)
{
    for (Pickup kind : {Pickup::Generator, Pickup::Radar, Pickup::Life, Pickup::Shield, Pickup::Shoes}) {
        sprite& s = put(kind, HERO_X, HERO_Y);
        game->generatorAbsent = game->radarAbsent = game->lifeAbsent = game->shieldAbsent = game->shoesAbsent = 1;
        game->collectPickups();
        EXPECT_EQ(s.x, HERO_X) << static_cast<int>(kind);
    }
    EXPECT_FALSE(game->hasGenerator || game->hasRadar || game->hasShield || game->hasShoes);
    EXPECT_EQ(game->lives, 3);
    EXPECT_EQ(game->heroActor.speed, 4);
}

using Coins = PickupBoard;

TEST_F(Coins, ThreeFiveCoinsInOneFrameAddFifteenAndWriteThreeTexts)
{
    game->coin5Count = 3;
    game->coinsLeft = 7;
    const int spots[3][2] = {{HERO_X + 10, HERO_Y}, {HERO_X, HERO_Y + 25}, {HERO_X - 20, HERO_Y - 20}};
    for (int i = 0; i < 3; ++i) game->coins5[i].placeAt(spots[i][0], spots[i][1]);
    game->collectPickups();
    EXPECT_EQ(game->score, 15);
    EXPECT_EQ(game->coinsLeft, 4);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(game->coins5[i].x, OFF_BOARD);
    expectMessages({{"+5", {spots[0][0], spots[0][1]}}, {"+5", {spots[1][0], spots[1][1]}}, {"+5", {spots[2][0], spots[2][1]}}});
}

TEST_F(Coins, EachCoinIsWorthItsValue)
{
    struct Case {
        Pickup kind;
        int points;
        const char* text;
    };
    for (const Case& c : {Case{Pickup::Coin1, 1, "+1"}, Case{Pickup::Coin2, 2, "+2"}, Case{Pickup::Coin5, 5, "+5"}}) {
        clear_to_color(game->bitmaps.messageLayer, magenta());
        game->score = 100;
        game->coinsLeft = 2;
        put(c.kind, HERO_X + 3, HERO_Y + 4);
        game->collectPickups();
        EXPECT_EQ(game->score, 100 + c.points) << c.text;
        EXPECT_EQ(game->coinsLeft, 1);
        expectMessages({{c.text, {HERO_X + 3, HERO_Y + 4}}});
    }
}

using Treasures = PickupBoard;

TEST_F(Treasures, ATreasureWorth57CheersAndAdds57)
{
    std::uint32_t seed = 1;
    for (;; ++seed) {
        seedRandom(seed);
        if (gameRandom() % 150 + 20 == 57) break;
    }
    seedRandom(seed);
    const int x = HERO_X + 10, y = HERO_Y + 10;
    sprite& t = put(Pickup::Treasure, x, y);
    game->score = 5;
    game->collectPickups();
    EXPECT_EQ(game->score, 62);
    EXPECT_EQ(t.x, OFF_BOARD);
    expectMessages({{"hura, mam skarb!!!", {x - 5, y - 10}}, {"+", {x - 10, y}}, {"57", {x, y}}});
}

TEST_F(Treasures, TreasuresAreWorth20To169)
{
    int lowest = 1000, highest = 0;
    seedRandom(4);
    for (int i = 0; i < 3000; ++i) {
        put(Pickup::Treasure, HERO_X, HERO_Y);
        const int before = game->score;
        game->collectTreasures();
        lowest = std::min(lowest, game->score - before);
        highest = std::max(highest, game->score - before);
    }
    EXPECT_EQ(lowest, 20);
    EXPECT_EQ(highest, 169);
}

using PowerUps = PickupBoard;

TEST_F(PowerUps, ChargesAreSetAnewNotAdded)
{
    game->hasShield = true;
    game->shieldTime = 100;
    game->hasGenerator = true;
    game->beamPower = 5;
    put(Pickup::Shield, HERO_X, HERO_Y);
    put(Pickup::Generator, HERO_X + 5, HERO_Y);
    put(Pickup::Radar, HERO_X - 5, HERO_Y);
    put(Pickup::Life, HERO_X, HERO_Y + 5);
    game->collectPickups();
    EXPECT_EQ(game->shieldTime, 600);
    EXPECT_TRUE(game->hasShield);
    EXPECT_EQ(game->beamPower, 20);
    EXPECT_TRUE(game->hasGenerator);
    EXPECT_TRUE(game->hasRadar);
    EXPECT_EQ(game->lives, 4);
}

TEST_F(PowerUps, ASecondPairOfShoesAddsItsSpeedPoint)
{
    put(Pickup::Shoes, HERO_X, HERO_Y);
    game->collectPickups();
    EXPECT_TRUE(game->hasShoes);
    EXPECT_EQ(game->shoesTime, 4800);
    EXPECT_EQ(game->heroActor.speed, 5);
    EXPECT_EQ(game->baseSpeed, 5);
    game->shoesTime = 1000;
    put(Pickup::Shoes, HERO_X, HERO_Y);
    game->collectPickups();
    EXPECT_EQ(game->shoesTime, 4800);
    EXPECT_EQ(game->heroActor.speed, 6);
    EXPECT_EQ(game->baseSpeed, 6);
}

using BombPickups = PickupBoard;

TEST_F(BombPickups, AFullStockLeavesThemOnTheBoard)
{
    game->bombCount = 15;
    sprite& d = put(Pickup::Dynamite, HERO_X, HERO_Y);
    game->collectPickups();
    EXPECT_EQ(d.x, HERO_X);
    EXPECT_EQ(game->bombCount, 15);
}

TEST_F(BombPickups, TheStockIsTestedOnceSoTwoAtOnceCanPassFifteen)
{
    game->bombCount = 14;
    game->dynamiteCount = 2;
    game->dynamites[0].placeAt(HERO_X + 5, HERO_Y);
    game->dynamites[1].placeAt(HERO_X, HERO_Y + 5);
    game->collectPickups();
    EXPECT_EQ(game->bombCount, 16);
    EXPECT_EQ(game->dynamites[1].x, OFF_BOARD);
}

using GhostContact = PickupBoard;

TEST_F(GhostContact, WithoutTheShieldAGhostAt19PixelsTakesALifeAndAt20Nothing)
{
    putGhost(0, HERO_X + 20, HERO_Y);
    EXPECT_FALSE(game->checkGhostContact());
    EXPECT_EQ(game->lives, 3);
    EXPECT_FALSE(game->heroHit);

    putGhost(1, HERO_X, HERO_Y - 19);
    putGhost(2, HERO_X, HERO_Y);
    EXPECT_TRUE(game->checkGhostContact());
    EXPECT_EQ(game->lives, 2) << "one life per frame, however many ghosts";
    EXPECT_TRUE(game->heroHit);
}

TEST_F(GhostContact, TheShieldTurnsGhostsAwayAndDrainsOncePerGhostInReach)
{
    game->hasShield = true;
    game->shieldTime = 600;
    putGhost(0, HERO_X, HERO_Y);
    putGhost(1, HERO_X + 79, HERO_Y);
    putGhost(2, HERO_X - 40, HERO_Y + 40);
    putGhost(3, HERO_X, HERO_Y + 80);  // just out of reach
    seedRandom(21);
    EXPECT_FALSE(game->checkGhostContact());
    EXPECT_EQ(game->shieldTime, 597);
    EXPECT_EQ(game->lives, 3);
    EXPECT_FALSE(game->heroHit);
    // Each ghost in reach got one fresh random heading, in order; the one out of reach none.
    seedRandom(21);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(game->ghosts[i].direction, gameRandom() % 4) << i;
    EXPECT_EQ(game->ghosts[3].direction, DIRECTION_RIGHT);
}

TEST_F(GhostContact, TheBuzzSoundsOnceEveryElevenContacts)
{
    game->hasShield = true;
    game->shieldTime = 600;
    game->shieldBuzzClock = 0;
    putGhost(0, HERO_X + 10, HERO_Y);
    // The clock counts contacts since the last buzz: 1 to 11, then the buzz starts it again.
    for (int contact = 1; contact <= 34; ++contact) {
        game->checkGhostContact();
        ASSERT_EQ(game->shieldBuzzClock, (contact - 1) % 11 + 1) << "contact " << contact;
    }
}

TEST_F(GhostContact, AShieldRunningOutStillTurnsTheRestAndThenGhostsKill)
{
    game->hasShield = true;
    game->shieldTime = 2;
    for (int i = 0; i < 3; ++i) putGhost(i, HERO_X + 5 * i, HERO_Y);
    EXPECT_FALSE(game->checkGhostContact());
    EXPECT_FALSE(game->hasShield);
    EXPECT_EQ(game->shieldTime, -1);
    EXPECT_TRUE(game->checkGhostContact());
    EXPECT_EQ(game->lives, 2);
}

using PlasmaBeam = PickupBoard;

TEST_F(PlasmaBeam, AChargeOf20FiresForExactly20Frames)
{
    game->hasGenerator = true;
    game->beamPower = 20;
    game->fireBeam();
    EXPECT_EQ(game->beamPower, 20) << "nothing fires while G is up";
    key[KEY_G] = 1;
    game->readControls();
    for (int frame = 1; frame < 20; ++frame) {
        game->fireBeam();
        ASSERT_TRUE(game->hasGenerator) << "frame " << frame;
    }
    game->fireBeam();
    EXPECT_FALSE(game->hasGenerator);
    EXPECT_EQ(game->beamPower, 0);
    game->fireBeam();
    EXPECT_EQ(game->beamPower, 0);
}

TEST_F(PlasmaBeam, OnlyTheBeamsOwnColourOnAGhostsDiagonalKillsIt)
{
    const int beam = makecol(255, 255, 254);
    struct Case {
        int dx, dy, colour;
        bool killed;
    };
    const Case cases[] = {{17, 17, beam, true},  {0, 0, beam, true},    {39, 39, beam, true},
                          {5, 30, beam, false},  {40, 40, beam, false}, {17, 17, makecol(255, 255, 255), false}};
    key[KEY_G] = 1;
    game->readControls();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
        clear_to_color(game->bitmaps.beamLayer, magenta());
        ghost& g = putGhost(0, 400, 320, 1);
        putpixel(game->bitmaps.beamLayer, 400 + c.dx, 320 + c.dy, c.colour);
        game->hasGenerator = true;
        game->beamPower = 20;
        const int before = game->score;
        game->fireBeam();
        EXPECT_EQ(g.x == OFF_BOARD, c.killed);
        EXPECT_EQ(game->score - before, c.killed ? 20 : 0);
    }
}

TEST_F(PlasmaBeam, OneBeamKillsEveryGhostItCrosses)
{
    const int beam = makecol(255, 255, 254);
    rectfill(game->bitmaps.beamLayer, 240, 210, 1000, 229, beam);
    for (int i = 0; i < 4; ++i) putGhost(i, 300 + 100 * i, 200, 0);
    putGhost(4, 300, 320, 0);
    game->hasGenerator = true;
    game->beamPower = 3;
    key[KEY_G] = 1;
    game->readControls();
    game->fireBeam();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(game->ghosts[i].x, OFF_BOARD) << i;
    EXPECT_EQ(game->ghosts[4].x, 300);
    EXPECT_EQ(game->score, 40);
    EXPECT_EQ(game->beamPower, 2);
}

using BlockPush = PickupBoard;

TEST_F(BlockPush, ABlockJumpsOneCellInTheHerosDirectionIntoAFreeCellAndStopsAtAWall)
{
    struct Case {
        int direction, heroDx, heroDy, stepColumn, stepRow;
    };
    // The block stands on cell (10, 8); the hero is 34 pixels away on the near side.
    const Case cases[] = {{DIRECTION_RIGHT, -34, 0, 1, 0},
                          {DIRECTION_DOWN, 0, -34, 0, 1},
                          {DIRECTION_LEFT, 34, 0, -1, 0},
                          {DIRECTION_UP, 0, 34, 0, -1}};
    for (const Case& c : cases)
        for (bool wallBeyond : {false, true}) {
            SCOPED_TRACE(testing::Message() << "direction " << c.direction << (wallBeyond ? " against a wall" : ""));
            openFloor();
            game->blockCount = 1;
            sprite& b = game->blocks[0];
            b.placeAt(400, 320);
            game->obstacleGrid.setCell(10, 8, CELL_WALL);
            if (wallBeyond) wall(10 + c.stepColumn, 8 + c.stepRow);
            repaintGhostMap();
            game->heroActor.placeAt(400 + c.heroDx, 320 + c.heroDy);
            game->heroActor.direction = c.direction;
            game->pushBlocks();
            if (wallBeyond) {
                EXPECT_EQ(b.x, 400);
                EXPECT_EQ(b.y, 320);
                EXPECT_EQ(game->obstacleGrid.getCell(10, 8), CELL_WALL);
            } else {
                EXPECT_EQ(b.x, 400 + 40 * c.stepColumn);
                EXPECT_EQ(b.y, 320 + 40 * c.stepRow);
                EXPECT_EQ(game->obstacleGrid.getCell(10, 8), CELL_FLOOR);
                EXPECT_EQ(game->obstacleGrid.getCell(10 + c.stepColumn, 8 + c.stepRow), CELL_WALL);
            }
        }
}

TEST_F(BlockPush, AnotherBlockStopsItButACoinDoesNot)
{
    game->blockCount = 2;
    game->blocks[0].placeAt(400, 320);
    game->blocks[1].placeAt(440, 320);
    game->obstacleGrid.setCell(10, 8, CELL_WALL);
    game->obstacleGrid.setCell(11, 8, CELL_WALL);
    repaintGhostMap();
    game->heroActor.placeAt(370, 320);
    game->heroActor.direction = DIRECTION_RIGHT;
    game->pushBlocks();
    EXPECT_EQ(game->blocks[0].x, 400);

    put(Pickup::Coin1, 480, 320);
    game->heroActor.placeAt(445, 320);  // now beside the second block only
    game->pushBlocks();
    EXPECT_EQ(game->blocks[1].x, 480);
    EXPECT_EQ(game->coins1[0].x, 480) << "the coin stays under the block";
}

TEST_F(BlockPush, AHero35PixelsAwayLeavesTheBlockAlone)
{
    game->blockCount = 1;
    game->blocks[0].placeAt(400, 320);
    game->heroActor.placeAt(365, 320);
    game->heroActor.direction = DIRECTION_RIGHT;
    game->pushBlocks();
    EXPECT_EQ(game->blocks[0].x, 400);
    EXPECT_EQ(game->obstacleGrid.getCell(10, 8), CELL_FLOOR) << "only a block in reach is marked";
}

TEST_F(BlockPush, PushingMeansAnArrowHeldTowardFreeFloor)
{
    struct Case {
        int key, wallColumn, wallRow;
    };
    // The hero on cell (5, 5); each arrow and the cell it looks into.
    const Case cases[] = {{KEY_LEFT, 4, 5}, {KEY_DOWN, 5, 6}, {KEY_RIGHT, 6, 5}, {KEY_UP, 5, 4}};
    EXPECT_FALSE(game->isPushing());
    for (const Case& c : cases) {
        openFloor();
        releaseAllInput();
        key[c.key] = 1;
        game->readControls();
        EXPECT_TRUE(game->isPushing()) << c.key;
        wall(c.wallColumn, c.wallRow);
        EXPECT_FALSE(game->isPushing()) << c.key;
    }
}
