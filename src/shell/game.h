// The one object that holds the whole game: assets, front-end state, grids, actors and
// every counter of play. Each group of operations is defined in the file named above it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "actors/actors.h"
#include "assets/asset_bitmaps.h"
#include "assets/asset_samples.h"
#include "frontend/front_end.h"
#include "frontend/message_ring.h"
#include "shell/controls.h"
#include "shell/recording.h"
#include "shell/settings.h"
#include "world/band_changes.h"
#include "world/grid_layer.h"
#include "world/layer_origin.h"
#include "world/pixel_loops.h"

// What the main menu chose; the menu loop runs it.
constexpr int MENU_NONE = 0;
constexpr int MENU_PLAY = 1;
constexpr int MENU_PLAYER_NAME = 2;
constexpr int MENU_HIGH_SCORES = 3;
constexpr int MENU_QUIT = 4;

// Someone outside the game who watches the game loop, such as a test program measuring the pace.
// The game calls it and never depends on what it does.
class Game;
class GameObserver {
public:
    virtual ~GameObserver() = default;
    // A game has been set up at its first level and is about to play; the observer may change it.
    virtual void gameStarted(Game&) {}
    // A pass of the game loop has done its work and is about to wait for `deadline`, when it is due to end.
    virtual void passWorked(std::chrono::steady_clock::time_point deadline) = 0;
    // The pass's wait is over.
    virtual void passPaced() = 0;
    // A game has ended and its result is recorded.
    virtual void gameEnded() = 0;
};

class Game {
public:
    GameObserver* observer = nullptr;  // told of every paced pass and ended game; none in the shipped game
    std::int32_t menuChoice = MENU_NONE;  // the menu's last choice; 0 after the name entry or high scores
    Settings settings;  // sound, keys and gamepad buttons, read at start-up

    // The controls as the current pass of the game loop sees them, read once at its start.
    Controls controls;
    PadState padBefore;  // the gamepad as the last look saw it, so a press counts once
    PadPresses padPresses;  // pad presses a screen has not yet taken
    bool padHeldOver[PAD_BUTTON_COUNT] = {};  // held when the screen opened, and not let go since

    // The menu's keyboard highlight: the button Enter chooses, 0 (START GAME) when the menu opens.
    std::int32_t menuHighlight = 0;
    std::int32_t menuMouseX = 0;  // where the mouse was at the menu's last look, so that only
    std::int32_t menuMouseY = 0;  // moving it moves the highlight

    AssetBitmaps bitmaps;  // every bitmap, by lifetime group
    AssetSamples samples;  // every sound, for the whole run
    FrontEnd frontEnd;     // menu geometry, file stream, high-score table, player name

    // The maze grids, all rows x columns cells while a game runs (spareGrid is never allocated).
    GridLayer placementGrid;  // walls plus every cell taken at the level build
    GridLayer obstacleGrid;   // walls plus one cell per pushable block
    GridLayer wallGrid;       // the maze: 1 wall, 0 floor
    GridLayer reachGrid;      // walls, with floor reachable from the hero at 2
    GridLayer spareGrid;

    // Actors. Arrays are made per level by createLevelObjects and freed by freeActorArrays.
    sprite* blocks = nullptr;   // blockCount pushable blocks
    sprite* coins1 = nullptr;   // coin1Count coins worth 1
    sprite* coins2 = nullptr;   // coin2Count coins worth 2
    sprite* coins5 = nullptr;   // coin5Count coins worth 5
    sprite shieldItem;
    sprite lifeItem;
    sprite* dynamites = nullptr;  // dynamiteCount bomb pick-ups
    sprite shoesItem;
    sprite* treasures = nullptr;  // treasureCount treasures
    sprite generatorItem;
    sprite radarItem;
    hero heroActor;
    ghost* ghosts = nullptr;  // ghostCount ghosts
    bomb* bombs = nullptr;    // BOMB_SLOTS bomb slots

    // Level and score. Reset by setUpLevel's cases and endGame.
    std::int32_t levelNumber = 0;  // current level; 0 when no game is built
    std::int32_t builtLevel = 0;   // level the maze, level bitmaps, grids and arrays were made for
    std::int32_t score = 0;        // points
    std::int32_t lives = 0;        // lives left
    std::int32_t gameOver = 0;     // 1 once the last life is lost
    std::int32_t rows = 0;         // maze height, cells: levelNumber + 15
    std::int32_t columns = 0;      // maze width, cells: levelNumber + 31
    std::int32_t baseSpeed = 0;    // hero speed handed out at each maze build, pixels per step

