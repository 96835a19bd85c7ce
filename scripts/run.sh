#!/usr/bin/env bash
# Sets up what is missing, builds Vistrel and starts it with a simulated camera on COM1, so the
# whole job can be seen without a camera. Arguments are passed to the program.
#
# The demo runs from a folder of its own, build/dev/demo/, with its own settings file: the program
# reads vistrel.INI beside its executable, and finds its executable through /proc/self/exe, which
# resolves symbolic links. So the executable is a hard link (or a copy) of the built one, the
# libraries and CamFiles/ are symbolic links. The settings of the built program are not touched.
#
# The simulator, vistrel-camsim, serves CamFiles/linescan.cam on a pseudo-terminal and ends when
# the program ends, however it ends: this script becomes the program (exec), and the simulator
# asks the kernel to stop it when its parent ends.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target vistrel vistrel-camsim vistrel_camfiles

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Vistrel is a desktop program and no display was found (DISPLAY is not set)." >&2
    echo "Run it on a desktop session, or under a virtual X server:  xvfb-run -a ./scripts/run.sh" >&2
    exit 1
fi

bin=$PWD/build/dev/bin
demo=$PWD/build/dev/demo
mkdir -p "$demo"
rm -f "$demo/vistrel"
ln "$bin/vistrel" "$demo/vistrel" 2>/dev/null || cp "$bin/vistrel" "$demo/vistrel"
for library in "$bin"/libhalvex32.so* "$bin/libclsersim.so"; do
    ln -sfn "$library" "$demo/$(basename "$library")"
done
ln -sfn "$bin/CamFiles" "$demo/CamFiles"

# The simulated camera; its first line of output is the device it serves.
device_file=$demo/camsim.device
rm -f "$device_file"
"$bin/vistrel-camsim" --exit-with-parent --cam "$bin/CamFiles/linescan.cam" >"$device_file" 2>"$demo/camsim.log" &
for _ in $(seq 50); do
    [ -s "$device_file" ] && break
    sleep 0.1
done
device=$(head -n 1 "$device_file")
if [[ "$device" != /dev/* ]]; then
    echo "The camera simulator did not start:" >&2
    cat "$demo/camsim.log" >&2
    exit 1
fi

# COM1 at 9600 baud, mapped to the simulator, with linescan.cam preselected. Saved panel values of
# an earlier demo stay; only these keys are set.
settings=$demo/vistrel.INI
touch "$settings"
set_key() { # section key value
    awk -v section="$1" -v key="$2" -v value="$3" '
        function flush() { if (inside && !done) { print key "=" value; done = 1 } }
        /^\[/ { flush(); inside = (tolower($0) == "[" tolower(section) "]"); seen = seen || inside }
        inside && !done && tolower($0) ~ "^" tolower(key) "=" { print key "=" value; done = 1; next }
        { print }
        END { flush(); if (!seen) { print "[" section "]"; print key "=" value } }
    ' "$settings" >"$settings.new"
    mv "$settings.new" "$settings"
}
set_key Common "Camera File" linescan.cam
set_key Common "COM Port" 1
set_key Common BaudRate 9600
set_key "Serial Devices" COM1 "$device"

echo "Simulated camera on $device (COM1); demo folder $demo"
exec "$demo/vistrel" "$@"
