#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command several times in a row while stress-ng keeps two CPUs 90 %
# busy beside it, as on a busy machine, and prints the time and result of each
# run. Fails if any run fails.
# Usage: under-load.sh RUNS COMMAND [ARGS...]
# e.g.   tests/tools/under-load.sh 3 ctest --preset dev
set -eu
[ "$#" -ge 2 ] || { echo "usage: $0 RUNS COMMAND [ARGS...]" >&2 && exit 2; }
command -v stress-ng >/dev/null 2>&1 ||
    { echo "under-load: stress-ng is missing (scripts/install-deps.sh test installs it)" >&2 && exit 1; }
runs=$1
shift
stress-ng --cpu 2 --cpu-load 90 --timeout 0 --quiet &
stress_pid=$!
trap 'kill "$stress_pid" 2>/dev/null || true; wait "$stress_pid" 2>/dev/null || true' EXIT INT TERM
summary="under-load: $runs runs of $* beside stress-ng --cpu 2 --cpu-load 90:"
failed=0
for run in $(seq "$runs"); do
    started=$(date +%s)
    if "$@"; then result=passed; else result=FAILED failed=1; fi
    line="under-load: run $run: $result in $(($(date +%s) - started)) s (load $(cut -d' ' -f1-3 /proc/loadavg))"
    echo "$line"
    summary="$summary
$line"
done
echo "$summary"
exit "$failed"
