// What a desktop game owes its player outside the rules: the window's close button ends every
// screen, M turns all sound off and on, and a start-up step that fails says so in one line.
#include <allegro.h>
#include <gtest/gtest.h>

#include <csignal>
#include <iterator>
#include <string>

#include "shell/game.h"
#include "shell/startup.h"
#include "shell/window_events.h"
#include "test_support.h"

namespace {

constexpr int KEY_RELEASE = 0x80;

void tap(int scancode)
{
    onKeyEvent(scancode);
    onKeyEvent(scancode | KEY_RELEASE);
}

class Desktop : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        forgetWindowEvents();
        closeRequested.store(false);
    }
    void TearDown() override
    {
        closeRequested.store(false);
        forgetWindowEvents();
        if (!soundIsOn()) toggleSound(game->samples);
        GameTest::TearDown();
    }
};

using CloseButton = Desktop;

TEST_F(CloseButton, QuitsFromTheMenuTheNameEntryAndTheHighScores)
{
    onCloseButton();
    game->menuChoice = MENU_NONE;
    EXPECT_TRUE(game->menuPass());
    EXPECT_EQ(game->menuChoice, MENU_QUIT);

    game->menuChoice = MENU_PLAYER_NAME;
    EXPECT_TRUE(game->highScoresPass());
    EXPECT_EQ(game->menuChoice, MENU_QUIT);
}

TEST_F(CloseButton, LeavesTheNameEntryWithoutSaving)
{
    folder->write("player.txt", "ALA");
    game->frontEnd.loadPlayerName();
    game->drawNameEntryPage();
    game->drawLoadedName();
    key[KEY_B] = 1;
    game->nameEntryPass();
    key[KEY_B] = 0;
    key[KEY_ENTER] = 1;
    onCloseButton();
    const NameEntryPass pass = game->nameEntryPass();
    EXPECT_TRUE(pass.closed);
    EXPECT_EQ(game->menuChoice, MENU_QUIT);
    EXPECT_EQ(folder->read("player.txt"), "ALA");
}

TEST_F(CloseButton, EndsAGameAsEscapeDoes)
{
    game->setUpLevel();
    ASSERT_TRUE(game->runGamePass());
    onCloseButton();
    EXPECT_FALSE(game->runGamePass());
}

TEST_F(CloseButton, TheSystemsRequestToEndIsTakenAsTheCloseButton)
{
    watchEndSignals();
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        closeRequested.store(false);
        std::raise(signal);
        EXPECT_TRUE(closeRequested.load()) << signal;
        std::signal(signal, SIG_DFL);
    }
    game->menuChoice = MENU_NONE;
    EXPECT_TRUE(game->menuPass());
    EXPECT_EQ(game->menuChoice, MENU_QUIT);
}

TEST_F(CloseButton, ASignalDuringStartUpWaitsForTheGamesOwnHandlerAndAnIgnoredOneStaysIgnored)
{
    std::signal(SIGHUP, SIG_IGN);
    holdEndSignals();
    closeRequested.store(false);
    std::raise(SIGTERM);
    EXPECT_FALSE(closeRequested.load());
    watchEndSignals();
    EXPECT_TRUE(closeRequested.load());
    closeRequested.store(false);
    std::raise(SIGHUP);
    EXPECT_FALSE(closeRequested.load());
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
}

TEST(StartUp, TheMessageSaysWhetherThereIsNoDisplayOrWhichOneCannotBeOpened)
{
    EXPECT_EQ(displayFailure(nullptr), "no display: run Ghost Maze from a desktop session");
    EXPECT_EQ(displayFailure(""), "no display: run Ghost Maze from a desktop session");
    EXPECT_EQ(displayFailure(":7").rfind("the display :7 cannot be opened", 0), 0u);
}

using SoundSwitch = Desktop;

TEST_F(SoundSwitch, MTurnsAllSoundOffAndOnInTheMenuAndInAGame)
{
    ASSERT_TRUE(soundIsOn());
    tap(KEY_M);
    EXPECT_FALSE(game->menuPass());
    EXPECT_FALSE(soundIsOn());
    // Off stays off across screens, until M again.
    game->setUpLevel();
    ASSERT_TRUE(game->runGamePass());
    EXPECT_FALSE(soundIsOn());
    tap(KEY_M);
    ASSERT_TRUE(game->runGamePass());
    EXPECT_TRUE(soundIsOn());
    tap(KEY_M);
    ASSERT_TRUE(game->runGamePass());
    EXPECT_FALSE(soundIsOn());
}

TEST_F(SoundSwitch, AnMTypedIntoANameIsForgottenByTheNextScreen)
{
    tap(KEY_M);
    forgetWindowEvents();  // as the menu and a game do when they open
    EXPECT_FALSE(game->menuPass());
    EXPECT_TRUE(soundIsOn());
}

// Start-up steps that record their running; the second fails.
int stepsRun = 0;
bool startsFine()
{
    ++stepsRun;
    return true;
}
bool failsWithAReason()
{
    ++stepsRun;
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "no such device");
    return false;
}

TEST(StartUp, TheFirstFailingStepIsToldWithTheLibrarysReasonAndNothingAfterItRuns)
{
    const StartStep steps[] = {
        {startsFine, "first"}, {failsWithAReason, "the second failed: do this"}, {startsFine, "third"}};
    stepsRun = 0;
    EXPECT_EQ(startInOrder(steps, static_cast<int>(std::size(steps))), "the second failed: do this (no such device)");
    EXPECT_EQ(stepsRun, 2);
    stepsRun = 0;
    EXPECT_EQ(startInOrder(steps, 1), "");
    EXPECT_EQ(stepsRun, 1);
}

}  // namespace
