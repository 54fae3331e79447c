#!/usr/bin/env bash
# How much of one core the paced game takes: the game plays in a virtual X display, walking about
# as a player would, and the share is the kernel's count of the game's processor time (user and
# system ticks, /proc/PID/task/TID/stat) over the seconds of play, for each of its threads and in
# all. Without a level it runs the shipped program at level 1, whose mazes differ from run to run
# only in where the walls stand; with one, the seeded test program started at that level (its
# watch over every pass costs a little time of its own).
#   tools/cpu-share.sh [RUN_FOLDER] [SECONDS] [LEVEL]
# RUN_FOLDER is the build's run folder (build/game by default), SECONDS 10 by default. Prints
# the shares with the load average at the time, since neighbours on shared cores make every
# pass dearer; exits 1 when the whole is above the 8% of a core the game is held to.
set -u
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
RUN_FOLDER=${1:-$SOURCE_DIR/build/game}
PLAY_SECONDS=${2:-10}
LEVEL=${3:-}
MOST_PERCENT=8
SEED=1

SHOTS=$(mktemp -d /tmp/ghostmaze-cpu-share-XXXXXX)
source "$SOURCE_DIR/tests/e2e/harness.sh"
harness_init "$RUN_FOLDER" "$SHOTS"
trap 'harness_cleanup; rm -rf "$SHOTS"' EXIT

if [ -n "$LEVEL" ]; then
  harness_start_in "$HARNESS_RUN" ./ghostmaze_test_driver --seed "$SEED" --level "$LEVEL"
else
  harness_start_shipped
  LEVEL=1
fi
harness_enter_game cpu_share_opening >/dev/null
sleep 1  # past the level's first frames, which paint its pictures

# "TID NAME TICKS" for each thread of the game: fields 14 and 15 of its stat, counted after the
# name, which is in parentheses.
thread_ticks() {
  local stat
  for stat in /proc/"$GAME_PID"/task/*/stat; do
    [ -r "$stat" ] || continue
    sed -E 's/^([0-9]+) \((.*)\) (.*)$/\1 \2\t\3/' "$stat" 2>/dev/null |
      awk -F'\t' '{ split($2, f, " "); n = split($1, id, " "); print id[1], f[12] + f[13] }'
  done
}
thread_name() { tr ' ' '_' <"/proc/$GAME_PID/task/$1/comm" 2>/dev/null || echo gone; }

before=$(thread_ticks)
names=$(for tid in $(echo "$before" | cut -d' ' -f1); do echo "$tid $(thread_name "$tid")"; done)
start_time=$(date +%s.%N)
harness_walk_about "$PLAY_SECONDS"
after=$(thread_ticks)
end_time=$(date +%s.%N)
kill -0 "$GAME_PID" 2>/dev/null || harness_fail "the game ended during the measurement"
load=$(cut -d' ' -f1-3 /proc/loadavg)

# Per thread, in order of share; a thread that came or went counts what it did while measured.
report=$(awk -v hz="$(getconf CLK_TCK)" -v a="$start_time" -v b="$end_time" -v names="$names" '
  BEGIN { n = split(names, lines, "\n"); for (i = 1; i <= n; ++i) { split(lines[i], p, " "); name[p[1]] = p[2] } }
  FNR == NR { start[$1] = $2; next }
  { used[$1] = $2 - ($1 in start ? start[$1] : 0) }
  END {
    total = 0
    for (tid in used) {
      share = 100 * used[tid] / hz / (b - a); total += share
      printf "  thread %s (%s): %.1f%%\n", tid, (tid in name ? name[tid] : "new"), share
    }
    printf "%.1f %.1f\n", total, b - a
  }' <(echo "$before") <(echo "$after"))
share=$(echo "$report" | tail -n1 | cut -d' ' -f1)
seconds=$(echo "$report" | tail -n1 | cut -d' ' -f2)
echo "the paced game at level $LEVEL used $share% of one core over $seconds s (load average $load)"
echo "$report" | sed '$d' | sort -t: -k2 -rn
awk -v s="$share" -v m="$MOST_PERCENT" 'BEGIN { exit !(s <= m) }' || { echo "more than $MOST_PERCENT%"; exit 1; }
