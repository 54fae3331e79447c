// Start-up of the library, the window and the sound, and the program's whole run.
#include "shell/startup.h"

#include <allegro.h>

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "assets/asset_bitmaps.h"
#include "assets/asset_samples.h"
#include "assets/assets.h"
#include "shell/desktop_window.h"
#include "shell/frame_pace.h"
#include "shell/game.h"
#include "shell/gamepad.h"
#include "shell/random.h"
#include "shell/replays.h"
#include "shell/screen_mode.h"
#include "shell/settings.h"
#include "shell/sound_start.h"
#include "shell/window_events.h"

namespace {
constexpr int START_PAUSE_MS = 500;
constexpr int START_PAUSE_STEP_MS = 10;  // the pause looks this often for a request to end
constexpr int STANDARD_DESCRIPTORS = 3;  // standard input, output and error

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
    return openGameWindow();
}

// The steps after the library itself; without a display the library does not start at all, and
// nothing after it may be called.
const StartStep START_STEPS[] = {
    {[] { return install_keyboard() == 0; }, "the keyboard cannot be read: run Ghost Maze from a desktop session"},
    {[] { return install_mouse() >= 0; }, "no mouse was found: the menu is played with the mouse"},
    {[] {
         loosenTimerWakeUps();
         return install_timer() == 0;
     },
     "the library's timer cannot be started"},
    {openWindow, "the 1280 x 720 window at 32-bit colour cannot be opened: use a desktop session with that much room"},
};
constexpr int EXIT_UNPLAYABLE = 2;  // a recording that cannot be played, or a command line not understood

const char* const USAGE =
    "usage: ghostmaze [--replay FILE | --verify FILE | --help]\n"
    "  (no option)     play: the menu opens in a window\n"
    "  --replay FILE   watch a recorded game in the window: P pauses, F held runs it four times\n"
    "                  as fast, Escape leaves\n"
    "  --verify FILE   play a recorded game without a display; print its final score and level;\n"
    "                  exit 0 when they are the recorded result, 1 when not, 2 when the file\n"
    "                  cannot be read, is damaged or comes from another version\n"
    "  --help          this text\n"
    "Every game is recorded in replays/ in the game's folder: last.gmr is the last game, and each\n"
    "row of the high-score table keeps its own.\n";

bool readRecordingOrSay(const char* path, Recording& recording)
{
    std::string problem;
    if (readRecordingFile(path, recording, problem) == RECORDING_READ) return true;
    std::fprintf(stderr, "Ghost Maze: the recording %s cannot be played: %s\n", path, problem.c_str());
    return false;
}
}  // namespace

int readArguments(int argc, char** argv, RunSettings& settings)
{
    for (int i = 1; i < argc; ++i) {
        const bool replay = std::strcmp(argv[i], "--replay") == 0;
        const bool verify = std::strcmp(argv[i], "--verify") == 0;
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if ((replay || verify) && i + 1 < argc && !settings.recordingFile) {
            settings.recordingFile = argv[++i];
            settings.verify = verify;
            continue;
        }
        std::fprintf(stderr, "Ghost Maze: %s is not understood here\n%s", argv[i], USAGE);
        return EXIT_UNPLAYABLE;
    }
    return -1;
}

int verifyRecording(const char* path)
{
    Recording recorded;
    if (!readRecordingOrSay(path, recorded)) return EXIT_UNPLAYABLE;
    // No display: the library as the headless tests run it, drawing into memory bitmaps only.
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    auto game = std::make_unique<Game>();
    const std::vector<std::string> missing = missingAssetFiles(*game);
    if (!missing.empty()) {
        reportMissingAssets(missing);
        game->releaseAssets();
        allegro_exit();
        return EXIT_UNPLAYABLE;
    }
    game->playRecording(recorded, false);
    const int score = game->endScore;
    const int level = game->endLevel;
    game->releaseAssets();
    allegro_exit();
    std::printf("score %d level %d\n", score, level);
    if (score == recorded.score && level == recorded.level) return 0;
    std::printf("differs: recorded score %d level %d, played score %d level %d\n", static_cast<int>(recorded.score),
                static_cast<int>(recorded.level), score, level);
    return 1;
}

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

std::string displayFailure(const char* display)
{
    if (!display || display[0] == '\0') return "no display: run Ghost Maze from a desktop session";
    return std::string("the display ") + display +
           " cannot be opened: its X server is gone or does not let this user in; run Ghost Maze from "
           "the desktop session that owns it";
}

void makeProcessSound()
{
    // A standard descriptor left closed by whoever started us would be taken by the next file
    // opened (the X connection among them), and a line of text meant for standard error would
    // then go into it.
    for (int descriptor = 0; descriptor < STANDARD_DESCRIPTORS; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1) continue;
        const int opened = open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != descriptor) {
            dup2(opened, descriptor);
            close(opened);
        }
    }
    // A reader of standard error that has left must not end the game: the write just fails.
    std::signal(SIGPIPE, SIG_IGN);
    holdEndSignals();
}

std::string initLibrary()
{
    if (allegro_init() != 0) {
        std::string failure = displayFailure(std::getenv("DISPLAY"));
        if (allegro_error[0] != '\0') failure += std::string(" (") + allegro_error + ")";
        return failure;
    }
    const std::string failure = startInOrder(START_STEPS, static_cast<int>(std::size(START_STEPS)));
    if (!failure.empty()) return failure;
    startSound();
    announceWindowOwner();
    watchWindowEvents();
    startGamepad();
    seedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    for (int waited = 0; waited < START_PAUSE_MS && !closeRequested.load(); waited += START_PAUSE_STEP_MS)
        rest(START_PAUSE_STEP_MS);
    return "";
}

int runGhostMaze(const RunSettings& settings)
{
    // A recording is read before any window opens, so a bad one is told at once.
    Recording watched;
    if (settings.recordingFile && !readRecordingOrSay(settings.recordingFile, watched)) return EXIT_UNPLAYABLE;
    makeProcessSound();
    const std::string failure = initLibrary();
    if (!failure.empty()) {
        std::fprintf(stderr, "Ghost Maze cannot start: %s\n", failure.c_str());
        allegro_exit();
        return 1;
    }
    // Asked to end while starting: nothing to save yet.
    if (closeRequested.load()) {
        allegro_exit();
        return 0;
    }
    if (settings.seeded) seedRandom(settings.seed);
    auto game = std::make_unique<Game>();
    game->observer = settings.observer;
    game->settings = loadSettings();
    setSoundOn(game->settings.soundOn);
    if (game->settings.fullScreen) setFullScreen(true);
    const std::vector<std::string> missing = missingAssetFiles(*game);
    if (!missing.empty()) {
        reportMissingAssets(missing);
        game->releaseAssets();
        allegro_exit();
        return 1;
    }
    if (settings.recordingFile) {
        game->playRecording(watched, true);
    } else {
        game->runMenuLoop();
    }
    // The library puts back the handlers it found at start-up (the default ones) as it shuts
    // down; a signal from here on waits, and is dropped as the program ends.
    holdEndSignals();
    forgetScreenPictures();
    game->releaseAssets();
    releaseScreenPicture();
    allegro_exit();
    game.reset();
    return 0;
}
