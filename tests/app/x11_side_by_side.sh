#!/usr/bin/env bash
# The calculator and the analysis window side by side on a real X server (Xvfb) under openbox,
# on a 1920x1080 and on a 1366x768 screen: the calculator opens, its 解析 link is clicked, and
# both outer frames must lie whole inside the work area and clear of each other.
set -euo pipefail

binary=$1
work=$2
rm -rf "$work"
mkdir -p "$work"

caption='３次LPF/HPF Ver1.00'
source "$(dirname "$0")/x11_desktop.sh"

# "left top width height" of two rectangles: whether they share a pixel.
overlap() {
    local -a a b
    read -ra a <<< "$1"
    read -ra b <<< "$2"
    ((a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3]))
}
# Whether the rectangle lies whole inside the work area.
inside() {
    local -a r w
    read -ra r <<< "$1"
    read -ra w <<< "$2"
    ((r[0] >= w[0] && r[1] >= w[1] && r[0] + r[2] <= w[0] + w[2] && r[1] + r[3] <= w[1] + w[3]))
}

summary=
for screen in 1920x1080 1366x768; do
    dir="$work/$screen"
    mkdir -p "$dir/app"
    start_xvfb "$dir/xvfb.log" "${screen}x24"
    start_openbox "$dir"
    HOME="$dir/app" XDG_CONFIG_HOME="$dir/app/.config" "$binary" > "$dir/mirelto.log" 2>&1 &
    APP_PID=$!
    window=$(timeout 20 xdotool search --sync --name "$caption" | head -n 1) ||
        fail "$screen: no window captioned $caption"
    sleep 0.5
    # The 解析 link, at the middle of its label.
    xdotool mousemove --window "$window" 312 319 click 1
    analysis=$(timeout 20 xdotool search --sync --name '^解析$' | head -n 1) ||
        fail "$screen: no analysis window"
    sleep 1
    area=$(work_area)
    calculator_frame=$(frame_of "$window")
    analysis_frame=$(frame_of "$analysis")
    said="work area $area, calculator $calculator_frame, analysis $analysis_frame"
    inside "$calculator_frame" "$area" || fail "$screen: the calculator leaves the work area: $said"
    inside "$analysis_frame" "$area" || fail "$screen: the analysis window leaves the work area: $said"
    ! overlap "$calculator_frame" "$analysis_frame" || fail "$screen: the windows overlap: $said"
    summary+="$screen: $said; "
    stop_desktop
done
echo "x11 side by side: $summary"
echo "1 passed, 0 failed"
