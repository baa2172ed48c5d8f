#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Seeds the registry of the wine prefix in WINEPREFIX with the values that
# win32_services_test reads. Needs a running wineserver for speed, not for
# correctness.
set -eu

key='HKLM\SOFTWARE\Tessaro\Test'
add() { wine reg add "$@" /f >/dev/null; }
repeat() { printf "%${2}s" '' | tr ' ' "$1"; }

add "$key" /v Text /t REG_SZ /d 'C:\Programme\Werkzeug.exe'
add "$key" /v Leerzeichen /t REG_SZ /d 'C:\Program Files\Common Files\Microsoft Shared\MSInfo\msinfo32.exe'
add "$key" /v Umlaut /t REG_SZ /d 'Größe'
add "$key" /v Acht /t REG_DWORD /d 8
add "$key" /v Zehntausend /t REG_DWORD /d 10000
add "$key" /v Erweitert /t REG_EXPAND_SZ /d '%SystemRoot%\system32'
add "$key" /v Leer /t REG_SZ /d ''
add "$key" /v Nichts /t REG_BINARY
add "$key" /v Genau /t REG_SZ /d "$(repeat a 1023)"
add "$key" /v Lang /t REG_SZ /d "$(repeat a 1024)"
# The system-information tool, at a path with blanks; the test puts a
# program there.
add 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /v PATH /t REG_SZ \
    /d 'C:\Tessaro Test\System Info\probe tool.exe'
