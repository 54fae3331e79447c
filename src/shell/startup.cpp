// Start-up of the library, the window and the sound.
#include "shell/startup.h"

#include <allegro.h>

#include <ctime>

#include "assets/asset_bitmaps.h"
#include "shell/random.h"

namespace {
constexpr int START_PAUSE_MS = 500;
constexpr int FULL_VOLUME = 255;
}  // namespace

bool initLibrary()
{
    allegro_init();
    install_keyboard();
    install_mouse();
    set_color_depth(32);
    set_window_title("Ghost Maze");
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0) return false;
    // Without a sound device the game plays silent.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "") != 0) install_sound(DIGI_NONE, MIDI_NONE, "");
    set_volume(FULL_VOLUME, FULL_VOLUME);
    seedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    rest(START_PAUSE_MS);
    return true;
}
