# The end-to-end harness: the game in a virtual X display, driven by xdotool, looked at through
# screenshots. Games are played by the test program ghostmaze_test_driver, the same game with a
# seed the test gives, so each scenario plays the same mazes every run; the shipped ghostmaze is
# started only where its own start-up is under test. Source it from a *_test.sh script:
#   source "$(dirname "$0")/harness.sh"; harness_init "$1" "$2"
# Every function fails the test (exit 1) with a message when something does not hold.

HARNESS_GAME_DIR=""      # the build's run folder: ghostmaze, ghostmaze_test_driver, _bmp/, _sample/
HARNESS_SHOTS=""         # where screenshots are kept for a person to look at
HARNESS_RUN=""           # this test's own run folder (files the game writes land here)
HARNESS_XVFB_PID=""
GAME_PID=""
GAME_WINDOW=""

harness_fail() {
  echo "FAIL: $*" >&2
  # Called inside $(...), it must still end the test, not just its own subshell.
  [ "$BASHPID" = "$$" ] || kill -USR1 "$$"
  exit 1
}

# harness_stop PID: ends a process of this test and waits until it has gone, so that the next
# test never meets a server still leaving its display.
harness_stop() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 50); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}

harness_cleanup() {
  [ -n "$GAME_PID" ] && harness_stop "$GAME_PID"
  [ -n "$HARNESS_XVFB_PID" ] && harness_stop "$HARNESS_XVFB_PID"
  [ -n "$HARNESS_RUN" ] && rm -rf "$HARNESS_RUN"
  return 0
}

# harness_alive WHAT: fails the test at once when its game has ended, saying so and why.
harness_alive() {
  [ -z "$GAME_PID" ] || kill -0 "$GAME_PID" 2>/dev/null ||
    harness_fail "the game ended unexpectedly ($1): $(tail -n 3 "$HARNESS_RUN/stderr.log" 2>/dev/null)"
}

# harness_init GAME_DIR SHOT_DIR: a private display and a fresh run folder.
harness_init() {
  HARNESS_GAME_DIR=$(cd "$1" && pwd) || harness_fail "no run folder $1"
  HARNESS_SHOTS="$2"
  mkdir -p "$HARNESS_SHOTS"
  for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || harness_fail "$tool is not installed (make test installs it)"
  done
  HARNESS_RUN=$(mktemp -d /tmp/ghostmaze-e2e-XXXXXX)
  [ -x "$HARNESS_GAME_DIR/ghostmaze_test_driver" ] || harness_fail "no ghostmaze_test_driver in $HARNESS_GAME_DIR"
  ln -s "$HARNESS_GAME_DIR/ghostmaze" "$HARNESS_RUN/ghostmaze"
  ln -s "$HARNESS_GAME_DIR/ghostmaze_test_driver" "$HARNESS_RUN/ghostmaze_test_driver"
  ln -s "$HARNESS_GAME_DIR/_bmp" "$HARNESS_RUN/_bmp"
  ln -s "$HARNESS_GAME_DIR/_sample" "$HARNESS_RUN/_sample"
  trap harness_cleanup EXIT
  trap 'exit 1' USR1
  # A display counts once a client can open it; a server that dies before that is replaced.
  local attempt
  for attempt in 1 2 3; do
    harness_start_display && break
    echo "the virtual display did not start (attempt $attempt): $(tail -n 3 "$HARNESS_RUN/xvfb.log" 2>/dev/null)" >&2
    [ -n "$HARNESS_XVFB_PID" ] && harness_stop "$HARNESS_XVFB_PID"
    HARNESS_XVFB_PID=""
  done
  [ -n "$HARNESS_XVFB_PID" ] || harness_fail "no virtual display would start"
  # No sound card here: keep the library from waiting for one.
  export ALLEGRO_NO_SOUND=1 SDL_AUDIODRIVER=dummy
}

