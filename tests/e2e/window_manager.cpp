// What a window manager does to a window, for the end-to-end tests (Xvfb runs none):
//   window_manager close WINDOW-ID... the close button: a WM_DELETE_WINDOW message to each
//                                    window, all sent at the same moment
//   window_manager unfocus           the keyboard focus leaves every window
//   window_manager desktop SECONDS   for that long, a desktop that grants full screen: it says
//                                    so on the root (EWMH), and a window asking for full screen
//                                    (_NET_WM_STATE) is made the screen's size and marked so;
//                                    asking back, it gets its size again. Prints "ready" once
//                                    it listens.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

bool sendClose(Display* display, Window window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    return XSendEvent(display, window, False, NoEventMask, &event) != 0;
}

struct Geometry {
    int x, y;
    unsigned width, height;
};

// A window asks for full screen or back: the window manager's part of it.
void actOnStateRequest(Display* display, const XClientMessageEvent& request, std::map<Window, Geometry>& saved)
{
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    if (static_cast<Atom>(request.data.l[1]) != fullScreen && static_cast<Atom>(request.data.l[2]) != fullScreen)
        return;
    const Window window = request.window;
    const bool isOn = saved.count(window) != 0;
    const long action = request.data.l[0];  // 0 remove, 1 add, 2 toggle
    const bool on = action == 2 ? !isOn : action == 1;
    if (on && !isOn) {
        Window root = None;
        Geometry before = {};
        unsigned border = 0, depth = 0;
        XGetGeometry(display, window, &root, &before.x, &before.y, &before.width, &before.height, &border, &depth);
        saved[window] = before;
        XMoveResizeWindow(display, window, 0, 0, DisplayWidth(display, DefaultScreen(display)),
                          DisplayHeight(display, DefaultScreen(display)));
        const long states[] = {static_cast<long>(fullScreen)};
        XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states), 1);
    } else if (!on && isOn) {
        const Geometry before = saved[window];
        saved.erase(window);
        XMoveResizeWindow(display, window, before.x, before.y, before.width, before.height);
        XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace, nullptr, 0);
    }
    XSync(display, False);
}

int runDesktop(Display* display, int seconds)
{
    const Window root = DefaultRootWindow(display);
    // The EWMH sign that a window manager runs: a window of its own, named on the root and on itself.
    const Window check = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
    const long checkId = static_cast<long>(check);
    for (const Window w : {root, check})
        XChangeProperty(display, w, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&checkId), 1);
    const long supported[] = {static_cast<long>(XInternAtom(display, "_NET_WM_STATE", False)),
                              static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False))};
    XChangeProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(supported), 2);
    // Requests sent to the root for its children reach whoever listens to its substructure.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    std::map<Window, Geometry> saved;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == state)
                actOnStateRequest(display, event.xclient, saved);
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(ConnectionNumber(display), &readable);
        timeval wait = {0, 100000};
        select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &wait);
    }
    XDeleteProperty(display, root, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False));
    XDeleteProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False));
    XDestroyWindow(display, check);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool close = argc >= 3 && std::strcmp(argv[1], "close") == 0;
    const bool unfocus = argc == 2 && std::strcmp(argv[1], "unfocus") == 0;
    const bool desktop = argc == 3 && std::strcmp(argv[1], "desktop") == 0;
    if (!close && !unfocus && !desktop) {
        std::fprintf(stderr, "usage: %s close WINDOW-ID... | unfocus | desktop SECONDS\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "window_manager: cannot open the display\n");
        return 1;
    }
    if (desktop) {
        const int status = runDesktop(display, std::atoi(argv[2]));
        XCloseDisplay(display);
        return status;
    }
    bool done = true;
    // One flush for all: the windows get their messages together.
    for (int i = 2; close && i < argc; ++i) done = sendClose(display, std::strtoul(argv[i], nullptr, 0)) && done;
    if (unfocus) XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return done ? 0 : 1;
}
