#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the release Tessaro.exe with mingw-w64 (one statically linked
# file that needs nothing but Windows' own DLLs), packs the installer
# Tessaro-VERSION-x64.msi and the portable Tessaro-VERSION-win64.zip beside
# it (scripts/package-windows.sh) and prints the paths of all three.
# Installs the missing Debian packages with apt-get.
# The build is the `windows` preset of CMakePresets.json (warnings are errors).
# Usage: build-windows.sh [BUILD_DIR]   (default: build/windows)
set -eu
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${1:-build/windows}")

scripts/install-deps.sh windows-build >&2
cmake --preset windows -B "$build_dir" >&2
cmake --build "$build_dir" --target tessaro -j2 >&2
exe="$build_dir/app/Tessaro.exe"
echo "$exe"
scripts/package-windows.sh "$exe" "$build_dir/app"
