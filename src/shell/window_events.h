// What the window system and the keyboard tell the loops from the library's own threads: the
// window's close button, the loss of the keyboard focus, and taps of the toggle keys (P pauses,
// M mutes). Each callback only sets a flag or counts; the loops on the main thread read them.
#pragma once

#include <atomic>

// The close button was pressed: every loop ends, a game as Escape ends it. Never cleared.
extern std::atomic<bool> closeRequested;

// The callbacks the library calls.
void onCloseButton();
void onFocusLost();
// Every key event, as scan code (release: plus 0x80). Counts presses of the toggle keys, so that
// a tap shorter than a loop's poll still counts, and a held key counts once.
void onKeyEvent(int scancode);

// Registers the callbacks with the library; the window must be open.
void watchWindowEvents();

// Takes one press of KEY_P or KEY_M noted since the last take; false when there is none.
bool takeKeyTap(int scancode);
// Takes the news that the window lost the keyboard focus since the last look.
bool takeFocusLoss();
// Forgets the taps and the focus loss of a screen that does not use them (M typed into a name).
void forgetWindowEvents();
