#!/usr/bin/env bash
# The game in a desktop session: the window's close button quits from the menu and ends a game
# with its result recorded; P pauses a game, which then stands still under "PAUSE", and P resumes
# it; losing the keyboard focus pauses it too.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 222, as the play test: the view is full of coins, which keep turning while the game runs.
SEED=222
WM="$HARNESS_GAME_DIR/../tests/window_manager"
[ -x "$WM" ] || harness_fail "no window_manager tool at $WM (built with the tests)"

alive() { kill -0 "$GAME_PID" 2>/dev/null || harness_fail "the game ended unexpectedly ($1): $(tail -n3 "$HARNESS_RUN/stderr.log")"; }
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
tap p
sleep 0.5
alive "after P"
paused=$(harness_screenshot desktop_paused)
sleep 1.5
still=$(harness_screenshot desktop_paused_later)
[ "$(harness_region_diff "$paused" "$still" 0 0 1280 720)" -eq 0 ] || harness_fail "the paused game moved (see $paused, $still)"
[ "$(harness_region_diff "$playing" "$paused" 460 304 360 112)" -gt 2000 ] || harness_fail "no PAUSE in the middle (see $paused)"

# P resumes: the picture moves again (the coins turn, the ghosts walk).
tap p
sleep 1
resumed=$(harness_screenshot desktop_resumed)
[ "$(harness_region_diff "$still" "$resumed" 0 40 1280 640)" -gt 500 ] || harness_fail "P did not resume the game (see $resumed)"

# The focus leaving the window pauses the game; its coming back does not resume it.
"$WM" unfocus
sleep 0.5
away=$(harness_screenshot desktop_unfocused)
xdotool windowfocus "$GAME_WINDOW"
sleep 1.5
back=$(harness_screenshot desktop_refocused)
[ "$(harness_region_diff "$away" "$back" 0 0 1280 720)" -eq 0 ] || harness_fail "the game did not pause when the focus left (see $back)"
[ "$(harness_region_diff "$resumed" "$away" 460 304 360 112)" -gt 2000 ] || harness_fail "no PAUSE after the focus left (see $away)"
tap p
sleep 0.5

# The close button in a game ends it as Escape does: its result is recorded, then the program ends.
close_window
harness_wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || harness_fail "closing a game ended with status $GAME_STATUS"
[ "$(wc -l <"$HARNESS_RUN/high_score.txt" 2>/dev/null)" = "1" ] ||
  harness_fail "closing a game recorded '$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)', not one line"
echo "desktop: ok"
