#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming each file, if a tracked C++ file is not formatted as the
# project's .clang-format says (Debian 12's clang-format 14). Fix one with
# `clang-format -i FILE`.
set -eu
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null 2>&1; then
    echo "check-format: clang-format is missing (scripts/install-deps.sh test installs it)" >&2
    exit 1
fi
case "$(clang-format --version)" in
*" version 14."*) ;;
*) echo "check-format: note: the style is set by clang-format 14; this is $(clang-format --version)" >&2 ;;
esac
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "check-format: not a git work tree, so no list of the project's files: nothing checked" >&2
    exit 0
fi

unformatted=$(git ls-files '*.cpp' '*.h' | while IFS= read -r file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || printf '  %s\n' "$file"
done)

if [ -n "$unformatted" ]; then
    echo "check-format: these files are not formatted (clang-format -i FILE):" >&2
    echo "$unformatted" >&2
    exit 1
fi
echo "check-format: every C++ file is formatted"