    // Object counts of the level, set by createLevelObjects.
    std::int32_t blockCount = 0;
    std::int32_t coin1Count = 0;
    std::int32_t coin2Count = 0;
    std::int32_t coin5Count = 0;
    std::int32_t coinsLeft = 0;   // coins not yet collected; 0 ends the maze
    std::int32_t ghostCount = 0;
    std::int32_t bombCount = 0;   // bombs the hero holds

    // Ghosts and placement, reset by every level set-up.
    std::int32_t hunterIndex = 0;       // the hunting ghost; ghostCount or more means none
    std::int32_t ghostSpeedFactor = 0;  // multiplier of the ghost speed at spawning
    std::int32_t placeX = 0;            // world pixels of the cell the last placement chose
    std::int32_t placeY = 0;

    // Clocks, reset by every level set-up.
    std::int32_t coinClock = 0;     // coin animation, ticks, 0 to 47
    std::int32_t walkClock = 0;     // walking animation, ticks, 0 to 40
    std::int32_t bombCooldown = 0;  // frames since the last bomb was laid
    std::int32_t radarSweep = 0;    // radius of the radar's sweep ring, pixels, 0 to 240

    // The level's background colour, chosen at each maze build.
    std::int32_t backgroundRed = 0;
    std::int32_t backgroundGreen = 0;
    std::int32_t backgroundBlue = 0;

    std::int32_t beamFrame = 0;  // beam animation, frames, 1 to 24 once fired

    // Items of this maze (non-zero: absent) and power-up charges.
    std::int32_t shieldAbsent = 0;
    std::int32_t lifeAbsent = 0;
    std::int32_t radarAbsent = 0;
    std::int32_t dynamiteCount = 0;    // bomb pick-ups on the maze
    std::int32_t treasureCount = 0;
    std::int32_t shieldTime = 0;       // shield charge, ghost contacts left
    std::int32_t shoesAbsent = 0;
    std::int32_t shoesTime = 0;        // hero steps left before the shoes lose a speed point
    std::int32_t generatorAbsent = 0;
    std::int32_t beamPower = 0;        // beam charge, frames of firing left
    std::int32_t musicClock = 0;       // ticks since the last music clip
    std::int32_t hunterTime = 0;       // ticks of the current hunt
    std::int32_t shieldBuzzClock = 0;  // shield contacts since the last buzz; never reset

    bool heroHit = false;       // the hero lost a life this frame; cleared by every level set-up
    bool hasShield = false;
    bool hasShoes = false;
    bool hasGenerator = false;
    bool hasRadar = false;

    // The scrolling view, set by resetView at every maze build (world pixels).
    std::int32_t ogrX = 0;     // the hero's place in the free-movement box, and its bounds
    std::int32_t ogrMinX = 0;
    std::int32_t ogrMaxX = 0;
    std::int32_t ogrY = 0;
    std::int32_t ogrMinY = 0;
    std::int32_t ogrMaxY = 0;
    std::int32_t mapX = 0;     // top-left corner of the view in the world, and its bounds
    std::int32_t mapMinX = 0;
    std::int32_t mapMaxX = 0;
    std::int32_t mapY = 0;
    std::int32_t mapMinY = 0;
    std::int32_t mapMaxY = 0;
    std::int32_t nadX = 0;     // how far the hero has gone past the scroll limits
    std::int32_t nadY = 0;

    // Set when a level's bitmaps or grids could not be made: the one way a build step reports its
    // failure, checked after it by every caller. The game then ends as Escape would.
    bool levelBuildFailed = false;
    // Set once a new game's first board is built, cleared when the game ends: a game whose start
    // failed was never played, and its end records nothing.
    bool gameStarted = false;

    // P (or the window losing the keyboard focus) pauses a game, P resumes it. While paused the
    // logic clock is stopped and no frame is drawn: the last one stands under "PAUSE".
    bool paused = false;
    bool pauseStoppedClock = false;  // the pause removed the tick routine, and resuming installs it

    // Every game is recorded as it is played; a recording can drive the loop in the player's place.
    Recording recording;                  // this game so far: passes that ran the rules; saved at its end
    const Recording* playback = nullptr;  // the recording being played back, if any
    std::size_t playbackPass = 0;         // the next of its passes to run
    // Played back without a display: no frame is composed, as nobody sees it and no rule reads it.
    bool framesUnseen = false;
    std::int32_t endScore = 0;            // the last game's result, played or played back, kept by endGame
    std::int32_t endLevel = 0;
    // The high-score screen: which rows have a recording to watch, and the one the keys stand on.
    bool rowRecorded[HIGH_SCORE_ROWS] = {};
    std::int32_t scoreHighlight = -1;  // -1: no row can be watched

