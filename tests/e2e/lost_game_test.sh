#!/usr/bin/env bash
# A game lost on its last life keeps its score: the hero walks right along the start row, taking
# its coins, then stands on his own bomb three times; after GAME OVER, Escape records the game,
# and high_score.txt holds the points he collected, not 0.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 205: the start row is open for 8 cells right of the hero, with a 1 and a 5 coin in it and
# nothing else, and the ghosts start over 1100 pixels away (tests/integration/game_over_test.cpp
# checks the coins, tests/integration/scenario_seeds_test.cpp the rest).
SEED=205
COINS_IN_ROW=6


harness_start_game "$SEED"
harness_enter_game lost_opening >/dev/null
harness_hold Right 4
harness_alive "after the walk"

# Each bomb laid where he stands catches him about a second later (more on a busy machine),
# until the HUD shows no life icons at the top right, only "Life:0".
over=""
for attempt in $(seq 8); do
  harness_alive "after $attempt bombs"
  shot=$(harness_screenshot lost_game_over)
  if [ "$(harness_region_colours "$shot" 1200 0 80 40)" -le 2 ]; then
    over=$shot
    break
  fi
  harness_hold b 0.15
  sleep 2
done
[ -n "$over" ] || harness_fail "the game was not lost after 8 bombs (see $shot)"

harness_hold Escape 0.5
sleep 1
harness_alive "after Escape"
line=$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)
[ "$(echo "$line" | wc -l)" -eq 1 ] || harness_fail "high_score.txt holds '$line', not one line"
score=$(echo "$line" | cut -f2)
echo "recorded: $line"
[ "$score" -ge "$COINS_IN_ROW" ] 2>/dev/null || harness_fail "the lost game was recorded with $score, not the $COINS_IN_ROW points of the row"

harness_click 150 404
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the program ended with status $GAME_STATUS"
echo "lost game: ok"
