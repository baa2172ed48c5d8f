#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with cpack, installs it (dpkg -i as root on a
# system without tessaro, else unpacked into a throwaway root), starts the
# installed program under Xvfb and finds its window, then removes the package
# and checks that nothing of it is left.
# Usage: check-deb.sh BUILD_DIR VERSION HAS_EXECUTABLE(0|1) WITH_XVFB
# Set TESSARO_DEB_TEST_EXTRACT=1 to keep the package out of the system.
set -eu
build=$1
version=$2
has_executable=$3
with_xvfb=$4

if [ "$has_executable" != 1 ]; then
    echo "SKIP: the build has no tessaro executable"
    exit 77
fi

work=$(mktemp -d)
installed_by_us=0
cleanup() {
    if [ "$installed_by_us" = 1 ]; then
        dpkg -r tessaro >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# --- Build -------------------------------------------------------------------
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "cpack failed" >&2
    exit 1
fi
deb=$(ls "$work"/out/tessaro_*.deb)
echo "built $(basename "$deb")"

# --- Control fields ----------------------------------------------------------
[ "$(dpkg-deb -f "$deb" Package)" = tessaro ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is $(dpkg-deb -f "$deb" Version), want $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    case ", $depends" in
    *", $library "* | *", $library,"* | *", $library") ;;
    *) fail "Depends lacks $library" ;;
    esac
done

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
for path in /usr/bin/tessaro /usr/share/applications/org.tessaro.Tessaro.desktop \
    /usr/share/metainfo/org.tessaro.Tessaro.metainfo.xml /usr/share/man/man1/tessaro.1.gz \
    /usr/share/icons/hicolor/scalable/apps/org.tessaro.Tessaro.svg \
    /usr/share/icons/hicolor/256x256/apps/org.tessaro.Tessaro.png /usr/share/doc/tessaro/copyright; do
    grep -qx "$path" "$work/contents" || fail "the package lacks $path"
done
# Debian's own package checker, where it is installed.
if command -v lintian >/dev/null; then
    if ! report=$(lintian --fail-on error,warning "$deb" 2>&1); then
        printf '%s\n' "$report" >&2
        fail "lintian finds errors or warnings"
    fi
fi
[ "$failed" = 0 ] || exit 1

# --- Install -----------------------------------------------------------------
if [ "$(id -u)" = 0 ] && [ -z "${TESSARO_DEB_TEST_EXTRACT:-}" ] &&
    ! dpkg-query -W -f '${db:Status-Status}' tessaro 2>/dev/null | grep -qx installed; then
    mode=system
    root=
    if ! dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
        cat "$work/dpkg.log" >&2
        installed_by_us=1
        echo "dpkg -i failed" >&2
        exit 1
    fi
    installed_by_us=1
else
    mode=unpacked
    root="$work/root"
    dpkg-deb -x "$deb" "$root"
fi
echo "installed ($mode)"
if command -v readelf >/dev/null && readelf -d "$root/usr/bin/tessaro" | grep -qE 'RPATH|RUNPATH'; then
    fail "the installed program carries a run path"
fi

# --- Run ---------------------------------------------------------------------
# The program runs until its window has been found and its icon and class
# read, then it is ended. Qt also names a hidden helper window "Tessaro", so
# the checks look at the visible one.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/org.tessaro.Tessaro.desktop")
"$with_xvfb" sh -c '
    "$1" >"$2/run.log" 2>&1 &
    pid=$!
    timeout 30 xdotool search --sync --name "^Tessaro\$" >/dev/null
    found=$?
    window=$(timeout 10 xdotool search --sync --onlyvisible --name "^Tessaro\$" | head -n 1)
    properties=$(xprop -id "$window" WM_CLASS _NET_WM_ICON 2>&1 | head -c 300)
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [ "$found" != 0 ] || [ -z "$window" ]; then
        echo "FAIL: no window named Tessaro appeared" >&2
        cat "$2/run.log" >&2
        exit 1
    fi
    echo "found the window; $properties" | head -n 3
    case $properties in
    *"WM_CLASS(STRING) = \"tessaro\", \"$3\""*) ;;
    *) echo "FAIL: the window class is not the desktop entry'"'"'s $3" >&2; exit 1 ;;
    esac
    case $properties in
    *"Icon (16 x 16)"* | *"Icon (32 x 32)"*) ;;
    *) echo "FAIL: the window carries no icon" >&2; exit 1 ;;
    esac
' sh "$root/usr/bin/tessaro" "$work" "$wm_class" || failed=1

# --- Remove ------------------------------------------------------------------
if [ "$mode" = system ]; then
    if ! dpkg -r tessaro >"$work/dpkg.log" 2>&1; then
        cat "$work/dpkg.log" >&2
        fail "dpkg -r failed"
    fi
    installed_by_us=0
    status=$(dpkg-query -W -f '${db:Status-Status}' tessaro 2>/dev/null || echo not-installed)
    [ "$status" = not-installed ] || fail "after removal dpkg reports tessaro as $status"
    # Directories such as /usr/share/icons belong to others; our files and
    # our own directories must be gone.
    while read -r path; do
        case $path in
        */) [ ! -d "$path" ] || [ "$path" != /usr/share/doc/tessaro/ ] || fail "left behind: $path" ;;
        *) [ ! -e "$path" ] || fail "left behind: $path" ;;
        esac
    done <"$work/contents"
fi
if [ "$failed" = 0 ] && [ "$mode" = system ]; then
    echo "removed cleanly"
fi
exit "$failed"
