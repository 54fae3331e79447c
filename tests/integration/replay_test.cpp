// Whole seeded games played headless by a random player, recorded, then played back from their
// files: the playback must end in the very same state, and the recordings of the table's rows
// must follow the table.
#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/game.h"
#include "shell/random.h"
#include "shell/replays.h"
#include "shell/ticks.h"
#include "shell/recording.h"
#include "test_support.h"

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr int GAMES = 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int GAMES = 10;
#else
constexpr int GAMES = 100;
#endif
#else
constexpr int GAMES = 100;
#endif
constexpr int PASSES = 150;  // some 3 seconds of play each

// The player's own generator, so its choices never take draws from the game's.
class RandomPlayer {
public:
    explicit RandomPlayer(std::uint32_t seed) : state(seed * 2654435761u + 7) {}
    int next(int n)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    }
    void press()
    {
        static const int arrows[4] = {KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP};
        if (next(12) == 0)
            for (int arrow : arrows) key[arrow] = next(3) == 0;
        key[KEY_B] = next(40) == 0;
        key[KEY_G] = next(10) == 0;
    }

private:
    std::uint32_t state;
};

// What must come out the same when a game is played again: the result, where the hero ended,
// and the random source after it, which any difference in the ghosts' play sets off its course.
std::string fingerprint(const Game& g)
{
    return "score " + std::to_string(g.endScore) + " level " + std::to_string(g.endLevel) + " hero at " +
           std::to_string(g.heroActor.x) + "," + std::to_string(g.heroActor.y) + " lives " + std::to_string(g.lives) +
           " next draw " + std::to_string(randomState());
}

class ReplayTest : public GameTest {
protected:
    // A game as the loop plays it, its ticks given by the player's clock; its state at the end.
    std::string playRecordedGame(std::uint32_t seed, int nameLetter)
    {
        seedRandom(seed);
        RandomPlayer player(seed);
        std::snprintf(game->frontEnd.playerName, sizeof game->frontEnd.playerName, "P%c", 'A' + nameLetter);
        game->startRecording();
        game->setUpLevel();
        for (int pass = 0; pass < PASSES; ++pass) {
            player.press();
            tickCounter.store(player.next(9) == 0 ? 2 + player.next(5) : pass % 2);
            EXPECT_TRUE(game->runGamePass());
        }
        tickCounter.store(0);
        releaseAllInput();
        game->endGame();
        return fingerprint(*game);
    }

    std::string playBack(const Recording& recorded)
    {
        // Keys held by whoever watches do not steer a recording.
        key[KEY_LEFT] = key[KEY_B] = 1;
        game->playRecording(recorded, false);
        releaseAllInput();
        return fingerprint(*game);
    }
};

TEST_F(ReplayTest, EverySeededGamePlaysBackToTheSameEnd)
{
    for (int i = 0; i < GAMES; ++i) {
        const std::uint32_t seed = 1000 + static_cast<std::uint32_t>(i) * 7919;
        const std::string played = playRecordedGame(seed, i % 26);
        Recording recorded;
        std::string problem;
        ASSERT_EQ(readRecordingFile(LAST_RECORDING, recorded, problem), RECORDING_READ) << problem;
        ASSERT_EQ(recorded.passes.size(), static_cast<std::size_t>(PASSES));
        EXPECT_EQ(playBack(recorded), played) << "seed " << seed;
        EXPECT_EQ(fingerprint(*game).rfind("score " + std::to_string(recorded.score) + " level " +
                                               std::to_string(recorded.level) + " ", 0),
                  0u);
    }
    // The table holds nine rows, each with its one recording; the rows that left lost theirs.
    game->frontEnd.loadHighScores();
    ASSERT_EQ(game->frontEnd.itemsRead, 9);
    for (int row = 0; row < 9; ++row) {
        const std::string path = game->recordingOfRow(row);
        Recording kept;
        std::string problem;
        ASSERT_EQ(readRecordingFile(path.c_str(), kept, problem), RECORDING_READ) << "row " << row << " " << path;
        EXPECT_EQ(kept.name, game->frontEnd.highScores[row].name);
        EXPECT_EQ(kept.score, game->frontEnd.highScores[row].score);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RECORDING_FOLDER)) files += entry.is_regular_file();
    EXPECT_EQ(files, 10);  // the nine rows' and the last game's
}
}  // namespace
