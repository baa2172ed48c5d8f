#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the release Tessaro.exe with mingw-w64 (one statically linked
# file that needs nothing but Windows' own DLLs), packs the installer
# Tessaro-VERSION-x64.msi and the portable Tessaro-VERSION-win64.zip beside
# it (scripts/package-windows.sh) and prints the paths of all three.
# Installs the missing Debian packages with apt-get.
# Usage: build-windows.sh [BUILD_DIR]   (default: build-windows)
set -eu
cd "$(dirname "$0")/.."
source_dir=$PWD
build_dir=$(realpath -m "${1:-build-windows}")

scripts/install-deps.sh windows-build >&2
cmake -S "$source_dir" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTESSARO_TOOLKIT=win32 \
    -DBUILD_TESTING=OFF -DTESSARO_BUILD_BENCHMARKS=OFF >&2
cmake --build "$build_dir" --target tessaro -j2 >&2
exe="$build_dir/app/Tessaro.exe"
echo "$exe"
scripts/package-windows.sh "$exe" "$build_dir/app"
