#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What a window test leaves behind when a wait runs out, printed and saved in
# DIR: the X screen, the top-level windows shown, the keyboard focus, and the
# processes the test started and those of its wine prefix (wine detaches them).
# Usage: screen-evidence.sh DIR [TEST_PID]
set -u
dir=$1 test_pid=${2:-$PPID}
mkdir -p "$dir" || exit 1
echo "--- the screen: $dir/screen.png"
import -window root "$dir/screen.png" 2>&1

echo "--- top-level windows shown, topmost first (id \"title\": (class) size+x+y)"
xwininfo -root -tree >"$dir/window-tree.txt" 2>&1
xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) /\1 /p' |
    while read -r id rest; do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id $rest"
    done | tee "$dir/windows.txt"

echo "--- the window with the keyboard focus"
focus=$(xdotool getwindowfocus -f 2>/dev/null)
case "$focus" in
1) echo "(the window under the pointer)" ;;
*) xwininfo -id "${focus:-0}" 2>/dev/null | sed -n 's/^xwininfo: Window id: //p' | grep . || echo "${focus:-(none)}" ;;
esac | tee "$dir/focus.txt"

echo "--- processes the test started, and those of its wine prefix"
descendants() { # PID: its children, theirs, and so on; not this script's own
    for child in $(pgrep -P "$1"); do
        [ "$child" = $$ ] || { echo "$child" && descendants "$child"; }
    done
}
pids=$(descendants "$test_pid")
if [ -n "${WINEPREFIX:-}" ]; then
    pids="$pids $(grep -lsxzF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ | cut -d/ -f3)"
fi
pids=$(echo "$pids" | tr ' ' '\n' | grep -vx -e '' -e "$test_pid" -e $$ | sort -un | paste -sd,)
{ [ -n "$pids" ] && ps -o pid,ppid,stat,etime,time,args -p "$pids" || echo "(none)"; } | tee "$dir/processes.txt"
