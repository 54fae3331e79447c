#!/usr/bin/env bash
# However it is started, the program runs soundly: with standard error closed it still shows its
# menu and plays; with standard error a pipe whose reader has left, a game ends back in the menu
# with its result recorded; an end signal at any moment of start-up ends it cleanly, never with
# an abort, a core or a hang.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
SEED=222

# start_seeded STDERR-REDIRECTION: the seeded test program, its standard error set by the caller.
start_seeded() {
  (cd "$HARNESS_RUN" && eval "exec ./ghostmaze_test_driver --seed $SEED >\"$HARNESS_RUN/stdout.log\" $1") &
  GAME_PID=$!
  harness_wait_window
}

# end_and_expect_result WHAT [RESULTS]: SIGTERM ends the game in play as the close button does:
# status 0, and the table holds RESULTS results (1 by default).
end_and_expect_result() {
  kill -TERM "$GAME_PID"
  harness_wait_exit 20
  [ "$GAME_STATUS" -eq 0 ] || harness_fail "$1: SIGTERM in a game ended with status $GAME_STATUS"
  [ "$(grep -c . "$HARNESS_RUN/high_score.txt" 2>/dev/null)" = "${2:-1}" ] ||
    harness_fail "$1: the table holds '$(cat "$HARNESS_RUN/high_score.txt" 2>/dev/null)', not ${2:-1} results"
}

# Standard error closed: the X connection must not take its place, or the first line written
# there goes into the X stream and the window stays black.
start_seeded "2>&-"
harness_enter_game closed_stderr >/dev/null
end_and_expect_result "standard error closed"

# Standard error a pipe whose reader has left: writes fail quietly instead of killing the game.
# The test program writes its pace line there at every game's end; the game goes back to the menu.
start_seeded "2> >(exit 0)"
harness_enter_game broken_pipe >/dev/null
harness_hold Escape 0.5
sleep 2
harness_alive "after a game ended with standard error a broken pipe"
[ "$(grep -c . "$HARNESS_RUN/high_score.txt" 2>/dev/null)" = 2 ] || harness_fail "the game ended by Escape was not recorded"
harness_enter_game broken_pipe_again >/dev/null
end_and_expect_result "standard error a broken pipe" 3

# Early signals: TERM, INT and HUP at moments from 0 to about 150 ms after the start. Each ends the
# program with status 0 (or, before the program's own code runs at all, by the signal itself),
# within seconds, and never by an abort (134) or a crash (139). A background job's SIGINT is
# ignored by the shell's rule, so it is given its default back first.
signals=(TERM INT HUP)
for try in $(seq 20); do
  signal=${signals[$((try % 3))]}
  delay=$(printf '0.%03d' $(((try - 1) * 8)))
  (cd "$HARNESS_RUN" && exec env --default-signal=INT ./ghostmaze >/dev/null 2>>"$HARNESS_RUN/early.log") &
  pid=$!
  # The moments count from the program's own start: a signal to the shell or to env before they
  # hand over would never reach it (the shell ignores a background job's SIGINT).
  for _ in $(seq 5000); do
    [[ "$(readlink "/proc/$pid/exe" 2>/dev/null)" == */ghostmaze ]] && break
    sleep 0.001
  done
  sleep "$delay"
  kill -"$signal" "$pid"
  GAME_PID=$pid
  harness_wait_exit 20
  case "$GAME_STATUS" in
    0) ;;
    $((128 + $(kill -l "$signal")))) echo "try $try: SIG$signal came before the program started" ;;
    *) harness_fail "SIG$signal $delay s after the start ended the program with status $GAME_STATUS: $(tail -n 4 "$HARNESS_RUN/early.log")" ;;
  esac
done
echo "process: ok"
