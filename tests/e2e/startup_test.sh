#!/usr/bin/env bash
# The real program starts in a 1280 x 720 window and ends cleanly; with a picture missing it
# refuses to start and names the file.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"

# A run folder without the sprite sheet: exit status 1 and the file's name on stderr.
broken=$(mktemp -d /tmp/ghostmaze-broken-XXXXXX)
mkdir "$broken/_bmp"
cp "$HARNESS_GAME_DIR"/_bmp/*.bmp "$broken/_bmp/"
rm "$broken/_bmp/sprites.bmp"
ln -s "$HARNESS_GAME_DIR/_sample" "$broken/_sample"
(cd "$broken" && timeout 30 "$HARNESS_GAME_DIR/ghostmaze" 2>"$broken/stderr.log")
status=$?
grep -q "_bmp/sprites.bmp" "$broken/stderr.log" || harness_fail "the missing picture was not named: $(cat "$broken/stderr.log")"
rm -rf "$broken"
[ "$status" -eq 1 ] || harness_fail "a start with a missing picture ended with status $status, not 1"

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
