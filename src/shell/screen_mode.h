// The screen the game presents to: a window at the largest whole factor the desktop has room
// for, or the whole screen where the desktop grants it; the one way a finished picture reaches
// it; and a short notice to the player over the picture.
#pragma once

#include <chrono>

#include "frontend/frame_scaling.h"

constexpr int NOTICE_MS = 4000;  // how long a notice stays over the picture
constexpr const char* FULL_SCREEN_REFUSED = "This desktop did not grant full screen: the game stays in its window";

class ScreenMode {
public:
    FramePlacement placement;       // where the 1280 x 720 picture lands on the screen now
    int windowFactor = 1;           // the window's whole factor, from the desktop's size at start-up
    bool fullScreen = false;        // the desktop granted full screen, and the screen fills it
    BITMAP* lastPicture = nullptr;  // the last whole picture presented, shown again when the screen changes
    BITMAP* notice = nullptr;       // words over the picture until noticeEnd; none most of the time
    std::chrono::steady_clock::time_point noticeEnd;
    // The 1280 x 720 picture a game draws its frames into while there is a screen: at a scale of
    // one on a linear 32-bit screen its rows are the screen's own memory (onScreen), so a frame
    // drawn there is shown without a copy; elsewhere they are memory of its own. It keeps its
    // pixels as the screen changes; each change of where its rows lie counts one generation.
    // Without a screen it is null, unless a benchmark puts a picture of its own here for the
    // game to draw its frames into, as it would on a screen at a scale of one.
    BITMAP* picture = nullptr;
    bool onScreen = false;
    int generation = 0;
    // Pictures put on the screen while the picture's rows are the screen's: each may have drawn
    // over the frame in it.
    int writes = 0;
};
extern ScreenMode screenMode;

// Start-up: the window 1280k x 720k for the largest k the desktop has room for (1 when the
// desktop's size is unknown or that window cannot be opened). False when no window opens.
bool openGameWindow();
// Full screen on or off. True when the screen is now as asked; where the desktop refuses, the
// game stays in its window and a notice says so.
bool setFullScreen(bool on);
// A notice over the picture for NOTICE_MS, from the next picture presented on.
void showNotice(const char* text);
// Before the pictures are destroyed at shutdown.
void forgetScreenPictures();
// The picture above, made on the first call where there is a screen.
BITMAP* screenPicture();
// At shutdown, once nothing draws into the screen picture any more.
void releaseScreenPicture();

// The one way a finished picture reaches the screen, copied or scaled: the whole 1280 x 720
// picture, or a part of it standing at (x, y) of the picture. Nothing without a screen.
void presentPicture(BITMAP* picture, int x = 0, int y = 0);
// The mouse pointer over the screen, for the screens that are played with it.
void showPointer();
// The whole screen black, the margins round the picture too.
void clearScreen();
// Where the mouse points on the 1280 x 720 picture (outside it over the black margins).
FramePoint mouseOnPicture();
// A point of the screen, as the mouse reports it, on the picture.
FramePoint screenPointOnPicture(int x, int y);
