#!/usr/bin/env bash
# Drives the demo of run.sh like a user, in the steps of the README, and takes a picture of the
# filled panel after one change: docs/demo-panel.png. Connection, camera configuration and OK
# (linescan.cam, the proposed initialisation), disconnection and connection (now the camera is
# identified), camera configuration and OK (the camera's settings), then the next entry of
# "Analog gain". Run it under a virtual X server:
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

configure() { # the camera configuration dialog, OK with what it proposes
    click 32 44 # toolbar: camera configuration
    xdotool search --sync --name "Camera configuration" >/dev/null
    sleep 1
    xdotool key Return
    sleep 4 # the panel is sent to the camera
}

sleep 1
click 157 44 # toolbar: connection
sleep 2
configure    # linescan.cam, the settings file's values
click 207 44 # toolbar: disconnection
sleep 1
click 157 44 # toolbar: connection, which now identifies the camera
sleep 2
configure    # the camera's own settings
click 65 108 # "Analog gain"
sleep 1
xdotool key Down Return
sleep 2

import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "$out"
