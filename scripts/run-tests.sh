#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every C++ file is formatted, builds Tessaro and runs every test:
# offscreen unit tests, real windows under Xvfb, packaging checks, the Windows
# services under wine, and the unit tests and the real windows under the
# sanitizers. An unformatted file fails the run, but the tests still run.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

# First, as it takes seconds; the build and the tests still run after it.
format_status=0
scripts/check-format.sh || format_status=$?

cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"

status=$format_status
ctest --preset dev -j"$(nproc)" || status=$?
scripts/test-windows.sh || status=$?
scripts/test-asan.sh || status=$?
if [ "$format_status" -ne 0 ]; then
    echo "run-tests: some C++ files are not formatted (see scripts/check-format.sh above)" >&2
fi
if [ "$status" -ne 0 ]; then
    echo "run-tests: some tests failed (see above)" >&2
fi
exit "$status"
