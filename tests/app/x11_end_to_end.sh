#!/usr/bin/env bash
# The real calculator on a real X server (Xvfb): find its window by caption, check its client
# size, type into a box, press the constant-calculation button, and check that it is still alive
# and that a screenshot of the result could be taken.
set -euo pipefail

binary=$1
work=$2
rm -rf "$work"
mkdir -p "$work"

caption='３次LPF/HPF Ver1.00'
fail() { echo "FAIL: $*" >&2; exit 1; }

source "$(dirname "$0")/../../scripts/xvfb.sh"
app=
xvfb=
cleanup() {
    [ -n "$app" ] && kill "$app" 2> /dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null || true
}
trap cleanup EXIT
start_xvfb "$work/xvfb.log"
xvfb=$XVFB_PID

"$binary" > "$work/mirelto.log" 2>&1 &
app=$!

window=$(timeout 20 xdotool search --sync --name "$caption" | head -n 1) ||
    fail "no window captioned $caption"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "352x392" ] || fail "client size $geometry, expected 352x392"

click() {  # x y within the window
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.2
}
# R2 box: 47k (R3 blank takes it), then "定数計算".
click 77 180
xdotool type --delay 20 '47k'
click 54 371
sleep 1

kill -0 "$app" 2> /dev/null || fail "mirelto is no longer running"
import -window "$window" "$work/after_calculation.png"
[ -s "$work/after_calculation.png" ] || fail "no screenshot"
echo "x11 end-to-end: window $window, client $geometry, screenshot $work/after_calculation.png"
echo "1 passed, 0 failed"
