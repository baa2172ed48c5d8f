#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release files of scripts/package-windows.sh, used as a Windows
# user would, in a throwaway wine prefix on a private Xvfb: zip, install,
# reinstall, upgrade, refused downgrade and an uninstall that leaves nothing.
set -eu
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 TESSARO_EXE (a built Tessaro.exe)" >&2 && exit 2; }
exe=$(realpath "$1")
cd "$(dirname "$0")/../.."
. tests/packaging/checks.sh
[ -n "${CHECK_MSI_ON_XVFB:-}" ] ||
    CHECK_MSI_ON_XVFB=1 exec tests/tools/with-xvfb.sh tests/packaging/check-msi.sh "$exe"
version=2.0.8 later=2.0.9
# No "tessaro" in the work folder's name: the search for leftovers would find it.
work=$(mktemp -d "${TMPDIR:-/tmp}/msi-check.XXXXXX")
trap '[ "${WINEPREFIX:-}" != "$work/prefix" ] || wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
same() { # FOUND EXPECTED
    [ "$1" = "$2" ] || { printf 'found:    %s\nexpected: %s\n' "$1" "$2" >&2 && return 1; }
}
differs() { cmp -s "$exe" "$1" || echo " $1 is not the built program"; }

scripts/package-windows.sh "$exe" "$work/out" >"$work/packed"
msi="$work/out/Tessaro-$version-x64.msi" zip="$work/out/Tessaro-$version-win64.zip"
check "package-windows prints the paths of the MSI and the zip" \
    same "$(cat "$work/packed")" "$(printf '%s\n%s' "$msi" "$zip")"
unzip -q "$zip" -d "$work/unzipped" || abort "package-windows made no zip at $zip"
folder="$work/unzipped/Tessaro-$version"
check "the zip holds the built program, the GPL and a German read-me naming the version" same \
    "$(cd "$work/unzipped" && find . -type f | sort | paste -sd' ')$(differs "$folder/Tessaro.exe")\
|$(grep -c -e "Tessaro $version - binäre Uhr" -e "Entpacken Sie" "$folder/LIESMICH.txt")\
|$(grep -c 'GNU GENERAL PUBLIC LICENSE' "$folder/COPYING.txt")" \
    "./Tessaro-$version/COPYING.txt ./Tessaro-$version/LIESMICH.txt ./Tessaro-$version/Tessaro.exe|2|1"

# A later release: the same installer source with the next version number.
cmake --preset windows -B "$work/config" >/dev/null
mkdir "$work/later"
sed "s/$version/$later/g" "$work/config/packaging/windows/tessaro.wxs" >"$work/later/tessaro.wxs"
cp "$exe" "$work/later/Tessaro.exe" && cp COPYING "$work/later/COPYING.txt"
(cd "$work/later" && wixl -a x64 -D TessaroExe=Tessaro.exe -D Licence=COPYING.txt \
    -o "$work/later.msi" tessaro.wxs 2>/dev/null) || abort "wixl could not build version $later"

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
msiexec() { timeout 180 wine msiexec "$1" "$(winepath -w "$2")" /qn </dev/null >/dev/null 2>&1; }
shortcuts() { find "$drive_c" -iname "Tessaro*.lnk"; }
count_files() { find "$@" -iname Tessaro.exe 2>/dev/null | grep -c . || true; }
# The Tessaro entries under Apps & features: name|version|publisher|web address|icon.
uninstall_entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null </dev/null |
        tr -d '\r' | awk -F '    ' 'function flush() {
            if (v["DisplayName"] == "Tessaro")
                print v["DisplayName"] "|" v["DisplayVersion"] "|" v["Publisher"] "|" v["URLInfoAbout"] "|" v["DisplayIcon"]
            split("", v)
        }
        /^HKEY_/ { flush() } NF >= 3 { v[$2] = $4 } END { flush() }'
}
# One installed copy of VERSION: the built program, one cached icon, one
# Start-menu shortcut to it (wine puts it in the user's menu) and one entry.
check_installed() {
    program='C:\Program Files\Tessaro\Tessaro.exe'
    check "one program, icon, shortcut and entry of version $1, the built program" same \
        "$(count_files "$drive_c/Program Files" "$drive_c/Program Files (x86)") \
$(count_files "$drive_c/windows/Installer") $(shortcuts | grep -c '/Start Menu/Programs/Tessaro\.lnk$') \
$(shortcuts | wc -l) $(grep -caF "$program" "$(shortcuts | head -n 1)") $(uninstall_entries)\
$(differs "$drive_c/Program Files/Tessaro/Tessaro.exe")" \
        "1 1 1 1 1 Tessaro|$1|tessaro.example.org|https://tessaro.example.org|$program,0"
}
window_shown() { xdotool search --onlyvisible --name "^Tessaro\$" >/dev/null 2>&1; }
window_gone() { ! window_shown; }
refused() { ! msiexec /i "$1"; }

check "msiexec /i /qn succeeds" msiexec /i "$msi"
check_installed "$version"
wine start "$(winepath -w "$(shortcuts | head -n 1)")" </dev/null >/dev/null 2>&1
check "the program started from its shortcut shows its window" wait_for 60 window_shown
wine taskkill /im Tessaro.exe >/dev/null 2>&1 || true
check "the program ends when its window is closed" wait_for 30 window_gone

check "msiexec /i of the installed package succeeds" msiexec /i "$msi"
scripts/package-windows.sh "$exe" "$work/rebuilt" >/dev/null
check "msiexec /i of the rebuilt package succeeds" msiexec /i "$work/rebuilt/Tessaro-$version-x64.msi"
check_installed "$version"
check "msiexec /i of version $later succeeds" msiexec /i "$work/later.msi"
check "an earlier version does not install over a later one" refused "$msi"
check_installed "$later"

check "msiexec /x /qn succeeds" msiexec /x "$work/later.msi"
wine regedit /E "$(winepath -w "$work/registry.reg")" >/dev/null 2>&1
[ -s "$work/registry.reg" ] || abort "regedit exported no registry"
check "no file, registry key or desktop menu entry of Tessaro is left" same \
    "$(find "$WINEPREFIX" -iname '*tessaro*'; iconv -f UTF-16LE -t UTF-8 "$work/registry.reg" | grep -i tessaro
    find "$work/xdg-data" "$work/xdg-config" -type f 2>/dev/null)" ""
finish
echo "check-msi: all checks passed"
