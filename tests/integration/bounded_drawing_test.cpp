// A frame that draws only the view must give the player the same pixels and leave the game in the
// same state as one that redraws the whole world. Two games play the same seeded script side by
// side, one through each frame, and are compared after every frame.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>
#include <string>

#include "drawing_support.h"
#include "full_world_drawing.h"
#include "shell/game.h"
#include "shell/random.h"
#include "shell/screen_mode.h"
#include "test_support.h"

// Every allocation of this program starts zeroed, so that the padding bytes of two games, and of
// their actor arrays, are alike and their whole bytes can be compared.
void* operator new(std::size_t size)
{
    if (void* block = std::calloc(1, size ? size : 1)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
// The library's sorts take their buffers through these; left to the sanitizer's own, they would
// be handed back to free above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::calloc(1, size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::calloc(1, size ? size : 1); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {
// Frames played at each level, fewer under the sanitizers, and fewer at the high level, whose
// whole-world frame is dear.
#if defined(__SANITIZE_ADDRESS__)
#define SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SANITIZED 1
#endif
#endif
#ifdef SANITIZED
constexpr int FRAMES = 150, HIGH_LEVEL_FRAMES = 30;
#else
constexpr int FRAMES = 240, HIGH_LEVEL_FRAMES = 70;
#endif
constexpr int CORRIDOR_ROW = 2;  // the hero's starting row

// Every pixel of two bitmaps of one size; the first difference is reported.
std::string compareBitmaps(BITMAP* a, BITMAP* b, const char* what)
{
    if (a->w != b->w || a->h != b->h) return std::string(what) + " sizes differ";
    const std::size_t rowBytes = static_cast<std::size_t>(a->w) * 4;
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(a->line[y], b->line[y], rowBytes) != 0)
            for (int x = 0; x < a->w; ++x)
                if (getpixel(a, x, y) != getpixel(b, x, y)) {
                    std::ostringstream text;
                    text << what << " differs at (" << x << ", " << y << "): " << std::hex << getpixel(a, x, y)
                         << " against " << getpixel(b, x, y);
                    return text.str();
                }
    return "";
}

// The message layer as the world sees it, row by row through each game's ring.
std::string compareMessages(const Game& a, const Game& b)
{
    BITMAP* ra = a.bitmaps.messageLayer;
    BITMAP* rb = b.bitmaps.messageLayer;
    const std::size_t rowBytes = static_cast<std::size_t>(ra->w) * 4;
    for (int y = 0; y < ra->h; ++y)
        if (std::memcmp(ra->line[a.messages.ringRow(y, ra->h)], rb->line[b.messages.ringRow(y, rb->h)], rowBytes) != 0)
            for (int x = 0; x < ra->w; ++x)
                if (messagePixel(a, x, y) != messagePixel(b, x, y))
                    return "the message layer differs at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

// Where the beam's hit test would find the beam: the same pixels in both, anywhere in the world.
std::string compareBeamPixels(BITMAP* a, BITMAP* b)
{
    const std::uint32_t beam = static_cast<std::uint32_t>(makecol(255, 255, 254));
    for (int y = 0; y < a->h; ++y) {
        const auto* rowA = reinterpret_cast<const std::uint32_t*>(a->line[y]);
        const auto* rowB = reinterpret_cast<const std::uint32_t*>(b->line[y]);
        for (int x = 0; x < a->w; ++x)
            if ((rowA[x] == beam) != (rowB[x] == beam))
                return "a beam pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ") is in one game only";
    }
    return "";
}

// Every byte of a game but those of the members that hold what each game owns on its own (its
// pictures, sounds, files, and the storage of its grids and actor arrays), whose contents follow
// instead, and but the drawing's own kept state, which the whole-world frame keeps its own way.
// A member added to the game is compared without being named here.
template <typename Member>
void blank(std::string& bytes, const Game& g, const Member& member)
{
    const auto at = reinterpret_cast<const char*>(&member) - reinterpret_cast<const char*>(&g);
    std::fill(bytes.begin() + at, bytes.begin() + at + static_cast<std::ptrdiff_t>(sizeof member), '\0');
}

template <typename T>
void append(std::string& bytes, const T* items, int count)
{
    if (count > 0) bytes.append(reinterpret_cast<const char*>(items), sizeof(T) * static_cast<std::size_t>(count));
}

std::string stateOf(const Game& g)
{
    std::string bytes(reinterpret_cast<const char*>(&g), sizeof g);
    blank(bytes, g, g.bitmaps);
    blank(bytes, g, g.samples);
    blank(bytes, g, g.frontEnd);
    for (const GridLayer* grid : {&g.placementGrid, &g.obstacleGrid, &g.wallGrid, &g.reachGrid, &g.spareGrid}) {
        blank(bytes, g, *grid);
        append(bytes, grid->cells.data(), static_cast<int>(grid->cells.size()));
    }
    blank(bytes, g, g.paintedReach);
    blank(bytes, g, g.layerOrigin);
    blank(bytes, g, g.glowDrawn);
    blank(bytes, g, g.darkness);
    blank(bytes, g, g.underWallBoxes);
    blank(bytes, g, g.underWallDiscs);
    blank(bytes, g, g.wallRows);
    blank(bytes, g, g.backgroundFill);
    blank(bytes, g, g.worldFilled);
    blank(bytes, g, g.backgroundPending);
    for (const DrawnBlocks* blocks : {&g.bandDrawn, &g.bandChanged, &g.bandChangedBefore, &g.bandUnderWalls, &g.bandRedrawn})
        blank(bytes, g, *blocks);
    blank(bytes, g, g.keptBand);
    blank(bytes, g, g.keptFrames);
    blank(bytes, g, g.keptStrips);
    blank(bytes, g, g.stripDrawings);
    blank(bytes, g, g.stripsToCopy);
    blank(bytes, g, g.blockPictures);
    blank(bytes, g, g.glowPictures);
    blank(bytes, g, g.hudShown);
    blank(bytes, g, g.messages);
    blank(bytes, g, g.recording);
    for (const auto* array : {&g.blocks, &g.coins1, &g.coins2, &g.coins5, &g.dynamites, &g.treasures}) blank(bytes, g, *array);
    blank(bytes, g, g.ghosts);
    blank(bytes, g, g.bombs);
    for (auto [array, n] : {std::pair{g.blocks, g.blockCount}, {g.coins1, g.coin1Count}, {g.coins2, g.coin2Count},
                            {g.coins5, g.coin5Count}, {g.dynamites, g.dynamiteCount}, {g.treasures, g.treasureCount}})
        append(bytes, array, n);
    append(bytes, g.ghosts, g.ghostCount);
    append(bytes, g.bombs, BOMB_SLOTS);
    return bytes;
}

// Opens the hero's row from wall to wall, so he can walk and fire across the whole world.
void openCorridor(Game& g)
{
    for (int c = 1; c < g.columns - 1; ++c) {
        g.wallGrid.setCell(c, CORRIDOR_ROW, CELL_FLOOR);
        g.setObstacle(c, CORRIDOR_ROW, CELL_FLOOR);
        rectfill(g.bitmaps.wallsBitmap, c * CELL_SIZE, CORRIDOR_ROW * CELL_SIZE, c * CELL_SIZE + CELL_SIZE - 1,
                 CORRIDOR_ROW * CELL_SIZE + CELL_SIZE - 1, makecol(255, 0, 255));
    }
    g.updateReach(g.heroActor.x, g.heroActor.y);
}

void arm(Game& g)
{
    g.bombCount = 8;
    g.hasGenerator = true;
    g.beamPower = 400;
    g.heroActor.speed = 10;
    g.hasRadar = true;
}

// The frame's keys: walk right along the corridor, then down, then back left; bombs and the beam
// now and then.
void pressKeys(int frame)
{
    key[KEY_RIGHT] = frame < 100;
    key[KEY_DOWN] = frame >= 100 && frame < 160;
    key[KEY_LEFT] = frame >= 160;
    key[KEY_G] = (frame >= 20 && frame < 40) || (frame >= 90 && frame < 110) || (frame >= 130 && frame < 140) ||
                 (frame >= 200 && frame < 210);
    key[KEY_B] = frame % 37 == 10;
}

// What the script does to the board at a frame, the same in both games.
void stage(Game& g, int frame)
{
    const int target = g.levelNumber * g.levelNumber * 100 + 100;
    const sprite& h = g.heroActor;
    switch (frame) {
    case 1:
        openCorridor(g);
        arm(g);
        break;
    case 2:  // all the floor reached but a pocket in the view's middle: the fog ends inside the view
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < g.columns; ++c)
                if (g.reachGrid.getCell(c, r) == CELL_FLOOR) g.reachGrid.setCell(c, r, CELL_REACHED);
        for (int c = 12; c < 15; ++c) g.reachGrid.setCell(c, CORRIDOR_ROW + 4, CELL_FLOOR);
        g.paintFog();
        break;
    case 30:  // a ghost far down the corridor, in the beam's way
        if (g.ghostCount > 0) {
            g.ghosts[0].placeAt((g.columns - 3) * CELL_SIZE, CORRIDOR_ROW * CELL_SIZE);
            g.ghosts[0].direction = DIRECTION_NONE;
        }
        break;
    case 60:
        if (g.coin1Count > 0) g.coins1[0].placeAt(h.x, h.y);
        break;
    case 80: g.score = target + 1; break;  // LEVEL UP
    case 95:
        if (g.ghostCount > 1) {
            g.ghosts[1].placeAt(h.x + 3 * CELL_SIZE, h.y);
            g.ghosts[1].direction = DIRECTION_NONE;
        }
        break;
    case 140:
        if (g.treasureCount > 0) g.treasures[0].placeAt(h.x, h.y);
        break;
    case 150:  // a block right in the hero's way down
        if (g.blockCount > 0) {
            g.blocks[0].placeAt(cellOf(h.x + 20) * CELL_SIZE, (cellOf(h.y + 20) + 1) * CELL_SIZE);
            g.setObstacle(cellOf(h.x + 20), cellOf(h.y + 20) + 1, CELL_WALL);
        }
        break;
    case 180:  // a ghost catches the hero
        if (g.ghostCount > 2) g.ghosts[2].placeAt(h.x, h.y);
        break;
    case 185: arm(g); break;
    case 225:  // the maze cleared with the level raised: the next level is built
        for (auto [coins, n] : {std::pair{g.coins1, g.coin1Count}, {g.coins2, g.coin2Count}, {g.coins5, g.coin5Count}})
            for (int i = 0; i < n; ++i) coins[i].takeOffBoard();
        g.coinsLeft = 0;
        break;
    case 227:
        openCorridor(g);
        arm(g);
        break;
    default: break;
    }
}

