#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The version record of the compiled Windows resources: the German string
# table, each key directly followed by its value.
# Usage: check-version-record.sh RES_FILE
found="|$(strings -el "$1" | tr '\n' '|')"
for pair in 'StringFileInfo|040704B0' 'FileDescription|Eine Tessaro' 'FileVersion|2.00.0008' \
    'InternalName|Tessaro' 'OriginalFilename|Tessaro.exe' 'ProductName|Tessaro' \
    'ProductVersion|2.00.0008'; do
    case $found in *"|$pair|"*) ;; *) echo "FAIL: no $pair in $found" >&2 && exit 1 ;; esac
done
