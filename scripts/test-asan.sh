#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tessaro with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer (the asan preset) and runs every unit test and the real
# windows (tst_window, with its session of use) on Xvfb
# under them; the soak is left out. Any report fails the run.
# Only what these need is built: the program, its test build with a stand-in
# system-information program, and the test programs.
set -eu
cd "$(dirname "$0")/.."

jobs=${TESSARO_JOBS:-2}
suppressions=$PWD/tests/reliability/lsan.supp

# Reports end the test that causes them; leaks are looked for at every exit.
# The window test preloads libfaketime into the clock, ahead of the ASan
# runtime; that order is harmless here, as libfaketime only wraps time calls.
ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0"
export ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs" --target tessaro_sanitizer_suite

status=0
ctest --preset asan -L unit -j"$jobs" || status=$?
ctest --preset asan -R '^tst_window' -LE soak || status=$?
exit "$status"
