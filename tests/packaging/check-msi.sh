#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release files of scripts/package-windows.sh, used as a Windows
# user would, in a throwaway wine prefix on a private Xvfb:
#   - the portable zip holds the program, the licence and the read-me;
#   - msiexec /i /qn puts the program byte for byte into Program Files, a
#     Start-menu shortcut to it, and one entry under Apps & features;
#   - the program starts from that shortcut and shows its window;
#   - installing again, or a rebuilt package of the same version, leaves one
#     of everything; a later version replaces it, an earlier one is refused;
#   - msiexec /x leaves no file, shortcut or registry key of Tessaro behind.
# Usage: check-msi.sh [EXE]
#   EXE defaults to a small stand-in program with a window titled "Tessaro",
#   built here from tests/packaging/stand-in/standin.cpp.
set -eu
cd "$(dirname "$0")/../.."

if [ -z "${CHECK_MSI_ON_XVFB:-}" ]; then
    CHECK_MSI_ON_XVFB=1 exec tests/tools/with-xvfb.sh "$0" "$@"
fi

version=2.0.8
later_version=2.0.9
title=Tessaro
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall
HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'

# No "tessaro" in the work folder's name: the search for leftovers would find it.
work=$(mktemp -d "${TMPDIR:-/tmp}/msi-check.XXXXXX")
cleanup() {
    if [ "${WINEPREFIX:-}" = "$work/prefix" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

failures=0
pass() { echo "ok: $*"; }
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() { # DESCRIPTION COMMAND...
    description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}
abort() {
    echo "FAIL: $*" >&2
    exit 1
}

# Polls CONDITION... every fifth of a second until it holds or SECONDS pass.
wait_for() {
    seconds=$1
    shift
    deadline=$(($(date +%s) + seconds))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

build_stand_in() {
    echo "check-msi: building the stand-in program" >&2
    mkdir -p "$work/stand-in"
    convert -size 32x32 xc:'#204080' -fill '#40c040' -draw 'rectangle 8,8 23,23' \
        "$work/stand-in/standin.ico"
    cp tests/packaging/stand-in/standin.rc "$work/stand-in/"
    (cd "$work/stand-in" && x86_64-w64-mingw32-windres standin.rc -O coff -o standin.res.o)
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -municode -mwindows -static -s \
        tests/packaging/stand-in/standin.cpp "$work/stand-in/standin.res.o" -o "$work/stand-in/Tessaro.exe"
    echo "$work/stand-in/Tessaro.exe"
}

if [ $# -ge 1 ]; then
    [ -f "$1" ] || abort "no program at $1"
    exe=$(realpath "$1")
else
    exe=$(build_stand_in)
fi
echo "check-msi: packing $exe"

# --- The release files ---------------------------------------------------------
scripts/package-windows.sh "$exe" "$work/out" >"$work/packed"
msi="$work/out/$title-$version-x64.msi"
zip="$work/out/$title-$version-win64.zip"
check "package-windows prints the paths of the MSI and the zip" \
    test "$(cat "$work/packed")" = "$(printf '%s\n%s' "$msi" "$zip")"
if [ ! -f "$msi" ] || [ ! -f "$zip" ]; then abort "package-windows made no $msi and $zip"; fi

check "the zip holds exactly the program, the licence and the read-me in one folder" \
    test "$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')" = \
    "$title-$version/COPYING.txt $title-$version/LIESMICH.txt $title-$version/Tessaro.exe "
unzip -q "$zip" -d "$work/unzipped"
check "the program in the zip is the built one" cmp -s "$exe" "$work/unzipped/$title-$version/Tessaro.exe"
readme_is_german() { grep -q "Tessaro $version - binäre Uhr" "$1" && grep -q "Entpacken Sie" "$1"; }
check "the read-me is German and names the version" readme_is_german "$work/unzipped/$title-$version/LIESMICH.txt"
check "the licence is the GPL" grep -q 'GNU GENERAL PUBLIC LICENSE' "$work/unzipped/$title-$version/COPYING.txt"

# A later release: the same installer source with the next version number.
cmake -S . -B "$work/config" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DBUILD_TESTING=OFF -DTESSARO_BUILD_BENCHMARKS=OFF >/dev/null
mkdir -p "$work/later"
sed "s/$version/$later_version/g" "$work/config/packaging/windows/tessaro.wxs" >"$work/later/tessaro.wxs"
cmp -s "$work/config/packaging/windows/tessaro.wxs" "$work/later/tessaro.wxs" &&
    abort "the installer source does not carry the version $version"
cp "$exe" "$work/later/Tessaro.exe"
cp COPYING "$work/later/COPYING.txt"
(cd "$work/later" && wixl -a x64 -D TessaroExe=Tessaro.exe -D Licence=COPYING.txt \
    -o "$work/later.msi" tessaro.wxs 2>/dev/null) || abort "wixl could not build version $later_version"

# --- A throwaway wine prefix --------------------------------------------------
# winemenubuilder would copy the shortcut into the desktop's own menus.
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=" \
    XDG_DATA_HOME="$work/xdg-data" XDG_CONFIG_HOME="$work/xdg-config"
echo "check-msi: making the wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w # wineboot returns before the registry is saved
wineserver -p
wine cmd /c exit 0 </dev/null >/dev/null 2>&1
# Unmanaged windows close without wine's two-second delay.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

drive_c="$WINEPREFIX/drive_c"
installed_exe="$drive_c/Program Files/$title/Tessaro.exe"

msiexec() { # /i|/x MSI
    timeout 180 wine msiexec "$1" "$(winepath -w "$2")" /qn </dev/null >/dev/null 2>&1
}

# The Tessaro entries under Apps & features, 64- and 32-bit views, one line
# each: name|version|publisher|web address|icon.
uninstall_entries() {
    printf '%s\n' "$uninstall_keys" | while read -r key; do
        wine reg query "$key" /s 2>/dev/null </dev/null | tr -d '\r'
    done | awk -F '    ' '
        function flush() {
            if (v["DisplayName"] == "Tessaro")
                print v["DisplayName"] "|" v["DisplayVersion"] "|" v["Publisher"] "|" v["URLInfoAbout"] "|" v["DisplayIcon"]
            split("", v)
        }
        /^HKEY_/ { flush(); next }
        NF >= 3 { v[$2] = $4 }
        END { flush() }'
}
count_entries() { uninstall_entries | grep -c . || true; }
shortcuts() { find "$drive_c" -iname "$title*.lnk"; }
count_files() { find "$@" -iname Tessaro.exe 2>/dev/null | grep -c . || true; }

# One installed copy of VERSION: one program file, identical to the built
# one, one shortcut in a Start menu pointing at it, one Apps & features entry.
check_installed() {
    expected_version=$1
    check "one Tessaro.exe in the program folders" \
        test "$(count_files "$drive_c/Program Files" "$drive_c/Program Files (x86)")" = 1
    # The installer keeps the program's icon under the product's code.
    check "one icon of Tessaro in the installer's cache" test "$(count_files "$drive_c/windows/Installer")" = 1
    check "C:\\Program Files\\Tessaro\\Tessaro.exe is the built program" cmp -s "$exe" "$installed_exe"
    # Wine puts the shortcut of a per-machine install into the user's Start
    # menu, Windows into the common one: either is the program list.
    check "one shortcut, in a Start menu's program list" \
        test "$(shortcuts | wc -l) $(shortcuts | grep -c '/Start Menu/Programs/Tessaro\.lnk$')" = "1 1"
    check "the shortcut points at the installed program" \
        grep -qa 'C:\\Program Files\\Tessaro\\Tessaro.exe' "$(shortcuts | head -n 1)"
    check "one entry under Apps & features" test "$(count_entries)" = 1
    check "the entry has name, version $expected_version, web address and icon" \
        test "$(uninstall_entries)" = \
        "Tessaro|$expected_version|tessaro.example.org|https://tessaro.example.org|C:\\Program Files\\Tessaro\\Tessaro.exe,0"
}

window_shown() { xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; }
window_gone() { ! window_shown; }

# --- Install, start, reinstall, upgrade, uninstall -----------------------------
echo "check-msi: installing $msi"
check "msiexec /i /qn succeeds" msiexec /i "$msi"
check_installed "$version"

echo "check-msi: starting Tessaro from its shortcut"
wine start "$(winepath -w "$(shortcuts | head -n 1)")" </dev/null >/dev/null 2>&1
check "the installed program shows its window" wait_for 60 window_shown
wine taskkill /im Tessaro.exe >/dev/null 2>&1 || true
check "the program ends when its window is closed" wait_for 30 window_gone

echo "check-msi: installing the same package again"
check "msiexec /i of the installed package succeeds" msiexec /i "$msi"
check_installed "$version"

echo "check-msi: installing a rebuilt package of the same version"
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
first_code=$(product_code "$msi")
scripts/package-windows.sh "$exe" "$work/rebuilt" >/dev/null
rebuilt="$work/rebuilt/$title-$version-x64.msi"
check "a rebuilt package is a new product" test "$(product_code "$rebuilt")" != "$first_code"
check "msiexec /i of the rebuilt package succeeds" msiexec /i "$rebuilt"
check_installed "$version"

echo "check-msi: upgrading to $later_version"
check "msiexec /i of version $later_version succeeds" msiexec /i "$work/later.msi"
check_installed "$later_version"

echo "check-msi: going back to $version"
refused() { ! msiexec /i "$1"; }
check "an earlier version does not install over a later one" refused "$msi"
check_installed "$later_version"

echo "check-msi: uninstalling"
check "msiexec /x /qn succeeds" msiexec /x "$work/later.msi"
check "no file or folder of Tessaro is left in the prefix" \
    test -z "$(find "$WINEPREFIX" -iname '*tessaro*' -print)"
wine regedit /E "$(winepath -w "$work/registry.reg")" >/dev/null 2>&1
[ -s "$work/registry.reg" ] || abort "regedit exported no registry"
no_trace_in() { ! iconv -f UTF-16LE -t UTF-8 "$1" | grep -i tessaro >&2; }
check "no registry key or value of Tessaro is left" no_trace_in "$work/registry.reg"
check "wine wrote no desktop menu entries" \
    test -z "$(find "$work/xdg-data" "$work/xdg-config" -type f 2>/dev/null)"

if [ "$failures" -ne 0 ]; then
    echo "check-msi: $failures checks failed" >&2
    exit 1
fi
echo "check-msi: all checks passed"
