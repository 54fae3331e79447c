// The gamepad, through the library's joystick support. The library reads the kernel's joystick
// device but does not tell when it goes away; the game looks for the device itself, so that an
// unplugged pad pauses the game and one plugged in (again) is taken up.
#include "shell/gamepad.h"

#include <allegro.h>
#include <unistd.h>

namespace {

// Where the library looks for the first pad, in its order.
constexpr const char* PAD_DEVICES[] = {"/dev/input/js0", "/dev/js0"};
constexpr int PLUG_LOOK_EVERY = 30;  // looks for a pad that is not there, once in so many reads
// A pad of 8 axes has the d-pad on its last two (the sticks and triggers before them).
constexpr int DPAD_STICK = 3;
constexpr int AXES_WITH_DPAD_STICK = 8;

bool started = false;
bool plugged = false;
int readsSinceLook = 0;
const char* device = PAD_DEVICES[0];

void takeUpPad()
{
    // A start that found no pad leaves the library's joystick support installed, with none.
    remove_joystick();
    if (install_joystick(JOY_TYPE_AUTODETECT) != 0 || num_joysticks == 0) {
        plugged = false;
        return;
    }
    plugged = true;
    for (const char* path : PAD_DEVICES)
        if (access(path, F_OK) == 0) {
            device = path;
            break;
        }
}

int dpadAxis(int pos) { return pos > STICK_DEAD_ZONE ? 1 : pos < -STICK_DEAD_ZONE ? -1 : 0; }

PadState padState(const JOYSTICK_INFO& pad)
{
    PadState state;
    state.present = true;
    if (pad.num_sticks > 0 && pad.stick[0].num_axis >= 2) {
        state.stickX = pad.stick[0].axis[0].pos;
        state.stickY = pad.stick[0].axis[1].pos;
    }
    int axes = 0;
    for (int s = 0; s < pad.num_sticks; ++s) axes += pad.stick[s].num_axis;
    if (axes == AXES_WITH_DPAD_STICK && pad.stick[DPAD_STICK].num_axis == 2) {
        state.dpadX = dpadAxis(pad.stick[DPAD_STICK].axis[0].pos);
        state.dpadY = dpadAxis(pad.stick[DPAD_STICK].axis[1].pos);
    }
    for (int b = 0; b < pad.num_buttons && b < PAD_BUTTON_COUNT; ++b) state.buttons[b] = pad.button[b].b != 0;
    return state;
}

}  // namespace

void startGamepad()
{
    started = true;
    takeUpPad();
}

PadState readGamepad()
{
    if (!started) return PadState{};
    if (plugged && access(device, F_OK) != 0) {
        remove_joystick();
        plugged = false;
    }
    if (!plugged) {
        if (++readsSinceLook < PLUG_LOOK_EVERY) return PadState{};
        readsSinceLook = 0;
        if (access(device, F_OK) != 0) return PadState{};
        takeUpPad();
        if (!plugged) return PadState{};
    }
    poll_joystick();
    return padState(joy[0]);
}
