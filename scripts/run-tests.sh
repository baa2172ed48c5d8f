#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tessaro and runs every test: offscreen unit tests, real windows under
# Xvfb, packaging checks, and the Windows services under wine.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
status=0
ctest --preset dev -j"$(nproc)" || status=$?
if [ -x scripts/test-windows.sh ]; then
    scripts/test-windows.sh || status=$?
fi
exit "$status"
