#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tessaro and runs every test: offscreen unit tests, real windows under
# Xvfb, packaging checks, the Windows services under wine, and the unit tests
# and a real-window session under the sanitizers.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"

status=0
ctest --preset dev -j"$(nproc)" || status=$?
scripts/test-windows.sh || status=$?
scripts/test-asan.sh || status=$?
if [ "$status" -ne 0 ]; then
    echo "run-tests: some tests failed (see above)" >&2
fi
exit "$status"
