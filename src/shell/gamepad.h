// The gamepad, through the library's joystick support: started once, read once a pass. Without
// a gamepad nothing changes and nothing is said.
#pragma once

#include "shell/controls.h"

// Starts the library's joystick support; the library must be started.
void startGamepad();
// The first gamepad as it is now; not present when there is none, or it was unplugged.
PadState readGamepad();
