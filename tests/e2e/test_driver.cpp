// The game as the end-to-end tests run it: the same start-up, menu and loops as ghostmaze, with
// the random source seeded by the test, so every run plays the same mazes, and the game loop
// watched so that the pace test can check what the loop controls.
//   ghostmaze_test_driver --seed N [--level L] [--frame PASS FILE] [--last-frame FILE] [--replay RECORDING]
// With --level, every game starts at level L (its maze built as a level-up to L would build it).
// With --frame, the first game stops after its pass PASS with that frame on the screen, writes
// the frame it drew there, at 1280 x 720, to FILE (a BMP), and stands still until it is asked to end, so a test
// can compare what the window shows with what the game drew. With --last-frame, the screen as the
// first game (or the recording played with --replay) ended is written to FILE (a BMP).
// When a game ends it tells on standard error how its passes were paced, in one line:
//   Ghost Maze test: P passes in S s, U undisturbed, median pass M ms, median wake-up L ms after the deadline
// The medians are of the undisturbed passes: those whose work ended before the deadline, so that
// the pacer had a wait to do, and whose wait ended on time or late by no more than the thread's
// wait for a core during it (the kernel's own count) accounts for; a period counts when the pass
// before it was undisturbed too. A pass whose work overran its deadline is the machine's doing
// (on a busy machine the X server, which presents the frame, may wait long for a core), not the
// pacer's, so a busy machine does not enter the figures, while a wait of the game's own that ends
// early or late does.
#include <allegro.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/frame_pace.h"
#include "shell/game.h"
#include "shell/screen_mode.h"
#include "shell/startup.h"
#include "shell/window_events.h"

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A pass that ends this much after its deadline, or less, is on time.
constexpr double ON_TIME_MS = 0.5;

// How long this thread has waited, runnable, for a core since it started (ms): the second
// figure of its schedstat. The file is opened once, by the game's thread, and read again from
// its start: an open on every pass would cost the game's measured time more than the pass's
// watch is worth.
double runQueueWait()
{
    static const int file = open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    char text[128];
    const ssize_t length = file < 0 ? -1 : pread(file, text, sizeof text - 1, 0);
    if (length <= 0) return 0.0;
    text[length] = '\0';
    double running = 0.0;
    double waiting = 0.0;
    if (std::sscanf(text, "%lf %lf", &running, &waiting) != 2) return 0.0;
    return waiting / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty()) return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// A pass's period runs from the end of one wait to the end of the next, on the steady clock: the
// pacer sets it alone, unless a neighbour takes the core, which the wait for a core shows.
class PaceLog : public GameObserver {
public:
    int startLevel = 1;

    void gameStarted(Game& game) override
    {
        if (startLevel <= 1) return;
        game.levelNumber = startLevel;
        game.setUpLevel();
    }

    void passWorked(Clock::time_point deadline) override
    {
        passDeadline = deadline;
        hadToWait = Clock::now() < deadline;
        waitBefore = runQueueWait();
    }

    void passPaced() override
    {
        const Clock::time_point now = Clock::now();
        const double late = milliseconds(now - passDeadline);
        // Held up: it ended late, and the time it waited for a core would account for that.
        const bool heldUp = late > ON_TIME_MS && runQueueWait() - waitBefore >= late - ON_TIME_MS;
        const bool undisturbed = hadToWait && !heldUp;
        if (passes > 0 && undisturbed) {
            wakeUps.push_back(late);
            if (lastUndisturbed) periods.push_back(milliseconds(now - lastPass));
        }
        if (passes == 0) firstPass = now;
        lastPass = now;
        lastUndisturbed = undisturbed;
        ++passes;
    }

    void gameEnded() override
    {
        std::fprintf(stderr,
                     "Ghost Maze test: %ld passes in %.3f s, %zu undisturbed, median pass %.3f ms, "
                     "median wake-up %.3f ms after the deadline\n",
                     passes, milliseconds(lastPass - firstPass) / 1000.0, wakeUps.size(), median(periods),
                     median(wakeUps));
        periods.clear();
        wakeUps.clear();
        passes = 0;
        lastUndisturbed = false;
    }

private:
    long passes = 0;
    Clock::time_point firstPass{};
    Clock::time_point lastPass{};
    Clock::time_point passDeadline{};  // when the pass being waited out is due to end
    bool hadToWait = false;            // its work ended before its deadline
    double waitBefore = 0.0;           // ms waited for a core before its wait
    bool lastUndisturbed = false;      // the pass before the first has no period to take
    std::vector<double> periods;  // ms between the ends of two undisturbed passes in a row
    std::vector<double> wakeUps;  // ms from each undisturbed pass's deadline to the end of its wait
};

// Passes the pace log on, and keeps one frame on the screen once it is drawn.
class FrameKeeper : public GameObserver {
public:
    FrameKeeper(GameObserver& pace, long pass, const char* file) : pace(pace), pass(pass), file(file) {}

    void passWorked(Clock::time_point deadline) override
    {
        if (++passes == pass) {
            // The picture as the game drew it, before the screen's scale.
            save_bitmap(file, screenMode.lastPicture ? screenMode.lastPicture : screen, nullptr);
            constexpr int POLL_MS = 50;
            while (!closeRequested.load()) rest(POLL_MS);
        }
        pace.passWorked(deadline);
    }
    void gameStarted(Game& game) override { pace.gameStarted(game); }
    void passPaced() override { pace.passPaced(); }
    void gameEnded() override { pace.gameEnded(); }

private:
    GameObserver& pace;
    long pass;
    const char* file;
    long passes = 0;
};

// Passes the pace log on, and writes the screen as the first game ends.
class LastFrame : public GameObserver {
public:
    LastFrame(GameObserver& pace, const char* file) : pace(pace), file(file) {}
    void gameStarted(Game& game) override { pace.gameStarted(game); }
    void passWorked(Clock::time_point deadline) override { pace.passWorked(deadline); }
    void passPaced() override { pace.passPaced(); }
    void gameEnded() override
    {
        if (!written) save_bitmap(file, screen, nullptr);
        written = true;
        pace.gameEnded();
    }

private:
    GameObserver& pace;
    const char* file;
    bool written = false;
};

int usage(const char* program)
{
    std::fprintf(stderr, "usage: %s --seed N [--level L] [--frame PASS FILE] [--last-frame FILE] [--replay RECORDING]\n",
                 program);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    RunSettings settings;
    long framePass = 0;
    const char* frameFile = nullptr;
    const char* lastFrameFile = nullptr;
    PaceLog paceLog;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            settings.seeded = true;
            settings.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc) {
            paceLog.startLevel = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--frame") == 0 && i + 2 < argc) {
            framePass = std::strtol(argv[++i], nullptr, 10);
            frameFile = argv[++i];
        } else if (std::strcmp(argv[i], "--last-frame") == 0 && i + 1 < argc) {
            lastFrameFile = argv[++i];
        } else if (std::strcmp(argv[i], "--replay") == 0 && i + 1 < argc) {
            settings.recordingFile = argv[++i];
        } else {
            return usage(argv[0]);
        }
    }
    if (!settings.seeded || paceLog.startLevel < 1 || (frameFile && framePass < 1)) return usage(argv[0]);
    FrameKeeper frameKeeper(paceLog, framePass, frameFile ? frameFile : "");
    LastFrame lastFrame(paceLog, lastFrameFile);
    settings.observer = frameFile ? static_cast<GameObserver*>(&frameKeeper) : &paceLog;
    if (lastFrameFile) settings.observer = &lastFrame;
    loosenLibraryWakeUps();
    return runGhostMaze(settings);
}
END_OF_MAIN()
