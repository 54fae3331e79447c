// Ghost behaviour: the walking step with its turns at walls, the hunter that flies at the hero,
// the killing of a ghost, and the ambient scare sounds and music clips of a game.
#include "shell/game.h"

#include <allegro.h>

#include <cmath>
#include <cstdio>

#include "shell/random.h"
#include "world/colours.h"

namespace {
constexpr int HUNT_BASE_TICKS = 300;       // a hunt lasts this plus HUNT_TICKS_PER_LEVEL x level
constexpr int HUNT_TICKS_PER_LEVEL = 100;
constexpr int HOMING_STOP_DISTANCE = 6;    // the hunter halves its way in until this close
constexpr int HUNTER_KIND_LEVELS = 3;      // one more ghost kind after a hunt every this many levels
constexpr int HIGHEST_GHOST_KIND = 4;
constexpr double HUNT_ROLL_SCALE = 100000.0;
constexpr int RANDOM_TURN_CHANCE = 150;    // a walking ghost turns at random once in this many ticks
constexpr int TURN_PROBE_DISTANCE = 30;    // from the centre: 10 pixels beyond the ghost's box
constexpr int POINTS_PER_KIND = 10;        // a kill is worth 10 x kind + 10
constexpr int KILL_TEXT_DX = 8;
constexpr int KILL_TEXT_DY = 22;
constexpr int FEAR_SOUND_CHANCE = 2000;    // one draw in this many picks a scare sound
constexpr int MUSIC_INTERVAL_TICKS = 800;


// The probe point of a ghost walking in a direction: the middle of its leading edge (just outside
// it to the right and below, on its first pixel row or column to the left and above).
void leadingEdge(const ghost& g, int direction, int& px, int& py)
{
    const GridStep step = directionStep(direction);
    px = g.x + HALF_ACTOR + step.column * HALF_ACTOR;
    py = g.y + HALF_ACTOR + step.row * HALF_ACTOR;
}

// Moves a ghost by its speed in its direction; a negative sign undoes the move.
void stepGhost(ghost& g, int sign)
{
    const GridStep step = directionStep(g.direction);
    g.x += sign * g.speed * step.column;
    g.y += sign * g.speed * step.row;
}
}  // namespace

void Game::updateGhosts()
{
    stepHunter();
    for (int i = 0; i < ghostCount; ++i)
        if (i != hunterIndex) walkGhost(i);
}

void Game::stepHunter()
{
    if (hunterIndex >= ghostCount) {
        // A valid roll starts the hunt on the next tick.
        hunterIndex = rollHunter();
        return;
    }
    ghost& h = ghosts[hunterIndex];
    h.kind = HUNTER_KIND;
    h.direction = DIRECTION_NONE;
    h.speed = 0;
    if (++hunterTime == 1) playSound(gameRandom() % 2 == 0 ? samples.seeSample1 : samples.seeSample2, 200);

    // Halve the way to the hero until the remaining step is short: 1 to 3 pixels a tick, through walls.
    int tx = heroActor.x;
    int ty = heroActor.y;
    int distance = 0;
    do {
        distance = pixelDistance(h.x, h.y, tx, ty);
        tx = (tx + h.x) / 2;
        ty = (ty + h.y) / 2;
    } while (distance > HOMING_STOP_DISTANCE);
    h.x = tx;
    h.y = ty;

    if (hunterTime == levelNumber * HUNT_TICKS_PER_LEVEL + HUNT_BASE_TICKS) {
        hunterTime = 0;
        int kind = gameRandom() % (levelNumber / HUNTER_KIND_LEVELS + 1);
        if (kind > HIGHEST_GHOST_KIND) kind = HIGHEST_GHOST_KIND;
        h.spawn(tx, ty, kind, 1);
        hunterIndex = rollHunter();
    }
}

void Game::walkGhost(int i)
{
    ghost& g = ghosts[i];
    g.turnRoll = gameRandom() % RANDOM_TURN_CHANCE;
    if (g.turnRoll == 0) g.direction = gameRandom() % DIRECTION_COUNT;
    if (g.direction < DIRECTION_RIGHT || g.direction > DIRECTION_UP) return;

    g.row = g.direction;
    stepGhost(g, 1);
    int px = 0, py = 0;
    leadingEdge(g, g.direction, px, py);
    // Only a free pixel lets the move stand; a wall, a block or the world's edge stops it.
    if (getpixel(bitmaps.ghostMap, px, py) == seeThrough()) return;
    stepGhost(g, -1);
    g.direction = chooseGhostDirection(i);
}

int Game::chooseGhostDirection(int i)
{
    ghost& g = ghosts[i];
    const int cx = g.x + HALF_ACTOR;
    const int cy = g.y + HALF_ACTOR;
    bool open[DIRECTION_COUNT] = {};
    bool anyOpen = false;
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        const GridStep step = directionStep(d);
        const int px = cx + step.column * TURN_PROBE_DISTANCE, py = cy + step.row * TURN_PROBE_DISTANCE;
        // Off the bitmap reads -1, which is not green: the open border lets a ghost try it.
        open[d] = d != g.direction && getpixel(bitmaps.ghostMap, px, py) != ghostMapGreen();
        anyOpen = anyOpen || open[d];
    }
    if (!anyOpen) {
        g.speed = 0;
        return DIRECTION_NONE;
    }
    int r = 0;
    do {
        r = gameRandom() % DIRECTION_COUNT;
    } while (!open[r]);
    return r;
}

int Game::rollHunter()
{
    // The draw's 15-bit range sets the hunt chance: below level 9 every ghost index has
    // the same small chance, and from level 9 on the low indices come up twice as often.
    const int n = static_cast<int>(HUNT_ROLL_SCALE / std::sqrt(levelNumber + 1.0));
    return gameRandom() % n;
}

void Game::killGhost(int i)
{
    ghost& g = ghosts[i];
    drawMessagePicture(bitmaps.spriteSheet, ghostSheetColumn(g.kind) * ACTOR_SIZE, 0, g.x, g.y, ACTOR_SIZE,
                       ACTOR_SIZE);
    // A bomb still ticking on the frozen board may kill, but the lost game's result is final.
    if (gameOver != 1) {
        const int points = POINTS_PER_KIND * g.kind + POINTS_PER_KIND;
        score += points;
        char text[16];
        std::snprintf(text, sizeof text, "+%d", points);
        writeMessage(text, g.x + KILL_TEXT_DX, g.y + KILL_TEXT_DY);
    }
    playSound(samples.ghostDeathSample, 255, 1200);
    g.kill();
}

void Game::playAmbientSounds()
{
    const int r = gameRandom() % FEAR_SOUND_CHANCE;
    if (r >= 1 && r <= FEAR_SOUND_COUNT) {
        // Two of the ten scares are quiet murmurs, one of them pitched up.
        const int volume = (r == 3 || r == 4) ? 50 : 255;
        const int frequency = r == 4 ? 1500 : SOUND_NORMAL_FREQUENCY;
        playSound(samples.fearSamples[r - 1], volume, frequency);
    }
    if (musicClock > MUSIC_INTERVAL_TICKS) {
        playSound(samples.musicSamples[gameRandom() % MUSIC_CLIP_COUNT], 50);
        musicClock = 0;
    }
    ++musicClock;
}
