// The controls as one pass of the game loop sees them: the keyboard and the gamepad are read once
// at the start of the pass into one small value, which every rule and drawing step then reads.
#pragma once

#include <allegro.h>

#include "world/directions.h"

constexpr int PAD_BUTTON_COUNT = 32;  // as many buttons as the library reports
constexpr int STICK_FULL = 128;       // the library's stick axes run from -128 to 128
constexpr int STICK_DEAD_ZONE = 48;   // a stick resting a little off centre does not walk

// The keys of the game's actions; the settings file may change every one.
class KeyBindings {
public:
    int walk[DIRECTION_COUNT] = {KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP};  // by direction code
    int bomb = KEY_B;
    int beam = KEY_G;
    int pause = KEY_P;
    int sound = KEY_M;
    int end = KEY_ESC;
    int debugPanel = KEY_F1;
    int fast = KEY_F;  // held, a recording plays four times as fast
    int fullScreen = KEY_F11;
};

// The gamepad's buttons by the library's numbering (the Linux order of a common pad: 0 bottom,
// 1 right, 2 left, 3 top face button, 6 Back, 7 Start).
class PadBindings {
public:
    int bomb = 0;  // also chooses in the menu
    int beam = 2;
    int beamOther = 1;  // either fires the beam
    int pause = 7;
    int end = 6;
    int leave = 1;  // leaves the name entry and the high-score screen
    int fast = 5;   // the right shoulder: a recording plays four times as fast
};

// The gamepad as the library last reported it.
class PadState {
public:
    bool present = false;
    int stickX = 0;  // the left stick, -128 (left) to 128 (right)
    int stickY = 0;  // -128 (up) to 128 (down)
    int dpadX = 0;   // the d-pad: -1, 0 or 1
    int dpadY = 0;
    bool buttons[PAD_BUTTON_COUNT] = {};

    bool held(int button) const { return button >= 0 && button < PAD_BUTTON_COUNT && buttons[button]; }
};

// Presses of the pad noted between two looks of a screen, so that one shorter than the
// screen's poll still counts.
class PadPresses {
public:
    int vertical = 0;     // up (-1) and down (1) presses, summed
    bool choose = false;  // the bomb button, which chooses in the menu
    bool leave = false;   // the leave button
};

class Controls {
public:
    bool walk[DIRECTION_COUNT] = {};  // walk that way, by direction code
    bool bomb = false;                // held
    bool beam = false;                // held
    bool pause = false;               // pressed since the last pass
    bool sound = false;               // pressed since the last pass
    bool end = false;                 // held, or pressed since the last pass
    bool debugPanel = false;          // the debug panel key held
    bool padLost = false;             // the gamepad went away since the last pass
    bool fast = false;                // held: a recording being watched runs four times as fast
};

// What the key array and the pad hold now; `padBefore` is the pad at the last pass, so that a
// button counts as pressed once. Key taps counted between passes are the caller's to add.
Controls heldControls(const KeyBindings& keys, const PadBindings& buttons, const PadState& pad,
                      const PadState& padBefore);

// The direction codes a stick (or d-pad, at full tilt) points to, beyond the dead zone.
void stickDirections(int x, int y, bool (&walk)[DIRECTION_COUNT]);

// Buttons held when a screen opened (the one that chose a game, say) are let go of in `pad` until
// they are released: `heldOver` marks them and forgets each as it is released.
void dropHeldOver(PadState& pad, bool (&heldOver)[PAD_BUTTON_COUNT]);

// A button of the pad pressed since the look before.
bool padPressed(const PadState& pad, const PadState& padBefore, int button);
// The screens' up and down on the pad, d-pad or stick, pressed since the look before: -1 up,
// 1 down, 0 neither.
int padVerticalPress(const PadState& pad, const PadState& padBefore);
