#!/usr/bin/env bash
# Installs the Debian packages that building and playing need; with "package", also what
# making the .deb needs; with "test", also everything the test suite needs.
# Only what is missing is installed; it says what it installs.
# "--check" installs nothing: it names what is missing and fails, for the targets that only
# build (make install, make package), which must never run the package installer themselves.
set -euo pipefail

check=""
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi

packages=(build-essential cmake pkg-config liballegro4-dev)
case "${1:-}" in
  package) packages+=(dpkg-dev file gzip) ;;
  test)
    packages+=(dpkg-dev file gzip libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool imagemagick
               x11-utils libx11-dev clang libclang-rt-14-dev desktop-file-utils appstream lintian man-db groff-base)
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ -n "$check" ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them first: make setup${1:+-$1} (or: sudo apt-get install ${missing[*]})" >&2
  exit 1
fi

# Without the right to install, the packages and the command go to whoever has it, and no
# password is asked for that cannot help.
no_rights() {
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "You can install no packages here ($1). Ask an administrator to run, as root:" >&2
  echo "  apt-get install ${missing[*]}" >&2
  echo "then run this again." >&2
  exit 1
}
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || no_rights "not root, and no sudo"
  # sudo without a password, or a member of the groups that sudo lets in after one.
  if ! sudo -n true 2>/dev/null && ! id -Gn | grep -qwE 'sudo|admin|wheel'; then
    no_rights "not root, and no sudo rights"
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Other installs may hold the package manager's lock for a while: wait for it.
$sudo apt-get -o DPkg::Lock::Timeout=300 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=300 install -y -qq "${missing[@]}"
