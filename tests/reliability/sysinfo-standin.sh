#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Stands in for a system-information program in the clock's test build: it
# notes its process id where the test asks, then stays for the given number
# of seconds (the clock passes its own environment on to it).
if [ -n "${TESSARO_STANDIN_PIDFILE:-}" ]; then
    echo $$ >"$TESSARO_STANDIN_PIDFILE.tmp" && mv "$TESSARO_STANDIN_PIDFILE.tmp" "$TESSARO_STANDIN_PIDFILE"
fi
exec sleep "${TESSARO_STANDIN_SECONDS:-300}"
