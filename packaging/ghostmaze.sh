#!/bin/sh
# Starts the installed Ghost Maze in the player's own folder, where the pictures and sounds
# are linked in and where "player.txt" and "high_score.txt" are kept between runs.
set -e
here=$(dirname "$(readlink -f "$0")")
prefix=$(cd "$here/.." && pwd)
data="$prefix/share/games/ghostmaze"
# The XDG rules: an XDG_DATA_HOME that is not an absolute path is ignored. Without it, HOME
# must be an absolute path too, or the files would land in / or in whatever folder we were started from.
case "${XDG_DATA_HOME:-}" in
  /*) base=$XDG_DATA_HOME ;;
  *)
    case "${HOME:-}" in
      /*) base=$HOME/.local/share ;;
      *)
        echo "ghostmaze: set HOME (or XDG_DATA_HOME) to an absolute path: the game keeps its files under it" >&2
        exit 1 ;;
    esac ;;
esac
folder="$base/ghostmaze"
mkdir -p "$folder"
for assets in _bmp _sample; do
  ln -sfn "$data/$assets" "$folder/$assets"
done
# A recording named by a relative path is the one where the player is, not in the game's folder.
started=$(pwd)
previous=
for argument do
  shift
  case "$previous" in
    --replay|--verify) case "$argument" in /*) ;; *) argument="$started/$argument" ;; esac ;;
  esac
  set -- "$@" "$argument"
  previous=$argument
done
cd "$folder"
exec "$prefix/lib/games/ghostmaze/ghostmaze" "$@"
