# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=sh
# What the packaging checks share, sourced: each check says ok or FAIL, the
# failures are counted, and `finish` ends with status 1 if there were any.
failures=0
fail() { echo "FAIL: $*" >&2 && failures=$((failures + 1)); }
abort() { echo "FAIL: $*" >&2 && exit 1; }
finish() { [ "$failures" -eq 0 ] || abort "$failures checks failed"; }
check() { # DESCRIPTION COMMAND...
    description=$1
    shift
    if "$@"; then echo "ok: $description"; else fail "$description"; fi
}
# Polls CONDITION... every fifth of a second until it holds or SECONDS pass.
wait_for() { # SECONDS CONDITION...
    deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}
