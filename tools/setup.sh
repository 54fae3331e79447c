#!/usr/bin/env bash
# Installs the Debian packages that building and playing (and, with "test", testing) need.
# Only what is missing is installed; it says what it installs.
set -euo pipefail

packages=(build-essential cmake pkg-config liballegro4-dev)
if [ "${1:-}" = "test" ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool imagemagick x11-utils libx11-dev clang libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
