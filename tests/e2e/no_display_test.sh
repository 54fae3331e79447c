#!/usr/bin/env bash
# Started where there is no display, the program says so in one line on standard error and
# ends with status 1, instead of crashing.
set -u
source "$(dirname "$0")/harness.sh"
GAME_DIR=$(cd "$1" && pwd) || harness_fail "no run folder $1"

run=$(mktemp -d /tmp/ghostmaze-nodisplay-XXXXXX)
trap 'rm -rf "$run"' EXIT
ln -s "$GAME_DIR/_bmp" "$run/_bmp"
ln -s "$GAME_DIR/_sample" "$run/_sample"
(cd "$run" && env -u DISPLAY ALLEGRO_NO_SOUND=1 timeout 30 "$GAME_DIR/ghostmaze" >"$run/stdout.log" 2>"$run/stderr.log")
status=$?
[ "$status" -eq 1 ] || harness_fail "without a display the program ended with status $status, not 1: $(cat "$run/stderr.log")"
[ "$(wc -l <"$run/stderr.log")" -eq 1 ] || harness_fail "not one line on stderr: $(cat "$run/stderr.log")"
grep -q "no display: run Ghost Maze from a desktop session" "$run/stderr.log" ||
  harness_fail "the line does not tell what failed and what to do: $(cat "$run/stderr.log")"
[ ! -s "$run/stdout.log" ] || harness_fail "the program wrote on stdout: $(cat "$run/stdout.log")"
echo "no display: ok"
