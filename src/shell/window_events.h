// What the window system, the keyboard and the mouse tell the loops from the library's own
// threads: the window's close button, the loss of the keyboard focus, every key press and click,
// counted so that no tap is shorter than a loop's poll; and the system's request to end (a
// logout, kill, Ctrl+C in a terminal). Each callback only sets a flag or counts; the loops on
// the main thread read them.
#pragma once

#include <atomic>
#include <initializer_list>

// The close button was pressed, or the system asked the program to end: every loop ends, a game
// as Escape ends it. Never cleared.
extern std::atomic<bool> closeRequested;

// The callbacks the library calls.
void onCloseButton();
void onFocusLost();
// Every key event, as scan code (release: plus 0x80). Counts presses, so that a tap shorter
// than a loop's poll still counts, and a held key counts once.
void onKeyEvent(int scancode);
// Every mouse event (the library's MOUSE_FLAG_ bits): counts presses of the left button alone,
// with where they were, and of the right button alone.
void onMouseEvent(int flags);
// Registers onMouseEvent; the mouse driver must be installed.
void watchClicks();

// Registers the callbacks with the library, and watchEndSignals; the window must be open.
void watchWindowEvents();
// SIGTERM, SIGINT and SIGHUP ask for the end as the close button does. They replace the
// library's own handlers, which shut the library down inside the signal and can hang there for
// good; so this comes after the library has started, and lets through the signals that
// holdEndSignals kept back meanwhile. A signal that was ignored when the program started
// (nohup, a background job's Ctrl+C) stays ignored.
void watchEndSignals();
// Keeps SIGTERM, SIGINT and SIGHUP waiting while the library starts: arriving in the middle of its
// start-up, its own handler would shut down a half-made library and crash. Threads started
// meanwhile inherit the hold, so each such signal reaches the main thread's handler later.
void holdEndSignals();

// Takes one press of the key noted since the last take; false when there is none.
bool takeKeyTap(int scancode);
// Takes one press of each of the keys; true when any had one.
bool takeAnyKeyTap(std::initializer_list<int> scancodes);
// Takes one click of the left button alone, and where it was on the picture; false when there is none.
bool takeLeftClick(int& x, int& y);
// Takes one click of the right button alone.
bool takeRightClick();
// Takes the news that the window lost the keyboard focus since the last look.
bool takeFocusLoss();
// Forgets the taps, clicks and focus loss meant for the screen before (M typed into a name).
void forgetWindowEvents();
