#!/usr/bin/env bash
# Serial link figures: round trip of "G=2" (HVX_SendData, a bare C loop, pyserial) against one
# instantly answering vistrel-camsim over a pseudo-terminal, then the pacing check; then the same
# through ser2net on 127.0.0.1 (needs the ser2net package).
# Usage: bench/serial/run.sh [BUILD_DIR] [COUNT]   (default build/dev, 2000 round trips each)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/dev}
count=${2:-2000}
bin=$build/bin
cmake --build "$build" --target serial_timing network_timing vistrel-camsim >/dev/null

out=$(mktemp)
"$bin/vistrel-camsim" --cam bench/serial/bench.cam >"$out" &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
device=$(head -n 1 "$out")
echo "== round trip against vistrel-camsim on $device =="
"$bin/serial_timing" roundtrip "$device" "$count"
# Debian's interpreter, where python3-serial installs pyserial (a python3 earlier on PATH may lack it).
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3
if "$py" -I -c "import serial; serial.Serial" 2>/dev/null; then
    "$py" -I bench/serial/pyserial_roundtrip.py "$device" "$count"
else
    echo "pyserial not installed (python3-serial); skipped"
fi
echo "== pacing: 20 characters at 20 ms =="
"$bin/serial_timing" pacing 20 20 5
echo "== over the network: ser2net on 127.0.0.1 in front of the simulator =="
if command -v ser2net >/dev/null; then
    "$bin/network_timing" "$count" 20
else
    echo "ser2net not installed; skipped"
fi
