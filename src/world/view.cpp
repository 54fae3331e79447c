// The hero's step through the wall picture, the three-level scrolling view that follows him,
// and the wearing out of the shoes.
#include "shell/game.h"

#include <allegro.h>

namespace {
// The free-movement box in the view: the hero walks inside it before the view scrolls.
constexpr int BOX_LEFT = 320;
constexpr int BOX_TOP = 160;
constexpr int BOX_WIDTH = 640;
constexpr int BOX_HEIGHT = 280;

// The view shows the world between the two HUD strips.
constexpr int VIEW_HEIGHT_MARGIN = 2 * HUD_HEIGHT;

constexpr int SHOES_STEPS = 4800;  // allowed steps before the shoes lose a speed point
constexpr int SLOWEST_SHOD_SPEED = HERO_START_SPEED + 1;

// An arrow key: the hero's facing, the two points of his leading edge that must be free,
// and the unit step.
struct ArrowKey {
    int key;
    int direction;
    int probe1X, probe1Y;
    int probe2X, probe2Y;
    int stepX, stepY;
};
// Handled in this order; the last key held sets the facing.
constexpr ArrowKey ARROW_KEYS[] = {
    {KEY_RIGHT, DIRECTION_RIGHT, ACTOR_SIZE, 10, ACTOR_SIZE, 30, 1, 0},
    {KEY_DOWN, DIRECTION_DOWN, 10, ACTOR_SIZE, 30, ACTOR_SIZE, 0, 1},
    {KEY_LEFT, DIRECTION_LEFT, 0, 10, 0, 30, -1, 0},
    {KEY_UP, DIRECTION_UP, 10, 0, 30, 0, 0, -1},
};

// One axis of the view: the hero's offset in the box, the scroll, and the overflow past the
// scroll limits.
struct ViewAxis {
    int& ogr;
    int ogrMin, ogrMax;
    int& map;
    int mapMin, mapMax;
    int& nad;
};

void scrollForward(ViewAxis axis, int step)
{
    if (axis.nad == 0) {
        if (axis.ogr + step <= axis.ogrMax) {
            axis.ogr += step;
            return;
        }
        axis.ogr = axis.ogrMax;
        if (axis.map + step <= axis.mapMax) {
            axis.map += step;
        } else {
            axis.map = axis.mapMax;
            axis.nad = axis.nad + step < 0 ? 0 : axis.nad + step;
        }
    } else if (axis.nad < 0) {
        // Back from the overflow at the other end; the rest of the step is dropped.
        axis.nad += step;
        if (axis.nad >= 0) axis.nad = 0;
    } else {
        axis.nad += step;
    }
}

void scrollBack(ViewAxis axis, int step)
{
    if (axis.nad == 0) {
        if (axis.ogr - step >= axis.ogrMin) {
            axis.ogr -= step;
            return;
        }
        axis.ogr = axis.ogrMin;
        if (axis.map - step >= axis.mapMin) {
            axis.map -= step;
        } else {
            axis.map = axis.mapMin;
            axis.nad = axis.nad - step > 0 ? 0 : axis.nad - step;
        }
    } else if (axis.nad > 0) {
        axis.nad -= step;
        if (axis.nad <= 0) axis.nad = 0;
    } else {
        axis.nad -= step;
    }
}

bool isFree(BITMAP* walls, int x, int y) { return getpixel(walls, x, y) == makecol(255, 0, 255); }
}  // namespace

void Game::resetView()
{
    ogrX = 0;
    ogrMinX = 0;
    ogrMaxX = BOX_WIDTH;
    ogrY = 0;
    ogrMinY = 0;
    ogrMaxY = BOX_HEIGHT;
    mapX = 0;
    mapMinX = 0;
    mapMaxX = bitmaps.wallsBitmap->w - bitmaps.backBuffer->w;  // the world's size, as every world-size layer has
    mapY = 0;
    mapMinY = 0;
    mapMaxY = bitmaps.wallsBitmap->h - bitmaps.backBuffer->h + VIEW_HEIGHT_MARGIN;
    // The hero starts left of and above the box, where the view cannot scroll further.
    nadX = HERO_START_X - BOX_LEFT;
    nadY = HERO_START_Y - BOX_TOP;
}

void Game::moveHero()
{
    BITMAP* walls = bitmaps.wallsBitmap;
    for (const ArrowKey& arrow : ARROW_KEYS) {
        if (!key[arrow.key]) continue;
        heroActor.direction = arrow.direction;
        heroActor.row = arrow.direction;
        const int x = heroActor.x;
        const int y = heroActor.y;
        const bool free = isFree(walls, x + arrow.probe1X, y + arrow.probe1Y) &&
                          isFree(walls, x + arrow.probe2X, y + arrow.probe2Y);
        if (!free) continue;
        const int step = heroActor.speed;
        heroActor.x += arrow.stepX * step;
        heroActor.y += arrow.stepY * step;
        ViewAxis axis = arrow.stepX != 0 ? ViewAxis{ogrX, ogrMinX, ogrMaxX, mapX, mapMinX, mapMaxX, nadX}
                                         : ViewAxis{ogrY, ogrMinY, ogrMaxY, mapY, mapMinY, mapMaxY, nadY};
        if (arrow.stepX + arrow.stepY > 0)
            scrollForward(axis, step);
        else
            scrollBack(axis, step);
        if (hasShoes) --shoesTime;
    }
    wearShoes();
}

void Game::wearShoes()
{
    if (shoesTime > 0 || !hasShoes) return;
    if (heroActor.speed > SLOWEST_SHOD_SPEED)
        shoesTime = SHOES_STEPS;
    else
        hasShoes = false;
    // A hero never walks slower than he started.
    if (heroActor.speed > HERO_START_SPEED) {
        --heroActor.speed;
        --baseSpeed;
    }
}
