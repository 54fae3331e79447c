#!/usr/bin/env bash
# The game in a desktop session: the window's close button quits from the menu and ends a game
# with its result recorded; P pauses a game, which then stands still under "PAUSE", and P resumes
# it; losing the keyboard focus pauses it too; SIGTERM ends a game as the close button does.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 222, as the play test: the view is full of coins, which keep turning while the game runs.
SEED=222
WM="$HARNESS_GAME_DIR/../tests/window_manager"
[ -x "$WM" ] || harness_fail "no window_manager tool at $WM (built with the tests)"

# tap KEY: pressed and released at once, as a quick finger does.
tap() { xdotool windowfocus "$GAME_WINDOW" 2>/dev/null; xdotool key "$1"; }
close_window() { "$WM" close "$GAME_WINDOW" || harness_fail "the close message could not be sent"; }
# The close button in the menu quits at once, with status 0 and nothing recorded.
harness_start_game "$SEED"
sleep 0.5
close_window
harness_wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || harness_fail "closing the menu ended with status $GAME_STATUS"
[ ! -e "$HARNESS_RUN/high_score.txt" ] || harness_fail "closing the menu recorded a result"

# A game: P pauses it. Two pictures 1.5 s apart are the same, and "PAUSE" stands in the middle.
harness_start_game "$SEED"
playing=$(harness_enter_game desktop_playing)
moving=$(harness_screenshot desktop_moving)
[ "$(harness_region_diff "$playing" "$moving" 0 40 1280 640)" -gt 500 ] || harness_fail "the game does not move before P (see $moving)"
tap p
still=$(harness_wait_still desktop_paused)
[ "$(harness_region_diff "$playing" "$still" 460 304 360 112)" -gt 2000 ] || harness_fail "no PAUSE in the middle (see $still)"

# P resumes: the picture moves again (the coins turn, the ghosts walk).
tap p
sleep 1
resumed=$(harness_screenshot desktop_resumed)
[ "$(harness_region_diff "$still" "$resumed" 0 40 1280 640)" -gt 500 ] || harness_fail "P did not resume the game (see $resumed)"

# The focus leaving the window pauses the game; its coming back does not resume it.
"$WM" unfocus
away=$(harness_wait_still desktop_unfocused)
[ "$(harness_region_diff "$resumed" "$away" 460 304 360 112)" -gt 2000 ] || harness_fail "no PAUSE after the focus left (see $away)"
xdotool windowfocus "$GAME_WINDOW"
sleep 1.5
back=$(harness_screenshot desktop_refocused)
[ "$(harness_region_diff "$away" "$back" 0 0 1280 720)" -eq 0 ] || harness_fail "the focus coming back resumed the game (see $back)"
tap p
sleep 0.5

# The close button in a game ends it as Escape does: its result is recorded, then the program ends.
close_window
harness_wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || harness_fail "closing a game ended with status $GAME_STATUS"
[ "$(wc -l <"$HARNESS_RUN/high_score.txt" 2>/dev/null)" = "1" ] ||
  harness_fail "closing a game recorded '$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)', not one line"

# The system's request to end (a logout sends SIGTERM) is the close button's: the game ends with
# its result recorded, and the program exits at once rather than hang.
harness_start_game "$SEED"
harness_enter_game desktop_terminated >/dev/null
kill -TERM "$GAME_PID"
harness_wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || harness_fail "SIGTERM in a game ended with status $GAME_STATUS"
[ "$(wc -l <"$HARNESS_RUN/high_score.txt" 2>/dev/null)" = "2" ] ||
  harness_fail "SIGTERM in a game recorded '$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)', not a second line"
echo "desktop: ok"
