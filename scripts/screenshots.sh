#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the screenshots in docs/ that the README shows, so they always show
# the current program: the Linux build on a private Xvfb, and Tessaro.exe
# under wine when one is given. The clock stands at a fixed time, so the
# pictures change only when the program does.
# Usage: screenshots.sh [TESSARO_EXE]
set -eu
cd "$(dirname "$0")/.."

if [ -z "${SCREENSHOTS_ON_XVFB:-}" ]; then
    # The test set: the build, Xvfb, libfaketime, wine and its fonts.
    scripts/install-deps.sh test
    if [ $# -ge 1 ] && [ ! -f "$1" ]; then
        echo "screenshots: no program at $1" >&2
        exit 1
    fi
    cmake --preset release -DBUILD_TESTING=OFF -DTESSARO_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build --preset release -j"$(nproc)"
    SCREENSHOTS_ON_XVFB=1 exec tests/tools/with-xvfb.sh "$0" "$@"
fi

# The clock stands at this time while its timer runs on. Preloaded: the
# faketime wrapper would put a process of its own between us and the clock.
export FAKETIME='2026-12-06 14:35:27' FAKETIME_DONT_FAKE_MONOTONIC=1
libfaketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
mkdir -p docs
work=$(mktemp -d)
cleanup() {
    if [ "${WINEPREFIX:-}" = "$work/prefix" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to 60 s for the visible window titled Tessaro and prints its id.
find_window() {
    timeout 60 xdotool search --sync --onlyvisible --name '^Tessaro$' | head -n 1
}

# Saves the window once it is drawn (more than a handful of colours) and two
# captures half a second apart are the same: by then the clock has ticked
# and shows the fixed time. Gives up after 30 s.
save_settled_window() { # WINDOW OUTPUT
    deadline=$(($(date +%s) + 30))
    import -window "$1" -depth 8 "$work/before.png"
    while :; do
        sleep 0.5
        import -window "$1" -depth 8 "$work/after.png"
        if [ "$(identify -format %k "$work/after.png")" -gt 8 ] &&
            [ "$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)" = 0 ]; then
            break
        fi
        [ "$(date +%s)" -lt "$deadline" ] || {
            echo "screenshots: the window did not settle within 30 s" >&2
            exit 1
        }
        mv "$work/after.png" "$work/before.png"
    done
    convert "$work/after.png" -strip -define png:exclude-chunks=date,time "$2"
    echo "screenshots: wrote $2"
}

stop() { # PID
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

LD_PRELOAD=$libfaketime build/release/app/tessaro &
pid=$!
window=$(find_window) || {
    echo "screenshots: the Linux window did not appear" >&2
    exit 1
}
save_settled_window "$window" docs/screenshot-linux.png
stop "$pid"

[ $# -ge 1 ] || exit 0
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w
# Wine's own fonts, so that the window gets the classic "MS Sans Serif" as
# on Windows, not wine's substitute for it.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
# Unmanaged: wine draws the frame itself, as Windows would.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
LD_PRELOAD=$libfaketime wine "$1" </dev/null >/dev/null 2>&1 &
pid=$!
window=$(find_window) || {
    echo "screenshots: the window of $1 did not appear under wine" >&2
    exit 1
}
save_settled_window "$window" docs/screenshot-windows.png
stop "$pid"
