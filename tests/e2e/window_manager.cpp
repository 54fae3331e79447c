// What a window manager does to a window, for the end-to-end tests (Xvfb runs none):
//   window_manager close WINDOW-ID... the close button: a WM_DELETE_WINDOW message to each
//                                    window, all sent at the same moment
//   window_manager unfocus           the keyboard focus leaves every window
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

}  // namespace

int main(int argc, char** argv)
{
    const bool close = argc >= 3 && std::strcmp(argv[1], "close") == 0;
    const bool unfocus = argc == 2 && std::strcmp(argv[1], "unfocus") == 0;
    if (!close && !unfocus) {
        std::fprintf(stderr, "usage: %s close WINDOW-ID... | unfocus\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "window_manager: cannot open the display\n");
        return 1;
    }
    bool done = true;
    // One flush for all: the windows get their messages together.
    for (int i = 2; close && i < argc; ++i) done = sendClose(display, std::strtoul(argv[i], nullptr, 0)) && done;
    if (unfocus) XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return done ? 0 : 1;
}
