#!/usr/bin/env bash
# Makes the three Debian packages (vistrel, libhalvex32-1, libhalvex32-dev) from a release build and
# checks them: lintian finds no error and no warning; the manuals render through man --warnings;
# the desktop entry, the AppStream metadata and the bash completion pass their checks; then, in a
# clean room (the packages unpacked with dpkg -x into an empty folder), every program answers
# --help and --version without a display, vistrelctl and the camera simulator work against each
# other, and a C program builds against halvex32.pc and talks to the simulator. Last, apt is asked
# whether the packages can be installed here (a simulation: nothing is installed).
# Usage: check-package.sh [RELEASE_BUILD_DIR]   (default build/release, from `cmake --preset release`)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

root=$(mktemp -d)
sim=
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; fail "cpack"; }
debs=()
for package in vistrel libhalvex32-1 libhalvex32-dev; do
    deb=$(ls "$build/${package}"_*.deb 2>/dev/null) || fail "no package $package"
    debs+=("$deb")
    echo "package: $deb"
    dpkg-deb --field "$deb" Package Version Architecture Depends | sed 's/^/    /'
done

# Infos are shown for the record; an error or a warning fails the check.
status=0
lintian --display-info --fail-on error,warning --no-tag-display-limit "${debs[@]}" >"$root/lintian.log" 2>&1 ||
    status=$?
grep -E '^[EWIX]:' "$root/lintian.log" || true
[ "$status" -eq 0 ] || { cat "$root/lintian.log"; fail "lintian"; }
echo "lintian: no error, no warning"

for deb in "${debs[@]}"; do
    dpkg -x "$deb" "$root/tree"
done
tree=$root/tree
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for f in usr/bin/vistrel usr/bin/vistrelctl usr/bin/vistrel-camsim usr/lib/vistrel/CamFiles/linescan.cam \
    usr/lib/vistrel/vistrel-cltrial usr/lib/vistrel/libclsersim.so usr/share/applications/vistrel.desktop \
    usr/share/metainfo/org.vistrel.vistrel.metainfo.xml usr/share/icons/hicolor/scalable/apps/vistrel.svg \
    usr/share/bash-completion/completions/vistrelctl usr/include/halvex32.h \
    "usr/lib/$multiarch/libhalvex32.so.1" "usr/lib/$multiarch/libhalvex32.so" \
    "usr/lib/$multiarch/pkgconfig/halvex32.pc" usr/share/man/man3/halvex32.3.gz; do
    [ -e "$tree/$f" ] || fail "$f is not in the packages"
done
for package in vistrel libhalvex32-1 libhalvex32-dev; do
    [ -e "$tree/usr/share/doc/$package/copyright" ] || fail "$package has no copyright file"
done
depends=$(dpkg-deb --field "${debs[0]}" Depends)
for needed in libqt6widgets6 libc6 "libhalvex32-1 (= $(dpkg-deb --field "${debs[0]}" Version))"; do
    [[ "$depends" == *"$needed"* ]] || fail "vistrel does not depend on $needed"
done
[[ "$(dpkg-deb --field "${debs[1]}" Depends)" == libc6* ]] || fail "libc is not the dependency of libhalvex32-1"

for program in vistrel vistrelctl vistrel-camsim; do
    manual=$tree/usr/share/man/man1/$program.1.gz
    [ -e "$manual" ] || fail "no manual for $program"
    # --help and --version as GNU programs answer them: on standard output, status 0, no display.
    for option in --help --version; do
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tree/usr/bin/$program" "$option" 2>&1) ||
            fail "$program $option exits with $?"
        [[ "$out" == *"$program"* ]] || fail "$program $option printed: $out"
    done
