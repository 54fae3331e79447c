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

#ifdef GHOSTMAZE_FRAME_REPORT
// The test build of the program (tests/CMakeLists.txt) tells on standard error, when a game
// ends, how many frames it put on the screen and over how long, so a test can check the pace.
// The linker routes the game's calls of presentFrame and recordResult through these.
#include <chrono>

namespace {
long framesPresented = 0;
std::chrono::steady_clock::time_point firstFrame;
std::chrono::steady_clock::time_point lastFrame;
}  // namespace

extern "C" void __real__ZN4Game12presentFrameEv(Game* game);
extern "C" void __wrap__ZN4Game12presentFrameEv(Game* game)
{
    __real__ZN4Game12presentFrameEv(game);
    lastFrame = std::chrono::steady_clock::now();
    if (framesPresented++ == 0) firstFrame = lastFrame;
}

extern "C" void __real__ZN8FrontEnd12recordResultEi(FrontEnd* frontEnd, std::int32_t score);
extern "C" void __wrap__ZN8FrontEnd12recordResultEi(FrontEnd* frontEnd, std::int32_t score)
{
    const double seconds = std::chrono::duration<double>(lastFrame - firstFrame).count();
    std::fprintf(stderr, "Ghost Maze: presented %ld frames in %.3f s\n", framesPresented, seconds);
    framesPresented = 0;
    __real__ZN8FrontEnd12recordResultEi(frontEnd, score);
}
#endif

int main()
{
    const std::string failure = initLibrary();
    if (!failure.empty()) {
        std::fprintf(stderr, "Ghost Maze cannot start: %s\n", failure.c_str());
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
