#!/usr/bin/env bash
# The window shows exactly the frame the game drew: the test program keeps one frame of a seeded
# game on the screen and writes what it drew there to a file, and the screenshot's view band
# must match it pixel for pixel.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Any seed will do: the frame is compared with itself as drawn, whatever it holds.
PASS=40
frame="$HARNESS_RUN/frame.bmp"
harness_start_in "$HARNESS_RUN" ./ghostmaze_test_driver --seed 5 --frame "$PASS" "$frame"
harness_enter_game frame_opening >/dev/null
harness_wait_file "$frame" "the test program wrote no frame at pass $PASS"
sleep 0.5
shot=$(harness_screenshot frame_kept)
cp "$frame" "$HARNESS_SHOTS/frame_drawn.bmp"
band="1280x640+0+40"
differing=$(compare -metric AE "${shot}[$band]" "${frame}[$band]" null: 2>&1)
[ "$differing" = 0 ] || harness_fail "the view band shows $differing pixels other than the game drew (see $shot and $HARNESS_SHOTS/frame_drawn.bmp)"
kill -TERM "$GAME_PID"
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the game ended with status $GAME_STATUS"
echo "frame: ok"
