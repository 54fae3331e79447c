// What the hero touches, once per frame: block pushing, the plasma beam, collecting coins,
// treasures, bomb pick-ups and power-ups, and ghost contact with and without the shield.
#include "shell/game.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>

#include "actors/kinds.h"
#include "shell/random.h"
#include "world/colours.h"

namespace {
constexpr int TREASURE_MIN_POINTS = 20;     // a treasure is worth 20 to 169
constexpr int TREASURE_POINT_RANGE = 150;
constexpr int BEAM_CHARGE_FRAMES = 20;
constexpr int SHIELD_CHARGE_CONTACTS = 600;
constexpr int BUZZ_EVERY_CONTACTS = 10;    // the buzz sounds once the clock has passed this
constexpr int HERO_SIDE_PROBE = 5;         // how far beyond the hero's side isPushing looks



}  // namespace

bool Game::heroReaches(const sprite& object, int reach) const
{
    return withinReach(heroActor.x, heroActor.y, object.x, object.y, reach);
}

void Game::pushBlocks()
{
    // The picture of this frame's start decides every push: walls and other blocks stop a block.
    changeObstaclesTogether([this] {
        for (int i = 0; i < blockCount; ++i)
            if (heroReaches(blocks[i], PUSH_REACH)) pushBlock(blocks[i]);
    });
}

void Game::pushBlock(sprite& b)
{
    // The block jumps a whole cell, if the middle of the cell beyond it is free.
    const GridStep step = directionStep(heroActor.direction);
    const int dx = step.column * CELL_SIZE, dy = step.row * CELL_SIZE;
    if (getpixel(bitmaps.ghostMap, b.x + HALF_ACTOR + dx, b.y + HALF_ACTOR + dy) == seeThrough()) {
        setObstacle(cellOf(b.x), cellOf(b.y), CELL_FLOOR);
        b.placeAt(b.x + dx, b.y + dy);
    }
    setObstacle(cellOf(b.x), cellOf(b.y), CELL_WALL);
    if (isPushing()) playSound(samples.pushSample, 50);
}

bool Game::isPushing()
{
    // An arrow held toward free floor just beyond the middle of the hero's side.
    const int reach = HALF_ACTOR + HERO_SIDE_PROBE;
    for (int direction = 0; direction < DIRECTION_COUNT; ++direction) {
        const GridStep step = directionStep(direction);
        const int px = heroActor.x + HALF_ACTOR + step.column * reach;
        const int py = heroActor.y + HALF_ACTOR + step.row * reach;
        if (controls.walk[direction] && getpixel(bitmaps.wallsBitmap, px, py) == seeThrough()) return true;
    }
    return false;
}

bool Game::beamFiring() const { return controls.beam && hasGenerator; }

void Game::fireBeam()
{
    if (!beamFiring()) return;
    // The beam was drawn into the glow layer earlier in this frame; a ghost whose diagonal
    // crosses a beam pixel is hit.
    for (int i = 0; i < ghostCount; ++i) {
        const ghost& g = ghosts[i];
        for (int j = 0; j < ACTOR_SIZE; ++j)
            if (getpixel(bitmaps.beamLayer, g.x + j, g.y + j) == beamHitColour()) {
                killGhost(i);
                break;
            }
    }
    if (--beamPower <= 0) hasGenerator = false;
}

void Game::collectPickups()
{
    collectDynamites();
    collectTreasures();
    collectPowerUps();
    for (const CoinKind& kind : COIN_KINDS)
        collectCoins(this->*kind.coins, this->*kind.count, kind.value, kind.text, kind.volume);
}

void Game::collectDynamites()
{
    // Tested once: two pick-ups in one frame can lift a stock of 14 to 16.
    if (bombCount >= BOMB_SLOTS) return;
    for (int i = 0; i < dynamiteCount; ++i) {
        sprite& d = dynamites[i];
        if (!heroReaches(d, COLLECT_REACH)) continue;
        writeMessage("ha, ha, zrobie tu porzadki!!!", d.x - 5, d.y - 10);
        playSound(samples.dynamiteSample, 255);
        ++bombCount;
        d.takeOffBoard();
    }
}

