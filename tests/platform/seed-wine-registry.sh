#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Seeds the registry of the wine prefix WINEPREFIX for win32_services_test.
set -eu
key='HKLM\SOFTWARE\Tessaro\Test'
add() { wine reg add "$@" /f >/dev/null; }
add "$key" /v Umlaut /t REG_SZ /d 'Größe'
add "$key" /v Acht /t REG_DWORD /d 8
add "$key" /v Lang /t REG_SZ /d "$(printf '%1024s' '' | tr ' ' a)"
# The system-information tool, where the test puts a copy of itself.
add 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /v PATH /t REG_SZ \
    /d 'C:\Tessaro Test\System Info\probe tool.exe'
