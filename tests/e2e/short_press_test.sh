#!/usr/bin/env bash
# No press is lost: a click of 10 ms on START GAME starts a game every time, and a tap of Escape
# of 10 ms leaves the high-score screen every time, however the screens' polls fall.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Each game is ended at once with Escape; seed 225 starts the ghosts far from the hero.
SEED=225
BUTTON_X=150; PLAY_Y=158; SCORES_Y=322
TRIES=10

harness_start_game "$SEED"
for try in $(seq $TRIES); do
  # A small move first: the menu's mouse driver is new after every game.
  harness_mouse_move $((BUTTON_X + try % 2)) $PLAY_Y
  xdotool mousedown 1 sleep 0.01 mouseup 1
  harness_wait_for "short_click_$try" 5 harness_in_game >/dev/null
  harness_hold Escape 0.3
  harness_wait_for "after_game_$try" 5 harness_on_menu >/dev/null
done

for try in $(seq $TRIES); do
  harness_click $((BUTTON_X + try % 2)) $SCORES_Y
  harness_wait_for "high_scores_$try" 5 harness_on_high_scores >/dev/null
  harness_tap Escape 0.01
  harness_wait_for "after_scores_$try" 5 harness_on_menu >/dev/null
done
echo "short presses: ok"
