#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs a built Tessaro.exe for Windows users into OUTPUT_DIR:
#   Tessaro-VERSION-x64.msi    the installer (per machine, Program Files\Tessaro,
#                              Start-menu shortcut, entry under Apps & features)
#   Tessaro-VERSION-win64.zip  the portable program with licence and read-me
# and prints the paths of both. Title, version and web address come from the
# project's CMake configuration, the one place they are set.
# Usage: package-windows.sh EXE OUTPUT_DIR
set -eu

fail() {
    echo "package-windows: $*" >&2
    exit 1
}

[ $# -eq 2 ] || {
    echo "usage: $0 EXE OUTPUT_DIR" >&2
    exit 2
}
[ -f "$1" ] || fail "no program at $1"
# Every Windows program starts with the letters MZ.
[ "$(head -c 2 "$1")" = MZ ] || fail "$1 is not a Windows program"
exe=$(realpath "$1")
mkdir -p "$2" || fail "cannot make the folder $2"
output_dir=$(realpath "$2")

cd "$(dirname "$0")/.."
for tool in cmake wixl msiinfo zip; do
    command -v "$tool" >/dev/null 2>&1 ||
        fail "$tool is missing; scripts/install-deps.sh windows installs it"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# A configure-only run of the Windows build writes the installer source and
# the read-me with the project's version; nothing is compiled.
if ! cmake --preset windows -B "$work/config" >"$work/cmake.log" 2>&1; then
    cat "$work/cmake.log" >&2
    fail "configuring the project failed; see the lines above"
fi
packaging="$work/config/packaging/windows"

# The files to pack, in one folder: wixl finds sources by relative path only.
files="$work/files"
mkdir -p "$files"
cp "$exe" "$files/Tessaro.exe"
# Text files for Windows: CRLF line ends, and the read-me with a byte-order
# mark so that every editor there reads its umlauts as UTF-8.
to_windows_text() { sed 's/$/\r/' "$1"; }
to_windows_text COPYING >"$files/COPYING.txt"
{
    printf '\357\273\277'
    to_windows_text "$packaging/LIESMICH.txt"
} >"$files/LIESMICH.txt"

(cd "$files" && wixl -a x64 -D TessaroExe=Tessaro.exe -D Licence=COPYING.txt \
    -o "$work/tessaro.msi" "$packaging/tessaro.wxs") 2>"$work/wixl.log" || {
    cat "$work/wixl.log" >&2
    fail "wixl could not build the installer; see the lines above"
}
version=$(msiinfo export "$work/tessaro.msi" Property | tr -d '\r' |
    sed -n 's/^ProductVersion\t//p')
[ -n "$version" ] || fail "the installer has no ProductVersion"

# The zip holds one folder, so that unpacking it leaves nothing lying about.
folder="$work/zip/Tessaro-$version"
mkdir -p "$folder"
cp "$files/Tessaro.exe" "$files/COPYING.txt" "$files/LIESMICH.txt" "$folder/"
# Every file dated like the program: the same program gives the same zip.
find "$work/zip" -exec touch -r "$exe" {} +
(cd "$work/zip" && zip -q -X -r "$work/tessaro.zip" "Tessaro-$version")

msi="$output_dir/Tessaro-$version-x64.msi"
zip="$output_dir/Tessaro-$version-win64.zip"
mv -f "$work/tessaro.msi" "$msi"
mv -f "$work/tessaro.zip" "$zip"
echo "$msi"
echo "$zip"
