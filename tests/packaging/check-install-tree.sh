#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a throwaway root with prefix /usr and checks that
# every file lies where the freedesktop and FHS standards put it, and that
# the desktop entry, the metainfo and the icons fit together.
# Usage: check-install-tree.sh BUILD_DIR APP_ID HAS_EXECUTABLE(0|1)
set -eu
build=$1
id=$2
has_executable=$3

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

if ! DESTDIR="$root/tree" cmake --install "$build" --prefix /usr >"$root/install.log" 2>&1; then
    cat "$root/install.log" >&2
    echo "cmake --install failed" >&2
    exit 1
fi
tree="$root/tree"

expect_file() {
    [ -f "$tree/$1" ] || fail "missing /$1"
}

# Where each file belongs.
expect_file "usr/share/applications/$id.desktop"
expect_file "usr/share/metainfo/$id.metainfo.xml"
expect_file "usr/share/icons/hicolor/scalable/apps/$id.svg"
expect_file "usr/share/man/man1/tessaro.1.gz"
expect_file "usr/share/doc/tessaro/copyright"
expect_file "usr/share/doc/tessaro/changelog.gz"
for size in 16 32 48 64 128 256; do
    png="usr/share/icons/hicolor/${size}x$size/apps/$id.png"
    expect_file "$png"
    if [ -f "$tree/$png" ]; then
        actual=$(identify -format '%wx%h' "$tree/$png")
        [ "$actual" = "${size}x$size" ] || fail "/$png is $actual"
    fi
done
if [ "$has_executable" = 1 ]; then
    [ -x "$tree/usr/bin/tessaro" ] || fail "missing executable /usr/bin/tessaro"
fi

# Nothing strays outside those places.
strays=$(cd "$tree" && find . -type f | sed 's|^\./||' | grep -v \
    -e '^usr/bin/tessaro$' \
    -e '^usr/share/applications/' \
    -e '^usr/share/metainfo/' \
    -e '^usr/share/icons/hicolor/[0-9]*x[0-9]*/apps/' \
    -e '^usr/share/icons/hicolor/scalable/apps/' \
    -e '^usr/share/man/man1/' \
    -e '^usr/share/doc/tessaro/' || true)
[ -z "$strays" ] || fail "files outside the standard places: $strays"

# The pieces refer to each other by the same names.
desktop="$tree/usr/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
    grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ "$exec_name" = tessaro ] || fail "the desktop entry starts '$exec_name'"
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
fi
for document in usr/share/man/man1/tessaro.1.gz usr/share/doc/tessaro/changelog.gz; do
    gzip -t "$tree/$document" || fail "/$document is not a valid gzip file"
done

# AppStream checks the installed tree as a software centre reads it.
if ! out=$(appstreamcli validate-tree --no-net "$tree" 2>&1); then
    fail "appstreamcli validate-tree: $out"
fi

exit "$failed"
