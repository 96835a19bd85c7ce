#!/usr/bin/env bash
# Replays the committed corpus through every harness, then fuzzes each for SECONDS.
# Usage: fuzz/run.sh BUILD_DIR SECONDS   (BUILD_DIR of the fuzz preset, e.g. build/fuzz)
# Fails when a harness crashes; crashing inputs are left in BUILD_DIR/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: fuzz/run.sh BUILD_DIR SECONDS}
seconds=${2:?usage: fuzz/run.sh BUILD_DIR SECONDS}
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

for harness in CamFileReaderFuzz ProfileFuzz CameraLinkExchangeFuzz; do
    bin="$build/bin/$harness"
    corpus="fuzz/corpus/$harness"
    work="$build/fuzz-corpus/$harness"
    log="$build/fuzz-$harness.log"
    mkdir -p "$work"
    dict=()
    [ -f "fuzz/$harness.dict" ] && dict=(-dict="fuzz/$harness.dict")

    if ! "$bin" -runs=0 "${dict[@]}" -artifact_prefix="$artifacts/$harness-" "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$harness failed on the committed corpus" >&2
        exit 1
    fi
    echo "$harness: corpus replayed ($(ls "$corpus" | wc -l) inputs)"

    if ! "$bin" -max_total_time="$seconds" -timeout=10 -max_len=4096 "${dict[@]}" \
        -artifact_prefix="$artifacts/$harness-" "$work" "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$harness crashed; the input is in $artifacts" >&2
        exit 1
    fi
    echo "$harness: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
done
echo "fuzzing: no crash"
