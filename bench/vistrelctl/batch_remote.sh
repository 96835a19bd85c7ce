#!/bin/sh
# Times `vistrelctl batch verify` over eight camera simulators that answer after 20 ms, on their
# pseudo-terminals and through ser2net on 127.0.0.1 (RFC 2217, chardelay off, one connection per
# camera). Usage: bench/vistrelctl/batch_remote.sh [BUILD] (default build/dev); needs ser2net.
set -eu
build=${1:-build/dev}
bin=$(cd "$build/bin" && pwd)
cam=$(cd "$(dirname "$0")/../../CamFiles" && pwd)/linescan.cam
work=$(mktemp -d)
pids=""
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT INT TERM
now() { date +%s.%N; }

printf '[Common]\nCOM Port=1\n' >"$work/vistrel.INI"
for n in 1 2 3 4 5 6 7 8; do
    "$bin/vistrel-camsim" --cam "$cam" --answer-delay 20 >"$work/sim$n" 2>/dev/null &
    pids="$pids $!"
done
sleep 0.5
# Eight free ports of 127.0.0.1, held open together while they are chosen so that all differ.
ports=$(python3 -c 'import socket
s=[socket.socket() for _ in range(8)]
[x.bind(("127.0.0.1", 0)) for x in s]
print(" ".join(str(x.getsockname()[1]) for x in s))')
: >"$work/local" && : >"$work/remote" && : >"$work/ser2net.yaml"
n=1
for port in $ports; do
    device=$(head -n 1 "$work/sim$n")
    printf -- '--device %s --cam %s --settings %s/good.vcs\n' "$device" "$cam" "$work" >>"$work/local"
    printf -- '--device rfc2217://127.0.0.1:%s --cam %s --settings %s/good.vcs\n' "$port" "$cam" "$work" >>"$work/remote"
    printf 'connection: &cam%s\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,9600n81,local\n  options:\n    chardelay: false\n' \
        "$n" "$port" "$device" >>"$work/ser2net.yaml"
    n=$((n + 1))
done
ser2net -d -u -c "$work/ser2net.yaml" >"$work/ser2net.log" 2>&1 &
pids="$pids $!"
sleep 0.5
first=$(head -n 1 "$work/local" | cut -d' ' -f2)
"$bin/vistrelctl" save-settings --device "$first" --cam "$cam" --settings "$work/vistrel.INI" \
    --out "$work/good.vcs" >/dev/null

for where in local remote; do
    start=$(now)
    "$bin/vistrelctl" batch verify --targets "$work/$where" --json >"$work/batch.out" || true
    printf '%-6s batch verify of 8 cameras: %.3f s; %s\n' "$where" "$(echo "$(now) - $start" | bc -l)" \
        "$(tail -n 1 "$work/batch.out")"
done
