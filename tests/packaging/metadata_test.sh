#!/usr/bin/env bash
# metadata_test.sh PACKAGING_DIR: what desktops and software centres read of the game passes
# their own checkers without a warning, names one id throughout, and the manual page renders
# without a warning.
set -u
dir=$1
id=io.github.ghostmaze.GhostMaze
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

desktop="$dir/$id.desktop"
metainfo="$dir/$id.metainfo.xml"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
[ -z "$out" ] || fail "desktop-file-validate: $out"

# Infos and pedantic notes are advice; warnings and errors are faults.
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate failed: $out"
! grep -qE '^[EW]:' <<<"$out" || fail "appstreamcli validate: $out"

# The software centre finds the menu entry by the metadata's id, and the icon by its name.
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metadata does not launch $id.desktop"
grep -q '^Icon=ghostmaze$' "$desktop" || fail "the menu entry's icon is not ghostmaze"
grep -q '<icon type="stock">ghostmaze</icon>' "$metainfo" || fail "the metadata's icon is not ghostmaze"
for shot in $(grep -o 'docs/[a-z_]*\.png' "$metainfo"); do
  [ -f "$dir/../$shot" ] || fail "the metadata shows $shot, which docs/ lacks"
done

out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$dir/ghostmaze.6" 2>&1 >/dev/null) || fail "man cannot render ghostmaze.6"
[ -z "$out" ] || fail "man warns about ghostmaze.6: $out"

[ "$failed" -eq 0 ] && echo "metadata: ok"
exit "$failed"
