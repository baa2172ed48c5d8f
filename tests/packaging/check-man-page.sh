#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page formats without a single groff warning, and man-db finds
# its name line, so that whatis and apropos list the program.
# Usage: check-man-page.sh MAN_PAGE
set -eu
page=$1

warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
    printf 'groff warns about %s:\n%s\n' "$page" "$warnings" >&2
    exit 1
fi

name=$(lexgrog "$page") || { echo "man-db finds no name line in $page" >&2; exit 1; }
case $name in
*'"tessaro - '*) ;;
*) echo "unexpected name line: $name" >&2; exit 1 ;;
esac
