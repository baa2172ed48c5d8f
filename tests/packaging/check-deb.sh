#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built and installed with the commands of the README's
# "Linux" section: built twice from one copy of the sources with identical
# bytes, lintian-clean, installed with apt, started from its desktop entry
# under Xvfb without writing into the home folder, removed without leftovers.
# Usage: check-deb.sh SOURCE_DIR WITH_XVFB   (as root, tessaro not installed)
#        check-deb.sh --readme SOURCE_DIR    (the README gives these commands)
set -eu
[ "$1" = --readme ] && readme_only=1 && shift || readme_only=""
src=$(cd "$1" && pwd)
version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
deb=tessaro_${version}_$(dpkg --print-architecture).deb
build_command="dpkg-buildpackage -us -uc -b"
install_command="apt install ./$deb"
remove_command="apt remove tessaro"
. "$(dirname "$0")/checks.sh"

if [ -n "$readme_only" ]; then
    # The commands in the README's "Linux" section, without their comments.
    commands=$(sed -n '/^## Linux/,/^## [^L]/p' "$src/README.md" | sed 's/ *#.*//')
    for command in "$build_command" "sudo $install_command" "sudo $remove_command"; do
        echo "$commands" | grep -qxF "$command" || abort "the README does not say: $command"
    done
    echo "the README gives the commands of the package test"
    exit 0
fi

installed() { dpkg-query -W -f '${db:Status-Status}' tessaro 2>/dev/null | grep -qx installed; }
[ "$(id -u)" = 0 ] && ! installed || { echo "SKIP: needs root and no tessaro installed" && exit 77; }
work=$(mktemp -d)
trap 'installed && dpkg -r tessaro >/dev/null 2>&1; rm -rf "$work"' EXIT
run() { "$@" >"$work/log" 2>&1 || { tail -n 40 "$work/log" >&2 && abort "$*"; }; }

# Built in a copy of the working tree (dpkg-buildpackage writes beside it),
# with the time of the last commit and no compiler cache to hide a difference.
mkdir "$work/tessaro" "$work/first"
(cd "$src" && git ls-files -co --exclude-standard -z | xargs -0 tar -cf -) | tar -xf - -C "$work/tessaro"
SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct)
DEB_BUILD_OPTIONS="parallel=$(nproc)"
export SOURCE_DATE_EPOCH DEB_BUILD_OPTIONS
unset CMAKE_CXX_COMPILER_LAUNCHER
cd "$work/tessaro"
run $build_command
mv ../*.deb "$work/first/"
run $build_command
cd "$work"
for package in first/*.deb; do
    cmp "$package" "${package#first/}" || abort "two builds of ${package#first/} differ"
done

# Debian's hardening flags (bookworm's have no control-flow protection).
run hardening-check --nocfprotection tessaro/debian/tessaro/usr/bin/tessaro
run lintian -I --pedantic --fail-on error,warning,info,pedantic "$deb"
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland ||
    abort "qt6-wayland is not among the package's Recommends"

DEBIAN_FRONTEND=noninteractive run $install_command -y
dpkg -L tessaro >"$work/files"
pages="$(tessaro --version) $(man -w tessaro) $(man -L de -w tessaro)"
[ "$pages" = "Tessaro $version /usr/share/man/man1/tessaro.1.gz /usr/share/man/de/man1/tessaro.1.gz" ] ||
    abort "installed: $pages"
# Started from its menu entry in an empty home folder, with a session bus as
# in a desktop session (else D-Bus would note its own in the home folder).
# Qt also names a hidden helper window "Tessaro": look for the visible one.
mkdir "$work/home"
HOME="$work/home" run "$2" dbus-run-session -- sh -c 'gio launch /usr/share/applications/org.tessaro.Tessaro.desktop
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Tessaro\$") || exit 1
    pid=$(xdotool getwindowpid "$window") && kill "$pid" &&
        timeout 30 sh -c "while kill -0 $pid 2>/dev/null; do sleep 0.1; done"'
[ -z "$(ls -A "$work/home")" ] || abort "written into the home folder: $(ls -A "$work/home")"

DEBIAN_FRONTEND=noninteractive run $remove_command -y
while read -r path; do
    [ ! -f "$path" ] || abort "left behind: $path"
done <"$work/files"
echo "built twice alike, lintian-clean, installed, started, removed cleanly"
