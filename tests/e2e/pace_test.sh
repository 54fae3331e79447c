#!/usr/bin/env bash
# The game's pace: ten seconds of play at level 1 present 58 to 61 frames a second, one a pass
# of the game loop. What is measured is what the game controls: the test program times
# every pass on the steady clock, from the end of one wait to the end of the next, and the rate
# is taken from the median pass. A neighbour's burst that holds up a few passes leaves the median
# alone; a pacing fault moves it: no wait at all (a few ms), a wait that overshoots and delays the
# next pass, a wait counted from the end of the pass's work or done twice (20 to 33 ms). The median wake-up
# after each deadline is bounded too, for a wait that overshoots without changing the rate.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 222: the hero walks right along 18 open cells and the ghosts start over 1000 pixels away,
# so the ten seconds are ordinary play at level 1.
SEED=222

harness_start_game "$SEED"
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
  grep -q "^Ghost Maze test:" "$HARNESS_RUN/stderr.log" && break
  sleep 0.1
done
report=$(grep "^Ghost Maze test:" "$HARNESS_RUN/stderr.log" | tail -n1)
[ -n "$report" ] || harness_fail "the game told nothing of its pace: $(cat "$HARNESS_RUN/stderr.log")"
echo "$report"
number() { echo "$report" | sed -n "s/.* \([-0-9.]*\) $1.*/\1/p"; }
passes=$(echo "$report" | sed -n 's/^Ghost Maze test: \([0-9]*\) passes.*/\1/p')
seconds=$(number "s, median pass")
period=$(number "ms, median wake-up")
late=$(number "ms after the deadline")
[ -n "$passes" ] && [ -n "$seconds" ] && [ -n "$period" ] && [ -n "$late" ] || harness_fail "an unreadable report: $report"
awk -v s="$seconds" 'BEGIN { exit !(s >= 9.5) }' || harness_fail "the game lasted only $seconds s"
# 58 to 61 passes a second is a median pass of 16.39 to 17.24 ms.
rate=$(awk -v p="$period" 'BEGIN { printf "%.2f", 1000 / p }')
echo "median pass $period ms: $rate passes a second"
awk -v r="$rate" 'BEGIN { exit !(r >= 58 && r <= 61) }' || harness_fail "$rate passes a second, not 58 to 61: $report"
# The passes keep to a grid of deadlines, so a wait that wakes late does not lower the rate; it
# still must not overshoot by a quarter of a pass, far more than a busy machine's wake-up delay.
awk -v l="$late" 'BEGIN { exit !(l >= 0 && l <= 4) }' || harness_fail "the waits end a median $late ms after their deadlines"

# Leave by the menu's quit button: the program ends cleanly after a paced game.
sleep 0.5
harness_click 150 404
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the program ended with status $GAME_STATUS"
echo "PASS"
