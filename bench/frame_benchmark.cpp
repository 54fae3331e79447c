// The frame benchmark: one whole frame (drawing, rules, presentation) on built mazes of levels 1,
// 10, 30 and 60, timed, with every heap allocation made during the frames counted; both the game's
// frame, which draws only the view, and the whole-world frame it replaced; and at levels 1 and 60
// the game's frame in which a bomb blasts the walls. The frames are also told as multiples of one
// plain copy of a whole 1280 x 720 frame, timed in the same run, which stands for what this
// machine's memory can do.
//
// The paced case plays as the player does: the hero walks the maze and the view follows him,
// the ghosts go their ways, one logic tick every other frame, and after each frame the benchmark
// sleeps out the rest of its sixtieth of a second, so that, as in the game, the pictures have left
// the caches by the next frame. It tells the processor time of a frame as a share of one core
// at 60 frames a second. The crowded case is the dearest a player meets: at level 30 every ghost
// starts about the hero, as when they have caught up with him, and their flickering lights
// fill much of the view.
//
// This machine's two cores are shared, and a neighbour's burst can slow a run by half. So each
// level is built once, in a game of its own, the runs of all levels are taken in a random order,
// several times over, and the figures are those of each level's fastest run, timed in processor
// time of the benchmark's thread: the time the frames took, not the time others had the core.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <iterator>
#include <string>
#include <vector>

#include "frontend/frame_scaling.h"
#include "full_world_drawing.h"
#include "shell/game.h"
#include "shell/random.h"
#include "shell/recording.h"
#include "shell/screen_mode.h"
#include "shell/ticks.h"

// Only allocations made while `counting` is set are counted: those of the measured frames, not
// those of the level set-up or of the benchmark library around them.
namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocationCount{0};

inline void noteAllocation()
{
    if (counting.load(std::memory_order_relaxed)) allocationCount.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

// glibc's own entry points: wrapping malloc and its kin in the program catches the C library's
// allocations too, Allegro's among them.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);

void* malloc(std::size_t size)
{
    noteAllocation();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size)
{
    noteAllocation();
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, std::size_t size)
{
    noteAllocation();
    return __libc_realloc(pointer, size);
}
void free(void* pointer) { __libc_free(pointer); }
}

