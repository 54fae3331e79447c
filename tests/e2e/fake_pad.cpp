// A gamepad for the end-to-end tests, preloaded into the game (LD_PRELOAD): the first joystick
// device the library opens is the FIFO named by GHOSTMAZE_FAKE_PAD, into which the test writes
// the kernel's js_event records, and the device's questions (version, axes, buttons, name) are
// answered as a common pad of 8 axes and 11 buttons would answer them. Removing the FIFO unplugs
// the pad.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* DEVICE = "/dev/input/js0";
constexpr std::uint8_t AXES = 8;
constexpr std::uint8_t BUTTONS = 11;
constexpr const char* NAME = "Ghost Maze test pad";
int padDescriptor = -1;

const char* fifo() { return std::getenv("GHOSTMAZE_FAKE_PAD"); }

template <typename Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    static const auto realOpen = next<int (*)(const char*, int, ...)>("open");
    if (fifo() && std::strcmp(path, DEVICE) == 0) {
        const int descriptor = realOpen(fifo(), flags);
        if (descriptor >= 0) padDescriptor = descriptor;
        return descriptor;
    }
    return realOpen(path, flags, mode);
}

extern "C" int access(const char* path, int how)
{
    static const auto realAccess = next<int (*)(const char*, int)>("access");
    return realAccess(fifo() && std::strcmp(path, DEVICE) == 0 ? fifo() : path, how);
}

extern "C" int ioctl(int descriptor, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    static const auto realIoctl = next<int (*)(int, unsigned long, void*)>("ioctl");
    if (descriptor != padDescriptor || padDescriptor < 0) return realIoctl(descriptor, request, argument);
    if (request == JSIOCGVERSION) {
        *static_cast<std::uint32_t*>(argument) = JS_VERSION;
        return 0;
    }
    if (request == JSIOCGAXES) {
        *static_cast<std::uint8_t*>(argument) = AXES;
        return 0;
    }
    if (request == JSIOCGBUTTONS) {
        *static_cast<std::uint8_t*>(argument) = BUTTONS;
        return 0;
    }
    if (_IOC_TYPE(request) == 'j' && _IOC_NR(request) == _IOC_NR(JSIOCGNAME(0))) {
        const std::size_t room = _IOC_SIZE(request);
        std::strncpy(static_cast<char*>(argument), NAME, room);
        if (room > 0) static_cast<char*>(argument)[room - 1] = '\0';
        return static_cast<int>(std::strlen(static_cast<char*>(argument)));
    }
    errno = ENOTTY;
    return -1;
}
