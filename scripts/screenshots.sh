#!/usr/bin/env bash
# Writes PNG screenshots of the calculator for the README: the main window after a constant
# calculation in LPF and in HPF mode, the help window, and the analysis window after the default
# LPF calculation, whole and in its pass-band view with the cursor readout. Runs on its own Xvfb
# server.
set -euo pipefail

binary=${1:-build/src/app/mirelto}
out=${2:-docs/images}
mkdir -p "$out"
tmp=$(mktemp -d)

source "$(dirname "$0")/xvfb.sh"
app=
xvfb=
trap '[ -n "$app" ] && kill "$app" 2> /dev/null; [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null; rm -rf "$tmp"' EXIT
start_xvfb "$tmp/xvfb.log"
xvfb=$XVFB_PID

start_app() {
    "$binary" > /dev/null 2>&1 &
    app=$!
    window=$(timeout 20 xdotool search --sync --all --pid "$app" --name 'LPF/HPF Ver' | head -n 1)
}
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}

start_app

click 54 371   # 定数計算 (LPF, defaults)
import -window "$window" "$out/main_lpf.png"
click 305 296  # HPF
click 54 371
import -window "$window" "$out/main_hpf.png"
click 312 339  # Help
help=$(timeout 20 xdotool search --sync --name '^Help$' | head -n 1)
sleep 0.5
import -window "$help" "$out/help.png"

# The analysis window overlaps the main window on this screen: a fresh run with the default
# request, so the main-window pictures above stay unobscured.
kill "$app"
wait "$app" 2> /dev/null || true
start_app
click 54 371   # 定数計算 (LPF, defaults)
click 312 319  # 解析
analysis=$(timeout 20 xdotool search --sync --all --pid "$app" --onlyvisible --name '^解析$' | head -n 1)
sleep 1        # the plots are drawn once the window is shown
import -window "$analysis" "$out/analysis.png"
# The pass-band view of the magnitude plot with the cursor readout over it.
xdotool mousemove --window "$analysis" 630 520 click 1   # 通過域
sleep 0.5
xdotool mousemove --window "$analysis" 150 160           # over the magnitude plot's pass band
sleep 0.5
import -window "$analysis" "$out/analysis_passband.png"
echo "screenshots written to $out"
