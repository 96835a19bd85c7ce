#!/usr/bin/env bash
# Drives the demo of run.sh like a user and takes a picture of the filled panel after one change:
# docs/demo-panel.png. Connection, camera configuration and OK (linescan.cam, the proposed
# initialisation), then the next entry of "Analog gain". Run it under a virtual X server:
#   xvfb-run -a -s "-screen 0 1280x1024x24" ./scripts/screenshot-demo.sh
# Needs xdotool and ImageMagick (apt-get install xdotool imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."

out=docs/demo-panel.png
rm -f build/dev/demo/vistrel.INI # a fresh demo: no panel values of an earlier run
./scripts/run.sh >/tmp/vistrel-demo.$$.log 2>&1 &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

window=$(xdotool search --sync --name "Vistrel 32bit" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
click() { # x y within the frame
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}

sleep 1
click 157 44 # toolbar: connection
sleep 2
click 32 44 # toolbar: camera configuration
xdotool search --sync --name "Camera configuration" >/dev/null
sleep 1
xdotool key Return # OK: linescan.cam, the proposed initialisation
sleep 4            # the panel is sent to the camera
click 65 108       # "Analog gain"
sleep 1
xdotool key Down Return
sleep 2

import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "$out"