class BoundedDrawing : public GameTest {
protected:
    Game* whole = nullptr;  // draws the whole world every frame
    BITMAP* wholeScreen = nullptr;
    BITMAP* boundedScreen = nullptr;

    void SetUp() override
    {
        GameTest::SetUp();
        whole = new Game;
        wholeScreen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        boundedScreen = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    }
    void TearDown() override
    {
        screenMode.picture = nullptr;
        releaseAllInput();
        destroy_bitmap(wholeScreen);
        destroy_bitmap(boundedScreen);
        discardGame(whole);
        GameTest::TearDown();
    }

    static void startAt(Game& g, int level, std::uint32_t seed)
    {
        seedRandom(seed);
        g.setUpLevel();
        if (level != 1) {
            g.levelNumber = level;
            g.setUpLevel();
        }
    }

    // One pass of the game loop with a fixed number of ticks; the random source is seeded for the
    // frame, and one more draw after it tells whether both games drew as often.
    // With drawsOnScreen, the game's frames are drawn into the screen's own picture (the
    // bounded game's screen here) and shown in place, as on a screen at a scale of one; a frame
    // not presented is finished there.
    static int playFrame(Game& g, int frame, int ticks, bool wholeWorld, BITMAP* screen, bool& presented,
                         bool drawsOnScreen = false)
    {
        seedRandom(static_cast<std::uint32_t>(frame) * 7919u + 17u);
        stage(g, frame);
        g.readControls();
        for (int t = 0; t < ticks; ++t) g.updateTick();
        if (wholeWorld)
            drawWholeWorldFrame(g);
        else
            g.drawFrame();
        presented = !g.applyRules();
        if (presented) {
            if (wholeWorld)
                presentWholeWorldFrame(g, screen);
            else
                g.presentFrameTo(drawsOnScreen ? nullptr : screen);
        } else if (drawsOnScreen) {
            g.finishUnshownFrame();
        }
        return gameRandom();
    }

