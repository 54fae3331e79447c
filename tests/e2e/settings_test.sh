#!/usr/bin/env bash
# Settings that stay: a game played with keys remapped in settings.cfg, where the old keys do
# nothing; M turns the sound off, which the file keeps, and the next start begins silent.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"
# Seed 222: the start row is open floor for 18 cells right of the hero and the ghosts start over
# 1000 pixels away, so walking right is seen and the hero lives.
SEED=222

cat >"$HARNESS_RUN/settings.cfg" <<'CFG'
[keys]
right = D
end = Q
CFG

harness_start_game "$SEED"
harness_tap Return
harness_wait_for remap_game 5 harness_in_game >/dev/null
sleep 0.5
# The arrow no longer walks; the key put in its place does.
harness_hold Right 0.6
sleep 0.3
stood=$(harness_screenshot remap_right_arrow)
share=$(harness_hero_at "$stood" 80 120)
harness_at_least "$share" 0.9 || harness_fail "Right walked, or the hero is not at his start (match $share, see $stood)"
harness_hold d 0.6
sleep 0.3
walked=$(harness_screenshot remap_d)
share=$(harness_hero_at "$walked" 80 120)
harness_at_least "$share" 0.5 && harness_fail "D did not walk the hero (match at his start $share, see $walked)"
harness_tap q
harness_wait_for remap_ended 5 harness_on_menu >/dev/null
[ -s "$HARNESS_RUN/high_score.txt" ] || harness_fail "Q did not end the game as Escape does"

# M in the menu: sound off, and saved with the remapped keys kept.
harness_tap m
sleep 0.5
grep -qx "on = no" "$HARNESS_RUN/settings.cfg" || harness_fail "M was not saved: $(cat "$HARNESS_RUN/settings.cfg")"
grep -qx "right = D" "$HARNESS_RUN/settings.cfg" || harness_fail "saving lost the remapped key"
harness_tap Escape
harness_tap Return
harness_wait_exit 10

# The next start is silent: M now turns the sound on again.
harness_start_game "$SEED"
grep -qx "on = no" "$HARNESS_RUN/settings.cfg" || harness_fail "starting again changed the sound setting"
harness_tap m
sleep 0.5
grep -qx "on = yes" "$HARNESS_RUN/settings.cfg" || harness_fail "the second start did not begin silent"
echo "settings: ok"
