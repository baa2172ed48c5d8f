#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private Xvfb server (96 dpi, 24-bit), so window tests can
# run side by side. Usage: with-xvfb.sh COMMAND [ARGS...]
set -eu
tmp=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT INT TERM

# -displayfd lets the server pick a free display number without races.
mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset 3>"$tmp/displayfd" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
read -r display_number <"$tmp/displayfd" ||
    { echo "with-xvfb: Xvfb did not start:" && cat "$tmp/xvfb.log" && exit 1; } >&2
unset WAYLAND_DISPLAY
export DISPLAY=":$display_number" QT_QPA_PLATFORM=xcb
"$@"
