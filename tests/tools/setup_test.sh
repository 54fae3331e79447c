#!/usr/bin/env bash
# setup_test.sh: the set-up script, run against stand-in package tools, installs what is
# missing through sudo when it is there, and otherwise (or with --check) installs nothing but
# names the packages and the command to install them, and fails.
set -u
setup="$(cd "$(dirname "$0")/../.." && pwd)/tools/setup.sh"
run=$(mktemp -d /tmp/ghostmaze-setup-XXXXXX)
trap 'rm -rf "$run"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# A machine where nothing is installed and the user is not root; apt-get and sudo only log.
mkdir -p "$run/bin"
printf '#!/bin/sh\nexit 1\n' >"$run/bin/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$run/bin/id"
printf '#!/bin/sh\necho "apt-get $*" >>"%s/calls"\n' "$run" >"$run/bin/apt-get"
for tool in bash grep; do ln -s "$(command -v $tool)" "$run/bin/$tool"; done
chmod +x "$run"/bin/*
setup_with() { PATH="$run/bin" bash "$setup" "$@" >"$run/out" 2>&1; }

# No root, and no sudo or a sudo that refuses this user (it wants a password that cannot help):
# status 1, the packages named with the apt-get line to run as root, nothing run, no prompt.
refusing_sudo='#!/bin/sh\n[ "$1" = -n ] && exit 1\necho "sudo $*" >>"%s/calls"\n'
for sudo in none refusing; do
  rm -f "$run/bin/sudo"
  [ "$sudo" = none ] || { printf "$refusing_sudo" "$run" >"$run/bin/sudo" && chmod +x "$run/bin/sudo"; }
  setup_with test; status=$?
  [ "$status" -eq 1 ] || fail "with sudo $sudo the set-up ended with status $status"
  grep -q '^  apt-get install .*liballegro4-dev.*lintian' "$run/out" || fail "no install command naming the packages: $(cat "$run/out")"
  [ ! -e "$run/calls" ] || fail "with sudo $sudo the set-up ran or asked for a password: $(cat "$run/calls")"
done

# --check never installs, even where it could.
printf '#!/bin/sh\n[ "$1" = -n ] && shift\n"$@"\n' >"$run/bin/sudo" && chmod +x "$run/bin/sudo"
setup_with --check package && fail "--check succeeded with packages missing"
grep -q 'make setup-package' "$run/out" && grep -q 'dpkg-dev' "$run/out" || fail "--check does not say what to run: $(cat "$run/out")"
[ ! -e "$run/calls" ] || fail "--check ran: $(cat "$run/calls")"

# With sudo, the missing packages are installed through it, the test tools only for "test".
setup_with || fail "the set-up failed with sudo: $(cat "$run/out")"
grep -q '^apt-get .* install -y -qq build-essential cmake pkg-config liballegro4-dev$' "$run/calls" || fail "sudo apt-get did not install the build's packages: $(cat "$run/calls")"

[ "$failed" -eq 0 ] && echo "setup: ok"
exit "$failed"
