// The kinds of coin and of power-up, each written once: the loops that make, place, draw, blast
// and collect them read these tables. The order of each table is the order of placement, and so
// of the random draws.
#pragma once

#include "shell/game.h"

struct CoinKind {
    sprite* Game::*coins;  // the level's coins of this kind
    std::int32_t Game::*count;
    BITMAP* AssetBitmaps::*picture;  // the turning coin
    int value;                       // points
    const char* text;                // the message a collected coin leaves
    int volume;                      // of the coin sound
};

inline constexpr CoinKind COIN_KINDS[] = {
    {&Game::coins1, &Game::coin1Count, &AssetBitmaps::coin1Picture, 1, "+1", 180},
    {&Game::coins2, &Game::coin2Count, &AssetBitmaps::coin2Picture, 2, "+2", 220},
    {&Game::coins5, &Game::coin5Count, &AssetBitmaps::coin5Picture, 5, "+5", 255},
};

struct PowerUpKind {
    sprite Game::*item;
    std::int32_t Game::*absent;  // non-zero: this level left the item out
    BITMAP* AssetBitmaps::*picture;
    void (Game::*take)();   // what the hero gets when he collects it
    bool placedAfterFinds;  // placed after the bomb pick-ups and treasures
};

inline constexpr PowerUpKind POWER_UP_KINDS[] = {
    {&Game::shieldItem, &Game::shieldAbsent, &AssetBitmaps::shieldPicture, &Game::takeShield, false},
    {&Game::generatorItem, &Game::generatorAbsent, &AssetBitmaps::generatorPicture, &Game::takeGenerator, false},
    {&Game::radarItem, &Game::radarAbsent, &AssetBitmaps::radarPicture, &Game::takeRadar, false},
    {&Game::lifeItem, &Game::lifeAbsent, &AssetBitmaps::lifePicture, &Game::takeLife, false},
    {&Game::shoesItem, &Game::shoesAbsent, &AssetBitmaps::shoesPicture, &Game::takeShoes, true},
};
