// Releasing the run-long assets at shutdown, and finding asset files that will not load, with why.
#include "assets/assets.h"

#include <allegro.h>

#include "assets/asset_files.h"
#include "shell/game.h"

void Game::releaseAssets()
{
    bitmaps.destroyFrontEndBitmaps();
    samples.destroySamples();
}

std::vector<std::string> missingAssetFiles(const Game& game)
{
    std::vector<std::string> missing;
    std::string problem;
    // Read again only to say what is wrong with the file.
    for (const std::string& path : game.samples.missingFiles()) {
        destroy_sample(loadSound(path.c_str(), problem));
        missing.push_back(path + " (" + problem + ")");
    }
    // The game group loads only when a game starts: try each picture now, so a broken
    // installation stops at once instead of in the middle of play.
    for (const std::string& path : pictureFiles()) {
        BITMAP* picture = loadPicture(path.c_str(), problem);
        if (!picture) missing.push_back(path + " (" + problem + ")");
        destroy_bitmap(picture);
    }
    return missing;
}
