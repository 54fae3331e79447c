// Every bitmap of the game, in three groups by lifetime: the front end (whole run),
// the game (one game) and the level (one level, sized by the maze).
#pragma once

#include <string>
#include <vector>

#include "world/view_geometry.h"

struct BITMAP;

constexpr int NAME_FIELD_WIDTH = 275;
constexpr int NAME_FIELD_HEIGHT = 38;
constexpr int DEBUG_PANEL_WIDTH = 240;
constexpr int DEBUG_PANEL_HEIGHT = 120;

class AssetBitmaps {
public:
    // Front-end group: made by the Game constructor, destroyed at shutdown.
    BITMAP* menuBuffer = nullptr;       // 1280 x 720 page of the menu, name entry and high scores
    BITMAP* posterPicture = nullptr;    // menu poster
    BITMAP* buttonsPicture = nullptr;   // four menu buttons, normal row over highlighted row
    BITMAP* heroPicture = nullptr;      // hero on the name-entry screen
    BITMAP* alphabetPicture = nullptr;  // glyph sheet of the big letters and digits
    BITMAP* playerPicture = nullptr;    // name-entry title
    BITMAP* ledPicture = nullptr;       // panel that carries the name field
    BITMAP* nameFieldBitmap = nullptr;  // 275 x 38 scratch for the typed name
    BITMAP* arrowPicture = nullptr;     // loaded with the front end, drawn by nobody

    // Level group: made at a game's start and at every new level, world size unless noted.
    // The view-size layers hold a world point where Game::layerOrigin says (world/layer_origin.h).
    // Two 1280 x 720 game frames, each with its band between the HUD strips as a bitmap of its own:
    // the world picture is drawn straight into a frame's band and the frame composed over it, so
    // it is never copied, while the other frame keeps the one last shown.
    BITMAP* firstFrame = nullptr;
    BITMAP* secondFrame = nullptr;
    BITMAP* firstBand = nullptr;        // view size, within firstFrame
    BITMAP* secondBand = nullptr;       // view size, within secondFrame
    // Which of them is which, never owned: backBuffer is the frame last composed, drawnFrame the
    // one being drawn (the same once it is composed), worldBitmap the drawn frame's band, the maze
    // picture drawn every frame, only where it is seen.
    BITMAP* backBuffer = nullptr;
    BITMAP* drawnFrame = nullptr;
    BITMAP* worldBitmap = nullptr;
    // While there is a screen, the frame is drawn into the screen's own picture instead, and shown
    // without a copy (shell/screen_mode.h): not owned, and remade whenever its rows moved; its
    // band is owned.
    BITMAP* screenFrame = nullptr;
    BITMAP* screenBand = nullptr;
    int screenFrameGeneration = 0;
    BITMAP* glowLayer = nullptr;        // view size: luminous things (coins, ghosts, explosions, the beam)
    BITMAP* beamLayer = nullptr;        // the beam alone, wherever it reaches; its hit test reads it back
    BITMAP* wallsBitmap = nullptr;      // wall tiles on magenta; the hero's collision picture
    BITMAP* ghostMap = nullptr;         // green blocked cells on magenta; ghosts' and blocks' collision picture
    BITMAP* shadeMask = nullptr;        // black over unreached floor
    BITMAP* shadeLayer = nullptr;       // shadeMask widened one cell each way: the fog
    BITMAP* messageLayer = nullptr;     // rising messages; cleared to magenta when made
    BITMAP* radarBitmap = nullptr;      // columns x 9 by rows x 9 mini-map

    // Game group: made when a game starts, destroyed when it ends.
    BITMAP* hudTop = nullptr;           // screen width x 40
    BITMAP* hudBottom = nullptr;        // screen width x 40
    BITMAP* debugPanel = nullptr;       // 240 x 120 F1 panel
    BITMAP* terrainPicture = nullptr;   // block tile 0 and wall tiles 1 to 25
    BITMAP* gameOverPicture = nullptr;
    BITMAP* spriteSheet = nullptr;      // ghosts, hero and hunter frames
    BITMAP* coin1Picture = nullptr;
    BITMAP* coin2Picture = nullptr;
    BITMAP* coin5Picture = nullptr;
    BITMAP* bombPicture = nullptr;      // five 40 x 40 fuse frames
    BITMAP* explosionPicture = nullptr; // five 120 x 120 frames
    BITMAP* deathPicture = nullptr;
    BITMAP* shieldPicture = nullptr;
    BITMAP* shoesPicture = nullptr;
    BITMAP* lifePicture = nullptr;
    BITMAP* framePicture = nullptr;     // behind the LEVEL UP text
    BITMAP* treasurePicture = nullptr;
    BITMAP* generatorPicture = nullptr;
    BITMAP* laserPicture = nullptr;     // seven beam frames, horizontal over vertical
    BITMAP* radarPicture = nullptr;

    void clearBitmapSlots();
    void loadFrontEndBitmaps();
    void loadGameBitmaps();
    void createLevelLayers(int rows, int columns);
    void destroyFrontEndBitmaps();
    void destroyLevelLayers();
    // The next frame is drawn into the screen's picture where there is one (of the given
    // generation), otherwise into the frame not shown: the one composed last stays whole, for the
    // pause to show, even when the frame drawn after it is never presented.
    void drawIntoFrameNotShown(BITMAP* onScreen = nullptr, int generation = 0);
    void composedDrawnFrame();  // the drawn frame is composed: it is now the one shown
    void destroyGameBitmaps();

    // True when every bitmap of the level group exists (a huge level may not fit in memory).
    bool levelLayersComplete() const;
    // True when every bitmap of the game group exists.
    bool gameBitmapsComplete() const;
};

// Every picture file the game reads, relative to the working directory.
const std::vector<std::string>& pictureFiles();