    // Bounded drawing: a frame redraws only the view, and the layers kept from frame to frame are
    // painted only where their grids changed. These say what the layers hold; a new level's
    // layers forget them all (forgetPaintedLayers).
    LayerOrigin layerOrigin;     // the world point at the view-size layers' top-left pixel
    DrawnBlocks glowDrawn;       // where the glow may hold something: laid there, wiped there
    DiscPicture darkness;        // the darkness about the hero, made row by row as it is laid
    std::vector<Box> underWallBoxes;   // the block shadows and ghost lights of the frame being
    std::vector<Disc> underWallDiscs;  // drawn, under the walls
    WallRows wallRows;                 // the walls in view, as runs of cells; the maze's tile, set as it is built
    BackgroundFill backgroundFill;     // the frame's background, made when it is wanted
    DrawnBlocks worldFilled;           // where the world picture holds it already
    bool backgroundPending = false;    // the rest is still to be made
    // The band is composed only where it may differ from what the picture drawn into holds:
    // the last frame, or the frame before it where the frames take turns in two pictures.
    BandScene keptBand;                // what the last frame's band was made of
    DrawnBlocks bandDrawn;             // this frame's pictures over the band
    DrawnBlocks bandChanged;           // where this frame's band may differ from the last's
    DrawnBlocks bandChangedBefore;     // and where the last's from the one before it
    DrawnBlocks bandUnderWalls;        // where what lies under the walls changed
    DrawnBlocks bandRedrawn;           // what this frame composes
    BITMAP* keptFrames[2] = {};        // the pictures the last two frames were composed in, the last first
    // The strips each of those holds, as counted by stripDrawings; the strips are copied into a
    // frame only where it does not hold them as they are.
    int keptStrips[2] = {};
    int stripDrawings = 0;             // times the strips were drawn anew
    bool stripsToCopy = false;         // this frame's picture lacks the strips as they are
    // The blocks as this frame draws them. Nothing in the world picture lies over a block, so
    // each is drawn as the band is made, and only where the band is made again.
    std::vector<PictureCopy> blockPictures;
    std::vector<PictureCopy> glowPictures;  // what this frame copied onto the glow, in turn
    PaintedCopy paintedReach;    // reachGrid as the fog was last painted
    MessageRing messages;        // how far the message layer has turned, and which rows hold messages
    // What the two strips show; they are drawn again only when it changes.
    struct HudValues {
        const BITMAP* top = nullptr;
        const BITMAP* bottom = nullptr;
        char name[sizeof FrontEnd::playerName] = {};
        int score = 0, target = 0, level = 0, lives = 0, bombs = 0, power = 0, shoes = 0, speed = 0, shield = 0;
        bool generator = false, shod = false, shielded = false, radar = false;
        bool operator==(const HudValues& other) const;
    };
    HudValues hudShown;  // what they show now
    CellBox obstacleChanges;     // obstacle cells not yet painted into ghostMap, while
    std::int32_t obstacleChangeDepth = 0;  // changeObstaclesTogether runs
    std::int32_t beamFirstColumn = 0;  // the beam still in beamLayer: its first cell, its step and
    std::int32_t beamFirstRow = 0;     // its length in cells (0: none); set by drawBeam, cleared
    std::int32_t beamStepColumn = 0;   // by eraseLastBeam at the next frame
    std::int32_t beamStepRow = 0;
    std::int32_t beamCellCount = 0;

    // shell/game.cpp: life cycle and loops
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    void resetGameFlags();
    void releaseGrids();
    void freeActorArrays();
    void endGame();
    void runMenuLoop();
    void playOneGame();
    bool runGamePass();  // one pass of the game loop; false once Escape, the close button or a failed build ends it
    bool updatePause();  // takes P and the focus loss; true while the game is paused
    void pauseGame();
    void resumeGame();
    void updateTick();
    void drawFrame();
    bool applyRules();
    std::uint32_t runPassTicks();  // the pass's logic ticks, from the clock or the recording; how many ran

    // shell/controls.cpp
    void readControls();  // the pass's one look at the keyboard and the gamepad
    void startScreenInput();    // a screen opens: presses meant for the one before are forgotten
    bool screenLeavePressed();  // a tap of Escape, a right click or the pad's leave button
    void notePadPresses();      // looks at the pad and notes what was pressed since the last look
    void restNotingPad(int milliseconds);  // a screen's wait between its polls

