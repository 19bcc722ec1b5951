#!/usr/bin/env bash
# The real calculator on a real X server (Xvfb): find its window by caption, check its client
# size, press the constant-calculation button and then "コピー" and read the report back from the
# clipboard, type into a box and calculate again, and check that it is still alive and that a
# screenshot of the result could be taken.
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
# The default request: "定数計算", then "コピー"; the clipboard holds the report, CR LF kept.
click 54 371
click 249 371
printf '%s\r\n' '3rd LPF' '[Input data]' 'fa = 1.42kHz  fo = 1.42kHz   Q = 1.0' \
    'R1 = 22kΩ  R2 = 22kΩ  R3 = 22kΩ' '' '[Result data]' \
    'C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF' \
    'fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m' > "$work/expected_report.txt"
timeout 10 xclip -selection clipboard -o > "$work/clipboard.txt" || fail "clipboard unreadable"
cmp "$work/expected_report.txt" "$work/clipboard.txt" ||
    fail "clipboard differs from the report: $(od -c "$work/clipboard.txt" | head -20)"

# R2 box: 47k (R3 blank takes it), then "定数計算".
click 77 180
xdotool type --delay 20 '47k'
click 54 371
sleep 1

kill -0 "$app" 2> /dev/null || fail "mirelto is no longer running"
import -window "$window" "$work/after_calculation.png"
[ -s "$work/after_calculation.png" ] || fail "no screenshot"
echo "x11 end-to-end: window $window, client $geometry, report copied ($(wc -c < "$work/clipboard.txt") bytes), screenshot $work/after_calculation.png"
echo "1 passed, 0 failed"
