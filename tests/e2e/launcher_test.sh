#!/usr/bin/env bash
# The installed launcher picks the player's data folder as the XDG rules say: an absolute
# XDG_DATA_HOME, else HOME/.local/share; a relative XDG_DATA_HOME is ignored, and without an
# absolute HOME it stops with one line instead of writing under / or the current folder.
# The program is stood in for by a script that tells the folder it was started in.
set -u
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
run=$(mktemp -d /tmp/ghostmaze-launcher-XXXXXX)
trap 'rm -rf "$run"' EXIT
mkdir -p "$run/prefix/bin" "$run/prefix/lib/games/ghostmaze" "$run/prefix/share/games/ghostmaze/_bmp" \
         "$run/prefix/share/games/ghostmaze/_sample" "$run/home" "$run/here"
cp "$source_dir/packaging/ghostmaze.sh" "$run/prefix/bin/ghostmaze"
printf '#!/bin/sh\npwd\nfor a do echo "$a"; done\n' >"$run/prefix/lib/games/ghostmaze/ghostmaze"
chmod +x "$run/prefix/bin/ghostmaze" "$run/prefix/lib/games/ghostmaze/ghostmaze"
launch() { (cd "$run/here" && env -i PATH="$PATH" "$@" "$run/prefix/bin/ghostmaze" 2>"$run/stderr"); }

folder=$(launch HOME="$run/home") || fail "the launcher failed with an absolute HOME"
[ "$folder" = "$run/home/.local/share/ghostmaze" ] || fail "HOME alone gave $folder"
[ -L "$folder/_bmp" ] || fail "the pictures are not linked into $folder"

folder=$(launch HOME="$run/home" XDG_DATA_HOME="$run/data") || fail "the launcher failed with XDG_DATA_HOME"
[ "$folder" = "$run/data/ghostmaze" ] || fail "an absolute XDG_DATA_HOME gave $folder"

folder=$(launch HOME="$run/home" XDG_DATA_HOME=relative) || fail "the launcher failed with a relative XDG_DATA_HOME"
[ "$folder" = "$run/home/.local/share/ghostmaze" ] || fail "a relative XDG_DATA_HOME was not ignored: $folder"
[ ! -e "$run/here/relative" ] || fail "a relative XDG_DATA_HOME made a folder where the launcher was started"

for home in "" "HOME=" "HOME=relative"; do
  output=$(launch $home XDG_DATA_HOME=relative)
  status=$?
  [ "$status" -eq 1 ] || fail "with '$home' and no absolute XDG_DATA_HOME the launcher ended with $status, not 1"
  [ -z "$output" ] || fail "with '$home' the program was started in $output"
  [ "$(wc -l <"$run/stderr")" -eq 1 ] && grep -q "HOME" "$run/stderr" || fail "with '$home' the message was: $(cat "$run/stderr")"
done
[ -z "$(ls -A "$run/here")" ] || fail "the launcher wrote into the folder it was started from"
# The arguments go on; a recording's relative path is taken from where the launcher was started.
passed=$(cd "$run/here" && env -i PATH="$PATH" HOME="$run/home" "$run/prefix/bin/ghostmaze" --verify "my game.gmr" \
  --replay /abs.gmr --help | tail -n +2 | tr '\n' '|')
[ "$passed" = "--verify|$run/here/my game.gmr|--replay|/abs.gmr|--help|" ] || fail "the program was handed: $passed"
echo "launcher: ok"
