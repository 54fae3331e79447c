// Whole games played headless through the real loop steps by a seeded random player that walks,
// lays bombs and fires, checking after every frame that the state of play stays sound.
// Replay one seed with GHOSTMAZE_SOAK_SEED=<seed>: it fails only on a fault of soundness.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "shell/game.h"
#include "shell/random.h"
#include "test_support.h"

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool UNDER_SANITIZER = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool UNDER_SANITIZER = true;
#else
constexpr bool UNDER_SANITIZER = false;
#endif
#else
constexpr bool UNDER_SANITIZER = false;
#endif

// A frame costs a few milliseconds, so the sanitizer build plays a shorter round.
const std::uint32_t SEEDS[] = {1, 20261208, 777, 4242};
constexpr int SANITIZER_SEEDS = 2;
constexpr int FRAMES_PER_SEED = UNDER_SANITIZER ? 1000 : 5000;
constexpr int PROGRESS_EVERY = UNDER_SANITIZER ? 100 : 150;  // frames between forced level-ups
constexpr int TOP_LEVEL = 5;
constexpr int FROZEN_FRAMES = 60;  // frames watched after a game over before the next game

// The player's own generator, so its choices never take draws from the game's.
class RandomPlayer {
public:
    explicit RandomPlayer(std::uint32_t seed) : state(seed * 2654435761u + 1) {}

    void press()
    {
        static const int arrows[4] = {KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP};
        for (int arrow : arrows) key[arrow] = 0;
        if (--holdFrames <= 0) {
            heldArrow = next(5);  // 4: stand still for a while
            holdFrames = 5 + next(60);
        }
        if (heldArrow < 4) key[arrows[heldArrow]] = 1;
        key[KEY_B] = next(100) < 4;
        key[KEY_G] = next(100) < 8;
    }

    int next(int n)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t state;
    int heldArrow = 4;
    int holdFrames = 0;
};

struct Spot {
    int x, y;
};

class SoakTest : public GameTest {
protected:
    std::uint32_t seed = 0;
    int frame = 0;
    std::string failure;

    void fail(const std::string& what)
    {
        if (!failure.empty()) return;
        std::ostringstream text;
        text << "seed " << seed << ", frame " << frame << ", level " << game->levelNumber << ": " << what;
        failure = text.str();
    }

    // Inside the world with its whole box, or exactly off the board.
    void checkPlace(const sprite& s, const char* what)
    {
        if (s.x == OFF_BOARD && s.y == OFF_BOARD) return;
        const int w = game->columns * CELL_SIZE, h = game->rows * CELL_SIZE;
        if (s.x < 0 || s.y < 0 || s.x + ACTOR_SIZE > w || s.y + ACTOR_SIZE > h)
            fail(std::string(what) + " at " + std::to_string(s.x) + ", " + std::to_string(s.y));
    }

    // The objects the level build placed, each on a cell of its own.
    void checkFreshPlacement()
    {
        std::vector<int> taken(static_cast<size_t>(game->rows * game->columns), 0);
        auto take = [&](const sprite& s, const char* what) {
            if (s.x == OFF_BOARD) return;
            const int cell = cellOf(s.y) * game->columns + cellOf(s.x);
            if (cell < 0 || cell >= static_cast<int>(taken.size())) return fail(std::string(what) + " outside the grid");
            if (taken[static_cast<size_t>(cell)]++) fail(std::string(what) + " shares a cell");
        };
        // The hero's start cell is left free for placement; all ghosts share their one spawn cell.
        if (game->ghostCount > 0) take(game->ghosts[0], "the ghosts' spawn");
        for (auto [array, n, what] :
             {std::tuple{game->coins1, game->coin1Count, "a 1-coin"}, {game->coins2, game->coin2Count, "a 2-coin"},
              {game->coins5, game->coin5Count, "a 5-coin"}, {game->blocks, game->blockCount, "a block"},
              {game->dynamites, game->dynamiteCount, "a bomb pick-up"},
              {game->treasures, game->treasureCount, "a treasure"}})
            for (int i = 0; i < n; ++i) take(array[i], what);
        for (auto [item, absent, what] : {std::tuple{&game->shieldItem, game->shieldAbsent, "the shield"},
                                          {&game->lifeItem, game->lifeAbsent, "the extra life"},
                                          {&game->shoesItem, game->shoesAbsent, "the shoes"},
                                          {&game->generatorItem, game->generatorAbsent, "the generator"},
                                          {&game->radarItem, game->radarAbsent, "the radar"}})
            if (absent == 0) take(*item, what);
        if (game->coinsLeft != game->coin1Count + game->coin2Count + game->coin5Count) fail("a fresh maze lacks coins");
    }