namespace {
void* allocate(std::size_t size)
{
    noteAllocation();
    if (void* block = __libc_malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    noteAllocation();
    if (void* block = __libc_memalign(static_cast<std::size_t>(alignment), size ? size : 1)) return block;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    noteAllocation();
    return __libc_malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    noteAllocation();
    return __libc_malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void operator delete(void* pointer) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept { __libc_free(pointer); }

namespace {

constexpr int LEVELS[] = {1, 10, 30, 60};
constexpr int LEVEL_COUNT = sizeof LEVELS / sizeof LEVELS[0];
constexpr std::uint32_t SEED = 2024;
constexpr int BOUNDED_FRAMES_PER_RUN = 100;  // about half a second
constexpr int FULL_FRAMES_PER_RUN = 12;      // up to 0.7 s at level 60
constexpr int BLAST_LEVELS[] = {1, 60};
constexpr int WALL_BLAST_FUSE = 70;          // the fuse frame that blasts the walls
constexpr int BLAST_SITE_STEP = 5;           // cells between blast sites, so their squares never meet
constexpr int COPIES_PER_RUN = 2000;         // about a tenth of a second

// The game's frame, which draws only the view; the whole-world frame it replaced; and the game's
// frame with a wall blast, somewhere new each time.
enum Path { BOUNDED, FULL, WALL_BLAST, PACED, CROWDED, PATH_COUNT };
const char* const PATH_NAMES[PATH_COUNT] = {"bounded", "full", "wallblast", "paced", "crowded"};
constexpr int PACED_LEVELS[] = {1, 60};
constexpr int CROWDED_LEVEL = 30;
constexpr int PACED_FRAMES_PER_RUN = 240;    // four seconds of play
constexpr int FRAMES_PER_SECOND = 60;
constexpr int FRAMES_PER_TICK = 2;           // the 30 Hz logic clock under 60 frames a second
constexpr int WALKER_SPEED = 8;              // pixels per tick: a hero with a few pairs of shoes
constexpr int WALKER_LIVES = 1000;           // the walk goes on whatever the ghosts do

struct LevelFigures {
    int runs = 0;
    bool failed = false;   // the level could not be built
    double msPerFrame = 0;  // of the fastest run
    long allocations = 0;  // over every run of the level's benchmark
};

Game* games[LEVEL_COUNT] = {};  // one per level, built once (a wall blast run may fill its maze anew)
Game* pacedGames[LEVEL_COUNT][2] = {};  // the walking games, apart, as they change as they play: alone, crowded
int blastSites[LEVEL_COUNT] = {};  // blast sites used on each level's maze
BITMAP* screenStandIn = nullptr;  // the frames are presented here instead of on a screen
BITMAP* pacedScreen = nullptr;    // the paced frames are drawn here, as into a screen's memory
LevelFigures figures[LEVEL_COUNT][PATH_COUNT];
BITMAP* copySource = nullptr;  // a whole frame of its own, copied onto the screen stand-in
LevelFigures copyFigures;      // of the plain copy

// A new game builds level 1; a set-up after raising the level number builds that level's maze.
// Seeded alike, each level's maze is the same whatever order the levels are built in.
Game* buildLevel(int level)
{
    seedRandom(SEED);
    Game* game = new Game;
    game->setUpLevel();
    if (level != 1) {
        game->levelNumber = level;
        game->setUpLevel();
    }
    // The radar is the heaviest thing a frame can draw every time.
    game->hasRadar = true;
    return game;
}

// Seconds of processor time this thread has used.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool built(const Game* game, int level)
{
    return game->builtLevel == level && game->bitmaps.levelLayersComplete() && game->bitmaps.gameBitmapsComplete();
}

int levelIndex(int level)
{
    int index = 0;
    while (LEVELS[index] != level) ++index;
    return index;
}

// A bomb in slot 0 that blasts the walls in the next frame, on a site of walls never blasted
// before: the sites step over the maze, and a maze whose sites are used up is filled anew.
void setUpWallBlast(Game* game, int index)
{
    const int across = (game->columns - 1) / BLAST_SITE_STEP;
    const int down = (game->rows - 1) / BLAST_SITE_STEP;
    int& site = blastSites[index];
    if (site == across * down) {
        seedRandom(SEED + static_cast<std::uint32_t>(site));
        game->setUpLevel();
        game->hasRadar = true;
        site = 0;
    }
    const int column = 2 + site % across * BLAST_SITE_STEP;
    const int row = 2 + site / across * BLAST_SITE_STEP;
    ++site;
    bomb& b = game->bombs[0];
    b.arm(column * CELL_SIZE, row * CELL_SIZE);
    b.fuse = WALL_BLAST_FUSE - 1;
}

// The walking hero: he stands on the floor cell nearest the middle of the maze, at the lower right
// corner of the box the view lets him walk in, so his first steps right or down scroll it.
void setUpWalk(Game* game)
{
    const int middleColumn = game->columns / 2, middleRow = game->rows / 2;
    int column = middleColumn, row = middleRow;
    for (int i = 0; i < game->rows * game->columns && game->wallGrid.getCell(column, row) == CELL_WALL; ++i) {
        column = (middleColumn + i) % game->columns;
        row = (middleRow + i / game->columns) % game->rows;
    }
    game->heroActor.placeAt(column * CELL_SIZE, row * CELL_SIZE);
    game->heroActor.speed = WALKER_SPEED;
    game->ogrX = game->ogrMaxX;
    game->ogrY = game->ogrMaxY;
    game->nadX = game->nadY = 0;
    constexpr int BOX_LEFT = 320, BOX_TOP = 160;  // where the box lies in the view
    game->mapX = std::clamp(game->heroActor.x - BOX_LEFT - game->ogrX, game->mapMinX, game->mapMaxX);
    game->mapY = std::clamp(game->heroActor.y - BOX_TOP - game->ogrY, game->mapMinY, game->mapMaxY);
    game->updateReach(game->heroActor.x, game->heroActor.y);
}

// Every ghost on a floor cell about the hero, the nearest cells first, a ring of cells at a time.
void crowdGhosts(Game* game)
{
    const int heroColumn = game->heroActor.x / CELL_SIZE, heroRow = game->heroActor.y / CELL_SIZE;
    int placed = 0;
    for (int ring = 1; ring < game->columns + game->rows && placed < game->ghostCount; ++ring)
        for (int row = heroRow - ring; row <= heroRow + ring; ++row)
            for (int column = heroColumn - ring; column <= heroColumn + ring; ++column) {
                const bool onRing = std::max(std::abs(row - heroRow), std::abs(column - heroColumn)) == ring;
                if (!onRing || placed == game->ghostCount || column < 0 || row < 0 || column >= game->columns ||
                    row >= game->rows || game->wallGrid.getCell(column, row) == CELL_WALL)
                    continue;
                game->ghosts[placed++].placeAt(column * CELL_SIZE, row * CELL_SIZE);
            }
}

// One logic tick of the walk: the hero holds one arrow key until a wall stops him, then takes
// another way, as a player finding his way would.
void walkTick(Game* game, int& direction, std::uint32_t& turns)
{
    static constexpr int ARROWS[] = {KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP};
    for (int arrow : ARROWS) key[arrow] = 0;
    key[ARROWS[direction]] = 1;
    const int x = game->heroActor.x, y = game->heroActor.y;
    game->lives = WALKER_LIVES;
    game->updateTick();
    if (game->heroActor.x == x && game->heroActor.y == y) {
        turns = turns * 1103515245u + 12345u;
        direction = (direction + 1 + static_cast<int>(turns >> 16) % 3) % 4;
    }
}

void playFrame(Game* game, Path path)
{
    if (path == PACED || path == CROWDED) {
        // As on a screen at a scale of one: drawn where it is shown, nothing copied.
        game->drawFrame();
        if (!game->applyRules())
            game->presentFrameTo(nullptr);
        else
            game->finishUnshownFrame();
    } else if (path != FULL) {
        game->drawFrame();
        if (!game->applyRules()) game->presentFrameTo(screenStandIn);
    } else {
        drawWholeWorldFrame(*game);
        if (!game->applyRules()) presentWholeWorldFrame(*game, screenStandIn);
    }
}

void frame(benchmark::State& state, Path path)
{
    const int levelNumber = static_cast<int>(state.range(0));
    const int index = levelIndex(levelNumber);
    LevelFigures& level = figures[index][path];
    Game*& game = games[index];
    if (!game) game = buildLevel(levelNumber);
    if (!built(game, levelNumber)) {
        level.failed = true;
        state.SkipWithError("the level could not be built");
        return;
    }
    // The first frame of a run paints the kept layers (whole, at a level's first) and brings
    // the level's pictures back into the caches; the figures are for the rest. Only the frames
    // are timed, not the setting up of a wall blast.
    playFrame(game, path);
    long frames = 0;
    const long allocationsBefore = allocationCount.load();
    double busy = 0;  // processor seconds of the measured frames
    for (auto _ : state) {
        if (path == WALL_BLAST) setUpWallBlast(game, index);
        const double start = threadSeconds();
        counting = true;
        playFrame(game, path);
        counting = false;
        busy += threadSeconds() - start;
        ++frames;
    }
    const double seconds = busy;
    level.allocations += allocationCount.load() - allocationsBefore;
    const double msPerFrame = seconds * 1000.0 / static_cast<double>(frames);
    level.msPerFrame = level.runs == 0 ? msPerFrame : std::min(level.msPerFrame, msPerFrame);
    ++level.runs;
    state.counters["fps"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["allocations"] = static_cast<double>(level.allocations);
}
// Frames of the walk, each followed by a sleep to the end of its sixtieth of a second.
void pacedFrames(benchmark::State& state, Path path)
{
    const int levelNumber = static_cast<int>(state.range(0));
    const int index = levelIndex(levelNumber);
    LevelFigures& level = figures[index][path];
    Game*& game = pacedGames[index][path == CROWDED];
    if (!game) {
        game = buildLevel(levelNumber);
        game->hasRadar = false;  // a player holds the radar now and then, not all the time
        if (built(game, levelNumber)) setUpWalk(game);
    }
    // Each run starts crowded: the ghosts would scatter over the maze.
    if (path == CROWDED && built(game, levelNumber)) crowdGhosts(game);
    if (!built(game, levelNumber)) {
        level.failed = true;
        state.SkipWithError("the level could not be built");
        return;
    }
    // The game draws its frames into the screen's own picture, here one of the benchmark's; its
    // band there is made before the frames are counted.
    screenMode.picture = pacedScreen;
    game->bitmaps.drawIntoFrameNotShown(pacedScreen, screenMode.generation);
    int direction = 0;
    std::uint32_t turns = static_cast<std::uint32_t>(level.runs) + 1;
    long frames = 0;
    double busy = 0;
    const long allocationsBefore = allocationCount.load();
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    for (auto _ : state) {
        const double start = threadSeconds();
        counting = true;
        if (frames % FRAMES_PER_TICK == 0) walkTick(game, direction, turns);
        playFrame(game, path);
        counting = false;
        busy += threadSeconds() - start;
        ++frames;
        deadline.tv_nsec += 1000000000L / FRAMES_PER_SECOND;
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_nsec -= 1000000000L;
            ++deadline.tv_sec;
        }
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
    }
    for (int arrow : {KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP}) key[arrow] = 0;
    screenMode.picture = nullptr;
    level.allocations += allocationCount.load() - allocationsBefore;
    const double msPerFrame = busy * 1000.0 / static_cast<double>(frames);
    level.msPerFrame = level.runs == 0 ? msPerFrame : std::min(level.msPerFrame, msPerFrame);
    ++level.runs;
    state.counters["share"] = msPerFrame * FRAMES_PER_SECOND / 10.0;
}

// One plain copy of a whole frame between two memory bitmaps.
void plainCopy(benchmark::State& state)
{
    long copies = 0;
    const double start = threadSeconds();
    for (auto _ : state) {
        blit(copySource, screenStandIn, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        ++copies;
    }
    const double seconds = threadSeconds() - start;
    const double msPerCopy = seconds * 1000.0 / static_cast<double>(copies);
    copyFigures.msPerFrame = copyFigures.runs == 0 ? msPerCopy : std::min(copyFigures.msPerFrame, msPerCopy);
    ++copyFigures.runs;
}

// Whole-world frames cost up to 55 ms at level 60: fewer of them make a run.
void registerFrames()
{
    const int framesPerRun[PACED] = {BOUNDED_FRAMES_PER_RUN, FULL_FRAMES_PER_RUN, BOUNDED_FRAMES_PER_RUN};
    for (int path = 0; path < PACED; ++path) {
        const std::string name = std::string("frame/") + PATH_NAMES[path];
        benchmark::internal::Benchmark* runs = benchmark::RegisterBenchmark(name.c_str(), frame, static_cast<Path>(path));
        runs->ArgName("level");
        if (path == WALL_BLAST)
            for (int level : BLAST_LEVELS) runs->Arg(level);
        else
            for (int level : LEVELS) runs->Arg(level);
        runs->Iterations(framesPerRun[path])->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::internal::Benchmark* paced = benchmark::RegisterBenchmark("frame/paced", pacedFrames, PACED);
    paced->ArgName("level");
    for (int level : PACED_LEVELS) paced->Arg(level);
    paced->Iterations(PACED_FRAMES_PER_RUN)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::internal::Benchmark* crowded = benchmark::RegisterBenchmark("frame/paced/crowded", pacedFrames, CROWDED);
    crowded->ArgName("level")->Arg(CROWDED_LEVEL);
    crowded->Iterations(PACED_FRAMES_PER_RUN)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("copy", plainCopy)->Iterations(COPIES_PER_RUN)->Unit(benchmark::kMicrosecond)->UseRealTime();
}

void startGame()
{
    // From the source tree (make benchmark) as from the run folder (ctest): the pictures are there.
    if (access("_bmp/sprites.bmp", R_OK) != 0 && chdir(GAME_DIR) != 0) std::perror(GAME_DIR);
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    screenStandIn = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    pacedScreen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    copySource = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_to_color(copySource, makecol(10, 20, 30));
}

void endGames()
{
    for (Game*& game : games) discardGame(game);
    for (auto& walking : pacedGames)
        for (Game*& game : walking) discardGame(game);
    destroy_bitmap(screenStandIn);
    destroy_bitmap(pacedScreen);
    destroy_bitmap(copySource);
}

// Several runs of every level, in a random order, unless the command line says otherwise.
std::vector<char*> withDefaultRuns(int argc, char** argv)
{
    std::vector<char*> arguments(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    auto given = [&](const char* flag) {
        return std::any_of(arguments.begin() + 1, arguments.end(),
                           [flag](const char* a) { return std::strncmp(a, flag, std::strlen(flag)) == 0; });
    };
    if (!given("--benchmark_repetitions")) arguments.push_back(repetitions);
    if (!given("--benchmark_enable_random_interleaving")) arguments.push_back(interleaving);
    arguments.push_back(nullptr);
    return arguments;
}

void printVerifySpeed();
void printPresentCosts();

}  // namespace

int main(int argc, char** argv)
{
    startGame();
    registerFrames();
    std::vector<char*> arguments = withDefaultRuns(argc, argv);
    int count = static_cast<int>(arguments.size()) - 1;
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    endGames();
    printVerifySpeed();
    printPresentCosts();

    const double copyMs = copyFigures.runs > 0 ? copyFigures.msPerFrame : 0;
    if (copyMs > 0)
        std::printf("plain copy of a %d x %d frame: %.4f ms (fastest of %d runs)\n", SCREEN_WIDTH, SCREEN_HEIGHT, copyMs,
                    copyFigures.runs);
    int measured = 0;
    bool faulty = false;  // a level could not be built, or a bounded frame allocated
    for (int i = 0; i < LEVEL_COUNT; ++i)
        for (int path = 0; path < PATH_COUNT; ++path) {
            const LevelFigures& level = figures[i][path];
            if (level.runs == 0 && !level.failed) continue;
            if ((path == PACED || path == CROWDED) && !level.failed) {
                std::printf("paced level %d%s: %.1f%% of a core (%.3f ms of processor time a frame, fastest of %d runs, "
                            "%ld allocations)\n",
                            LEVELS[i], path == CROWDED ? " crowded" : "", level.msPerFrame * FRAMES_PER_SECOND / 10.0,
                            level.msPerFrame, level.runs, level.allocations);
                faulty = faulty || level.allocations != 0;
                ++measured;
                continue;
            }
            if (level.failed) {
                std::printf("level %d %s: could not be built\n", LEVELS[i], PATH_NAMES[path]);
                faulty = true;
                continue;
            }
            std::printf("level %d %s: %.3f ms/frame, %.0f fps, %ld allocations (fastest of %d runs)", LEVELS[i],
                        PATH_NAMES[path], level.msPerFrame, 1000.0 / level.msPerFrame, level.allocations, level.runs);
            if (copyMs > 0) std::printf(", %.1f plain copies", level.msPerFrame / copyMs);
            std::printf("\n");
            faulty = faulty || (path != FULL && level.allocations != 0);
            ++measured;
        }
    const LevelFigures& first = figures[0][BOUNDED];
    const LevelFigures& last = figures[LEVEL_COUNT - 1][BOUNDED];
    if (first.runs > 0 && last.runs > 0)
        std::printf("bounded frame at level %d against level %d: %.2f times\n", LEVELS[LEVEL_COUNT - 1], LEVELS[0],
                    last.msPerFrame / first.msPerFrame);
    for (int level : BLAST_LEVELS) {
        const LevelFigures& plain = figures[levelIndex(level)][BOUNDED];
        const LevelFigures& blast = figures[levelIndex(level)][WALL_BLAST];
        if (plain.runs > 0 && blast.runs > 0)
            std::printf("wall blast frame at level %d against the bounded frame: %.2f times\n", level,
                        blast.msPerFrame / plain.msPerFrame);
    }
    return measured > 0 && !faulty ? 0 : 1;
}

namespace {
// How many times faster than real time a recorded game is checked without a display (--verify
// plays every pass so): ten seconds of recorded passes, steered at random and ticked as a paced
// game ticks, played back on a built level, against the game time they stand for.
void printVerifySpeed()
{
    constexpr int VERIFY_LEVELS[] = {1, 30};
    constexpr int VERIFY_PASSES = 600;
    constexpr int PASSES_PER_CHANGE = 20;  // a player changes the keys held a few times a second
    Recording recorded;
    std::uint32_t player = 99;
    std::uint32_t ticks = 0;
    for (int i = 0; i < VERIFY_PASSES; ++i) {
        if (i % PASSES_PER_CHANGE == 0) player = player * 1664525u + 1013904223u;
        RecordedPass pass;
        pass.ticks = static_cast<std::uint32_t>(i % 2);
        pass.controls = static_cast<std::uint8_t>((player >> 24) % 64);
        recorded.passes.push_back(pass);
        ticks += pass.ticks;
    }
    const double gameSeconds = static_cast<double>(ticks) / TICKS_PER_SECOND;
    for (int level : VERIFY_LEVELS) {
        Game* game = buildLevel(level);
        game->playback = &recorded;
        game->playbackPass = 0;
        game->framesUnseen = true;
        const double start = threadSeconds();
        while (game->runGamePass()) {}
        const double busy = threadSeconds() - start;
        std::printf("verify level %d: %.0f times real time\n", level, gameSeconds / busy);
        game->playback = nullptr;
        discardGame(game);
    }
}

// The finished picture presented on larger screens, each as a multiple of one plain copy of a
// picture of the screen's own size (what presenting there costs at the least): the fastest of
// several runs of each, runs taken in turns so that a neighbour's burst hits them alike.
void printPresentCosts()
{
    constexpr int RUNS = 7;
    constexpr int PRESENTS_PER_RUN = 20;
    const struct {
        const char* name;
        int width, height;
    } screens[] = {{"1x", 1280, 720}, {"2x", 2560, 1440}, {"3x", 3840, 2160}, {"1.5x sharp", 1920, 1080}};
    constexpr int SCREEN_COUNT = static_cast<int>(std::size(screens));
    BITMAP* picture = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) putpixel(picture, x, y, makecol(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    FramePlacement placements[SCREEN_COUNT];
    BITMAP* targets[SCREEN_COUNT] = {};
    BITMAP* copies[SCREEN_COUNT] = {};
    double presentMs[SCREEN_COUNT] = {}, copyMs[SCREEN_COUNT] = {};
    for (int i = 0; i < SCREEN_COUNT; ++i) {
        placements[i] = placeFrame(screens[i].width, screens[i].height);
        targets[i] = create_bitmap(screens[i].width, screens[i].height);
        copies[i] = create_bitmap(screens[i].width, screens[i].height);
        clear_to_color(copies[i], makecol(10, 20, 30));
    }
    auto fastest = [](double& best, double seconds) {
        const double ms = seconds * 1000.0 / PRESENTS_PER_RUN;
        best = best == 0 ? ms : std::min(best, ms);
    };
    for (int run = 0; run < RUNS; ++run)
        for (int i = 0; i < SCREEN_COUNT; ++i) {
            double start = threadSeconds();
            for (int n = 0; n < PRESENTS_PER_RUN; ++n) presentInto(picture, targets[i], placements[i]);
            fastest(presentMs[i], threadSeconds() - start);
            start = threadSeconds();
            for (int n = 0; n < PRESENTS_PER_RUN; ++n)
                blit(copies[i], targets[i], 0, 0, 0, 0, screens[i].width, screens[i].height);
            fastest(copyMs[i], threadSeconds() - start);
        }
    for (int i = 0; i < SCREEN_COUNT; ++i) {
        std::printf("present %s: %.2f plain copies (%.3f ms against %.3f ms for a %d x %d copy)\n", screens[i].name,
                    presentMs[i] / copyMs[i], presentMs[i], copyMs[i], screens[i].width, screens[i].height);
        destroy_bitmap(targets[i]);
        destroy_bitmap(copies[i]);
    }
    destroy_bitmap(picture);
}
}  // namespace
