#!/usr/bin/env bash
# Started where there is no display, or where the display named cannot be opened, the program
# says which in one line on standard error and ends with status 1, instead of crashing.
set -u
source "$(dirname "$0")/harness.sh"
GAME_DIR=$(cd "$1" && pwd) || harness_fail "no run folder $1"

run=$(mktemp -d /tmp/ghostmaze-nodisplay-XXXXXX)
trap 'rm -rf "$run"' EXIT
ln -s "$GAME_DIR/_bmp" "$run/_bmp"
ln -s "$GAME_DIR/_sample" "$run/_sample"

# refused DISPLAY-SETTING EXPECTED: one line on stderr holding EXPECTED, status 1, nothing on stdout.
refused() {
  (cd "$run" && env $1 ALLEGRO_NO_SOUND=1 timeout 30 "$GAME_DIR/ghostmaze" >"$run/stdout.log" 2>"$run/stderr.log")
  local status=$?
  [ "$status" -eq 1 ] || harness_fail "with $1 the program ended with status $status, not 1: $(cat "$run/stderr.log")"
  [ "$(wc -l <"$run/stderr.log")" -eq 1 ] || harness_fail "with $1, not one line on stderr: $(cat "$run/stderr.log")"
  grep -qF "$2" "$run/stderr.log" || harness_fail "with $1 the line does not say \"$2\": $(cat "$run/stderr.log")"
  [ ! -s "$run/stdout.log" ] || harness_fail "with $1 the program wrote on stdout: $(cat "$run/stdout.log")"
}
refused "-u DISPLAY" "no display: run Ghost Maze from a desktop session"
# A display number no server here has.
refused "DISPLAY=:4711" "the display :4711 cannot be opened"
echo "no display: ok"
