#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Tessaro started where no graphical session can be reached: no display at
# all, a display whose server is gone, a Wayland socket that does not exist.
# Each time it must say so in one line on stderr and end with status 1,
# without an abort, a core dump or Qt's advice about platform plugins.
# Usage: check-no-display.sh TESSARO_EXECUTABLE
set -u
tessaro=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A display number without a server: no socket for it.
free_display() {
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
        n=$((n + 1))
    done
    echo ":$n"
}

# expect_clear_refusal NAME ENV-ARGS...: runs the clock through env(1); the
# -u options come before the assignments.
expect_clear_refusal() {
    name=$1
    shift
    rm -f "$work"/core*
    (cd "$work" && ulimit -c unlimited 2>/dev/null; exec env "$@" "$tessaro" >"$work/out" 2>"$work/err")
    status=$?
    lines=$(wc -l <"$work/err")
    problem=""
    if [ "$status" -ne 1 ]; then
        problem="exit status $status, not 1"
    elif [ "$lines" -ne 1 ]; then
        problem="$lines lines on stderr, not one"
    elif ! grep -q "grafische Sitzung" "$work/err"; then
        problem="the line does not say that a graphical session is needed"
    elif [ -s "$work/out" ]; then
        problem="output on stdout"
    elif ls "$work"/core* >/dev/null 2>&1; then
        problem="a core dump was written"
    fi
    if [ -n "$problem" ]; then
        echo "FAIL $name: $problem" >&2
        sed 's/^/    stderr: /' "$work/err" >&2
        failures=$((failures + 1))
    else
        echo "ok   $name: $(cat "$work/err")"
    fi
}

stale=$(free_display)
expect_clear_refusal "no display" -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
expect_clear_refusal "empty display" -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=
expect_clear_refusal "display without a server" -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$stale"
expect_clear_refusal "missing Wayland socket" -u DISPLAY -u QT_QPA_PLATFORM \
    WAYLAND_DISPLAY=tessaro-missing-0 XDG_RUNTIME_DIR="$work"
exit "$failures"
