#!/usr/bin/env bash
# A game as a player sees it: the HUD strips round a drawn maze, the hero where he starts,
# walking right when Right is held, the F1 debug panel while F1 is held, and Escape to end.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
SHEET="$HARNESS_GAME_DIR/_bmp/sprites.bmp"
# Seed 222: the start row is open floor for 18 cells right of the hero, with no crate in it and
# nothing at all in the first three, and the ghosts start over 1000 pixels away, so holding Right
# walks him clear of everything whatever the ghosts do meanwhile (tests/integration/scenario_seeds_test.cpp
# checks this for every seed named here).
SEED=222

# white_pixels FILE X Y W H
white_pixels() { harness_count_colour "$1" "$2" "$3" "$4" "$5" 255 255 255; }


# hero_share FILE X Y ROW: how well the hero (either walking frame) matches at screen (X, Y).
hero_share() {
  local best=0 share
  for column in 400 440; do
    share=$(harness_find_sprite "$1" "$SHEET" "$column" $(($4 * 40)) "$2" "$3" "$2" "$3" | cut -d' ' -f3)
    best=$(echo "$share $best" | awk '{ print ($1 > $2) ? $1 : $2 }')
  done
  echo "$best"
}

# find_hero FILE ROW X0 Y0 X1 Y1: prints "X Y SHARE" of the best place of the hero in the range.
find_hero() {
  local best="0 0 0" found
  for column in 400 440; do
    found=$(harness_find_sprite "$1" "$SHEET" "$column" $(($2 * 40)) "$3" "$4" "$5" "$6")
    best=$(printf '%s\n%s\n' "$found" "$best" | sort -k3 -g -r | head -n1)
  done
  echo "$best"
}

at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

harness_start_game "$SEED"
harness_enter_game play_opening >/dev/null
sleep 1
start=$(harness_screenshot play_start)
harness_shows_hud "$start" || harness_fail "no HUD strips after the game started (see $start)"

# The top strip: "Player:" and "Pkt:" at the left, the life icons at the right end.
[ "$(white_pixels "$start" 10 15 32 8)" -gt 10 ] || harness_fail "no \"Pkt:\" in the top strip"
[ "$(harness_region_colours "$start" 1160 0 120 40)" -gt 4 ] || harness_fail "no life icons at the top right"
# The bottom strip: the bomb group's dark box with the hero's one bomb at W - 540.
[ "$(harness_count_colour "$start" 432 682 330 36 40 40 40)" -gt 3000 ] || harness_fail "no bomb group box"
[ "$(harness_region_colours "$start" 740 680 40 40)" -gt 4 ] || harness_fail "no bomb icon at x 740"
# Between the strips a maze, not a blank band.
[ "$(harness_region_colours "$start" 0 40 1280 640)" -gt 20 ] || harness_fail "the view is blank"

# The hero starts at world (80, 80), which the view shows at screen (80, 120), facing right.
share=$(hero_share "$start" 80 120 0)
at_least "$share" 0.9 || harness_fail "the hero is not at (80, 120): best match $share"

# Holding Right walks him right along the open row. The key goes in through the X server and
# the hero steps on the 30 Hz clock, so a short hold is repeated until he has left his start.
walked=""
for attempt in 1 2 3; do
  harness_hold Right 0.6
  sleep 0.3
  walked=$(harness_screenshot "play_walk_right_$attempt")
  read -r hx hy hshare <<<"$(find_hero "$walked" 0 80 120 520 120)"
  at_least "$hshare" 0.8 && [ "$hx" -gt 80 ] && break
done
at_least "$hshare" 0.8 && [ "$hx" -gt 80 ] ||
  harness_fail "holding Right did not walk the hero right: best match $hshare at ($hx, $hy) (see $walked)"
[ "$(harness_region_diff "$start" "$walked" 80 120 40 40)" -gt 100 ] ||
  harness_fail "the place the hero left did not change"
[ "$(harness_region_diff "$start" "$walked" "$hx" "$hy" 40 40)" -gt 100 ] ||
  harness_fail "the place the hero reached did not change"
echo "the hero walked right to screen ($hx, $hy)"

# F1 held: the debug panel covers the top-left 240 x 120; released, it goes.
harness_key_down F1
panel=""
for attempt in 1 2 3 4 5; do
  sleep 0.3
  shot=$(harness_screenshot play_debug_panel)
  if [ "$(harness_count_colour "$shot" 0 0 240 120 255 128 255)" -gt 20000 ]; then
    panel=$shot
    break
  fi
done
harness_key_up F1
[ -n "$panel" ] || harness_fail "F1 did not show the debug panel"
[ "$(harness_count_colour "$panel" 240 0 100 120 255 128 255)" -eq 0 ] || harness_fail "the panel is wider than 240"
sleep 0.5
released=$(harness_screenshot play_debug_released)
[ "$(harness_count_colour "$released" 0 0 240 120 255 128 255)" -lt 1000 ] || harness_fail "the panel stayed after F1"

# Escape ends the game; from the menu, if there is one, the quit button ends the program.
harness_hold Escape 0.5
if kill -0 "$GAME_PID" 2>/dev/null; then
  sleep 0.5
  harness_click 150 404
fi
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the program ended with status $GAME_STATUS"
echo "play: ok"
