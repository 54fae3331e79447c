// What the player may set and the game keeps from one run to the next: the sound, the keys of
// the game's actions and the gamepad's buttons.
#pragma once

#include "shell/controls.h"

class Settings {
public:
    bool soundOn = true;
    KeyBindings keys;
    PadBindings pad;
};