# harness_start_display: a private Xvfb that a client can open, HARNESS_SCREEN in size (WIDTHxHEIGHT,
# 1600x900 when not set); sets DISPLAY. Fails (status 1)
# when the server reports no display or dies before a client gets in. The server never resets:
# one that resets whenever its last client leaves (the readiness probe, a game that ends)
# refuses whoever connects meanwhile.
harness_start_display() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${HARNESS_SCREEN:-1600x900}x24" -nolisten tcp -noreset 3>"$displayfile" 2>"$HARNESS_RUN/xvfb.log" &
  HARNESS_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$displayfile")"
  rm -f "$displayfile"
  [ "$DISPLAY" != ":" ] || return 1
  for _ in $(seq 100); do
    kill -0 "$HARNESS_XVFB_PID" 2>/dev/null || return 1
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# harness_start_in FOLDER COMMAND...: runs the command in the folder and waits for the game's window.
harness_start_in() {
  local folder=$1
  shift
  (cd "$folder" && exec "$@" >"$HARNESS_RUN/stdout.log" 2>"$HARNESS_RUN/stderr.log") &
  GAME_PID=$!
  harness_wait_window
}

# harness_wait_window: waits for the window of the game GAME_PID, moves it to the corner and
# gives it the keyboard; fails at once if the game ends first.
harness_wait_window() {
  GAME_WINDOW=""
  for _ in $(seq 150); do
    GAME_WINDOW=$(xdotool search --all --pid "$GAME_PID" --name "Ghost Maze" 2>/dev/null | head -n1)
    [ -n "$GAME_WINDOW" ] && break
    kill -0 "$GAME_PID" 2>/dev/null ||
      harness_fail "the game ended before its window appeared: $(cat "$HARNESS_RUN/stderr.log" 2>/dev/null) (display $DISPLAY, its server $(kill -0 "$HARNESS_XVFB_PID" 2>/dev/null && echo running || echo gone): $(tail -n 3 "$HARNESS_RUN/xvfb.log"))"
    sleep 0.1
  done
  [ -n "$GAME_WINDOW" ] || harness_fail "no game window appeared"
  xdotool windowmove "$GAME_WINDOW" 0 0 2>/dev/null
  xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
  sleep 1
}

# harness_start_game SEED: starts the game seeded with SEED in the run folder and waits for its window.
harness_start_game() {
  [ -n "${1:-}" ] || harness_fail "harness_start_game needs a seed"
  harness_start_in "$HARNESS_RUN" ./ghostmaze_test_driver --seed "$1"
}
# harness_start_shipped: starts the shipped program itself (clock-seeded) and waits for its window.
harness_start_shipped() { harness_start_in "$HARNESS_RUN" ./ghostmaze; }

# harness_shows_hud FILE: both HUD strips are drawn, with their white texts.
harness_shows_hud() {
  [ "$(harness_count_colour "$1" 10 5 56 8 255 255 255)" -gt 20 ] &&
    [ "$(harness_count_colour "$1" 5 710 96 8 255 255 255)" -gt 20 ]
}

# harness_enter_game NAME: from the main menu (its first button) into a game, until the HUD
# shows; the last screenshot is kept as NAME.png and its path printed.
harness_enter_game() {
  local shot=""
  for _ in $(seq 10); do
    shot=$(harness_screenshot "$1")
    harness_shows_hud "$shot" && break
    [ "$(harness_region_colours "$shot" 0 0 1280 720)" -gt 16 ] && harness_click 155 158
    sleep 1
  done
  harness_shows_hud "$shot" || harness_fail "the game did not start (see $shot)"
  echo "$shot"
}

# harness_window_size: prints "WIDTHxHEIGHT" of the game window.
harness_window_size() {
  xdotool getwindowgeometry "$GAME_WINDOW" | sed -n 's/.*Geometry: //p'
}

# harness_wait_exit SECONDS: waits for the game to end; sets GAME_STATUS.
harness_wait_exit() {
  local seconds=$1
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID"
      GAME_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  harness_fail "the game did not end within $seconds s"
}

