// "settings.cfg": read and written back, bad values, and the sound switch kept for the next start.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "assets/asset_samples.h"
#include "shell/game.h"
#include "shell/settings.h"
#include "test_support.h"

namespace {

bool sameBindings(const Settings& a, const Settings& b)
{
    return a.soundOn == b.soundOn && a.fullScreen == b.fullScreen && settingsText(a) == settingsText(b);
}

using SettingsFile = GameTest;

}  // namespace

TEST_F(SettingsFile, WrittenSettingsReadBackAndAMissingFileMeansTheDefaults)
{
    EXPECT_TRUE(sameBindings(loadSettings(), Settings{}));
    Settings mine;
    mine.soundOn = false;
    mine.fullScreen = true;
    mine.keys.fullScreen = KEY_F12;
    mine.keys.walk[DIRECTION_UP] = KEY_W;
    mine.keys.bomb = KEY_SPACE;
    mine.keys.end = KEY_F10;
    mine.pad.beam = 5;
    ASSERT_TRUE(saveSettings(mine));
    EXPECT_EQ(folder->names(), SETTINGS_FILE);
    testing::internal::CaptureStderr();
    const Settings read = loadSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(sameBindings(read, mine));
    EXPECT_EQ(read.keys.walk[DIRECTION_UP], KEY_W);
    EXPECT_TRUE(read.fullScreen);
    // Names are read in any case, and what the file leaves out keeps its default.
    std::string complaints;
    const Settings some = parseSettings("[keys]\nbomb = enter\nleft=a\n[sound]\non = Off\n", complaints);
    EXPECT_EQ(complaints, "");
    EXPECT_EQ(some.keys.bomb, KEY_ENTER);
    EXPECT_EQ(some.keys.walk[DIRECTION_LEFT], KEY_A);
    EXPECT_EQ(some.keys.beam, KEY_G);
    EXPECT_FALSE(some.soundOn);
}

TEST_F(SettingsFile, EachBadValueTakesItsDefaultWithOneLineNamingIt)
{
    std::string complaints;
    const Settings read = parseSettings("[sound]\non = loud\n[window]\nfull_screen = maybe\n[keys]\nbeam = WHEEL\npause = B\nup = w\n"
                                        "[gamepad]\nbomb = 32\nend = -1\npause = 7x\nleave = 3\n",
                                        complaints);
    EXPECT_EQ(complaints, "Ghost Maze: settings.cfg: [sound] on = \"loud\" is neither yes nor no; yes is used\n"
                          "Ghost Maze: settings.cfg: [window] full_screen = \"maybe\" is neither yes nor no; no is used\n"
                          "Ghost Maze: settings.cfg: [keys] beam = \"WHEEL\" is not a key; G is used\n"
                          "Ghost Maze: settings.cfg: [keys] pause = \"B\" is another action's key; P is used\n"
                          "Ghost Maze: settings.cfg: [gamepad] bomb = \"32\" is not a button from 0 to 31; 0 is used\n"
                          "Ghost Maze: settings.cfg: [gamepad] pause = \"7x\" is not a button from 0 to 31; 7 is used\n"
                          "Ghost Maze: settings.cfg: [gamepad] end = \"-1\" is not a button from 0 to 31; 6 is used\n");
    EXPECT_TRUE(read.soundOn);
    EXPECT_EQ(read.keys.beam, KEY_G);
    EXPECT_EQ(read.keys.pause, KEY_P);
    EXPECT_EQ(read.keys.walk[DIRECTION_UP], KEY_W);
    EXPECT_EQ(read.pad.leave, 3);
    EXPECT_EQ(read.pad.pause, 7);
    // A key taken from another action's default gives way; two actions may swap their keys.
    complaints.clear();
    const Settings taken = parseSettings("[keys]\nbomb = p\n", complaints);
    EXPECT_EQ(complaints, "Ghost Maze: settings.cfg: [keys] bomb = \"p\" is another action's key; B is used\n");
    EXPECT_EQ(taken.keys.bomb, KEY_B);
    complaints.clear();
    const Settings swapped = parseSettings("[keys]\nbomb = P\npause = b\nup = DOWN\ndown = UP\n", complaints);
    EXPECT_EQ(complaints, "");
    EXPECT_EQ(swapped.keys.bomb, KEY_P);
    EXPECT_EQ(swapped.keys.pause, KEY_B);
    EXPECT_EQ(swapped.keys.walk[DIRECTION_UP], KEY_DOWN);
}

TEST_F(SettingsFile, TheSoundSwitchIsKeptButAnUnreadableFileIsLeftAlone)
{
    setSoundOn(true);
    game->switchSound();
    EXPECT_FALSE(loadSettings().soundOn);
    game->switchSound();
    EXPECT_TRUE(loadSettings().soundOn);
    // A file that is there but cannot be read is the player's: it is not replaced.
    std::remove(SETTINGS_FILE);
    ASSERT_EQ(mkfifo(SETTINGS_FILE, 0644), 0);
    testing::internal::CaptureStderr();
    game->settings = loadSettings();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("settings.cfg cannot be read"), std::string::npos);
    game->switchSound();
    struct stat status = {};
    ASSERT_EQ(stat(SETTINGS_FILE, &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    setSoundOn(true);
}
