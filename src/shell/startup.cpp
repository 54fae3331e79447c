// Start-up of the library, the window and the sound.
#include "shell/startup.h"

#include <allegro.h>

#include <ctime>
#include <iterator>

#include "assets/asset_bitmaps.h"
#include "shell/random.h"
#include "shell/window_events.h"

namespace {
constexpr int START_PAUSE_MS = 500;
constexpr int FULL_VOLUME = 255;

bool openWindow()
{
    set_color_depth(32);
    set_window_title("Ghost Maze");
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) == 0;
}

// Without a display the library does not start at all, and nothing after it may be called.
const StartStep START_STEPS[] = {
    {[] { return allegro_init() == 0; }, "no display: run Ghost Maze from a desktop session"},
    {[] { return install_keyboard() == 0; }, "the keyboard cannot be read: run Ghost Maze from a desktop session"},
    {[] { return install_mouse() >= 0; }, "no mouse was found: the menu is played with the mouse"},
    {[] { return install_timer() == 0; }, "the library's timer cannot be started"},
    {openWindow, "the 1280 x 720 window at 32-bit colour cannot be opened: use a desktop session with that much room"},
};
}  // namespace

std::string startInOrder(const StartStep* steps, int count)
{
    for (int i = 0; i < count; ++i) {
        allegro_error[0] = '\0';  // only this step's own reason is told
        if (steps[i].start()) continue;
        std::string message = steps[i].failure;
        if (allegro_error[0] != '\0') message += std::string(" (") + allegro_error + ")";
        return message;
    }
    return "";
}

std::string initLibrary()
{
    const std::string failure = startInOrder(START_STEPS, static_cast<int>(std::size(START_STEPS)));
    if (!failure.empty()) return failure;
    // Without a sound device the game plays silent.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "") != 0) install_sound(DIGI_NONE, MIDI_NONE, "");
    set_volume(FULL_VOLUME, FULL_VOLUME);
    watchWindowEvents();
    seedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    rest(START_PAUSE_MS);
    return "";
}
