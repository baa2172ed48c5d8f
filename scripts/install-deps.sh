#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running or testing Tessaro needs,
# only those that are missing. Works as root or through sudo.
# Usage: install-deps.sh run|test|windows|windows-build|windows-window
set -eu

build="cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev fonts-liberation2"
display="xvfb xauth xdotool x11-utils imagemagick openbox"
tests="libgtest-dev libgmock-dev googletest libbenchmark-dev faketime desktop-file-utils appstream dpkg-dev debhelper devscripts lintian libglib2.0-bin file procps psmisc librsvg2-bin groff-base man-db at-spi2-core python3-pyatspi dbus dbus-x11 weston qt6-wayland clang-format stress-ng"
windows="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 wixl msitools zip unzip"
# Cross-building Tessaro.exe alone (the build configures its tests too, with
# GoogleTest's sources), and packing its MSI and zip.
windows_build="cmake ninja-build googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wixl msitools zip"
# Tessaro.exe's windows under wine: wine's bitmap "MS Sans Serif", the fake
# clock, and a Linux test program built with Qt.
windows_window="$build $display $windows faketime libfaketime fonts-wine"

case "${1:-}" in
run) wanted="$build $display" ;;
test) wanted="$build $display $tests $windows fonts-wine" ;;
windows) wanted="cmake ninja-build googletest $windows $display" ;;
windows-build) wanted="$windows_build" ;;
windows-window) wanted="$windows_window" ;;
*)
    echo "usage: $0 run|test|windows|windows-build|windows-window" >&2
    exit 2
    ;;
esac

missing=""
for package in $wanted; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
    *" installed") ;;
    *) missing="$missing $package" ;;
    esac
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "install-deps: these packages are missing and neither root nor sudo is available:$missing" >&2
    exit 1
fi

echo "install-deps: installing$missing"
log=$(mktemp)
# shellcheck disable=SC2086 # the list is meant to split into words
if ! { $as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "install-deps: apt-get failed; see the lines above" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"
echo "install-deps: done"