done
for manual in "$tree"/usr/share/man/man*/*.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man --warnings $(basename "$manual"): $warnings"
done
echo "manuals render without a warning; --help and --version answer without a display"

desktop-file-validate "$tree/usr/share/applications/vistrel.desktop" || fail "desktop entry"
grep -q '^Keywords=' "$tree/usr/share/applications/vistrel.desktop" || fail "desktop entry without Keywords"
appstreamcli validate --pedantic --no-net --explain "$tree/usr/share/metainfo/org.vistrel.vistrel.metainfo.xml" \
    >"$root/appstream.log" 2>&1 || { cat "$root/appstream.log"; fail "AppStream metadata"; }
completion=$tree/usr/share/bash-completion/completions/vistrelctl
if [ -e /usr/share/bash-completion/bash_completion ]; then
    # The completion, sourced as bash does, offers the commands of the packaged vistrelctl.
    words=$(PATH=$tree/usr/bin:$PATH bash -c '
        source /usr/share/bash-completion/bash_completion && source "$1" &&
        COMP_WORDS=(vistrelctl "") COMP_CWORD=1 COMP_LINE="vistrelctl " COMP_POINT=11 &&
        _vistrelctl vistrelctl "" vistrelctl && echo "${COMPREPLY[*]}"' bash "$completion")
    [[ "$words" == *"send"*"ports"* ]] || fail "the completion offers '$words'"
else
    bash -n "$completion" || fail "the completion is not valid bash"
fi
echo "desktop entry, AppStream metadata and completion pass"

# The unpacked copy is an installed one: its user settings go to these folders, not the caller's.
export XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data
"$tree/usr/bin/vistrel-camsim" --cam "$tree/usr/lib/vistrel/CamFiles/linescan.cam" >"$root/sim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do
    [ -s "$root/sim.out" ] && break
    sleep 0.1
done
device=$(head -n 1 "$root/sim.out")
[[ "$device" == /dev/* ]] || fail "simulator printed '$device'"
"$tree/usr/bin/vistrelctl" send --device "$device" --cam linescan.cam "ID?" >/dev/null || fail "vistrelctl send"
"$tree/usr/bin/vistrelctl" apply --device "$device" --cam linescan.cam --from camera >/dev/null ||
    fail "vistrelctl apply"

# A C program built with the flags halvex32.pc gives (its prefix taken as the unpacked tree).
cat >"$root/client.c" <<'EOF'
#include <halvex32.h>
#include <stdio.h>
int main(int argc, char **argv) {
    char status[HVX_STATUS_MIN_SIZE], reply[HVX_REPLY_MIN_SIZE];
    if (argc != 3 || HVX_ConnectDevice(status, argv[1], 9600) == 0) return 2;
    int n = HVX_SendData(status, argv[2], reply, 0);
    printf("%d %s %s\n", n, status, n > 0 ? reply : "");
    return n > 0 ? 0 : 1;
}
EOF
flags=$(PKG_CONFIG_SYSROOT_DIR=$tree PKG_CONFIG_LIBDIR=$tree/usr/lib/$multiarch/pkgconfig \
    pkg-config --cflags --libs halvex32) || fail "pkg-config halvex32"
# shellcheck disable=SC2086
cc -std=c11 -Wall -Werror -o "$root/client" "$root/client.c" $flags || fail "the C program does not build"
reply=$(LD_LIBRARY_PATH=$tree/usr/lib/$multiarch "$root/client" "$device" "ID?") || fail "the C program: $reply"
[[ "$reply" == *"Sending & Receipt OK"* ]] || fail "the C program got '$reply'"
echo "the programs and a C program against halvex32.pc work from the unpacked packages"

if command -v apt-get >/dev/null; then
    resolved=()
    for deb in "${debs[@]}"; do resolved+=("$(realpath "$deb")"); done
    apt-get install --simulate --no-install-recommends "${resolved[@]}" 2>/dev/null |
        grep -cE "^Inst (vistrel|libhalvex32-1|libhalvex32-dev) " | grep -qx 3 ||
        fail "apt cannot install the packages here"
fi
echo "packages pass"
