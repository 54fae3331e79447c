// Releasing the run-long assets at shutdown, and finding asset files that will not load.
#include "assets/assets.h"

#include <allegro.h>

#include "shell/game.h"

void Game::releaseAssets()
{
    bitmaps.destroyFrontEndBitmaps();
    samples.destroySamples();
}

std::vector<std::string> missingAssetFiles(const Game& game)
{
    std::vector<std::string> missing = game.samples.missingFiles();
    // The game group loads only when a game starts: try each picture now, so a broken
    // installation stops at once instead of in the middle of play.
    for (const std::string& path : pictureFiles()) {
        BITMAP* picture = load_bitmap(path.c_str(), default_palette);
        if (!picture) missing.push_back(path);
        destroy_bitmap(picture);
    }
    return missing;
}