    void checkSoundness(const std::vector<Spot>& frozenGhosts)
    {
        if (game->coinsLeft != coinsOnBoard(*game))
            fail("coinsLeft " + std::to_string(game->coinsLeft) + " but " + std::to_string(coinsOnBoard(*game)) + " on the board");
        if (game->lives < 0) fail("lives below 0");
        int armed = 0;
        for (int i = 0; i < BOMB_SLOTS; ++i) {
            armed += game->bombs[i].armed;
            checkPlace(game->bombs[i], "a bomb");
        }
        if (armed > BOMB_SLOTS || game->bombCount < 0) fail("bomb stock or slots out of bounds");
        for (auto [array, n] : {std::pair{game->coins1, game->coin1Count}, {game->coins2, game->coin2Count},
                                {game->coins5, game->coin5Count}, {game->blocks, game->blockCount},
                                {game->dynamites, game->dynamiteCount}, {game->treasures, game->treasureCount}})
            for (int i = 0; i < n; ++i) checkPlace(array[i], "an object");
        // An item the level left out may keep a place from an earlier, bigger maze.
        for (auto [item, absent] : {std::pair{&game->shieldItem, game->shieldAbsent}, {&game->lifeItem, game->lifeAbsent},
                                    {&game->shoesItem, game->shoesAbsent}, {&game->generatorItem, game->generatorAbsent},
                                    {&game->radarItem, game->radarAbsent}})
            if (absent == 0) checkPlace(*item, "an item");
        // A killed hunter flies back in from off the board: only it may be on the way.
        for (int i = 0; i < game->ghostCount; ++i)
            if (i != game->hunterIndex) checkPlace(game->ghosts[i], "a ghost");
        if (game->gameOver == 1) {
            if (game->heroActor.x != HIDDEN_HERO || game->heroActor.y != HIDDEN_HERO) fail("the lost hero is still shown");
            // Bombs laid before the end still tick: a ghost may yet be killed, but none walks.
            for (int i = 0; i < game->ghostCount && i < static_cast<int>(frozenGhosts.size()); ++i) {
                const ghost& g = game->ghosts[i];
                const bool still = g.x == frozenGhosts[i].x && g.y == frozenGhosts[i].y;
                if (!still && g.x != OFF_BOARD) fail("a ghost moved on the frozen board");
            }
        } else {
            checkPlace(game->heroActor, "the hero");
        }
    }

    // Raises the score past the level's target and clears the maze, as a long walk would.
    void progressOneLevel()
    {
        game->score = game->levelNumber * game->levelNumber * 100 + 101;
        for (auto [coins, n] : {std::pair{game->coins1, game->coin1Count}, {game->coins2, game->coin2Count},
                                {game->coins5, game->coin5Count}})
            for (int i = 0; i < n; ++i) coins[i].takeOffBoard();
        game->coinsLeft = 0;
    }

    // One pass of the game loop as runGamePass runs it, with a fixed number of ticks.
    bool playFrame(int ticks)
    {
        game->readControls();
        for (int t = 0; t < ticks; ++t) game->updateTick();
        game->drawFrame();
        const bool rebuilt = game->applyRules();
        if (!rebuilt) game->presentFrame();
        return rebuilt;
    }

    void playSeed(std::uint32_t soakSeed, int& highestLevel)
    {
        seed = soakSeed;
        seedRandom(seed);
        RandomPlayer player(seed);
        game->setUpLevel();
        frame = 0;
        checkFreshPlacement();
        std::vector<Spot> frozenGhosts;
        int frozenFor = 0;
        for (frame = 1; frame <= FRAMES_PER_SEED && failure.empty(); ++frame) {
            if (game->levelBuildFailed) return fail("a level could not be built");
            player.press();
            if (game->gameOver != 1) {
                if (frame % PROGRESS_EVERY == 0 && game->levelNumber < TOP_LEVEL) progressOneLevel();
                // Keep the player armed so bombs and the beam are in play all along.
                if (frame % 300 == 0) {
                    game->bombCount = std::max(game->bombCount, 3);
                    game->hasGenerator = true;
                    game->beamPower = 20;
                }
            }
            const int coinsBefore = coinsOnBoard(*game);
            const bool rebuilt = playFrame(frame % 2);
            if (rebuilt && coinsOnBoard(*game) > coinsBefore) checkFreshPlacement();
            if (game->levelNumber > highestLevel && game->gameOver != 1) highestLevel = game->levelNumber;
            if (game->gameOver == 1) {
                if (frozenGhosts.empty())
                    for (int i = 0; i < game->ghostCount; ++i) frozenGhosts.push_back({game->ghosts[i].x, game->ghosts[i].y});
                if (++frozenFor > FROZEN_FRAMES) {
                    // Escape, and the next game, as the menu would start it.
                    game->endGame();
                    game->setUpLevel();
                    checkFreshPlacement();
                    frozenGhosts.clear();
                    frozenFor = 0;
                    continue;
                }
            }
            checkSoundness(frozenGhosts);
        }
        releaseAllInput();
        game->endGame();
    }
};
}  // namespace

TEST_F(SoakTest, WholeGamesStaySoundFrameAfterFrame)
{
    std::vector<std::uint32_t> seeds(std::begin(SEEDS), std::end(SEEDS));
    if (UNDER_SANITIZER) seeds.resize(SANITIZER_SEEDS);
    const char* replay = std::getenv("GHOSTMAZE_SOAK_SEED");
    if (replay) seeds = {static_cast<std::uint32_t>(std::strtoul(replay, nullptr, 10))};
    int highestLevel = 0;
    for (std::uint32_t s : seeds) {
        playSeed(s, highestLevel);
        ASSERT_TRUE(failure.empty()) << failure << " (replay with GHOSTMAZE_SOAK_SEED=" << s << ")";
    }
    // The suite's own seeds are known to play up to level 5, so the soak covers the bigger mazes;
    // a replayed seed may lose its games sooner and is checked for soundness alone.
    if (!replay) {
        EXPECT_GE(highestLevel, TOP_LEVEL);
    }
    if (!UNDER_SANITIZER && seeds.size() > 1) {
        EXPECT_GE(static_cast<int>(seeds.size()) * FRAMES_PER_SEED, 20000);
    }
}
