// The game's window as the desktop sees it: the X properties the library does not set.
#include "shell/desktop_window.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>

#include <unistd.h>

void announceWindowOwner()
{
    // The library draws into a window inside the one the window manager frames and names.
    const Window framed = _xwin.wm_window != None ? _xwin.wm_window : _xwin.window;
    if (!_xwin.display || framed == None) return;
    const long owner = static_cast<long>(getpid());
    XLOCK();
    const Atom property = XInternAtom(_xwin.display, "_NET_WM_PID", False);
    XChangeProperty(_xwin.display, framed, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&owner), 1);
    XFlush(_xwin.display);
    XUNLOCK();
}
