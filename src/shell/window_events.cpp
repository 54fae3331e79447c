// The flags and counts the library's threads leave for the loops.
#include "shell/window_events.h"

#include <allegro.h>

#include <pthread.h>

#include <csignal>
#include <cstddef>
#include <iterator>

std::atomic<bool> closeRequested{false};

namespace {
constexpr int KEY_RELEASED = 0x80;  // added to the scan code of a released key

std::atomic<bool> focusLost{false};

// One toggle key: its presses not yet taken, and whether it is down (the keyboard thread's own).
struct KeyTaps {
    int scancode;
    std::atomic<int> pending{0};
    bool down = false;
};
KeyTaps pauseTaps{KEY_P};
KeyTaps muteTaps{KEY_M};

KeyTaps* tapsOf(int scancode)
{
    if (scancode == KEY_P) return &pauseTaps;
    if (scancode == KEY_M) return &muteTaps;
    return nullptr;
}
}  // namespace

void onCloseButton() { closeRequested.store(true); }

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only set a lock-free flag");
void onEndSignal(int) { closeRequested.store(true); }

void onFocusLost() { focusLost.store(true); }

void onKeyEvent(int scancode)
{
    KeyTaps* taps = tapsOf(scancode & ~KEY_RELEASED);
    if (!taps) return;
    const bool released = (scancode & KEY_RELEASED) != 0;
    // The window system repeats a held key's press: only the first after a release counts.
    if (!released && !taps->down) taps->pending.fetch_add(1);
    taps->down = !released;
}

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
    KeyTaps* taps = tapsOf(scancode);
    if (!taps) return false;
    int pending = taps->pending.load();
    while (pending > 0)
        if (taps->pending.compare_exchange_weak(pending, pending - 1)) return true;
    return false;
}

bool takeFocusLoss() { return focusLost.exchange(false); }

void forgetWindowEvents()
{
    pauseTaps.pending.store(0);
    muteTaps.pending.store(0);
    focusLost.store(false);
}
