#!/usr/bin/env bash
# How much of one core the paced game takes: the shipped program plays level 1 in a virtual X
# display, walking about as a player would, and the share is the kernel's count of the game's
# processor time (user and system ticks of all its threads, /proc/PID/stat) over the seconds of
# play. The shipped program, not the end-to-end tests' seeded one, whose watch over every pass
# costs time of its own; its level 1 mazes differ from run to run only in where the walls stand.
#   tools/cpu-share.sh [RUN_FOLDER] [SECONDS]
# RUN_FOLDER is the build's run folder (build/game by default), SECONDS 10 by default. Prints
# the share with the load average at the time, since neighbours on shared cores make every
# pass dearer; exits 1 when the share is above the 12% of a core the game is held to.
set -u
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
RUN_FOLDER=${1:-$SOURCE_DIR/build/game}
PLAY_SECONDS=${2:-10}
MOST_PERCENT=12

SHOTS=$(mktemp -d /tmp/ghostmaze-cpu-share-XXXXXX)
source "$SOURCE_DIR/tests/e2e/harness.sh"
harness_init "$RUN_FOLDER" "$SHOTS"
trap 'harness_cleanup; rm -rf "$SHOTS"' EXIT

harness_start_shipped
harness_enter_game cpu_share_opening >/dev/null
sleep 1  # past the level's first frames, which paint its pictures

# Processor ticks of the game so far: fields 14 and 15 of its stat, counted after the name,
# which is in parentheses.
game_ticks() { sed 's/.*) //' "/proc/$GAME_PID/stat" | awk '{ print $12 + $13 }'; }

start_ticks=$(game_ticks)
start_time=$(date +%s.%N)
harness_walk_about "$PLAY_SECONDS"
end_ticks=$(game_ticks)
end_time=$(date +%s.%N)
kill -0 "$GAME_PID" 2>/dev/null || harness_fail "the game ended during the measurement"
load=$(cut -d' ' -f1-3 /proc/loadavg)

share=$(awk -v t=$((end_ticks - start_ticks)) -v hz="$(getconf CLK_TCK)" -v a="$start_time" -v b="$end_time" \
  'BEGIN { printf "%.1f", 100 * t / hz / (b - a) }')
echo "the paced game at level 1 used $share% of one core over $(awk -v a="$start_time" -v b="$end_time" \
  'BEGIN { printf "%.1f", b - a }') s (load average $load)"
awk -v s="$share" -v m="$MOST_PERCENT" 'BEGIN { exit !(s <= m) }' || { echo "more than $MOST_PERCENT%"; exit 1; }