void Game::collectTreasures()
{
    for (int i = 0; i < treasureCount; ++i) {
        sprite& t = treasures[i];
        if (!heroReaches(t, COLLECT_REACH)) continue;
        playSound(samples.treasureSample, 255);
        const int points = gameRandom() % TREASURE_POINT_RANGE + TREASURE_MIN_POINTS;
        score += points;
        char text[16];
        std::snprintf(text, sizeof text, "%d", points);
        writeMessage("hura, mam skarb!!!", t.x - 5, t.y - 10);
        writeMessage("+", t.x - 10, t.y);
        writeMessage(text, t.x, t.y);
        t.takeOffBoard();
    }
}

void Game::collectPowerUps()
{
    // An item the level left out is neither seen nor taken. A charge is set anew, never added.
    for (const PowerUpKind& kind : POWER_UP_KINDS) {
        sprite& item = this->*kind.item;
        if (this->*kind.absent != 0 || !heroReaches(item, COLLECT_REACH)) continue;
        (this->*kind.take)();
        item.takeOffBoard();
    }
}

void Game::takeShield()
{
    writeMessage("tarcza ochronna!!!", shieldItem.x, shieldItem.y - 10);
    writeMessage("odstrasza duchy", shieldItem.x, shieldItem.y);
    playSound(samples.shieldSample, 255);
    shieldTime = SHIELD_CHARGE_CONTACTS;
    hasShield = true;
}

void Game::takeGenerator()
{
    writeMessage("generator wiazki plazmowej!!!", generatorItem.x, generatorItem.y);
    playSound(samples.generatorSample, 255);
    beamPower = BEAM_CHARGE_FRAMES;
    hasGenerator = true;
}

void Game::takeRadar()
{
    writeMessage("radar planszy!!!", radarItem.x, radarItem.y);
    playSound(samples.radarSample, 255);
    hasRadar = true;
}

void Game::takeLife()
{
    writeMessage("mam nowe zycie!!!", lifeItem.x - 5, lifeItem.y - 10);
    playSound(samples.lifeSample, 255);
    ++lives;
}

void Game::takeShoes()
{
    writeMessage("mam wreszcie lepsze buty!!!", shoesItem.x, shoesItem.y);
    playSound(samples.shoesSample, 255);
    shoesTime = SHOES_STEPS;
    hasShoes = true;
    // A second pair adds its speed point to the first.
    ++heroActor.speed;
    ++baseSpeed;
}

void Game::collectCoins(sprite* coins, int count, int value, const char* text, int volume)
{
    for (int i = 0; i < count; ++i) {
        sprite& c = coins[i];
        if (!heroReaches(c, COLLECT_REACH)) continue;
        writeMessage(text, c.x, c.y);
        playSound(samples.coinSample, volume);
        c.takeOffBoard();
        score += value;
        --coinsLeft;
    }
}

int Game::coinTotal() const
{
    int total = 0;
    for (const CoinKind& kind : COIN_KINDS) total += this->*kind.count;
    return total;
}

bool Game::checkGhostContact()
{
    if (hasShield) return shieldGhosts();
    for (int i = 0; i < ghostCount; ++i)
        if (heroReaches(ghosts[i], GHOST_CATCH_REACH)) {
            --lives;
            heroHit = true;
            playSound(samples.screamSample3, 150);
            return true;
        }
    return false;
}

bool Game::shieldGhosts()
{
    for (int i = 0; i < ghostCount; ++i) {
        ghost& g = ghosts[i];
        if (!heroReaches(g, SHIELD_REACH)) continue;
        if (shieldBuzzClock > BUZZ_EVERY_CONTACTS) {
            playSound(samples.buzzSample, 150);
            shieldBuzzClock = 0;
        }
        ++shieldBuzzClock;
        // A new heading turns the ghost away on its next tick; the hunter ignores it.
        g.direction = gameRandom() % DIRECTION_COUNT;
        // Every contact drains the charge, also those after it has run out in this pass.
        if (--shieldTime == 0) hasShield = false;
    }
    // With the shield a ghost never costs a life.
    return false;
}
