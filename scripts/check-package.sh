#!/usr/bin/env bash
# Makes the Debian package from a release build and checks it in a clean room: the package is
# unpacked with dpkg -x into an empty folder, and vistrelctl and the camera simulator are run
# from the unpacked tree against each other. Also shows the declared dependencies and asks apt
# whether they can be met here (a simulation: nothing is installed).
# Usage: check-package.sh [RELEASE_BUILD_DIR]   (default build/release, from `cmake --preset release`)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/vistrel_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends

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

dpkg -x "$deb" "$root"
# The unpacked copy is an installed one: its user settings go to these folders, not the caller's.
export XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data
for f in usr/bin/vistrel usr/bin/vistrelctl usr/bin/vistrel-camsim usr/lib/vistrel/vistrel-cltrial \
    usr/lib/vistrel/CamFiles/linescan.cam \
    usr/share/applications/vistrel.desktop usr/include/halvex32.h usr/lib/pkgconfig/halvex32.pc; do
    [ -e "$root/$f" ] || fail "$f is not in the package"
done
depends=$(dpkg-deb --field "$deb" Depends)
[[ "$depends" == *libqt6widgets6* ]] || fail "Qt 6 Widgets is not a declared dependency"
[[ "$depends" == *libc6* ]] || fail "libc is not a declared dependency"

"$root/usr/bin/vistrel-camsim" --cam "$root/usr/lib/vistrel/CamFiles/linescan.cam" >"$root/sim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do
    [ -s "$root/sim.out" ] && break
    sleep 0.1
done
device=$(head -n 1 "$root/sim.out")
[[ "$device" == /dev/* ]] || fail "simulator printed '$device'"
"$root/usr/bin/vistrelctl" send --device "$device" --cam linescan.cam "ID?" || fail "vistrelctl send"
"$root/usr/bin/vistrelctl" apply --device "$device" --cam linescan.cam --from camera || fail "vistrelctl apply"

if command -v apt-get >/dev/null; then
    apt-get install --simulate --no-install-recommends "$(realpath "$deb")" 2>/dev/null | grep -E "^(Inst|Conf) vistrel" ||
        fail "apt cannot install the package here"
fi
echo "package works from the unpacked tree"
