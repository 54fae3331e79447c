// What the game tells the desktop about its window, beyond what the library tells it, and what
// it asks of it: the desktop's size, full screen, and showing what the game wrote straight
// into the screen's memory.
#pragma once

// Marks the game's window with the process that owns it (_NET_WM_PID), as desktop programs do,
// so that a window manager, a task list or a test finds the window of a given process. Does
// nothing without an X window.
void announceWindowOwner();

// The room the desktop gives windows: its work area (the screen less panels) where the window
// manager publishes one, otherwise the whole screen. False without an X display.
bool desktopArea(int& width, int& height);

// Asks the window manager to make the game's window full screen, or a window again, the EWMH
// way, and waits up to FULL_SCREEN_WAIT_MS for it to say so. True once granted, with the size the
// window then has; false at once where no window manager that follows EWMH runs.
constexpr int FULL_SCREEN_WAIT_MS = 1500;
bool askFullScreen(bool on, int& width, int& height);

// The screen's pixels in this area were written straight into its memory: the window shows them.
void showScreenArea(int x, int y, int width, int height);
