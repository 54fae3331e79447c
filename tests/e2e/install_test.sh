#!/usr/bin/env bash
# An install into a temporary prefix behaves like a desktop game: the launcher starts the game
# from any folder in the player's own data folder, which keeps the pictures and sounds linked
# and the two text files between runs; the uninstall takes every installed file and every folder
# the install made, and leaves the player's files and the folders that were there before.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"

build_dir=$(cd "$HARNESS_GAME_DIR/.." && pwd)
prefix="$HARNESS_RUN/prefix"
home="$HARNESS_RUN/home"
tools="$(dirname "$0")/../../tools"
# share/man stands for a folder the game shares with other programs: the uninstall keeps it.
mkdir -p "$prefix/share/man"
bash "$tools/install.sh" "$build_dir" "$prefix" >/dev/null || harness_fail "the install failed"
entry="$prefix/share/applications/io.github.ghostmaze.GhostMaze.desktop"
for file in bin/ghostmaze lib/games/ghostmaze/ghostmaze share/games/ghostmaze/_bmp/sprites.bmp \
            share/games/ghostmaze/_sample/x_coin.wav share/metainfo/io.github.ghostmaze.GhostMaze.metainfo.xml \
            share/man/man6/ghostmaze.6.gz share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/ghostmaze.png; do
  [ -e "$prefix/$file" ] || harness_fail "the install lacks $file"
done
grep -q '^Exec=ghostmaze' "$entry" || harness_fail "the menu entry does not run ghostmaze"
grep -q '^Icon=ghostmaze' "$entry" || harness_fail "the menu entry has no icon"

# Started from an unrelated folder, with no XDG_DATA_HOME: the default per-user folder.
mkdir -p "$home" "$HARNESS_RUN/elsewhere"
harness_start_in "$HARNESS_RUN/elsewhere" env -u XDG_DATA_HOME HOME="$home" "$prefix/bin/ghostmaze"
harness_screenshot installed >/dev/null
folder="$home/.local/share/ghostmaze"
[ -L "$folder/_bmp" ] && [ -e "$folder/_bmp/sprites.bmp" ] || harness_fail "the per-user folder has no pictures"
[ -L "$folder/_sample" ] && [ -e "$folder/_sample/x_coin.wav" ] || harness_fail "the per-user folder has no sounds"

# A game ended with Escape records its result there, not in the folder it was started from.
# The menu's first button starts the game.
harness_click 150 158
sleep 1.5
harness_hold Escape 0.5
if kill -0 "$GAME_PID" 2>/dev/null; then
  harness_click 150 404
fi
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the installed game ended with status $GAME_STATUS"
[ -s "$folder/high_score.txt" ] || harness_fail "no high_score.txt in the per-user folder"
[ ! -e "$HARNESS_RUN/elsewhere/high_score.txt" ] || harness_fail "the game wrote into the folder it was started from"

# The uninstall goes by the install's lists: nothing of the game is left under the prefix, not
# even an empty folder, and the player's own folder keeps its files.
bash "$tools/uninstall.sh" "$build_dir/installed_files.txt" "$prefix" "$build_dir/installed_folders.txt" >/dev/null ||
  harness_fail "the uninstall failed"
left=$(find "$prefix" -mindepth 1 ! -path "$prefix/share" ! -path "$prefix/share/man")
[ -z "$left" ] || harness_fail "the uninstall left: $left"
[ -d "$prefix/share/man" ] || harness_fail "the uninstall took share/man, which was there before the install"
[ -s "$folder/high_score.txt" ] || harness_fail "the uninstall took the player's high scores"
echo "install: ok"