    // Whether a run of fog squares ends inside the view, short of its right edge: where a run
    // cut one pixel short would show.
    static bool fogPocketEndsInView(const Game& g)
    {
        static FogSquares fog;
        fog = FogSquares{};
        g.markFogSquares(fog);
        for (int i = 0; i < fog.rowCount; ++i)
            for (int k = 0; k < fog.rows[i].runCount; ++k)
                if (fog.rows[i].runs[k].right > 0 && fog.rows[i].runs[k].right < VIEW_WIDTH) return true;
        return false;
    }

    bool sawFogPocket = false;  // a fog pocket ended inside the view in some frame
    bool drawsOnScreen = false;  // the bounded game draws into the screen's picture
    bool sawUnshownFrame = false;

    void playLevel(int level, std::uint32_t seed, int frames)
    {
        startAt(*whole, level, seed);
        startAt(*game, level, seed);
        ASSERT_EQ(stateOf(*whole), stateOf(*game));
        for (int frame = 1; frame <= frames; ++frame) {
            pressKeys(frame);
            const int ticks = 1 + frame % 2;
            bool wholePresented = false, boundedPresented = false;
            const int wholeDraw = playFrame(*whole, frame, ticks, true, wholeScreen, wholePresented);
            const int boundedDraw = playFrame(*game, frame, ticks, false, boundedScreen, boundedPresented, drawsOnScreen);
            SCOPED_TRACE("level " + std::to_string(level) + ", frame " + std::to_string(frame));
            ASSERT_EQ(wholeDraw, boundedDraw) << "the random source was drawn a different number of times";
            ASSERT_EQ(wholePresented, boundedPresented);
            // A rebuilt board is not shown, and a new level's back buffer is not drawn yet.
            if (wholePresented) {
                sawFogPocket = sawFogPocket || fogPocketEndsInView(*game);
                ASSERT_EQ(compareBitmaps(whole->bitmaps.backBuffer, game->bitmaps.backBuffer, "the back buffer"), "");
            }
            sawUnshownFrame = sawUnshownFrame || !wholePresented;
            // Drawn in place, a frame not shown stands finished in the screen's picture.
            const bool screensAlike = wholePresented || !drawsOnScreen;
            for (const std::string& difference :
                 {screensAlike ? compareBitmaps(wholeScreen, boundedScreen, "the screen") : std::string(),
                  compareBitmaps(whole->bitmaps.ghostMap, game->bitmaps.ghostMap, "the ghosts' map"),
                  compareBitmaps(whole->bitmaps.wallsBitmap, game->bitmaps.wallsBitmap, "the walls"),
                  compareBitmaps(whole->bitmaps.shadeLayer, game->bitmaps.shadeLayer, "the fog"),
                  compareBeamPixels(wholeWorldGlow(*whole), game->bitmaps.beamLayer),
                  compareMessages(*whole, *game)})
                ASSERT_EQ(difference, "");
            const std::string wholeState = stateOf(*whole);
            const std::string boundedState = stateOf(*game);
            if (wholeState != boundedState) {
                std::size_t at = 0;
                while (at < wholeState.size() && at < boundedState.size() && wholeState[at] == boundedState[at]) ++at;
                FAIL() << "the state differs at byte " << at << " (the game itself is " << sizeof(Game)
                       << " bytes; its grids and actor arrays follow)";
            }
        }
        releaseAllInput();
        whole->endGame();
        game->endGame();
    }
};

