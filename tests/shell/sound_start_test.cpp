// Without a sound device the game plays silent and says so in one line of its own.
#include <allegro.h>
#include <gtest/gtest.h>

#include "shell/sound_start.h"
#include "test_support.h"

TEST(SoundStart, WithoutADeviceTheGamePlaysSilentAndSaysSoOnce)
{
    startHeadlessAllegro();
    testing::internal::CaptureStderr();
    const bool found = startSound();
    const std::string said = testing::internal::GetCapturedStderr();
    remove_sound();
    EXPECT_FALSE(found);
    EXPECT_EQ(said, "Ghost Maze: no sound device found, playing without sound\n");
}
