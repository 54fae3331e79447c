#!/usr/bin/env bash
# install.sh BUILD PREFIX [DESTDIR]: installs the built game under DESTDIR/PREFIX and keeps, for
# the uninstall, the list of installed files (BUILD/installed_files.txt) and the folders this
# install created (BUILD/installed_folders.txt, deepest first), each with DESTDIR.
set -euo pipefail

build=$1
prefix=$2
destdir=${3:-}

# Which folders the install will make: a trial install into a scratch root shows them all, and
# those not yet at their place are the install's own.
scratch=$(mktemp -d /tmp/ghostmaze-install-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
DESTDIR="$scratch" cmake --install "$build" --prefix "$prefix" >/dev/null
: >"$build/installed_folders.txt"
while IFS= read -r folder; do
  folder=${folder#"$scratch"}
  [ -d "$destdir$folder" ] || echo "$destdir$folder" >>"$build/installed_folders.txt"
done < <(find "$scratch$prefix" -depth -type d)

DESTDIR="$destdir" cmake --install "$build" --prefix "$prefix"
awk -v destdir="$destdir" '{ print destdir $0 }' "$build/install_manifest.txt" >"$build/installed_files.txt"

# Debian's login puts ~/.local/bin on the PATH only if it existed at login.
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *) [ -n "$destdir" ] || echo "$prefix/bin is not on your PATH yet (for ~/.local/bin: from your next login); until then start $prefix/bin/ghostmaze" ;;
esac
