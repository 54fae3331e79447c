#!/usr/bin/env bash
# The Debian package of this build: named as Debian names packages, depending on the Allegro
# runtime that dpkg-shlibdeps reads from the program, clean under lintian, and, unpacked into a
# temporary root, a launcher that starts the game from any folder with a private HOME.
set -u
source "$(dirname "$0")/harness.sh"
harness_init "$1" "$2"

build_dir=$(cd "$HARNESS_GAME_DIR/.." && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || harness_fail "$tool is not installed (make test installs it)"
done
(cd "$build_dir" && cpack -B "$HARNESS_RUN/package") >"$HARNESS_RUN/cpack.log" 2>&1 ||
  harness_fail "cpack failed: $(tail -n5 "$HARNESS_RUN/cpack.log")"
debs=("$HARNESS_RUN"/package/ghostmaze_*_"$(dpkg --print-architecture)".deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || harness_fail "no single ghostmaze_<version>_<arch>.deb: $(ls "$HARNESS_RUN/package")"
deb=${debs[0]}

# The control fields a packager and apt look at.
info=$(dpkg-deb --info "$deb") || harness_fail "dpkg-deb cannot read $deb"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
grep -q 'liballegro4\.4 (>= ' <<<"$depends" || harness_fail "the package does not depend on the Allegro 4 runtime: $depends"
! grep -q -- '-dev' <<<"$depends" || harness_fail "the package depends on a development package: $depends"
grep -q '^ Section: games$' <<<"$info" || harness_fail "the package is not in the games section"

# The layout Debian gives a game, and nothing of "make install"'s own launcher.
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in usr/games/ghostmaze usr/lib/games/ghostmaze/ghostmaze usr/share/games/ghostmaze/_bmp/sprites.bmp \
            usr/share/games/ghostmaze/_sample/x_coin.wav usr/share/applications/io.github.ghostmaze.GhostMaze.desktop \
            usr/share/metainfo/io.github.ghostmaze.GhostMaze.metainfo.xml usr/share/man/man6/ghostmaze.6.gz \
            usr/share/doc/ghostmaze/copyright usr/share/doc/ghostmaze/changelog.gz \
            usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/ghostmaze.png; do
  grep -qx "\./$file" <<<"$contents" || harness_fail "the package lacks /$file"
done
! grep -q '^\./usr/bin/' <<<"$contents" || harness_fail "the package puts files in /usr/bin"

# Errors and warnings both fail; lintian's infos are advice.
lintian --fail-on error,warning "$deb" >"$HARNESS_RUN/lintian.log" 2>&1 ||
  harness_fail "lintian: $(grep -v 'root privileges' "$HARNESS_RUN/lintian.log")"

# Unpacked into a root of its own and started from an unrelated folder with a fresh HOME.
root="$HARNESS_RUN/root"
home="$HARNESS_RUN/home"
dpkg -x "$deb" "$root" || harness_fail "dpkg -x failed"
mkdir -p "$home" "$HARNESS_RUN/elsewhere"
harness_start_in "$HARNESS_RUN/elsewhere" env -u XDG_DATA_HOME HOME="$home" "$root/usr/games/ghostmaze"
harness_wait_for package_menu 20 harness_menu_drawn >/dev/null
[ -e "$home/.local/share/ghostmaze/_bmp/sprites.bmp" ] || harness_fail "the private HOME has no pictures linked in"

# The menu's quit button ends it cleanly.
harness_click 150 404
harness_wait_exit 20
[ "$GAME_STATUS" -eq 0 ] || harness_fail "the installed game ended with status $GAME_STATUS"
echo "package: ok"
