// The gamepad, through the library's joystick support: started once, read once a pass.
#pragma once

#include "shell/controls.h"

// The first gamepad as it is now; not present when there is none.
PadState readGamepad();
