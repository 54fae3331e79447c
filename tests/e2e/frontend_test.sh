#!/usr/bin/env bash
# The front end as a player meets it: the menu with its poster and four buttons, hover and
# border clicks, typing a name, leaving with Escape, a game's result in the table, the
# high-score screen and the quit button.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# The game played here is only ended with Escape; seed 225 starts the ghosts over 1100 pixels
# away, so the two seconds of play end with the hero alive whatever the timing.
SEED=225

# Button centres in window pixels, and the x of their left border.
PLAY_Y=158; NAME_Y=240; SCORES_Y=322; QUIT_Y=404; BUTTON_X=150; BORDER_X=20

# tap KEY...: each key held for 50 ms, shorter than the name entry's 150 ms repeat. Press and
# release go from one xdotool, so starting a process on a busy machine cannot lengthen the hold.
tap() {
  xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
  for k in "$@"; do
    xdotool keydown "$k" sleep 0.05 keyup "$k"; sleep 0.1
  done
}

# Screenshots of a window that has gone would wait forever: fail at once instead.
alive() { kill -0 "$GAME_PID" 2>/dev/null || harness_fail "the game ended unexpectedly ($1): $(tail -n3 "$HARNESS_RUN/stderr.log")"; }

# The name-entry page is the only one with the orange disc at the top middle.
on_name_entry() { [ "$(harness_pixel "$(harness_screenshot "$1")" 640 5)" = "255 100 0" ]; }
on_black_top() { [ "$(harness_pixel "$(harness_screenshot "$1")" 640 5)" = "0 0 0" ]; }

harness_start_game "$SEED"
harness_mouse_move 700 715

# The menu: the poster right of the buttons, and four drawn buttons.
menu=$(harness_wait_for menu 20 harness_menu_drawn)
for y in $PLAY_Y $NAME_Y $SCORES_Y $QUIT_Y; do
  [ "$(harness_region_colours "$menu" 21 $((y - 25)) 268 50)" -gt 3 ] || harness_fail "no button around y $y"
done

# Hovering takes the highlight from the play button, where the menu opens, to the name button,
# and leaves the others as they were.
harness_mouse_move $BUTTON_X $NAME_Y
hover=$(harness_screenshot menu_hover)
[ "$(harness_region_diff "$menu" "$hover" 21 215 268 50)" -gt 2000 ] || harness_fail "hovering did not light the button"
[ "$(harness_region_diff "$menu" "$hover" 21 133 268 50)" -gt 2000 ] || harness_fail "the play button kept its highlight"
[ "$(harness_region_diff "$menu" "$hover" 21 379 268 50)" -eq 0 ] || harness_fail "hovering changed the quit button"

# A click on a border pixel of a button chooses nothing.
harness_click $BORDER_X $NAME_Y
harness_click $BUTTON_X 214
sleep 0.5
on_black_top menu_border_click || harness_fail "a click on a button's border chose it"

# The name button opens the name entry; the typed name and Enter write exactly it.
harness_click $BUTTON_X $NAME_Y
sleep 0.5
on_name_entry name_entry || harness_fail "the name button did not open the name entry"
tap z o r b 1 v
sleep 0.3
harness_screenshot name_typed >/dev/null
tap Return
sleep 0.5
[ "$(cat "$HARNESS_RUN/player.txt" 2>/dev/null)" = "ZORB1V" ] ||
  harness_fail "player.txt holds '$(cat "$HARNESS_RUN/player.txt" 2>/dev/null)', not ZORB1V"
on_black_top menu_after_name || harness_fail "Enter did not return to the menu"

# Escape leaves the name entry without saving what was typed.
harness_click $BUTTON_X $NAME_Y
sleep 0.5
on_name_entry name_entry_again || harness_fail "the name entry did not open a second time"
tap q w BackSpace BackSpace BackSpace
tap Escape
sleep 0.5
on_black_top menu_after_escape || harness_fail "Escape did not leave the name entry"
[ "$(cat "$HARNESS_RUN/player.txt")" = "ZORB1V" ] || harness_fail "Escape saved the name: $(cat "$HARNESS_RUN/player.txt")"

# A game ended with Escape adds a line under that name.
harness_click $BUTTON_X $PLAY_Y
sleep 2
alive "playing a game"
harness_screenshot game >/dev/null
harness_hold Escape 0.5
sleep 1
alive "leaving the game"
grep -qE '^ZORB1V	-?[0-9]+$' "$HARNESS_RUN/high_score.txt" 2>/dev/null ||
  harness_fail "no result of ZORB1V in high_score.txt: '$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)'"
[ "$(wc -l <"$HARNESS_RUN/high_score.txt")" -eq 1 ] || harness_fail "one game wrote more than one line"

# The high-score screen shows that one row: glyphs on the first name field, the second bare.
harness_click $BUTTON_X $SCORES_Y
sleep 0.5
scores=$(harness_screenshot high_scores)
[ "$(harness_pixel "$scores" 300 100)" = "50 50 50" ] || harness_fail "the high-score screen did not open"
[ "$(harness_region_colours "$scores" 500 165 108 28)" -gt 2 ] || harness_fail "the name is not shown"
[ "$(harness_region_colours "$scores" 500 225 108 28)" -eq 1 ] || harness_fail "a second row is shown"
[ "$(harness_region_colours "$scores" 540 50 500 84)" -gt 5 ] || harness_fail "no HIGH SCORE title"
tap Escape
sleep 0.5
on_black_top menu_after_scores || harness_fail "Escape did not leave the high-score screen"

# The quit button ends the program with status 0.
harness_click $BUTTON_X $QUIT_Y
harness_wait_exit 10
[ "$GAME_STATUS" -eq 0 ] || harness_fail "quitting ended with status $GAME_STATUS"
echo "frontend: ok"
