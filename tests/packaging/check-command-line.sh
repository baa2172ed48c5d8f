#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's command line, and a start without a reachable graphical
# session: the answer on the right stream, nothing on the other, the right
# status, and no more than one line when it cannot start.
# Usage: check-command-line.sh TESSARO VERSION
set -u
. "$(dirname "$0")/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# status  stream  pattern (grep -E, on the first line)  environment  arguments
while IFS='|' read -r status stream pattern environment arguments; do
    # shellcheck disable=SC2086 # environment and arguments are meant to split into words
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work" $environment \
        "$1" $arguments >"$work/out" 2>"$work/err"
    got=$?
    if [ "$stream" = stdout ]; then shown=$work/out silent=$work/err; else shown=$work/err silent=$work/out; fi
    if [ "$got" != "$status" ] || ! head -n 1 "$shown" | grep -Eq "$pattern" || [ -s "$silent" ] ||
        { [ "$status" = 1 ] && [ "$(wc -l <"$shown")" != 1 ]; }; then
        fail "tessaro $arguments ($environment): status $got, stdout: $(cat "$work/out")
stderr: $(cat "$work/err")"
    fi
done <<TABLE
0|stdout|^Usage: tessaro ||--help
0|stdout|^Usage: tessaro ||-h
0|stdout|^Tessaro $2\$||--version
0|stdout|^Tessaro $2\$||-v
2|stderr|^tessaro: unknown option '-x'\$||-x
2|stderr|^tessaro: unknown option '-reverse'\$||-reverse
2|stderr|^tessaro: unknown option '--platform'\$||--platform xcb
2|stderr|^tessaro: option '-platform' needs a value\$||-platform
2|stderr|^tessaro: unexpected argument 'now'\$||now
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*; -display :9999\)\.\$||-display :9999
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*; -platform nosuch\)\.\$||-platform nosuch
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*\)\.\$||
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*\)\.\$|DISPLAY=|
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*\)\.\$|DISPLAY=:9999|
1|stderr|^tessaro: Tessaro braucht eine grafische Sitzung \(.*\)\.\$|WAYLAND_DISPLAY=tessaro-missing-0|
TABLE
# The usage follows a refusal, so the user sees what is accepted.
env -u DISPLAY "$1" -x 2>&1 | grep -q -- '-platform NAME' || fail "no usage after -x"
finish
