#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Tessaro.exe, the toolkit-free parts and the Win32 services with
# mingw-w64 and runs their tests under wine, in a throwaway wine prefix whose
# registry is seeded first; then tests Tessaro.exe's windows under wine on
# Xvfb (scripts/test-windows-window.sh), and its installer in a prefix of its
# own (tests/packaging/check-msi.sh). Installs the missing Debian packages
# with apt-get.
# The build is the `windows` preset of CMakePresets.json (warnings are errors).
# Usage: test-windows.sh [BUILD_DIR]   (default: build/windows)
set -eu
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${1:-build/windows}")

scripts/install-deps.sh windows

# A console session: no display, no mono or gecko installers, no wine chatter.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT INT TERM

echo "test-windows: making the wine prefix $WINEPREFIX"
stop_wine
rm -rf "$WINEPREFIX"
mkdir -p "$build_dir"
wineboot -i >/dev/null 2>&1
# wineboot returns before the registry is saved.
wineserver -w
# A persistent server with its services up, so that ctest is not held up by
# wine's background processes.
wineserver -p
wine cmd /c exit 0 </dev/null >/dev/null 2>&1

echo "test-windows: seeding the registry"
tests/platform/seed-wine-registry.sh

echo "test-windows: building in $build_dir"
cmake --preset windows -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2

echo "test-windows: running the tests under wine"
status=0
ctest --preset windows --test-dir "$build_dir" || status=$?
stop_wine

# Tessaro.exe's windows, on a display of their own.
scripts/test-windows-window.sh "$build_dir" || status=$?

# Its installer and portable zip: installed, started, upgraded, uninstalled.
tests/packaging/check-msi.sh "$build_dir/app/Tessaro.exe" || status=$?
exit "$status"
