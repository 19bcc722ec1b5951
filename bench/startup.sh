#!/usr/bin/env bash
# Start-up time (process start to the main window mapped) and peak memory of the calculator on a
# Japanese and on an English desktop, side by side with a bare Qt program that shows one empty
# window, on one Xvfb server.
# Usage: bench/startup.sh [build-dir] [runs]
set -euo pipefail

build=${1:-build}
runs=${2:-15}
tmp=$(mktemp -d)
source "$(dirname "$0")/../scripts/xvfb.sh"
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null; rm -rf "$tmp"' EXIT
start_xvfb "$tmp/xvfb.log"
xvfb=$XVFB_PID

# Prints "<milliseconds to a mapped window> <peak resident KiB>" for one run.
measure() {
    local binary=$1 caption=$2
    shift 2
    local start end pid peak
    start=$(date +%s%N)
    "$binary" "$@" > "$tmp/last.log" 2>&1 &
    pid=$!
    local tries=0
    until xdotool search --onlyvisible --name "$caption" > /dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 5000 ] || ! kill -0 "$pid" 2> /dev/null; then
            echo "no window from $binary:" >&2
            cat "$tmp/last.log" >&2
            kill "$pid" 2> /dev/null || true
            exit 1
        fi
        sleep 0.002
    done
    end=$(date +%s%N)
    sleep 0.3  # let the first paint settle before reading the high-water mark
    peak=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    echo "$(((end - start) / 1000000)) $peak"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

report() {
    local name=$1 binary=$2 caption=$3
    shift 3
    : > "$tmp/$name"
    for _ in $(seq "$runs"); do
        measure "$binary" "$caption" "$@" >> "$tmp/$name"
    done
    local ms kib
    ms=$(cut -d' ' -f1 "$tmp/$name" | median)
    kib=$(cut -d' ' -f2 "$tmp/$name" | median)
    echo "$name $ms $kib"
    printf '%-10s start-up %5d ms (median of %d)   peak memory %7d KiB\n' "$name" "$ms" "$runs" "$kib" >&2
}

bare=$(report bare "$build/bench/bare_qt_window" 'bare Qt window')
# The same window with one Japanese label: the least any window showing Japanese text costs.
label=$(report label "$build/bench/bare_qt_window" 'bare Qt window' '定数計算')
# The desktop's language for messages chooses the window's: Japanese (no translator) or English.
# Given as LANGUAGE, so that the C library's locale needs no locale generated. Run in the
# background, it becomes the program itself (exec): its pid is the one measured.
desktop() {
    exec env -u LC_ALL -u LC_MESSAGES -u MIRELTO_LANG LANGUAGE="$1" "$build/src/app/mirelto"
}
mirelto=$(report mirelto_ja desktop 'LPF/HPF Ver' ja)
english=$(report mirelto_en desktop 'LPF/HPF Ver' en)
read -r _ bare_ms bare_kib <<< "$bare"
read -r _ label_ms label_kib <<< "$label"
read -r _ app_ms app_kib <<< "$mirelto"
read -r _ en_ms en_kib <<< "$english"
ratio() {
    awk -v what="$1" -v a="$2" -v b="$3" -v m="$4" -v n="$5" \
        'BEGIN { printf "%-24s start-up %.2fx   peak memory %.2fx\n", what, a / b, m / n }' >&2
}
ratio "mirelto / bare" "$app_ms" "$bare_ms" "$app_kib" "$bare_kib"
ratio "English / Japanese" "$en_ms" "$app_ms" "$en_kib" "$app_kib"
ratio "label / bare" "$label_ms" "$bare_ms" "$label_kib" "$bare_kib"
ratio "mirelto / label" "$app_ms" "$label_ms" "$app_kib" "$label_kib"
