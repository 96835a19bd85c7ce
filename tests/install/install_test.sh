#!/usr/bin/env bash
# Installs the build into a temporary prefix, builds a C program against the installed halvex32.pc,
# moves the tree elsewhere, and checks that it works from there: the programs through their links
# in bin/, and the C program talking to the simulated camera through the installed library.
# Usage: install_test.sh BUILD_DIR CLIENT_SOURCE LIBRARY_DIR   (LIBRARY_DIR: lib/<multiarch> or lib)
set -euo pipefail
build=$1
client_source=$2
library_dir=$3

work=$(mktemp -d)
sim=
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# An installed copy keeps the user's files in the XDG folders: these, not the caller's.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

cmake --install "$build" --prefix "$work/first" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
# halvex32.pc names the prefix it was installed to.
export PKG_CONFIG_PATH=$work/first/$library_dir/pkgconfig
[ "$(pkg-config --variable=libdir halvex32)" = "$work/first/$library_dir" ] ||
    fail "halvex32.pc names $(pkg-config --variable=libdir halvex32)"
# shellcheck disable=SC2046
cc -std=c11 -Wall -Werror -o "$work/hvx_client" "$client_source" $(pkg-config --cflags --libs halvex32)
mv "$work/first" "$work/moved"
prefix=$work/moved

app=$prefix/lib/vistrel
for f in vistrelctl vistrel-camsim libclsersim.so CamFiles/linescan.cam vistrel.installed; do
    [ -e "$app/$f" ] || fail "$app/$f is missing"
done
for program in vistrelctl vistrel-camsim; do
    link=$(readlink "$prefix/bin/$program") || fail "bin/$program is not a link"
    [ "$link" = "../lib/vistrel/$program" ] || fail "bin/$program points to $link"
done
if [ -e "$app/vistrel" ]; then
    [ -e "$prefix/share/applications/vistrel.desktop" ] || fail "no desktop entry"
    [ -e "$prefix/share/icons/hicolor/scalable/apps/vistrel.svg" ] || fail "no icon"
    [ "$(readlink "$prefix/bin/vistrel")" = "../lib/vistrel/vistrel" ] || fail "bin/vistrel"
fi
[ -e "$prefix/include/halvex32.h" ] || fail "no halvex32.h"

# The library answers to its versioned soname, in the library folder, and the programs find it
# there from their own place.
libdir=$prefix/$library_dir
soname=$(objdump -p "$libdir/libhalvex32.so" | awk '$1 == "SONAME" { print $2 }')
[[ "$soname" =~ ^libhalvex32\.so\.[0-9]+$ ]] || fail "soname is '$soname'"
[ -e "$libdir/$soname" ] || fail "$soname is not installed"
[ ! -e "$app/$soname" ] || fail "$soname is in the program folder too"
found=$(env -u LD_LIBRARY_PATH ldd "$app/vistrelctl" | awk -v so="$soname" '$1 == so { print $3 }')
[ -n "$found" ] && [ "$(realpath "$found")" = "$(realpath "$libdir/$soname")" ] ||
    fail "vistrelctl finds $soname at '$found', not in $libdir"

# A simulated camera, started through its link in bin/.
"$prefix/bin/vistrel-camsim" --cam "$app/CamFiles/linescan.cam" >"$work/sim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do
    [ -s "$work/sim.out" ] && break
    sleep 0.1
done
device=$(head -n 1 "$work/sim.out")
[[ "$device" == /dev/* ]] || fail "simulator printed '$device'"

reply=$(LD_LIBRARY_PATH=$libdir "$work/hvx_client" "$device" "ID?") || fail "client: $reply"
[[ "$reply" == *"Sending & Receipt OK"*"CamSim linescan"*">OK"* ]] || fail "client got '$reply'"
libraries=$(LD_LIBRARY_PATH=$libdir ldd "$work/hvx_client")
[[ "$libraries" == *"$soname => $libdir/$soname"* ]] || fail "client did not use the installed library"

"$prefix/bin/vistrelctl" send --device "$device" --cam "$app/CamFiles/linescan.cam" G=2 >"$work/ctl.out" ||
    fail "vistrelctl: $(cat "$work/ctl.out")"
grep -q "Command accepted" "$work/ctl.out" || fail "vistrelctl printed $(cat "$work/ctl.out")"
# vistrelctl of the installed copy takes its link from the settings as the program does: the
# defaults beside the program until the user has a file, then the user's file.
printf '[Common]\nCOM Port=1\n[Last use]\nComboBox1=1\n[Serial Devices]\nCOM1=%s\n' "$device" >"$app/vistrel.INI"
cp "$app/vistrel.INI" "$work/defaults"
"$prefix/bin/vistrelctl" send --cam linescan.cam "ID?" >"$work/ctl.out" ||
    fail "vistrelctl with the defaults beside the program: $(cat "$work/ctl.out")"
# A save goes to the user's file, made from the defaults, which stay as they were.
"$prefix/bin/vistrelctl" apply --cam linescan.cam --from ini --save >"$work/ctl.out" ||
    fail "vistrelctl apply: $(cat "$work/ctl.out")"
cmp -s "$app/vistrel.INI" "$work/defaults" || fail "the defaults beside the program were written"
grep -q "^COM1=$device" "$XDG_CONFIG_HOME/vistrel/vistrel.INI" || fail "the user's file was not made from the defaults"
printf '[Common]\nCOM Port=1\n[Serial Devices]\nCOM1=%s\n' "$work/no-such-device" >"$XDG_CONFIG_HOME/vistrel/vistrel.INI"
if "$prefix/bin/vistrelctl" send --cam linescan.cam "ID?" >"$work/ctl.out" 2>&1; then
    fail "vistrelctl did not take the user's settings file"
fi
# A description of the user's takes the place of the program's of the same name.
printf '[Common]\nCOM Port=1\n[Serial Devices]\nCOM1=%s\n' "$device" >"$XDG_CONFIG_HOME/vistrel/vistrel.INI"
mkdir -p "$XDG_DATA_HOME/vistrel/CamFiles"
sed 's/^NoError=.*/NoError=Accepted by the user'"'"'s copy/' "$app/CamFiles/linescan.cam" \
    >"$XDG_DATA_HOME/vistrel/CamFiles/linescan.cam"
"$prefix/bin/vistrelctl" send --cam linescan.cam G=2 >"$work/ctl.out" || fail "vistrelctl: $(cat "$work/ctl.out")"
grep -q "Accepted by the user's copy" "$work/ctl.out" || fail "vistrelctl read $(cat "$work/ctl.out")"
echo "installed tree works from $prefix"
