// The flags and counts the library's threads leave for the loops.
#include "shell/window_events.h"

#include <allegro.h>

#include "shell/screen_mode.h"

#include <pthread.h>

#include <csignal>
#include <cstddef>
#include <iterator>

std::atomic<bool> closeRequested{false};

namespace {
constexpr int KEY_RELEASED = 0x80;  // added to the scan code of a released key

std::atomic<bool> focusLost{false};

constexpr int SCANCODE_COUNT = 128;  // scan codes below KEY_RELEASED

// Every key's presses not yet taken, and whether it is down (the keyboard thread's own).
std::atomic<int> pendingPresses[SCANCODE_COUNT];
bool keyDown[SCANCODE_COUNT] = {};

// Mouse presses not yet taken: of the left button alone, with where it was, and of the right.
std::atomic<int> pendingLeftClicks{0};
std::atomic<int> pendingRightClicks{0};
std::atomic<int> leftClickX{0};
std::atomic<int> leftClickY{0};

bool takeOne(std::atomic<int>& pending)
{
    int count = pending.load();
    while (count > 0)
        if (pending.compare_exchange_weak(count, count - 1)) return true;
    return false;
}
}  // namespace

void onCloseButton() { closeRequested.store(true); }

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only set a lock-free flag");
void onEndSignal(int) { closeRequested.store(true); }

void onFocusLost() { focusLost.store(true); }

void onKeyEvent(int scancode)
{
    const int code = scancode & ~KEY_RELEASED;
    if (code <= 0 || code >= SCANCODE_COUNT) return;
    const bool released = (scancode & KEY_RELEASED) != 0;
    // The window system repeats a held key's press: only the first after a release counts.
    if (!released && !keyDown[code]) pendingPresses[code].fetch_add(1);
    keyDown[code] = !released;
}

void onMouseEvent(int flags)
{
    // Only the left button alone chooses, as the polling menu has it.
    if ((flags & MOUSE_FLAG_LEFT_DOWN) && mouse_b == 1) {
        leftClickX.store(mouse_x);
        leftClickY.store(mouse_y);
        pendingLeftClicks.fetch_add(1);
    }
    if ((flags & MOUSE_FLAG_RIGHT_DOWN) && mouse_b == 2) pendingRightClicks.fetch_add(1);
}

void watchClicks() { mouse_callback = onMouseEvent; }

void watchWindowEvents()
{
    set_close_button_callback(onCloseButton);
    // The game goes on in the background so that its loop can pause itself and still see the
    // close button; not every window system tells of the focus, so a failure here is no fault.
    set_display_switch_mode(SWITCH_BACKGROUND);
    set_display_switch_callback(SWITCH_OUT, onFocusLost);
    keyboard_lowlevel_callback = onKeyEvent;
    watchEndSignals();
}

namespace {
constexpr int END_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};
// A signal ignored by whoever started us (nohup, a background job's SIGINT) stays ignored.
bool ignoredAtStart[std::size(END_SIGNALS)] = {};

sigset_t endSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : END_SIGNALS) sigaddset(&signals, signal);
    return signals;
}
}  // namespace

void holdEndSignals()
{
    const sigset_t signals = endSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    for (std::size_t i = 0; i < std::size(END_SIGNALS); ++i) {
        struct sigaction found = {};
        ignoredAtStart[i] = ignoredAtStart[i] ||
                            (sigaction(END_SIGNALS[i], nullptr, &found) == 0 && found.sa_handler == SIG_IGN);
    }
}

void watchEndSignals()
{
    struct sigaction ending = {};
    ending.sa_handler = onEndSignal;
    // A call the signal cuts short goes on: the X library takes an interrupted read of its
    // connection for a broken one and ends the program.
    ending.sa_flags = SA_RESTART;
    sigemptyset(&ending.sa_mask);
    struct sigaction ignoring = {};
    ignoring.sa_handler = SIG_IGN;
    sigemptyset(&ignoring.sa_mask);
    for (std::size_t i = 0; i < std::size(END_SIGNALS); ++i)
        sigaction(END_SIGNALS[i], ignoredAtStart[i] ? &ignoring : &ending, nullptr);
    const sigset_t signals = endSignals();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

bool takeKeyTap(int scancode)
{
    if (scancode <= 0 || scancode >= SCANCODE_COUNT) return false;
    return takeOne(pendingPresses[scancode]);
}

bool takeAnyKeyTap(std::initializer_list<int> scancodes)
{
    bool any = false;
    // Each key's press is taken, so none is left to act later.
    for (const int scancode : scancodes)
        if (takeKeyTap(scancode)) any = true;
    return any;
}

bool takeLeftClick(int& x, int& y)
{
    if (!takeOne(pendingLeftClicks)) return false;
    // Noted where the screen was clicked; read where the picture was.
    const FramePoint point = screenPointOnPicture(leftClickX.load(), leftClickY.load());
    x = point.x;
    y = point.y;
    return true;
}

bool takeRightClick() { return takeOne(pendingRightClicks); }

bool takeFocusLoss() { return focusLost.exchange(false); }

void forgetWindowEvents()
{
    for (std::atomic<int>& pending : pendingPresses) pending.store(0);
    pendingLeftClicks.store(0);
    pendingRightClicks.store(0);
    focusLost.store(false);
}
