// The pass's snapshot of the controls, from the key array and from gamepad states.
#include <allegro.h>
#include <gtest/gtest.h>

#include "shell/controls.h"
#include "test_support.h"

namespace {

class Snapshot : public HeadlessTest {
protected:
    KeyBindings keys;
    PadBindings buttons;
    PadState none;
    Controls from(const PadState& pad, const PadState& before = {}) { return heldControls(keys, buttons, pad, before); }
    static PadState stick(int x, int y)
    {
        PadState pad;
        pad.present = true;
        pad.stickX = x;
        pad.stickY = y;
        return pad;
    }
    static std::string walking(const Controls& c)
    {
        std::string s;
        for (int d = 0; d < DIRECTION_COUNT; ++d) s += c.walk[d] ? "RDLU"[d] : '.';
        return s;
    }
};

}  // namespace

TEST_F(Snapshot, KeysFollowTheirBindings)
{
    key[KEY_LEFT] = key[KEY_UP] = key[KEY_B] = 1;
    Controls c = from(none);
    EXPECT_EQ(walking(c), "..LU");
    EXPECT_TRUE(c.bomb);
    EXPECT_FALSE(c.beam || c.end || c.pause || c.sound || c.padLost);
    // Rebound, the old keys do nothing and the new ones act.
    keys.walk[DIRECTION_LEFT] = KEY_A;
    keys.bomb = KEY_SPACE;
    keys.end = KEY_Q;
    key[KEY_A] = key[KEY_Q] = 1;
    c = from(none);
    EXPECT_EQ(walking(c), "..LU");
    EXPECT_FALSE(c.bomb);
    EXPECT_TRUE(c.end);
    key[KEY_LEFT] = 0;
    key[KEY_A] = 0;
    EXPECT_EQ(walking(from(none)), "...U");
}

TEST_F(Snapshot, TheStickWalksBeyondItsDeadZoneAndDiagonally)
{
    const struct {
        int x, y;
        const char* walk;
    } cases[] = {{0, 0, "...."},   {48, -48, "...."}, {49, 0, "R..."},    {-128, 0, "..L."},  {0, 128, ".D.."},
                 {0, -60, "...U"}, {90, 90, "RD.."},  {-90, -90, "..LU"}, {128, -20, "R..."}, {-49, 49, ".DL."}};
    for (const auto& c : cases) EXPECT_EQ(walking(from(stick(c.x, c.y))), c.walk) << c.x << "," << c.y;
    // The d-pad walks as the stick does, diagonals included.
    PadState pad = stick(0, 0);
    pad.dpadX = 1;
    pad.dpadY = -1;
    EXPECT_EQ(walking(from(pad)), "R..U");
    // A pad that is not there says nothing, whatever it last held.
    pad.present = false;
    EXPECT_EQ(walking(from(pad)), "....");
}

TEST_F(Snapshot, PadButtonsHoldOrPressOnce)
{
    PadState pad = stick(0, 0);
    pad.buttons[buttons.bomb] = true;
    pad.buttons[buttons.beamOther] = true;
    pad.buttons[buttons.pause] = true;
    Controls c = from(pad);
    EXPECT_TRUE(c.bomb && c.beam && c.pause);
    EXPECT_FALSE(c.end);
    // Start still held at the next pass does not pause again.
    c = from(pad, pad);
    EXPECT_TRUE(c.bomb && c.beam);
    EXPECT_FALSE(c.pause);
    pad.buttons[buttons.end] = true;
    EXPECT_TRUE(from(pad).end);
    // Unplugged: said once.
    EXPECT_TRUE(from(none, pad).padLost);
    EXPECT_FALSE(from(none, none).padLost);
    // The button that chose a game, still held as it starts, lays no bomb until pressed again.
    bool heldOver[PAD_BUTTON_COUNT] = {};
    heldOver[buttons.bomb] = true;
    for (bool down : {true, false, true}) {
        PadState now = stick(0, 0);
        now.buttons[buttons.bomb] = down;
        dropHeldOver(now, heldOver);
        EXPECT_EQ(now.buttons[buttons.bomb], down && !heldOver[buttons.bomb]);
    }
    EXPECT_FALSE(heldOver[buttons.bomb]);
}
