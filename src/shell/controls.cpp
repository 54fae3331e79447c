// Building the pass's snapshot of the controls: the one place the game reads the key array
// while it plays.
#include "shell/controls.h"

#include "shell/game.h"
#include "shell/gamepad.h"
#include "shell/window_events.h"

void stickDirections(int x, int y, bool (&walk)[DIRECTION_COUNT])
{
    // Each axis on its own: pushed at a slant the stick walks diagonally.
    if (x > STICK_DEAD_ZONE) walk[DIRECTION_RIGHT] = true;
    if (x < -STICK_DEAD_ZONE) walk[DIRECTION_LEFT] = true;
    if (y > STICK_DEAD_ZONE) walk[DIRECTION_DOWN] = true;
    if (y < -STICK_DEAD_ZONE) walk[DIRECTION_UP] = true;
}

Controls heldControls(const KeyBindings& keys, const PadBindings& buttons, const PadState& pad,
                      const PadState& padBefore)
{
    Controls c;
    for (int d = 0; d < DIRECTION_COUNT; ++d) c.walk[d] = key[keys.walk[d]] != 0;
    c.bomb = key[keys.bomb] != 0;
    c.beam = key[keys.beam] != 0;
    c.end = key[keys.end] != 0;
    c.debugPanel = key[keys.debugPanel] != 0;
    c.fast = key[keys.fast] != 0;
    c.padLost = padBefore.present && !pad.present;
    if (!pad.present) return c;
    stickDirections(pad.stickX, pad.stickY, c.walk);
    stickDirections(pad.dpadX * STICK_FULL, pad.dpadY * STICK_FULL, c.walk);
    c.bomb = c.bomb || pad.held(buttons.bomb);
    c.beam = c.beam || pad.held(buttons.beam) || pad.held(buttons.beamOther);
    c.end = c.end || pad.held(buttons.end);
    c.fast = c.fast || pad.held(buttons.fast);
    c.pause = pad.held(buttons.pause) && !padBefore.held(buttons.pause);
    return c;
}

void dropHeldOver(PadState& pad, bool (&heldOver)[PAD_BUTTON_COUNT])
{
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b) {
        if (!pad.buttons[b]) heldOver[b] = false;
        if (heldOver[b]) pad.buttons[b] = false;
    }
}

bool padPressed(const PadState& pad, const PadState& padBefore, int button)
{
    return pad.present && pad.held(button) && !(padBefore.present && padBefore.held(button));
}

namespace {
int verticalOf(const PadState& pad)
{
    if (!pad.present) return 0;
    if (pad.dpadY != 0) return pad.dpadY;
    if (pad.stickY > STICK_DEAD_ZONE) return 1;
    if (pad.stickY < -STICK_DEAD_ZONE) return -1;
    return 0;
}
}  // namespace

int padVerticalPress(const PadState& pad, const PadState& padBefore)
{
    const int now = verticalOf(pad);
    return now != verticalOf(padBefore) ? now : 0;
}

void Game::readControls()
{
    PadState pad = readGamepad();
    dropHeldOver(pad, padHeldOver);
    controls = heldControls(settings.keys, settings.pad, pad, padBefore);
    padBefore = pad;
    if (takeKeyTap(settings.keys.pause)) controls.pause = true;
    if (takeKeyTap(settings.keys.sound)) controls.sound = true;
    takeFullScreenKey();
    // A tap of the end key shorter than a pass ends the game all the same.
    if (takeKeyTap(settings.keys.end)) controls.end = true;
    if (playback) takeRecordedControls();
}

void Game::startScreenInput()
{
    forgetWindowEvents();
    padBefore = readGamepad();
    padPresses = PadPresses{};
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b) padHeldOver[b] = padBefore.buttons[b];
}

bool Game::screenLeavePressed()
{
    notePadPresses();
    const bool padLeft = padPresses.leave;
    padPresses = PadPresses{};
    // Each is taken, so none is left over for the next screen.
    const bool tapped = takeKeyTap(KEY_ESC);
    const bool clicked = takeRightClick();
    return padLeft || tapped || clicked;
}

void Game::notePadPresses()
{
    const PadState pad = readGamepad();
    padPresses.vertical += padVerticalPress(pad, padBefore);
    if (padPressed(pad, padBefore, settings.pad.bomb)) padPresses.choose = true;
    if (padPressed(pad, padBefore, settings.pad.leave)) padPresses.leave = true;
    padBefore = pad;
}

namespace {
constexpr int PAD_LOOK_MS = 10;  // the pad has no callback: a screen looks at it this often while it waits
}  // namespace

void Game::restNotingPad(int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += PAD_LOOK_MS) {
        rest(PAD_LOOK_MS);
        notePadPresses();
    }
}