    // shell/replays.cpp: recording every game, keeping the recordings, playing one back
    void startRecording();
    void notePass(std::uint32_t ticks);  // a pass that ran the rules, recorded or played
    void takeRecordedControls();         // in playback, the recorded pass's controls replace the player's
    bool playbackOver() const;
    void saveRecording();                // the last game, and the recording of its row of the table
    void pruneRecordings();              // recordings whose row has left the table are deleted
    std::string recordingOfRow(int row) const;  // the file of a table row's recording, or ""
    void playRecording(const Recording& played, bool inWindow);  // endScore and endLevel say how it ended
    void holdLastFrame();                // the end of a watched recording stays a moment

    // shell/settings.cpp
    void switchSound();  // the sound key: sound off or on, and kept so for the next start
    void switchFullScreen();  // the full-screen key: full screen or a window, kept so where granted
    void takeFullScreenKey();  // every screen's poll: a tap of the full-screen key switches

    // assets/assets.cpp
    void releaseAssets();

    // shell/level_setup.cpp
    void setUpLevel();
    void resetCounters();
    void resetPowerUps();
    void markDeath();
    void freezeBoard();
    void resetLevelClocks();
    void startNewGame();
    void startNewLevel();
    void refillMaze();
    void createLevelPictures();
    void failLevelBuild(const char* why);  // tells why on standard error and ends the game
    std::string unloadedPictures() const;  // the pictures that cannot be loaded now, each with its fault

    // shell/level_end.cpp
    int levelTarget() const;  // the score the level rises above
    void checkLevelUp();
    bool checkLevelEnd();

    // world/maze.cpp
    void chooseGridSize();
    void allocateGrids();
    void chooseBackground();
    void rollItems();
    void createLevelObjects();
    void buildLevel();
    void buildMaze();
    void updateReach(int x, int y);
    void paintFog();  // shadeMask and shadeLayer, where the reach changed since they were painted
    // The world pixels left to right that fog may cover in the band of cell row `row`, seen from
    // the columns given; false when the band is clear of fog there.
    void markFogSquares(FogSquares& squares) const;  // the fog's squares over the view, as the reach says
    void placeObject();
    void placeDynamites();
    void placeGhosts();
    void takePlacementCell(int column, int row);
    void placeOnFreeCell(sprite& object);
    void placeItem(sprite& item, int absent);
    void placePowerUps(bool afterFinds);  // those placed before the bomb pick-ups and treasures, or after
    void placeReachableObject();
    void placeGhostSpawn();
    void placeBlocks();
    void placeCoins(sprite* coins, int count);

    // world/obstacles.cpp: the one writer of obstacleGrid cells; ghostMap follows every change
    void setObstacle(int column, int row, std::int32_t value);  // cells outside the grid are left alone
    // The obstacle changes `change` makes are painted together as it ends, so every step of it
    // reads ghostMap as the rule found it.
    template <typename Change>
    void changeObstaclesTogether(Change change)
    {
        ++obstacleChangeDepth;
        change();
        if (--obstacleChangeDepth == 0) repaintObstacleChanges();
    }
    void repaintObstacleChanges();
    void paintGhostMap();  // whole, for a new maze

    // world/view.cpp
    void resetView();
    void moveHero();
    void wearShoes();

    // world/world_drawing.cpp
    void prepareLightLayers();
    // The background is made as the lights are laid over it, a row at a time; where something
    // is drawn over it first, that part is made then (openWorld). It shows the walls as they
    // stood when the frame began (wallRows). finishBackground makes the rest at once.
    void drawBackground();
    void openWorld(int x, int y, int width, int height);  // in the world picture's pixels
    void finishBackground();
    void gatherGhostLights();  // under the walls, as discs
    void reserveUnderWalls();  // room for a shape under the walls per block and ghost light, made
                               // with the level, so a frame does not allocate
    void gatherWallRows();  // the wall grid's runs of cells over the view
    void drawGlow(BITMAP* picture, int sourceX, int sourceY, int x, int y, int width, int height);
    void drawBeam();
    void drawBeamSegment(int x, int y, int sourceY);
    void drawRadar();
    void forgetPaintedLayers();  // fresh level layers: what the old ones held is forgotten

    // world/band_changes.cpp
    // The blocks of the band this frame composes, with the fog and the darkness's alpha it lays;
    // then what the band was made of kept for the next; or nothing kept, when something other
    // than a frame was drawn where frames are.
    DrawnBlocks* bandToRedraw(const FogSquares& fog, int darknessAlpha);
    void keepBand(const FogSquares& fog, int darknessAlpha);
    void forgetKeptBand();
    void followView();           // the view-size layers take the view's corner as their origin
    void eraseLastBeam();        // no beam pixel of an earlier frame may survive anywhere
    void startFrame();           // a frame's upkeep before it draws: the frame to draw into chosen, the last beam wiped, the view followed

