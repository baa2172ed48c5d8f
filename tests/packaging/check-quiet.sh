#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a checker and fails if it fails or says anything at all: validators
# that only warn still exit with success.
# Usage: check-quiet.sh COMMAND [ARGS...]
out=$("$@" 2>&1)
status=$?
[ -z "$out" ] || printf '%s\n' "$out"
[ "$status" -eq 0 ] && [ -z "$out" ]
