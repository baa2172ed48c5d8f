#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Tests the windows of the cross-built Tessaro.exe under wine on a private
# Xvfb: the Linux window test program (tests/gui/tst_window, built in the dev
# build; its tests named underWine...) starts the program under libfaketime,
# clicks and types with xdotool and reads screenshots as it does on Linux.
# Usage: test-windows-window.sh [BUILD_DIR [TEST_FUNCTION...]]
#   BUILD_DIR: a mingw-w64 build of scripts/test-windows.sh (Tessaro.exe and
#   sysinfo_probe.exe, a windowed stand-in for the system-information tool);
#   default build/windows. TEST_FUNCTION: run only these tests.
set -eu
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--on-display" ]; then
    shift
    # Wine's server and desktop process belong to this display.
    wineserver -k 2>/dev/null || true
    wineserver -p
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1
    status=0
    "$TESSARO_WINE_WINDOW_TEST" "$@" || status=$?
    # Every caption where the painter lays it out, at every resolution.
    wine "$TESSARO_CAPTIONS_TEST" </dev/null || status=$?
    wineserver -k 2>/dev/null || true
    exit "$status"
fi

build_dir=$(realpath -m "${1:-build/windows}")
[ "$#" -gt 0 ] && shift

scripts/install-deps.sh windows-window

export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEARCH=win64
# No menu entries or icons written into $HOME, no mono or gecko installers.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

if [ ! -d "$WINEPREFIX" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# Wine draws the frames itself (no window manager needed, and closing a
# window takes milliseconds instead of the two seconds wine waits for a
# window manager that never answers); 96 dpi for the reference geometry.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w

echo "test-windows-window: building the test program in build/dev"
cmake --preset dev >/dev/null
cmake --build --preset dev -j2 --target tst_window

TESSARO_WINDOWS_EXE="$build_dir/app/Tessaro.exe"
TESSARO_WINDOWS_PROBE="$build_dir/tests/platform/sysinfo_probe.exe"
TESSARO_MSAA_PROBE="$build_dir/tests/wine/msaa_probe.exe"
TESSARO_CAPTIONS_TEST="$build_dir/tests/platform/win32_captions_test.exe"
TESSARO_LIBFAKETIME=$(dpkg -L libfaketime | grep '/libfaketime.so.1$' | head -n 1)
TESSARO_SHOT_DIR="$build_dir/window-shots"
TESSARO_WINE_WINDOW_TEST="$PWD/build/dev/tests/gui/tst_window"
export TESSARO_WINDOWS_EXE TESSARO_WINDOWS_PROBE TESSARO_MSAA_PROBE TESSARO_LIBFAKETIME TESSARO_SHOT_DIR \
    TESSARO_WINE_WINDOW_TEST TESSARO_CAPTIONS_TEST
for file in "$TESSARO_WINDOWS_EXE" "$TESSARO_WINDOWS_PROBE" "$TESSARO_MSAA_PROBE" \
    "$TESSARO_CAPTIONS_TEST" "$TESSARO_LIBFAKETIME"; do
    if [ ! -f "$file" ]; then
        echo "test-windows-window: $file is missing" >&2
        exit 1
    fi
done

# Both faces the program may get: the plain prefix hands wine's substitute
# (Liberation Sans) for "MS Sans Serif"; with wine's own fonts in
# C:\windows\Fonts it hands the classic bitmap face, as Windows does. The
# fonts are copied in for the second pass and taken out again.
status=0
shots=$TESSARO_SHOT_DIR
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for face in substitute classic; do
    TESSARO_SHOT_DIR="$shots/$face"
    copied=""
    if [ "$face" = classic ]; then
        mkdir -p "$fonts"
        for font in /usr/share/wine/fonts/*; do
            name=$(basename "$font")
            [ -e "$fonts/$name" ] && continue
            cp "$font" "$fonts/" && copied="$copied $name"
        done
    fi
    echo "test-windows-window: Tessaro.exe under wine on Xvfb, $face face (screenshots in $TESSARO_SHOT_DIR)"
    tests/tools/with-xvfb.sh "$0" --on-display "$@" || status=$?
    for name in $copied; do rm -f "$fonts/$name"; done
done
exit "$status"
