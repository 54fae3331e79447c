#!/usr/bin/env bash
# The real program starts in a 1280 x 720 window and ends cleanly; with a picture missing or
# damaged, or a sound that is damaged or no file, it refuses to start and names the file.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"

# A run folder with a picture missing, a picture whose header is damaged (a height of INT_MIN),
# a sound of sample rate 0 or a sound that is a FIFO: exit status 1 before any game, and the
# file named on stderr (with what is wrong, where the pattern says it).
broken_run() {  # broken_run FILE DAMAGE-COMMAND
  local broken status
  broken=$(mktemp -d /tmp/ghostmaze-broken-XXXXXX)
  cp -r "$HARNESS_GAME_DIR/_bmp" "$HARNESS_GAME_DIR/_sample" "$broken/"
  (cd "$broken" && eval "$2")
  (cd "$broken" && timeout 30 "$HARNESS_GAME_DIR/ghostmaze" 2>"$broken/stderr.log")
  status=$?
  grep -q "$1" "$broken/stderr.log" || harness_fail "the broken $1 was not named: $(cat "$broken/stderr.log")"
  rm -rf "$broken"
  [ "$status" -eq 1 ] || harness_fail "a start with a broken $1 ended with status $status, not 1"
}
broken_run _bmp/sprites.bmp "rm _bmp/sprites.bmp"
broken_run _bmp/teren.bmp "printf '\\000\\000\\000\\200' | dd of=_bmp/teren.bmp bs=1 seek=22 conv=notrunc 2>/dev/null"
broken_run "_sample/krzyk1.wav (damaged sound: sample rate 0," \
  "printf '\\000\\000\\000\\000' | dd of=_sample/krzyk1.wav bs=1 seek=24 conv=notrunc 2>/dev/null"
broken_run _sample/x_coin.wav "rm _sample/x_coin.wav && mkfifo _sample/x_coin.wav"

# The shipped program itself: its window, 1280 x 720.
harness_start_shipped
size=$(harness_window_size)
[ "$size" = "1280x720" ] || harness_fail "the window is $size, not 1280x720"
harness_screenshot startup >/dev/null

# Escape ends the game; the program then leaves by the menu's quit choice with status 0.
# (Before the menu exists the menu loop plays one game and quits; afterwards the quit button does.)
harness_hold Escape 0.5
if kill -0 "$GAME_PID" 2>/dev/null; then
  # The menu is up: its fourth button quits.
  harness_click 150 404
fi
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the program ended with status $GAME_STATUS"
echo "startup: ok"
