#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a reachable graphical session Tessaro says so in one line on stderr
# and ends with status 1, no core dump. Usage: check-no-display.sh TESSARO
set -u
tessaro=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=90 # a display that no server answers
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
failures=0
for case in "-u DISPLAY" "DISPLAY=" "DISPLAY=:$n" "-u DISPLAY WAYLAND_DISPLAY=tessaro-missing-0"; do
    rm -f "$work"/core*
    # shellcheck disable=SC2086 # the case is a list of env(1) arguments
    (cd "$work" && ulimit -c unlimited 2>/dev/null
        exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $case XDG_RUNTIME_DIR="$work" "$tessaro" >out 2>err)
    status=$?
    if [ "$status" -ne 1 ] || [ "$(wc -l <"$work/err")" -ne 1 ] || [ -s "$work/out" ] ||
        ! grep -q "grafische Sitzung" "$work/err" || ls "$work"/core* >/dev/null 2>&1; then
        echo "FAIL $case: status $status, stderr:" >&2 && cat "$work/err" >&2
        failures=$((failures + 1))
    fi
done
exit "$failures"
