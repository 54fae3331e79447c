#!/usr/bin/env bash
# The window on larger screens, at 1920 x 1080, 2560 x 1440 and 3840 x 2160: it opens at the largest
# whole factor with room for a frame; a click on START GAME at the scaled place starts a game,
# whose view band is exactly the game's frame scaled; F11 without a window manager leaves the
# window as it is and says so; F11 with one that grants full screen fills the screen with the
# picture, and F11 again gives the window back.
set -u
source "$(dirname "$0")/harness.sh"
GAME_DIR=$1 SHOT_DIR=$2
WM="$GAME_DIR/../tests/window_manager"
[ -x "$WM" ] || { echo "FAIL: no window_manager tool at $WM (built with the tests)" >&2; exit 1; }
WM_PID=""
trap '[ -n "$WM_PID" ] && harness_stop "$WM_PID"; harness_cleanup' EXIT

# matches EXPECTED FUZZ PICTURE: PICTURE is EXPECTED pixel for pixel (FUZZ 0), or within FUZZ by RMSE.
matches() {
  local differing
  if [ "$2" = 0 ]; then
    differing=$(compare -metric AE "$1" "$3" null: 2>&1)
    [ "$differing" = 0 ]
  else
    differing=$(compare -metric RMSE "$1" "$3" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v d="$differing" -v f="$2" 'BEGIN { exit !(d <= f) }'
  fi
}

# scaled PICTURE NAME ARGUMENTS...: the picture through convert's ARGUMENTS, kept as NAME.png; prints its path.
scaled() {
  local out="$HARNESS_SHOTS/$2.png" picture=$1
  shift 2
  convert "$picture" "$@" "$out"
  echo "$out"
}

# wait_window_size SIZE: prints the window's size once it is SIZE, or whatever it is after 5 s.
wait_window_size() {
  local size=""
  for _ in $(seq 50); do
    size=$(harness_window_size)
    [ "$size" = "$1" ] && break
    sleep 0.1
  done
  echo "$size"
}

# The refusal's notice: yellow words just below the top strip.
notice_shown() {
  [ "$(harness_count_colour "$1" 0 $((60 * factor)) $((1280 * factor)) $((40 * factor)) 255 255 0)" -gt 200 ]
}

for screen_size in 1920x1080 2560x1440 3840x2160; do
  harness_cleanup
  GAME_PID=""
  HARNESS_SCREEN=$screen_size harness_init "$GAME_DIR" "$SHOT_DIR"
  trap '[ -n "$WM_PID" ] && harness_stop "$WM_PID"; harness_cleanup' EXIT
  tag=scale_${screen_size}
  factor=1
  [ "$screen_size" = 3840x2160 ] && factor=2
  window_size=$((1280 * factor))x$((720 * factor))
  frame="$HARNESS_RUN/frame.bmp"
  harness_start_in "$HARNESS_RUN" ./ghostmaze_test_driver --seed 5 --frame 40 "$frame"
  [ "$(harness_window_size)" = "$window_size" ] ||
    harness_fail "$screen_size: the window is $(harness_window_size), not $window_size"
  menu=$(harness_wait_for "${tag}_menu" 20 harness_menu_drawn)
  # The menu as the game draws it: every block of the window's picture a factor x factor square.
  menu_picture="$HARNESS_SHOTS/${tag}_menu_picture.png"
  convert "$menu" -sample 1280x720 "$menu_picture"
  menu_expected=$(scaled "$menu_picture" "${tag}_menu_expected" -sample "$window_size!")
  matches "$menu_expected" 0 "$menu" || harness_fail "$screen_size: the menu is not in blocks of $factor (see $menu)"

  # No window manager: F11 is refused, and the window says so in yellow over the picture.
  harness_tap F11
  harness_wait_for "${tag}_refused" 5 notice_shown >/dev/null
  [ "$(harness_window_size)" = "$window_size" ] || harness_fail "$screen_size: a refused F11 changed the window"

  # A desktop that grants it: the screen filled with the picture, centred; and back again.
  "$WM" desktop 120 >"$HARNESS_RUN/wm.log" 2>&1 &
  WM_PID=$!
  for _ in $(seq 50); do grep -q ready "$HARNESS_RUN/wm.log" && break; sleep 0.1; done
  sleep 4.5  # the refusal's notice has gone
  harness_tap F11
  [ "$(wait_window_size "$screen_size")" = "$screen_size" ] ||
    harness_fail "$screen_size: full screen left the window at $(harness_window_size)"
  xprop -id "$GAME_WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
    harness_fail "$screen_size: the window is not marked full screen"
  # 1.5 times is the sharp filter, near the plain linear enlargement everywhere.
  if [ "$screen_size" = 1920x1080 ]; then
    harness_wait_for "${tag}_full_screen" 5 matches \
      "$(scaled "$menu_picture" "${tag}_full_expected" -filter Triangle -resize "$screen_size!")" 0.04 >/dev/null
  else
    harness_wait_for "${tag}_full_screen" 5 matches \
      "$(scaled "$menu_picture" "${tag}_full_expected" -sample "$screen_size!")" 0 >/dev/null
  fi
  grep -q '^full_screen = yes' "$HARNESS_RUN/settings.cfg" || harness_fail "$screen_size: full screen was not kept in settings.cfg"
  harness_tap F11
  [ "$(wait_window_size "$window_size")" = "$window_size" ] ||
    harness_fail "$screen_size: leaving full screen left the window at $(harness_window_size)"
  harness_wait_for "${tag}_window_again" 5 matches "$menu_expected" 0 >/dev/null
  harness_stop "$WM_PID"
  WM_PID=""

  # A click where the picture's START GAME button is shown starts a game.
  harness_click $((155 * factor)) $((158 * factor))
  harness_wait_file "$frame" "$screen_size: the click at the scaled START GAME started no game"
  sleep 0.5
  shot=$(harness_screenshot "${tag}_game")
  band="$((1280 * factor))x$((640 * factor))+0+$((40 * factor))"
  matches "$(scaled "$frame" "${tag}_band_expected" -sample "$window_size!" -crop "$band" +repage)" 0 \
    "$(scaled "$shot" "${tag}_band" -crop "$band" +repage)" ||
    harness_fail "$screen_size: the view band is not the game's frame in blocks of $factor (see $shot)"
  kill -TERM "$GAME_PID"
  harness_wait_exit 20
  [ "$GAME_STATUS" -eq 0 ] || harness_fail "$screen_size: the game ended with status $GAME_STATUS"
  echo "window scale at $screen_size: ok"
done
