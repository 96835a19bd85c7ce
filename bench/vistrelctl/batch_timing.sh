#!/bin/sh
# Times `vistrelctl batch` over eight camera simulators that answer after 20 ms, beside the slowest
# of the same targets run alone, for apply and verify. Usage: bench/vistrelctl/batch_timing.sh [BUILD]
# (default build/dev). Fails when a batch takes more than 1.3 times the slowest target alone.
set -eu
build=${1:-build/dev}
bin=$(cd "$build/bin" && pwd)
cam=$(cd "$(dirname "$0")/../../CamFiles" && pwd)/linescan.cam
work=$(mktemp -d)
pids=""
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT INT TERM

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }

printf '[Common]\nCOM Port=1\n' >"$work/vistrel.INI"
: >"$work/targets"
for n in 1 2 3 4 5 6 7 8; do
    "$bin/vistrel-camsim" --cam "$cam" --answer-delay 20 >"$work/sim$n" 2>/dev/null &
    pids="$pids $!"
done
sleep 0.5
for n in 1 2 3 4 5 6 7 8; do
    device=$(head -n 1 "$work/sim$n")
    printf -- '--device %s --cam %s --settings %s/good.vcs\n' "$device" "$cam" "$work" >>"$work/targets"
done
first=$(head -n 1 "$work/targets" | cut -d' ' -f2)
"$bin/vistrelctl" save-settings --device "$first" --cam "$cam" --settings "$work/vistrel.INI" \
    --out "$work/good.vcs" >/dev/null

status=0
for job in apply verify; do
    slowest=0
    while read -r line; do
        start=$(now)
        # shellcheck disable=SC2086 # the target line is the options, word by word
        "$bin/vistrelctl" $job $line >/dev/null || true
        took=$(elapsed "$start" "$(now)")
        slowest=$(echo "if ($took > $slowest) $took else $slowest" | bc -l)
    done <"$work/targets"
    start=$(now)
    "$bin/vistrelctl" batch $job --targets "$work/targets" --json >"$work/batch.out" || true
    batch=$(elapsed "$start" "$(now)")
    ratio=$(echo "$batch / $slowest" | bc -l)
    printf '%-6s slowest alone %.3f s, eight at once %.3f s, ratio %.2f (limit 1.30); %s\n' "$job" "$slowest" \
        "$batch" "$ratio" "$(tail -n 1 "$work/batch.out")"
    if [ "$(echo "$ratio > 1.3" | bc -l)" = 1 ]; then
        status=1
    fi
done
exit $status
