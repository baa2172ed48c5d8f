#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the scalable icon with librsvg and compares it pixel for pixel with
# the PNG icons of the sizes that are whole multiples of its 32-unit grid.
# Usage: check-svg-icon.sh ICON_DIR APP_ID
set -eu
icons=$1
id=$2
svg="$icons/hicolor/scalable/apps/$id.svg"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

[ -s "$svg" ] || { echo "no scalable icon at $svg" >&2; exit 1; }
failed=0
for size in 32 64 128 256; do
    rsvg-convert -w "$size" -h "$size" -o "$tmp/$size.png" "$svg"
    # compare prints the number of differing pixels on stderr.
    differing=$(compare -metric AE "$tmp/$size.png" "$icons/hicolor/${size}x$size/apps/$id.png" null: 2>&1) || true
    if [ "$differing" != 0 ]; then
        echo "the SVG at $size px differs from the PNG in $differing pixels" >&2
        failed=1
    fi
done
exit "$failed"
