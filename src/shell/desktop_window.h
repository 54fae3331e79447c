// What the game tells the desktop about its window, beyond what the library tells it.
#pragma once

// Marks the game's window with the process that owns it (_NET_WM_PID), as desktop programs do,
// so that a window manager, a task list or a test finds the window of a given process. Does
// nothing without an X window.
void announceWindowOwner();
