// The game's window as the desktop sees it: the X properties the library does not set, the
// desktop's size, the full-screen request, and the window's picture after the game's own loops.
#include "shell/desktop_window.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>

#include <unistd.h>

namespace {
constexpr int FULL_SCREEN_POLL_MS = 20;
constexpr long NET_WM_STATE_REMOVE = 0;
constexpr long NET_WM_STATE_ADD = 1;
constexpr long SOURCE_APPLICATION = 1;  // the request comes from the program itself
constexpr int MAX_STATES = 32;          // more states than any window manager sets at once

// The library draws into a window inside the one the window manager frames and names.
Window framedWindow() { return _xwin.wm_window != None ? _xwin.wm_window : _xwin.window; }

Atom atom(const char* name) { return XInternAtom(_xwin.display, name, False); }

// The 32-bit values of a window property, up to `count`; how many were read. The caller holds
// the display's lock.
int readLongs(Window window, const char* name, Atom type, long* values, int count)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(_xwin.display, window, atom(name), 0, count, False, type, &actualType,
                                         &format, &items, &after, &data) == Success;
    int got = 0;
    if (read && data && format == 32 && actualType == type) {
        const long* longs = reinterpret_cast<const long*>(data);
        for (; got < static_cast<int>(items) && got < count; ++got) values[got] = longs[got];
    }
    if (data) XFree(data);
    return got;
}

// A window manager that follows EWMH marks the root with the window it checks by.
bool windowManagerAnswers()
{
    long check = 0;
    return readLongs(DefaultRootWindow(_xwin.display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &check, 1) == 1 &&
           check != 0;
}

bool isFullScreen(Window window)
{
    long states[MAX_STATES] = {};
    const int count = readLongs(window, "_NET_WM_STATE", XA_ATOM, states, MAX_STATES);
    const long fullScreen = static_cast<long>(atom("_NET_WM_STATE_FULLSCREEN"));
    for (int i = 0; i < count; ++i)
        if (states[i] == fullScreen) return true;
    return false;
}

void sendStateRequest(Window window, bool on)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom("_NET_WM_STATE");
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? NET_WM_STATE_ADD : NET_WM_STATE_REMOVE;
    event.xclient.data.l[1] = static_cast<long>(atom("_NET_WM_STATE_FULLSCREEN"));
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = SOURCE_APPLICATION;
    XSendEvent(_xwin.display, DefaultRootWindow(_xwin.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(_xwin.display);
}
}  // namespace

void announceWindowOwner()
{
    const Window framed = framedWindow();
    if (!_xwin.display || framed == None) return;
    const long owner = static_cast<long>(getpid());
    XLOCK();
    const Atom property = XInternAtom(_xwin.display, "_NET_WM_PID", False);
    XChangeProperty(_xwin.display, framed, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&owner), 1);
    XFlush(_xwin.display);
    XUNLOCK();
}

bool desktopArea(int& width, int& height)
{
    if (!_xwin.display) return false;
    XLOCK();
    const Window root = DefaultRootWindow(_xwin.display);
    XWindowAttributes whole = {};
    const bool known = XGetWindowAttributes(_xwin.display, root, &whole) != 0;
    width = whole.width;
    height = whole.height;
    // x, y, width and height of the first desktop's work area.
    long area[4] = {};
    if (readLongs(root, "_NET_WORKAREA", XA_CARDINAL, area, 4) == 4 && area[2] > 0 && area[3] > 0) {
        width = static_cast<int>(area[2]);
        height = static_cast<int>(area[3]);
    }
    XUNLOCK();
    return known;
}

bool askFullScreen(bool on, int& width, int& height)
{
    const Window framed = framedWindow();
    if (!_xwin.display || framed == None) return false;
    XLOCK();
    const bool answers = windowManagerAnswers();
    if (answers) sendStateRequest(framed, on);
    XUNLOCK();
    if (!answers) return false;
    // The window manager may mark the window before it has resized it: its new size is awaited too.
    bool granted = false;
    for (int waited = 0; waited <= FULL_SCREEN_WAIT_MS; waited += FULL_SCREEN_POLL_MS) {
        XLOCK();
        granted = isFullScreen(framed) == on;
        XWindowAttributes attributes = {};
        XGetWindowAttributes(_xwin.display, framed, &attributes);
        XUNLOCK();
        width = attributes.width;
        height = attributes.height;
        if (granted && (!on || width != SCREEN_W || height != SCREEN_H)) return true;
        rest(FULL_SCREEN_POLL_MS);
    }
    if (!granted) return false;
    // Marked but never resized: full screen is the whole screen.
    XLOCK();
    XWindowAttributes root = {};
    XGetWindowAttributes(_xwin.display, DefaultRootWindow(_xwin.display), &root);
    XUNLOCK();
    width = root.width;
    height = root.height;
    return true;
}

void showScreenArea(int x, int y, int width, int height)
{
    if (!_xwin.display || width <= 0 || height <= 0) return;
    XLOCK();
    // Where the screen's format is not the window's, the library keeps its pixels apart and
    // converts them first.
    if (_xwin.screen_to_buffer) _xwin.screen_to_buffer(x, y, width, height);
    _xwin_window_redrawer(x, y, width, height);
    // The window system reads shared memory when it gets to the request: the game must not draw
    // the next frame there before it has.
    XSync(_xwin.display, False);
    XUNLOCK();
}
