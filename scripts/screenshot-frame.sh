#!/usr/bin/env bash
# Takes a picture of the main frame under a virtual X server: docs/main-frame.png.
# Needs a dev build (cmake --preset dev && cmake --build --preset dev).
set -euo pipefail
cd "$(dirname "$0")/.."

out=docs/main-frame.png
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy in a folder of its own, so no settings file of a previous run is read.
cp build/dev/bin/vistrel "$work/"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "'$work/vistrel' & pid=\$!; sleep 4; import -window root '$work/root.png'; kill \$pid"
# The frame opens centred at 485 x 535.
convert "$work/root.png" -crop 485x535+$(((1280 - 485) / 2))+$(((1024 - 535) / 2)) +repage "$out"
echo "$out"
