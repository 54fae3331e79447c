#!/usr/bin/env bash
# A game played by keys is recorded: --verify plays it again without a display and finds the same
# score and level, --replay plays it in the window to the very same last frame, and its row of
# the high-score table is marked and plays it when chosen with Enter, then shows the table again.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 222: the start row is open floor to the right of the hero (see play_test.sh), with two
# bomb pick-ups and then a coin of 2 along it.
SEED=222
played="$HARNESS_RUN/played.bmp"
replayed="$HARNESS_RUN/replayed.bmp"

harness_start_in "$HARNESS_RUN" ./ghostmaze_test_driver --seed "$SEED" --last-frame "$played"
harness_enter_game replay_opening >/dev/null
# A bomb at the start, then right along the row, away from its blast, over the pick-ups to the coin.
harness_tap b 0.2
harness_hold Right 7
harness_hold Left 0.5
sleep 0.5
harness_tap Escape 0.2
for _ in $(seq 100); do
  [ -s "$played" ] && break
  sleep 0.1
done
[ -s "$played" ] || harness_fail "the test program wrote no last frame of the game"
kill -TERM "$GAME_PID"
harness_wait_exit 20
recording="$HARNESS_RUN/replays/last.gmr"
[ -s "$recording" ] || harness_fail "the game left no recording in replays/"
ls "$HARNESS_RUN"/replays/row-*.gmr >/dev/null 2>&1 || harness_fail "the table's row has no recording"

score=$(awk '$1 == "score" { print $2; exit }' "$recording")
level=$(awk '$1 == "level" { print $2; exit }' "$recording")
tabled=$(awk '{ print $2; exit }' "$HARNESS_RUN/high_score.txt")
[ "$score" = "$tabled" ] || harness_fail "the recording says score $score, the table $tabled"
[ "$score" -gt 0 ] || harness_fail "the walk picked up nothing, so the test proves little"
verified=$(cd "$HARNESS_RUN" && env -u DISPLAY ./ghostmaze --verify replays/last.gmr)
status=$?
[ "$status" -eq 0 ] || harness_fail "--verify ended with status $status: $verified"
[ "$verified" = "score $score level $level" ] || harness_fail "--verify printed \"$verified\", not score $score level $level"

harness_start_in "$HARNESS_RUN" ./ghostmaze_test_driver --seed 1 --replay replays/last.gmr --last-frame "$replayed"
harness_wait_exit 120
[ "$GAME_STATUS" -eq 0 ] || harness_fail "--replay ended with status $GAME_STATUS"
[ -s "$replayed" ] || harness_fail "the replay wrote no last frame"
differing=$(compare -metric AE "$played" "$replayed" null: 2>&1)
cp "$played" "$replayed" "$HARNESS_SHOTS/" 2>/dev/null
[ "$differing" = 0 ] || harness_fail "the replay's last frame differs from the game's in $differing pixels"
# The table: its one row carries the play sign; Enter watches it, and the table comes back.
harness_start_game 1
harness_click 150 322
table=$(harness_wait_for replay_table 10 harness_on_high_scores)
[ "$(harness_pixel "$table" 1165 180)" = "255 255 255" ] || harness_fail "the row with a recording is not marked (see $table)"
harness_tap Return 0.2
harness_wait_for replay_watching 15 harness_in_game >/dev/null
harness_wait_for replay_table_again 60 harness_on_high_scores >/dev/null
harness_tap Escape 0.2
harness_wait_for replay_menu 10 harness_on_menu >/dev/null
kill -TERM "$GAME_PID"
harness_wait_exit 20
echo "replay: ok (score $score, level $level)"