# Input: keys are sent to the focused game window through the X test extension.
harness_key_down() { xdotool windowfocus "$GAME_WINDOW" 2>/dev/null; xdotool keydown "$1"; }
harness_key_up() { xdotool keyup "$1"; }
# harness_walk_about SECONDS: walks as a player would, right for 3 s and down for 2 s, then
# stands until SECONDS (at least 5) have gone.
harness_walk_about() {
  harness_hold Right 3
  harness_hold Down 2
  sleep $(($1 - 5))
}
# harness_hold KEY SECONDS
harness_hold() {
  harness_key_down "$1"
  sleep "$2"
  harness_key_up "$1"
}
harness_type() { xdotool windowfocus "$GAME_WINDOW" 2>/dev/null; xdotool type --delay 250 "$1"; }
# harness_mouse_move X Y (window coordinates)
harness_mouse_move() { xdotool mousemove --window "$GAME_WINDOW" "$1" "$2"; sleep 0.4; }
# harness_click X Y [BUTTON]: press, hold long enough for a 10-a-second poll, release.
harness_click() {
  harness_mouse_move "$1" "$2"
  xdotool mousedown "${3:-1}"
  sleep 0.35
  xdotool mouseup "${3:-1}"
  sleep 0.3
}

# harness_screenshot NAME: the game window as NAME.png in the screenshot folder; prints the path.
# A window gone with its game would keep import waiting for good: the game is looked at first.
harness_screenshot() {
  local file="$HARNESS_SHOTS/$1.png"
  harness_alive "before screenshot $1"
  timeout 30 import -window "$GAME_WINDOW" "$file" 2>/dev/null || {
    harness_alive "during screenshot $1"
    harness_fail "screenshot $1 failed"
  }
  echo "$file"
}

# harness_pixel FILE X Y: prints "R G B" of one pixel.
harness_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# harness_region_mean FILE X Y W H: prints the mean brightness 0..255 of a region.
harness_region_mean() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -format "%[fx:int(255*mean)]" info:
}

# harness_region_colours FILE X Y W H: prints how many distinct colours a region holds.
harness_region_colours() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -format "%k" info:
}

# harness_region_diff FILE_A FILE_B X Y W H: prints how many pixels of a region differ.
harness_region_diff() {
  local a b
  a=$(mktemp --suffix=.png); b=$(mktemp --suffix=.png)
  convert "$1" -crop "$5x$6+$3+$4" +repage "$a"
  convert "$2" -crop "$5x$6+$3+$4" +repage "$b"
  compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1
  rm -f "$a" "$b"
}

harness_expect() {  # harness_expect "what" test-expression...
  local what=$1
  shift
  "$@" || harness_fail "$what"
}

# harness_count_colour FILE X Y W H R G B: prints how many pixels of a region are exactly that
# colour (not black: black is what the count paints everything else).
harness_count_colour() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -alpha off -fill black +opaque "rgb($6,$7,$8)" \
    -fill white -opaque "rgb($6,$7,$8)" -colorspace Gray -format "%[fx:int(mean*w*h+0.5)]" info:
}

