// Pausing a game: P or a lost focus pauses, only P resumes; while paused the clock is stopped,
// nothing counted in frames moves, the last frame stands under "PAUSE", and Escape and the
// close button still end the game.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>

#include "shell/game.h"
#include "shell/ticks.h"
#include "shell/window_events.h"
#include "test_support.h"

namespace {

constexpr int KEY_RELEASE = 0x80;

// A press and release as the keyboard thread reports them.
void tap(int scancode)
{
    onKeyEvent(scancode);
    onKeyEvent(scancode | KEY_RELEASE);
}

bool samePixels(BITMAP* a, BITMAP* b, int x, int y, int w, int h)
{
    for (int py = y; py < y + h; ++py)
        if (std::memcmp(a->line[py] + x * 4, b->line[py] + x * 4, static_cast<std::size_t>(w) * 4) != 0) return false;
    return true;
}

class PausedGame : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        forgetWindowEvents();
        game->setUpLevel();
        ASSERT_FALSE(game->levelBuildFailed);
        tickCounter.store(0);
    }
    void TearDown() override
    {
        tickCounter.store(0);
        closeRequested.store(false);
        forgetWindowEvents();
        GameTest::TearDown();
    }

    // Everything that a frame or a tick moves on.
    struct Counters {
        int fuse, beamFrame, beamPower, messageRise, coinClock, walkClock;
        bool operator==(const Counters& o) const
        {
            return fuse == o.fuse && beamFrame == o.beamFrame && beamPower == o.beamPower &&
                   messageRise == o.messageRise && coinClock == o.coinClock && walkClock == o.walkClock;
        }
    };
    Counters counters() const
    {
        const Game& g = *game;
        return {g.bombs[0].fuse, g.beamFrame, g.beamPower, g.messages.rise, g.coinClock, g.walkClock};
    }

    // A bomb burning far from the hero and the beam firing, so that frames visibly count.
    void setBoardInMotion()
    {
        game->bombs[0].arm(game->heroActor.x + 600, game->heroActor.y + 200);
        game->hasGenerator = true;
        game->beamPower = 20;
        key[KEY_G] = 1;
    }
};

TEST_F(PausedGame, NothingMovesWhilePausedAndNoTickRunsOnResuming)
{
    Game& g = *game;
    setBoardInMotion();
    ASSERT_TRUE(g.runGamePass());
    const Counters before = counters();
    ASSERT_GT(before.fuse, 0);

    tap(KEY_P);
    for (int pass = 0; pass < 4; ++pass) {
        // Even ticks counted meanwhile are not run.
        tickCounter.store(pass + 1);
        ASSERT_TRUE(g.runGamePass());
        EXPECT_TRUE(g.paused);
        EXPECT_TRUE(counters() == before) << "pass " << pass;
    }

    // Nor on resuming.
    tap(KEY_P);
    ASSERT_TRUE(g.runGamePass());
    EXPECT_FALSE(g.paused);
    EXPECT_EQ(tickCounter.load(), 0);
    EXPECT_EQ(g.coinClock, before.coinClock);
    EXPECT_EQ(g.walkClock, before.walkClock);
    EXPECT_EQ(g.bombs[0].fuse, before.fuse + 1) << "the resuming pass draws one frame";
}

TEST_F(PausedGame, TheLastFrameStandsWithPauseInTheMiddle)
{
    Game& g = *game;
    ASSERT_TRUE(g.runGamePass());
    BITMAP* back = g.bitmaps.backBuffer;
    BITMAP* shown = create_bitmap_ex(32, back->w, back->h);
    blit(back, shown, 0, 0, 0, 0, back->w, back->h);

    tap(KEY_P);
    ASSERT_TRUE(g.runGamePass());
    // Five glyphs at four times their size, 360 x 112, centred on the 1280 x 720 frame.
    EXPECT_FALSE(samePixels(back, shown, 460, 304, 360, 112)) << "no PAUSE drawn";
    EXPECT_TRUE(samePixels(back, shown, 0, 0, back->w, 300)) << "the frame above the word changed";
    EXPECT_TRUE(samePixels(back, shown, 0, 420, back->w, 300)) << "the frame below the word changed";
    blit(back, shown, 0, 0, 0, 0, back->w, back->h);
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(g.runGamePass());
    EXPECT_TRUE(samePixels(back, shown, 0, 0, back->w, back->h)) << "a paused pass composed a frame";
    destroy_bitmap(shown);
}

TEST_F(PausedGame, ALostFocusPausesButOnlyPResumes)
{
    Game& g = *game;
    onFocusLost();
    ASSERT_TRUE(g.runGamePass());
    EXPECT_TRUE(g.paused);
    // Focus coming back, or lost again, changes nothing.
    onFocusLost();
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(g.runGamePass());
    EXPECT_TRUE(g.paused);
    tap(KEY_P);
    ASSERT_TRUE(g.runGamePass());
    EXPECT_FALSE(g.paused);
}

TEST_F(PausedGame, AHeldPCountsOnceAndEveryTapCounts)
{
    Game& g = *game;
    // The window system repeats a held key's press.
    for (int repeat = 0; repeat < 5; ++repeat) onKeyEvent(KEY_P);
    onKeyEvent(KEY_P | KEY_RELEASE);
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(g.runGamePass());
    EXPECT_TRUE(g.paused);
    // Two taps between two passes: each one is taken by its own pass.
    tap(KEY_P);
    tap(KEY_P);
    ASSERT_TRUE(g.runGamePass());
    EXPECT_FALSE(g.paused);
    ASSERT_TRUE(g.runGamePass());
    EXPECT_TRUE(g.paused);
}

TEST_F(PausedGame, EscapeAndTheCloseButtonStillEndThePausedGame)
{
    Game& g = *game;
    tap(KEY_P);
    ASSERT_TRUE(g.runGamePass());
    key[KEY_ESC] = 1;
    EXPECT_FALSE(g.runGamePass());
    key[KEY_ESC] = 0;
    ASSERT_TRUE(g.runGamePass());
    onCloseButton();
    EXPECT_FALSE(g.runGamePass());
}

}  // namespace