    // actors/ghosts.cpp
    void updateGhosts();
    int chooseGhostDirection(int i);
    int rollHunter();
    void killGhost(int i);
    void playAmbientSounds();
    void stepHunter();      // the hunt's start, homing flight and end
    void walkGhost(int i);  // one ghost's straight walk with its turns

    // actors/bombs.cpp
    void updateBombs();
    static int bombFrame(int fuse);
    // Where a bomb's explosion frame of this fuse is copied from and to, in world pixels; false
    // while the bomb shows none.
    static bool explosionCell(const bomb& b, PictureCell& cell);
    void blastItems();
    void blastGhosts();
    bool blastHero();
    void layBomb();
    void tickBomb(bomb& b);  // one frame of a laid bomb's fuse
    void blastWalls(const bomb& b);  // the wall blast, with the fog it lifts
    void takeBlockOffBoard(sprite& block);
    void keepBlocksSolid();  // after a wall blast, blocks it did not destroy stay obstacles

    // actors/pickups.cpp
    void pushBlocks();
    void pushBlock(sprite& block);  // one block in the hero's reach
    bool isPushing();
    void fireBeam();
    bool beamFiring() const;  // the beam key held with the generator in hand
    void collectPickups();
    bool checkGhostContact();
    bool heroReaches(const sprite& object, int reach) const;
    void collectDynamites();
    void collectTreasures();
    void collectPowerUps();
    void takeShield();  // what each power-up gives, once collected
    void takeGenerator();
    void takeRadar();
    void takeLife();
    void takeShoes();
    void collectCoins(sprite* coins, int count, int value, const char* text, int volume);
    int coinTotal() const;  // the level's coins of every kind
    bool shieldGhosts();

    // frontend/message_ring.cpp: every message goes onto the ring through these, by world position
    void writeMessage(const char* text, int x, int y);
    void drawMessagePicture(BITMAP* picture, int sourceX, int sourceY, int x, int y, int width, int height);
    void drawMessageGlyphs(int x, int y, int glyphRow, const char* text);

    // actors/actor_drawing.cpp
    void advanceClocks();
    void drawWalls();
    void drawHero();
    void drawItems();
    void drawBlocks();
    void drawGhosts();
    void drawGlowCell(BITMAP* picture, int column, int row, const sprite& s);
    void drawWorldCell(BITMAP* picture, int column, int row, const sprite& s);
    // Those over the marked blocks of the band (null: all), each whole, its blocks marked too.
    void drawBlockPictures(DrawnBlocks* only);

    // frontend/menu.cpp
    void runMenu();
    void drawMenuPage();
    bool menuPass();        // one poll of the menu; true once a button is chosen
    int menuKeyChoice();    // the keys and the pad move the highlight; the button they choose, or -1
    void drawMenuButtons();  // every button, the highlighted one lit and framed
    void chooseMenuButton(int k);
    void showMenuPage();    // copies menuBuffer whole to the screen

    // frontend/name_entry.cpp
    void runNameEntry();
    void showNameField();
    void drawNameEntryPage();
    void drawLoadedName();
    NameEntryPass nameEntryPass();  // one poll of the name entry

    // frontend/high_scores.cpp
    void runHighScores();
    void drawHighScoreFrame();
    void drawHighScoreTitle();
    void drawHighScoreRows();
    void showHighScores();  // the whole screen, drawn and shown
    bool highScoresPass();  // one poll of the high-score screen; true once it closes
    int chosenHighScoreRow(int step, bool padChose);  // the row chosen to watch, or -1; `step` moves the highlight
    void watchHighScoreRow(int row);

    // frontend/presentation.cpp
    void presentFrame();
    void composeFrame();
    void drawHud();
    // The same three onto a bitmap that stands in for the screen (null: nothing is copied out).
    void presentFrameTo(BITMAP* target);
    void composeFrameTo(BITMAP* target);
    void drawHudTo(BITMAP* target);
    void showPauseTo(BITMAP* target);  // "PAUSE" over the last frame composed (null: not copied out)
    HudValues hudValues() const;  // as the strips would show them now
    void layViewLights();       // the band's background made, and the glow, darkness and fog laid over it
    void markOverlays(DrawnBlocks& drawn) const;  // where the messages and the radar lie over the band
    bool messagesReachStrips(const BITMAP* frame) const;  // whether the messages lie over its strips' rows
    void finishUnshownFrame();  // a frame drawn into the screen's picture but not presented, finished there
    void drawTopStrip();
    void drawBottomStrip();
    void drawDebugPanel();
};
