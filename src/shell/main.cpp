// The entry routine: start-up, the menu loop, shutdown.
#include <allegro.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "assets/assets.h"
#include "shell/game.h"
#include "shell/startup.h"

namespace {

void reportMissingAssets(const std::vector<std::string>& missing)
{
    char folder[4096] = {};
    if (!getcwd(folder, sizeof folder - 1)) folder[0] = '\0';
    std::fprintf(stderr, "Ghost Maze cannot start: these asset files are missing or unreadable:\n");
    for (const std::string& path : missing) std::fprintf(stderr, "  %s\n", path.c_str());
    std::fprintf(stderr, "They are read from the working directory: %s\n", folder);
}

}  // namespace

int main()
{
    if (!initLibrary()) {
        std::fprintf(stderr, "Ghost Maze cannot open its 1280 x 720 window at 32-bit colour: %s\n",
                     allegro_error);
        allegro_exit();
        return 1;
    }
    auto game = std::make_unique<Game>();
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
END_OF_MAIN()
