#!/usr/bin/env bash
# The game's pace as a player gets it: ten seconds of play at level 1 put 58 to 61 frames a
# second on the screen, counted by the test build of the program.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
REPORTER="$HARNESS_GAME_DIR/ghostmaze_frame_report"
[ -x "$REPORTER" ] || harness_fail "no test build of the program at $REPORTER"
ln -sf "$REPORTER" "$HARNESS_RUN/ghostmaze"

harness_start_game
harness_enter_game pace_opening >/dev/null

# Walk about a little, as a player would, for ten seconds.
harness_key_down Right
sleep 3
harness_key_up Right
harness_key_down Down
sleep 2
harness_key_up Down
sleep 5
harness_key Escape
for _ in $(seq 50); do
  grep -q "presented" "$HARNESS_RUN/stderr.log" && break
  sleep 0.1
done
report=$(grep "presented" "$HARNESS_RUN/stderr.log" | tail -n1)
[ -n "$report" ] || harness_fail "the game told no frame count: $(cat "$HARNESS_RUN/stderr.log")"
frames=$(echo "$report" | sed -n 's/.*presented \([0-9]*\) frames in \([0-9.]*\) s.*/\1/p')
seconds=$(echo "$report" | sed -n 's/.*presented \([0-9]*\) frames in \([0-9.]*\) s.*/\2/p')
awk -v s="$seconds" 'BEGIN { exit !(s >= 9.5) }' || harness_fail "the game lasted only $seconds s: $report"
rate=$(awk -v f="$frames" -v s="$seconds" 'BEGIN { printf "%.2f", (f - 1) / s }')
echo "presented $frames frames in $seconds s: $rate frames a second"
awk -v r="$rate" 'BEGIN { exit !(r >= 58 && r <= 61) }' || harness_fail "$rate frames a second, not 58 to 61"
echo "PASS"
