#!/usr/bin/env bash
# Writes PNG screenshots of the calculator for the README, in Japanese and in English (names
# ending in _en): the main window after a constant calculation in LPF and in HPF mode, the help
# window, and the analysis window after the default LPF calculation, whole and in its pass-band
# view with the cursor readout. Runs on its own Xvfb server.
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

# The language of the run (ja, en) and the file-name suffix of its pictures.
lang=
suffix=
start_app() {
    MIRELTO_LANG=$lang "$binary" > /dev/null 2>&1 &
    app=$!
    window=$(timeout 20 xdotool search --sync --all --pid "$app" --name 'LPF/HPF Ver' | head -n 1)
}
stop_app() {
    kill "$app"
    wait "$app" 2> /dev/null || true
    app=
}
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}

shoot() {
    start_app
    click 54 371   # 定数計算 / Calculate (LPF, defaults)
    import -window "$window" "$out/main_lpf$suffix.png"
    click 305 296  # HPF
    click 54 371
    import -window "$window" "$out/main_hpf$suffix.png"
    click 312 339  # Help
    local help
    help=$(timeout 20 xdotool search --sync --all --pid "$app" --onlyvisible --name '^Help$' |
        head -n 1)
    sleep 0.5
    import -window "$help" "$out/help$suffix.png"

    # The analysis window overlaps the main window on this screen: a fresh run with the default
    # request, so the main-window pictures above stay unobscured.
    stop_app
    start_app
    click 54 371   # 定数計算 / Calculate (LPF, defaults)
    click 312 319  # 解析 / Analysis
    local analysis
    analysis=$(timeout 20 xdotool search --sync --all --pid "$app" --onlyvisible \
        --name "^$1\$" | head -n 1)
    sleep 1        # the plots are drawn once the window is shown
    import -window "$analysis" "$out/analysis$suffix.png"
    # The pass-band view of the magnitude plot with the cursor readout over it.
    xdotool mousemove --window "$analysis" 630 520 click 1   # 通過域 / Pass band
    sleep 0.5
    xdotool mousemove --window "$analysis" 150 160           # over the magnitude plot
    sleep 0.5
    import -window "$analysis" "$out/analysis_passband$suffix.png"
    stop_app
}

lang=ja suffix= shoot '解析'
lang=en suffix=_en shoot 'Analysis'
echo "screenshots written to $out"