# harness_find_sprite FILE SHEET SX SY X0 Y0 X1 Y1: looks for the 40 x 40 cell (SX, SY) of a
# picture sheet in a screenshot, its magenta left out, with its top-left corner anywhere from
# (X0, Y0) to (X1, Y1). Prints "X Y SHARE": the best corner and the share of the cell's pixels
# that match there exactly.
harness_find_sprite() {
  local width=$(($7 - $5 + 40)) height=$(($8 - $6 + 40))
  {
    convert "$2" -crop "40x40+$3+$4" +repage -alpha off -depth 8 txt:- | sed '1d; s/^/S /'
    convert "$1" -crop "${width}x${height}+$5+$6" +repage -alpha off -depth 8 txt:- | sed '1d; s/^/R /'
  } | awk -v x0="$5" -v y0="$6" -v x1="$7" -v y1="$8" '
    {
      split($2, at, /[,:]/)
      match($0, /#[0-9A-Fa-f]+/)
      colour = toupper(substr($0, RSTART + 1, 6))
    }
    $1 == "S" && colour != "FF00FF" { cx[n] = at[1]; cy[n] = at[2]; cc[n] = colour; n++ }
    $1 == "R" { seen[at[1] "," at[2]] = colour }
    END {
      best = -1
      for (oy = 0; oy <= y1 - y0; oy++)
        for (ox = 0; ox <= x1 - x0; ox++) {
          m = 0
          for (i = 0; i < n; i++) if (seen[(ox + cx[i]) "," (oy + cy[i])] == cc[i]) m++
          if (m > best) { best = m; bx = ox; by = oy }
        }
      printf "%d %d %.3f\n", x0 + bx, y0 + by, (n ? best / n : 0)
    }'
}

# harness_tap KEY [SECONDS]: one press of KEY held SECONDS (default 0.05), press and release from
# one xdotool, so starting a process on a busy machine cannot lengthen the hold.
harness_tap() {
  xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
  xdotool keydown "$1" sleep "${2:-0.05}" keyup "$1"
  sleep 0.2
}

# harness_wait_for WHAT SECONDS TEST...: screenshots as WHAT.png until TEST FILE holds; fails after
# SECONDS. Prints the last screenshot's path.
harness_wait_for() {
  local what=$1 seconds=$2 shot=""
  shift 2
  for _ in $(seq $((seconds * 2))); do
    shot=$(harness_screenshot "$what")
    "$@" "$shot" && { echo "$shot"; return 0; }
    sleep 0.5
  done
  harness_fail "$what: not seen within $seconds s (see $shot)"
}

# The screens as a screenshot tells them: a game shows its HUD; the high-score screen its grey
# panel; the menu a black top row and no HUD. harness_highlighted K FILE: the menu's highlight
# frame stands around button K (0 to 3).
harness_in_game() { harness_shows_hud "$1"; }
harness_on_high_scores() { [ "$(harness_pixel "$1" 300 100)" = "50 50 50" ]; }
# harness_wait_file FILE WHAT: waits up to 10 s for the game to write FILE; fails naming WHAT.
harness_wait_file() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  harness_fail "$2"
}

# The menu's poster is drawn once the first page is: a window can show before it is, under load.
harness_menu_drawn() { [ "$(harness_region_colours "$1" 310 20 940 680)" -gt 50 ]; }
harness_on_menu() { [ "$(harness_pixel "$1" 640 5)" = "0 0 0" ] && ! harness_shows_hud "$1" && ! harness_on_high_scores "$1"; }
harness_highlighted() { [ "$(harness_pixel "$2" 18 $((160 + 82 * $1)))" = "255 255 255" ]; }

# harness_hero_at FILE X Y: prints how well the hero facing right (either walking frame) matches
# at screen (X, Y), 0 to 1.
harness_hero_at() {
  local best=0 share column
  for column in 400 440; do
    share=$(harness_find_sprite "$1" "$HARNESS_GAME_DIR/_bmp/sprites.bmp" "$column" 0 "$2" "$3" "$2" "$3" | cut -d' ' -f3)
    best=$(echo "$share $best" | awk '{ print ($1 > $2) ? $1 : $2 }')
  done
  echo "$best"
}
harness_at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# harness_wait_still NAME: waits (up to about 10 s) until two pictures 1.5 s apart are the same,
# as only a paused game is; prints the later one's path, or fails.
harness_wait_still() {
  local first second attempt
  for attempt in 1 2 3 4 5; do
    first=$(harness_screenshot "$1_$attempt")
    sleep 1.5
    second=$(harness_screenshot "$1")
    [ "$(harness_region_diff "$first" "$second" 0 0 1280 720)" -eq 0 ] && { echo "$second"; return 0; }
  done
  harness_fail "$1: the game did not stand still (see $second)"
}
