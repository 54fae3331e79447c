#!/usr/bin/env bash
# The high-score table as players meet it: a full table shows all nine rows with their ranks
# inside the window; two games in one folder closed at the same moment both keep their results;
# a game whose start fails (a picture damaged after the menu showed) records nothing and the
# menu comes back.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 225 starts the ghosts over 1100 pixels away: the hero is alive whenever the games end.
SEED=225
SCORES_Y=322; PLAY_Y=158; BUTTON_X=150
WM="$HARNESS_GAME_DIR/../tests/window_manager"
[ -x "$WM" ] || harness_fail "no window_manager tool at $WM (built with the tests)"

# The games this script starts beside the harness's own, ended with it.
EXTRA_PIDS=()
cleanup() {
  for pid in "${EXTRA_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  harness_cleanup
}
trap cleanup EXIT

# The menu is back when its four buttons are drawn.
shows_menu() {
  local y
  for y in 158 240 322 404; do
    [ "$(harness_region_colours "$1" 21 $((y - 25)) 268 50)" -gt 3 ] || return 1
  done
}

# column_extent FILE X R G B: prints "TOP BOTTOM", the first and last y of that colour in
# column X of a screenshot ("-1 -1" when it is not there).
column_extent() {
  local want
  want=$(printf '#%02X%02X%02X ' "$3" "$4" "$5")
  convert "$1" -crop "1x720+$2+0" +repage -alpha off -depth 8 txt:- |
    awk -v want="$want" 'NR > 1 && index($0, want) { split($1, at, /[,:]/); if (top == "") top = at[2]; bottom = at[2] }
      END { print (top == "" ? -1 : top), (bottom == "" ? -1 : bottom) }'
}

# 1. A full table: every row's band lies between the title and the footer (y 705), in the
# window, one below the other, with a rank glyph on it.
for i in 1 2 3 4 5 6 7 8 9; do printf 'ROW%d\t%d\n' "$i" $((1000 - i)); done >"$HARNESS_RUN/high_score.txt"
harness_start_game "$SEED"
harness_click $BUTTON_X $SCORES_Y
shot=$(harness_wait_for table_nine_rows 10 harness_on_high_scores)
last=143
for i in 0 1 2 3 4 5 6 7 8; do
  shade=$((200 / (i + 1)))
  read -r top bottom <<<"$(column_extent "$shot" 210 $shade $shade 0)"
  [ "$top" -gt "$last" ] && [ "$bottom" -lt 700 ] ||
    harness_fail "row $((i + 1))'s band lies at y $top to $bottom, not between y $last and the footer (see $shot)"
  [ "$(harness_region_colours "$shot" 402 "$top" 46 $((bottom - top)))" -gt 2 ] ||
    harness_fail "row $((i + 1)) has no rank (see $shot)"
  [ "$(harness_region_colours "$shot" 500 "$top" 100 $((bottom - top)))" -gt 2 ] ||
    harness_fail "row $((i + 1)) shows no name (see $shot)"
  last=$bottom
done
"$WM" close "$GAME_WINDOW" || harness_fail "the close message could not be sent"
harness_wait_exit 10

# 2. Two games in one folder, both closed at the same moment, ten times: no result is lost.
# start_two: both games started in the run folder and in a game; sets WINDOWS.
start_two() {
  local pids=() k windows=""
  for k in 1 2; do
    (cd "$HARNESS_RUN" && exec ./ghostmaze_test_driver --seed "$SEED" >/dev/null 2>>"$HARNESS_RUN/stderr_two.log") &
    pids+=($!)
  done
  EXTRA_PIDS=("${pids[@]}")
  for _ in $(seq 150); do
    windows=$(for k in "${pids[@]}"; do xdotool search --all --pid "$k" --name "Ghost Maze" 2>/dev/null | head -n1; done)
    [ "$(echo "$windows" | grep -c .)" -eq 2 ] && break
    for k in "${pids[@]}"; do kill -0 "$k" 2>/dev/null || harness_fail "a game ended before its window appeared: $(tail -n3 "$HARNESS_RUN/stderr_two.log")"; done
    sleep 0.1
  done
  [ "$(echo "$windows" | grep -c .)" -eq 2 ] || harness_fail "xdotool finds $(echo "$windows" | grep -c .) game windows, not 2"
  WINDOWS=$windows
  sleep 1
  # Each window raised in turn and its START GAME clicked: the other lies under it.
  for GAME_WINDOW in $WINDOWS; do
    xdotool windowmove "$GAME_WINDOW" 0 0 windowraise "$GAME_WINDOW" 2>/dev/null
    xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
    sleep 0.3
    harness_click $BUTTON_X $PLAY_Y
  done
  sleep 1.5
}
for try in 1 2 3 4 5 6 7 8 9 10; do
  rm -f "$HARNESS_RUN/high_score.txt"
  start_two
  # shellcheck disable=SC2086
  "$WM" close $WINDOWS || harness_fail "the close messages could not be sent"
  for pid in "${EXTRA_PIDS[@]}"; do
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && harness_fail "try $try: a game did not end within 10 s of its close request"
    wait "$pid" || harness_fail "try $try: a game ended with status $?: $(tail -n3 "$HARNESS_RUN/stderr_two.log")"
  done
  EXTRA_PIDS=()
  rows=$(grep -c . "$HARNESS_RUN/high_score.txt" 2>/dev/null)
  [ "$rows" = "2" ] ||
    harness_fail "try $try: the table holds '$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)' after two games, not two rows ($(tail -n3 "$HARNESS_RUN/stderr_two.log"))"
done

# 3. A picture only a game uses is damaged after the menu showed: START GAME says why, records
# nothing, and the menu comes back. The run folder gets pictures of its own to damage.
rm "$HARNESS_RUN/_bmp"
mkdir "$HARNESS_RUN/_bmp"
for picture in "$HARNESS_GAME_DIR"/_bmp/*.bmp; do ln -s "$picture" "$HARNESS_RUN/_bmp/"; done
printf 'ALA\t120\n' >"$HARNESS_RUN/high_score.txt"
harness_start_game "$SEED"
# The start-up's own check of the pictures must be over: the menu shows once it is.
harness_wait_for table_menu_before 20 harness_menu_drawn >/dev/null
rm "$HARNESS_RUN/_bmp/teren.bmp"
head -c 60 "$HARNESS_GAME_DIR/_bmp/teren.bmp" >"$HARNESS_RUN/_bmp/teren.bmp"
harness_click $BUTTON_X $PLAY_Y
for _ in $(seq 20); do
  grep -q "teren.bmp" "$HARNESS_RUN/stderr.log" && break
  harness_alive "starting a game with a damaged picture"
  sleep 0.5
done
grep -q "teren.bmp" "$HARNESS_RUN/stderr.log" || harness_fail "stderr does not name the damaged picture: $(cat "$HARNESS_RUN/stderr.log")"
[ "$(cat "$HARNESS_RUN/high_score.txt")" = "$(printf 'ALA\t120')" ] ||
  harness_fail "the failed start changed the table: '$(cat "$HARNESS_RUN/high_score.txt")'"
harness_wait_for table_failed_start 10 shows_menu >/dev/null
echo "high score table: ok"
