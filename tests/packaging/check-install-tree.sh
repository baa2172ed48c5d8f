#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a throwaway root with prefix /usr: every file lies
# where the freedesktop and FHS standards put it, and nothing else is there.
# Usage: check-install-tree.sh BUILD_DIR APP_ID
set -eu
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/tree" cmake --install "$1" --prefix /usr >"$root/log" 2>&1 ||
    { cat "$root/log" >&2 && exit 1; }
icons=usr/share/icons/hicolor
printf '%s\n' usr/bin/tessaro "usr/share/applications/$id.desktop" \
    "usr/share/metainfo/$id.metainfo.xml" usr/share/man/man1/tessaro.1.gz usr/share/man/de/man1/tessaro.1.gz \
    usr/share/doc/tessaro/copyright usr/share/doc/tessaro/changelog.gz \
    "$icons/scalable/apps/$id.svg" $(for size in 16 32 48 64 128 256; do
        echo "$icons/${size}x$size/apps/$id.png"
    done) | sort >"$root/expected"
(cd "$root/tree" && find . -type f | sed 's|^\./||' | sort) >"$root/installed"
diff -u "$root/expected" "$root/installed"
