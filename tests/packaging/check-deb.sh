#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, installs it with dpkg, finds the installed
# program's window under Xvfb, removes the package and looks for leftovers.
# Usage: check-deb.sh BUILD_DIR WITH_XVFB
set -eu
installed() { dpkg-query -W -f '${db:Status-Status}' tessaro 2>/dev/null | grep -qx installed; }
[ "$(id -u)" = 0 ] && ! installed || { echo "SKIP: needs root and no tessaro installed" && exit 77; }
work=$(mktemp -d)
trap 'installed && dpkg -r tessaro >/dev/null 2>&1; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }
run() { "$@" >"$work/log" 2>&1 || { cat "$work/log" >&2 && fail "$*"; }; }

run cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work"
# In a Wayland session the clock runs natively with Qt's Wayland plugin.
dpkg-deb -f "$work"/tessaro_*.deb Recommends | grep -qw qt6-wayland ||
    fail "qt6-wayland is not among the package's Recommends"
run dpkg -i "$work"/tessaro_*.deb
dpkg -L tessaro >"$work/files"
# Qt also names a hidden helper window "Tessaro": look for the visible one.
run "$2" sh -c '/usr/bin/tessaro & pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name "^Tessaro\$"; found=$?
    kill $pid; wait $pid; exit $found'
run dpkg -r tessaro
! installed || fail "still installed after dpkg -r"
while read -r path; do
    [ ! -f "$path" ] || fail "left behind: $path"
done <"$work/files"
[ ! -d /usr/share/doc/tessaro ] || fail "left behind: /usr/share/doc/tessaro"
echo "installed, window found, removed cleanly"
