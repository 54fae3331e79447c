#!/bin/sh
# Starts the installed Ghost Maze in the player's own folder, where the pictures and sounds
# are linked in and where "player.txt" and "high_score.txt" are kept between runs.
set -e
here=$(dirname "$(readlink -f "$0")")
prefix=$(cd "$here/.." && pwd)
data="$prefix/share/games/ghostmaze"
folder="${XDG_DATA_HOME:-$HOME/.local/share}/ghostmaze"
mkdir -p "$folder"
for assets in _bmp _sample; do
  ln -sfn "$data/$assets" "$folder/$assets"
done
cd "$folder"
exec "$prefix/lib/games/ghostmaze/ghostmaze" "$@"
