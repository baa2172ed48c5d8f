#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's command line, answered without a display.
# Usage: check-command-line.sh TESSARO VERSION
set -u
tessaro=$1
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

# status  stream  pattern (grep -E, on the first line)  arguments
while IFS='|' read -r status stream pattern arguments; do
    # shellcheck disable=SC2086 # the arguments are meant to split into words
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tessaro" $arguments >"$out" 2>"$err"
    got=$?
    if [ "$stream" = stdout ]; then shown=$out silent=$err; else shown=$err silent=$out; fi
    if [ "$got" != "$status" ] || ! head -n 1 "$shown" | grep -Eq "$pattern" || [ -s "$silent" ]; then
        echo "FAIL: tessaro $arguments: status $got, stdout:" && cat "$out"
        echo "stderr:" && cat "$err"
        failures=$((failures + 1))
    fi
done <<TABLE
0|stdout|^Usage: tessaro |--help
0|stdout|^Usage: tessaro |-h
0|stdout|^Tessaro $2\$|--version
0|stdout|^Tessaro $2\$|-v
2|stderr|^tessaro: unknown option '-x'\$|-x
2|stderr|^tessaro: unknown option '-reverse'\$|-reverse
2|stderr|^tessaro: unknown option '--platform'\$|--platform xcb
2|stderr|^tessaro: option '-platform' needs a value\$|-platform
2|stderr|^tessaro: unexpected argument 'now'\$|now
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*; -display :9999\)\.\$|-display :9999
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*; -platform nosuch\)\.\$|-platform nosuch
TABLE
# The usage follows a refusal, so the user sees what is accepted.
env -u DISPLAY "$tessaro" -x 2>&1 | grep -q -- '-platform NAME' || { echo "FAIL: no usage after -x" && failures=$((failures + 1)); }
[ "$failures" = 0 ]
