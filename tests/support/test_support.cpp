// Shared helpers of the headless tests.
#include "test_support.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

void startHeadlessAllegro()
{
    static bool started = false;
    if (started) return;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    started = true;
}

void releaseAllInput()
{
    for (int i = 0; i < KEY_MAX; ++i) key[i] = 0;
    mouse_b = 0;
    mouse_x = 0;
    mouse_y = 0;
}

BITMAP* makeFilledBitmap(int width, int height, int colour)
{
    BITMAP* bitmap = create_bitmap_ex(32, width, height);
    clear_to_color(bitmap, colour);
    return bitmap;
}

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "full_world_drawing.h"
#include "shell/game.h"
#include "shell/random.h"

namespace fs = std::filesystem;

TempGameFolder::TempGameFolder()
{
    previous = fs::current_path().string();
    char pattern[] = "/tmp/ghostmaze-test-XXXXXX";
    folder = mkdtemp(pattern);
    fs::create_directory_symlink(fs::path(GAME_DIR) / "_bmp", fs::path(folder) / "_bmp");
    fs::create_directory_symlink(fs::path(GAME_DIR) / "_sample", fs::path(folder) / "_sample");
    fs::current_path(folder);
}

TempGameFolder::~TempGameFolder()
{
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string TempGameFolder::read(const std::string& name) const
{
    std::ifstream in(fs::path(folder) / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void TempGameFolder::write(const std::string& name, const std::string& content) const
{
    std::ofstream out(fs::path(folder) / name, std::ios::binary);
    out << content;
}

std::string TempGameFolder::names() const
{
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "_bmp" && name != "_sample") found.push_back(name);
    }
    std::sort(found.begin(), found.end());
    std::string joined;
    for (const std::string& name : found) joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

namespace {
constexpr uid_t NOBODY = 65534;
constexpr unsigned HANG_SECONDS = 10;
}  // namespace

OrdinaryPlayer::OrdinaryPlayer(const TempGameFolder& folder, std::initializer_list<const char*> ownFiles)
{
    if (geteuid() != 0) return;
    for (const char* name : ownFiles) EXPECT_EQ(lchown((fs::path(folder.path()) / name).c_str(), NOBODY, NOBODY), 0);
    switched = setegid(NOBODY) == 0 && seteuid(NOBODY) == 0;
    EXPECT_TRUE(switched);
}

OrdinaryPlayer::~OrdinaryPlayer()
{
    if (!switched) return;
    EXPECT_EQ(seteuid(0), 0);
    EXPECT_EQ(setegid(0), 0);
}

namespace {
constexpr rlim_t FULL_DISK_BYTES = 2;
rlimit sizeLimitBefore{};
}  // namespace

FullDisk::FullDisk()
{
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &sizeLimitBefore);
    rlimit full = sizeLimitBefore;
    full.rlim_cur = FULL_DISK_BYTES;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
}

FullDisk::~FullDisk()
{
    setrlimit(RLIMIT_FSIZE, &sizeLimitBefore);
    std::signal(SIGXFSZ, SIG_DFL);
}

HangWatch::HangWatch() { alarm(HANG_SECONDS); }
HangWatch::~HangWatch() { alarm(0); }

void GameTest::SetUp()
{
    HeadlessTest::SetUp();
    seedRandom(12345);
    folder = new TempGameFolder;
    game = new Game;
}

void GameTest::TearDown()
{
    discardGame(game);
    delete folder;
    HeadlessTest::TearDown();
}

int coinsOnBoard(const Game& game)
{
    int count = 0;
    for (auto [coins, n] : {std::pair{game.coins1, game.coin1Count}, {game.coins2, game.coin2Count},
                            {game.coins5, game.coin5Count}})
        for (int i = 0; i < n; ++i) count += coins[i].x != OFF_BOARD;
    return count;
}
