#!/usr/bin/env bash
# The whole game by keyboard alone, no mouse event sent: the menu's highlight to a game with
# Enter, a game played and ended, its result on the table, and QUIT.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 225 starts the ghosts over 1100 pixels away: two seconds of walking end with the hero alive.
SEED=225

harness_start_game "$SEED"
harness_wait_for menu_keyboard 5 harness_highlighted 0 >/dev/null
harness_tap Return
harness_wait_for keyboard_game 5 harness_in_game >/dev/null
harness_hold Right 1
harness_hold Down 1
harness_tap Escape
harness_wait_for keyboard_menu 5 harness_highlighted 0 >/dev/null
[ "$(wc -l <"$HARNESS_RUN/high_score.txt" 2>/dev/null)" = 1 ] || harness_fail "the game's result is not in the table"

harness_tap Down
harness_tap Tab
shot=$(harness_wait_for menu_highlight 5 harness_highlighted 2)
harness_tap Return
scores=$(harness_wait_for keyboard_scores 5 harness_on_high_scores)
[ "$(harness_region_colours "$scores" 500 165 108 28)" -gt 1 ] || harness_fail "the result is not shown"
harness_tap Escape
harness_wait_for keyboard_back 5 harness_highlighted 0 >/dev/null
harness_tap Escape
harness_wait_for keyboard_quit 5 harness_highlighted 3 >/dev/null
harness_tap Return
harness_wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || harness_fail "quitting ended with status $GAME_STATUS"
# Without a gamepad nothing is said of one.
! grep -qiE 'joystick|gamepad|js0' "$HARNESS_RUN/stderr.log" || harness_fail "a missing gamepad was reported: $(cat "$HARNESS_RUN/stderr.log")"
echo "keyboard: ok ($shot)"