TEST_F(BoundedDrawing, TheViewAloneGivesTheWholeWorldsPixelsAndState)
{
    for (const auto& [level, seed] : {std::pair{1, 101u}, {3, 303u}, {12, 1212u}}) {
        playLevel(level, seed, FRAMES);
        if (HasFatalFailure()) return;
    }
}

// At a high level the radar is taller than the band between the strips; the script's pocket of
// fog ends inside the view there too.
TEST_F(BoundedDrawing, AHighLevelWithTheRadarAndAFogPocketGivesTheWholeWorldsPixels)
{
    playLevel(60, 6060u, HIGH_LEVEL_FRAMES);
    if (HasFailure()) return;
    EXPECT_TRUE(sawFogPocket) << "the seed no longer shows a fog pocket ending inside the view";
}

// As on a screen at a scale of one: every frame drawn where it is shown, through a lost life and
// the frames that follow it.
TEST_F(BoundedDrawing, FramesDrawnWhereTheScreenShowsThemGiveTheWholeWorldsPixels)
{
    drawsOnScreen = true;
    screenMode.picture = boundedScreen;
    playLevel(3, 303u, FRAMES);
    if (HasFailure()) return;
    EXPECT_TRUE(sawUnshownFrame) << "the script no longer loses a life or rebuilds the board";
}

}  // namespace
