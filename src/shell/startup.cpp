// Start-up of the library, the window and the sound, and the program's whole run.
#include "shell/startup.h"

#include <allegro.h>

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "assets/asset_bitmaps.h"
#include "assets/assets.h"
#include "shell/game.h"
#include "shell/random.h"
#include "shell/window_events.h"

namespace {
constexpr int START_PAUSE_MS = 500;
constexpr int FULL_VOLUME = 255;

void reportMissingAssets(const std::vector<std::string>& missing)
{
    char folder[4096] = {};
    if (!getcwd(folder, sizeof folder - 1)) folder[0] = '\0';
    std::fprintf(stderr, "Ghost Maze cannot start: these asset files are missing, unreadable or damaged:\n");
    for (const std::string& path : missing) std::fprintf(stderr, "  %s\n", path.c_str());
    std::fprintf(stderr, "They are read from the working directory: %s\n", folder);
}

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

int runGhostMaze(const RunSettings& settings)
{
    const std::string failure = initLibrary();
    if (!failure.empty()) {
        std::fprintf(stderr, "Ghost Maze cannot start: %s\n", failure.c_str());
        allegro_exit();
        return 1;
    }
    if (settings.seeded) seedRandom(settings.seed);
    auto game = std::make_unique<Game>();
    game->observer = settings.observer;
    const std::vector<std::string> missing = missingAssetFiles(*game);
    if (!missing.empty()) {
        reportMissingAssets(missing);
        game->releaseAssets();
        allegro_exit();
        return 1;
    }
    game->runMenuLoop();
    game->releaseAssets();
    allegro_exit();
    game.reset();
    return 0;
}
