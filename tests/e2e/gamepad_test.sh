#!/usr/bin/env bash
# A game by gamepad alone: the d-pad moves the menu's highlight and the bottom button starts a
# game, each pressed shorter than the menu's poll; the stick walks the hero; Start pauses and
# resumes; unplugged, the pad pauses the game, and plugged in again it is taken up; Back ends the
# game, and the right face button leaves the high-score screen. The pad is a FIFO of the kernel's
# js_event records, made the library's joystick device by the preloaded fake_pad.so.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 222: the start row is open floor for 18 cells right of the hero and the ghosts start over
# 1000 pixels away, so walking right is seen and the hero lives.
SEED=222
SHIM="$HARNESS_GAME_DIR/../tests/fake_pad.so"
[ -f "$SHIM" ] || harness_fail "no fake_pad.so at $SHIM (built with the tests)"
PAD="$HARNESS_RUN/pad"
BUTTON=1; AXIS=2
BOTTOM=0; RIGHT_FACE=1; START=7; BACK=6
STICK_X=0; DPAD_Y=7

# plug: a new FIFO, held open by the test so that the game never reads its end.
plug() { mkfifo "$PAD" && exec 3<>"$PAD"; }
# pad_event TYPE NUMBER VALUE: one js_event record (time, value, type, number; little-endian).
pad_event() {
  local v=$(($3 & 0xffff))
  printf "\\x00\\x00\\x00\\x00\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8)))\\x$(printf %02x "$1")\\x$(printf %02x "$2")" >&3
}
# pad_hold TYPE NUMBER VALUE SECONDS: held, then back at rest.
pad_hold() { pad_event "$1" "$2" "$3"; sleep "$4"; pad_event "$1" "$2" 0; sleep 0.2; }

plug
harness_start_in "$HARNESS_RUN" env LD_PRELOAD="$SHIM" GHOSTMAZE_FAKE_PAD="$PAD" ./ghostmaze_test_driver --seed "$SEED"
harness_wait_for pad_menu 5 harness_highlighted 0 >/dev/null
pad_hold $AXIS $DPAD_Y 32767 0.03
harness_wait_for pad_menu_down 5 harness_highlighted 1 >/dev/null
pad_hold $AXIS $DPAD_Y -32767 0.03
harness_wait_for pad_menu_up 5 harness_highlighted 0 >/dev/null
pad_hold $BUTTON $BOTTOM 1 0.03
harness_wait_for pad_game 5 harness_in_game >/dev/null

pad_hold $AXIS $STICK_X 32767 0.8
sleep 0.3
walked=$(harness_screenshot pad_walked)
share=$(harness_hero_at "$walked" 80 120)
harness_at_least "$share" 0.5 && harness_fail "the stick did not walk the hero (match at his start $share, see $walked)"

pad_hold $BUTTON $START 1 0.1
paused=$(harness_wait_still pad_paused)
pad_hold $BUTTON $START 1 0.1
sleep 1
resumed=$(harness_screenshot pad_resumed)
[ "$(harness_region_diff "$paused" "$resumed" 0 40 1280 640)" -gt 500 ] || harness_fail "Start did not resume the game"

# Unplugged: the game pauses.
exec 3>&-
rm -f "$PAD"
unplugged=$(harness_wait_still pad_unplugged)
# Plugged in again: Start resumes, Back ends the game and its result is recorded.
plug
sleep 2
pad_hold $BUTTON $START 1 0.1
sleep 1
moving=$(harness_screenshot pad_replugged)
[ "$(harness_region_diff "$unplugged" "$moving" 0 40 1280 640)" -gt 500 ] || harness_fail "the pad plugged in again did not resume the game"
pad_hold $BUTTON $BACK 1 0.3
harness_wait_for pad_ended 5 harness_on_menu >/dev/null
[ -s "$HARNESS_RUN/high_score.txt" ] || harness_fail "Back did not end the game as Escape does"
pad_hold $AXIS $DPAD_Y 32767 0.03
pad_hold $AXIS $DPAD_Y 32767 0.03
harness_wait_for pad_menu_scores 5 harness_highlighted 2 >/dev/null
pad_hold $BUTTON $BOTTOM 1 0.03
harness_wait_for pad_scores 5 harness_on_high_scores >/dev/null
pad_hold $BUTTON $RIGHT_FACE 1 0.03
harness_wait_for pad_left_scores 5 harness_on_menu >/dev/null
echo "gamepad: ok"
