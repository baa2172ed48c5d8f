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
# Usage: check-msi.sh TESSARO_EXE
set -eu
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 TESSARO_EXE (a built Tessaro.exe)" >&2 && exit 2; }
exe=$(realpath "$1")
cd "$(dirname "$0")/../.."
. tests/packaging/checks.sh
[ -n "${CHECK_MSI_ON_XVFB:-}" ] ||
    CHECK_MSI_ON_XVFB=1 exec tests/tools/with-xvfb.sh tests/packaging/check-msi.sh "$exe"
version=2.0.8
later_version=2.0.9
title=Tessaro

# No "tessaro" in the work folder's name: the search for leftovers would find it.
work=$(mktemp -d "${TMPDIR:-/tmp}/msi-check.XXXXXX")
cleanup() {
    if [ "${WINEPREFIX:-}" = "$work/prefix" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
same() { # FOUND EXPECTED
    [ "$1" = "$2" ] || { printf 'found:    %s\nexpected: %s\n' "$1" "$2" >&2 && return 1; }
}

# --- The release files ---------------------------------------------------------
echo "check-msi: packing $exe"
scripts/package-windows.sh "$exe" "$work/out" >"$work/packed"
msi="$work/out/$title-$version-x64.msi"
zip="$work/out/$title-$version-win64.zip"
check "package-windows prints the paths of the MSI and the zip" \
    same "$(cat "$work/packed")" "$(printf '%s\n%s' "$msi" "$zip")"
if [ ! -f "$msi" ] || [ ! -f "$zip" ]; then abort "package-windows made no $msi and $zip"; fi

folder="$work/unzipped/$title-$version"
check "the zip holds exactly the program, the licence and the read-me in one folder" \
    same "$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')" \
    "$title-$version/COPYING.txt $title-$version/LIESMICH.txt $title-$version/Tessaro.exe "
unzip -q "$zip" -d "$work/unzipped"
check "the program in the zip is the built one" cmp -s "$exe" "$folder/Tessaro.exe"
check "the read-me is German and names the version" \
    grep -q "Tessaro $version - binäre Uhr" "$folder/LIESMICH.txt"
check "the read-me says how to unpack" grep -q "Entpacken Sie" "$folder/LIESMICH.txt"
check "the licence is the GPL" grep -q 'GNU GENERAL PUBLIC LICENSE' "$folder/COPYING.txt"

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
msiexec() { # /i|/x MSI
    timeout 180 wine msiexec "$1" "$(winepath -w "$2")" /qn </dev/null >/dev/null 2>&1
}
shortcuts() { find "$drive_c" -iname "$title*.lnk"; }
count_files() { find "$@" -iname Tessaro.exe 2>/dev/null | grep -c . || true; }

# The Tessaro entries under Apps & features, 64- and 32-bit views, one line
# each: name|version|publisher|web address|icon.
uninstall_entries() {
    for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
        'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'; do
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

# One installed copy of VERSION: one program file, identical to the built
# one, one icon in the installer's cache (kept under the product's code), one
# shortcut pointing at it in a Start menu's program list (wine puts that of a
# per-machine install into the user's menu, Windows into the common one), and
# one Apps & features entry.
check_installed() {
    program='C:\Program Files\Tessaro\Tessaro.exe'
    check "one program, icon, shortcut and entry of version $1" same \
        "$(count_files "$drive_c/Program Files" "$drive_c/Program Files (x86)") \
$(count_files "$drive_c/windows/Installer") $(shortcuts | grep -c '/Start Menu/Programs/Tessaro\.lnk$') \
$(shortcuts | wc -l) $(uninstall_entries)" \
        "1 1 1 1 Tessaro|$1|tessaro.example.org|https://tessaro.example.org|$program,0"
    check "$program is the built program" cmp -s "$exe" "$drive_c/Program Files/$title/Tessaro.exe"
    check "the shortcut points at it" grep -qaF "$program" "$(shortcuts | head -n 1)"
}
window_shown() { xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; }
window_gone() { ! window_shown; }
refused() { ! msiexec /i "$1"; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }

# --- Install, start, reinstall, upgrade, uninstall -----------------------------
echo "check-msi: installing $msi"
check "msiexec /i /qn succeeds" msiexec /i "$msi"
check_installed "$version"

echo "check-msi: starting Tessaro from its shortcut"
wine start "$(winepath -w "$(shortcuts | head -n 1)")" </dev/null >/dev/null 2>&1
check "the installed program shows its window" wait_for 60 window_shown
wine taskkill /im Tessaro.exe >/dev/null 2>&1 || true
check "the program ends when its window is closed" wait_for 30 window_gone

echo "check-msi: installing the same package again, then a rebuilt one"
check "msiexec /i of the installed package succeeds" msiexec /i "$msi"
check_installed "$version"
scripts/package-windows.sh "$exe" "$work/rebuilt" >/dev/null
rebuilt="$work/rebuilt/$title-$version-x64.msi"
check "a rebuilt package is a new product" test "$(product_code "$rebuilt")" != "$(product_code "$msi")"
check "msiexec /i of the rebuilt package succeeds" msiexec /i "$rebuilt"
check_installed "$version"

echo "check-msi: upgrading to $later_version, then going back"
check "msiexec /i of version $later_version succeeds" msiexec /i "$work/later.msi"
check_installed "$later_version"
check "an earlier version does not install over a later one" refused "$msi"
check_installed "$later_version"

echo "check-msi: uninstalling"
check "msiexec /x /qn succeeds" msiexec /x "$work/later.msi"
check "no file or folder of Tessaro is left in the prefix" \
    same "$(find "$WINEPREFIX" -iname '*tessaro*' -print)" ""
wine regedit /E "$(winepath -w "$work/registry.reg")" >/dev/null 2>&1
[ -s "$work/registry.reg" ] || abort "regedit exported no registry"
check "no registry key or value of Tessaro is left" \
    same "$(iconv -f UTF-16LE -t UTF-8 "$work/registry.reg" | grep -i tessaro)" ""
check "wine wrote no desktop menu entries" \
    same "$(find "$work/xdg-data" "$work/xdg-config" -type f 2>/dev/null)" ""
finish
echo "check-msi: all checks passed"
