// Start-up of the library, the window and the sound, and the program's whole run.
#include "shell/startup.h"

#include <allegro.h>

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "assets/asset_bitmaps.h"
#include "assets/assets.h"
#include "shell/game.h"
#include "shell/random.h"

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

int runGhostMaze(const RunSettings& settings)
{
    if (!initLibrary()) {
        std::fprintf(stderr, "Ghost Maze cannot open its 1280 x 720 window at 32-bit colour: %s\n",
                     allegro_error);
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
