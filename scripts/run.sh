#!/usr/bin/env bash
# Sets up what is missing, builds Vistrel and starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Vistrel is a desktop program and no display was found (DISPLAY is not set)." >&2
    echo "Run it on a desktop session, or under a virtual X server:  xvfb-run -a ./scripts/run.sh" >&2
    exit 1
fi
exec ./build/dev/bin/vistrel "$@"
