// The game's window as the desktop sees it: the X properties the library does not set.
#include "shell/desktop_window.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>

#include <unistd.h>

void announceWindowOwner()
{
    if (!_xwin.display || _xwin.window == None) return;
    const long owner = static_cast<long>(getpid());
    XLOCK();
    const Atom property = XInternAtom(_xwin.display, "_NET_WM_PID", False);
    XChangeProperty(_xwin.display, _xwin.window, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&owner), 1);
    XFlush(_xwin.display);
    XUNLOCK();
}
