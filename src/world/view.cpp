// The hero's step through the wall picture, the three-level scrolling view that follows him,
// and the wearing out of the shoes.
#include "shell/game.h"
#include "world/colours.h"
#include "world/view_geometry.h"

#include <allegro.h>

namespace {
// The free-movement box in the view: the hero walks inside it before the view scrolls.
constexpr int BOX_LEFT = 320;
constexpr int BOX_TOP = 160;
constexpr int BOX_WIDTH = 640;
constexpr int BOX_HEIGHT = 280;

constexpr int SLOWEST_SHOD_SPEED = HERO_START_SPEED + 1;

// The arrow key of each direction code; handled in this order, so the last key held sets the facing.

// The two points of the hero's leading edge that must be free for a step: a quarter of his side
// either way from its middle (just outside him to the right and below, on his own edge to the
// left and above).
constexpr int EDGE_PROBE_SPREAD = ACTOR_SIZE / 4;

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

bool isFree(BITMAP* walls, int x, int y) { return getpixel(walls, x, y) == seeThrough(); }
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
    mapMaxX = bitmaps.wallsBitmap->w - VIEW_WIDTH;  // the world's size, as every world-size layer has
    mapY = 0;
    mapMinY = 0;
    mapMaxY = bitmaps.wallsBitmap->h - VIEW_HEIGHT;
    // The hero starts left of and above the box, where the view cannot scroll further.
    nadX = HERO_START_X - BOX_LEFT;
    nadY = HERO_START_Y - BOX_TOP;
}

void Game::moveHero()
{
    BITMAP* walls = bitmaps.wallsBitmap;
    for (int direction = 0; direction < DIRECTION_COUNT; ++direction) {
        if (!controls.walk[direction]) continue;
        heroActor.direction = direction;
        heroActor.row = direction;
        const GridStep unit = directionStep(direction);
        // The edge's middle, and the spread along it.
        const int x = heroActor.x + HALF_ACTOR + unit.column * HALF_ACTOR;
        const int y = heroActor.y + HALF_ACTOR + unit.row * HALF_ACTOR;
        const int spreadX = unit.row * EDGE_PROBE_SPREAD, spreadY = unit.column * EDGE_PROBE_SPREAD;
        if (!isFree(walls, x - spreadX, y - spreadY) || !isFree(walls, x + spreadX, y + spreadY)) continue;
        const int step = heroActor.speed;
        heroActor.x += unit.column * step;
        heroActor.y += unit.row * step;
        ViewAxis axis = unit.column != 0 ? ViewAxis{ogrX, ogrMinX, ogrMaxX, mapX, mapMinX, mapMaxX, nadX}
                                         : ViewAxis{ogrY, ogrMinY, ogrMaxY, mapY, mapMinY, mapMaxY, nadY};
        if (unit.column + unit.row > 0)
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
