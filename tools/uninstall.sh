#!/usr/bin/env bash
# uninstall.sh MANIFEST ROOT [FOLDERS]: removes the files an install listed in MANIFEST (CMake's
# install_manifest.txt), all of which must lie under ROOT, then the game's own folders and the
# folders the install created (listed in FOLDERS, deepest first) that are left empty. Nothing else
# is touched: not the player's folder with its name and high scores, nor a folder that was there
# before the install (share/icons, share/man).
set -euo pipefail

manifest=$1
root=$(realpath -m "$2")
folders=${3:-}
if [ ! -s "$manifest" ]; then
  echo "Nothing to uninstall: $manifest lists no installed files (run make install first)." >&2
  exit 1
fi

mapfile -t files < "$manifest"
for file in "${files[@]}"; do
  case "$file" in
    "$root"/*) ;;
    *)
      echo "The last install did not go to $root: $manifest lists $file." >&2
      echo "Uninstall with the same PREFIX (and DESTDIR) as that install." >&2
      exit 1
      ;;
  esac
done

for file in "${files[@]}"; do
  if [ -d "$file" ] && [ ! -L "$file" ]; then continue; fi
  rm -f "$file"
  # Climb out of the folders named after the game, dropping each one left empty.
  folder=$(dirname "$file")
  while [ "$folder" != "$root" ] && [[ "${folder#"$root"}" == */ghostmaze* ]]; do
    rmdir "$folder" 2>/dev/null || break
    folder=$(dirname "$folder")
  done
done
if [ -n "$folders" ] && [ -f "$folders" ]; then
  while IFS= read -r folder; do
    case "$folder" in "$root"|"$root"/*) rmdir "$folder" 2>/dev/null || true ;; esac
  done <"$folders"
  rm -f "$folders"
fi
rm -f "$manifest"
echo "Removed ${#files[@]} files from $root."
