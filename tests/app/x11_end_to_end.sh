#!/usr/bin/env bash
# The real calculator on a real X server (Xvfb) under a real window manager (openbox): find its
# window by caption, check its client size and that its outer frame opens centred in the work
# area, press the constant-calculation button and then "コピー" and read the report back from the
# clipboard, type into a box and calculate again, check that it is still alive and that a
# screenshot of the result could be taken, and that a warning box opens centred on the frame.
# Then again with a design file on the command line: it opens in HPF mode with its parts, and
# "定数計算" and "コピー" give that design's report.
set -euo pipefail

binary=$1
# A folder of this run's own under $2: the check of the user's settings at the end looks for it,
# so a path an older run left there cannot be taken for this run's.
rm -rf "$2"
mkdir -p "$2"
work=$(mktemp -d "$2/run.XXXXXX")

caption='３次LPF/HPF Ver1.00'
source "$(dirname "$0")/x11_desktop.sh"
start_xvfb "$work/xvfb.log"

# The calculator and the window manager with a home of their own: the recent list the calculator
# keeps goes there, and the user's settings must name no file of this run at the end.
real_settings="${XDG_CONFIG_HOME:-$HOME/.config}/Mirelto"
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share"

start_openbox "$work"

# Runs the command until it succeeds, ten seconds at most; fails if it never does.
wait_until() {
    local _
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
# The clipboard's text equals the file.
clipboard_is() { cmp -s "$1" <(timeout 2 xclip -selection clipboard -o 2> /dev/null); }

# Fails unless |a - b| <= 1.
within_1px() {
    local d=$(($2 - $3))
    [ "${d#-}" -le 1 ] || fail "$1: $2, expected $3 (within 1 px)"
}

"$binary" > "$work/mirelto.log" 2>&1 &
APP_PID=$!

window=$(timeout 20 xdotool search --sync --name "$caption" | head -n 1) ||
    fail "no window captioned $caption"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "352x392" ] || fail "client size $geometry, expected 352x392"

# The outer window, frame and title bar included, opens centred in the work area.
read -r wa_x wa_y wa_w wa_h <<< "$(work_area)"
read -r fx fy fw fh <<< "$(frame_of "$window")"
within_1px "frame left" "$fx" $((wa_x + (wa_w - fw) / 2))
within_1px "frame top" "$fy" $((wa_y + (wa_h - fh) / 2))

# The application reads X events in the order they were sent: each action waits only for what it
# needs to see.
click() {  # x y within the window
    xdotool mousemove --window "$window" "$1" "$2" click 1
}
# The default request: "定数計算", then "コピー"; the clipboard holds the report, CR LF kept.
click 54 371
click 249 371
printf '%s\r\n' '3rd LPF' '[Input data]' 'fa = 1.42kHz  fo = 1.42kHz   Q = 1.0' \
    'R1 = 22kΩ  R2 = 22kΩ  R3 = 22kΩ' '' '[Result data]' \
    'C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF' \
    'fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m' > "$work/expected_report.txt"
wait_until clipboard_is "$work/expected_report.txt" || true
timeout 10 xclip -selection clipboard -o > "$work/clipboard.txt" || fail "clipboard unreadable"
cmp "$work/expected_report.txt" "$work/clipboard.txt" ||
    fail "clipboard differs from the report: $(od -c "$work/clipboard.txt" | head -20)"

# R2 box: 47k (R3 blank takes it), then "定数計算".
click 77 180
xdotool type --delay 20 '47k'
click 54 371
# Calculated once コピー puts a report of the new parts on the clipboard.
click 249 371
wait_until eval '! clipboard_is "$work/expected_report.txt"' ||
    fail "no new report after typing into R2"

kill -0 "$APP_PID" 2> /dev/null || fail "mirelto is no longer running"
import -window "$window" "$work/after_calculation.png"
[ -s "$work/after_calculation.png" ] || fail "no screenshot"

# fa emptied, then "定数計算": the warning box opens centred on the main window's frame.
click 77 42
xdotool key --clearmodifiers ctrl+a BackSpace
click 54 371
box=$(timeout 10 xdotool search --sync --name '^警告$' | head -n 1) || fail "no warning box"
read -r bx by bw bh <<< "$(frame_of "$box")"
read -r fx fy fw fh <<< "$(frame_of "$window")"
within_1px "warning box centre x" $((bx + bw / 2)) $((fx + fw / 2))
within_1px "warning box centre y" $((by + bh / 2)) $((fy + fh / 2))
xdotool key Return
wait_until eval "! xdotool search --name '^警告\$' > /dev/null 2>&1" ||
    fail "the warning box did not close"

# A design given on the command line.
kill "$APP_PID"
wait "$APP_PID" 2> /dev/null || true
APP_PID=
cat > "$work/high pass.mirelto" << 'DESIGN'
{
  "format": "mirelto-design",
  "version": 1,
  "mode": "HPF",
  "request": {"fa": "1.42k", "fo": "1.42k", "Q": "1.0"},
  "parts": {"R1": "", "R2": "", "R3": "", "C1": "10n", "C2": "4.7n", "C3": "2.2n"},
  "result": {"fa": "", "fo": "", "Q": ""},
  "series": {"R1": "24", "R2": "24", "R3": "24", "C1": "6", "C2": "6", "C3": "6"},
  "note": "opened at start-up"
}
DESIGN
"$binary" "$work/high pass.mirelto" > "$work/mirelto_design.log" 2>&1 &
APP_PID=$!
window=$(timeout 20 xdotool search --sync --name "$caption" | head -n 1) ||
    fail "no window captioned $caption with a design file"
frame_of "$window" > /dev/null  # managed: framed by the window manager
click 54 371
click 249 371
printf '%s\r\n' '3rd HPF' '[Input data]' 'fa = 1.42kHz  fo = 1.42kHz   Q = 1.0' \
    'C1 = 10nF  C2 = 4.7nF  C3 = 2.2nF' '' '[Result data]' \
    'R1 =   9.100kΩ  R2 =  13.000kΩ  R3 = 110.000kΩ' \
    'fa =   1.384kHz  fo =   1.472kHz   Q = 997.323m' > "$work/expected_design_report.txt"
wait_until clipboard_is "$work/expected_design_report.txt" || true
timeout 10 xclip -selection clipboard -o > "$work/design_clipboard.txt" ||
    fail "clipboard unreadable after opening a design"
cmp "$work/expected_design_report.txt" "$work/design_clipboard.txt" ||
    fail "the opened design's report differs: $(od -c "$work/design_clipboard.txt" | head -20)"

! grep -rqF "$work" "$real_settings" 2> /dev/null ||
    fail "the run wrote into the user's settings in $real_settings"
grep -q 'high pass.mirelto' "$XDG_CONFIG_HOME/Mirelto/mirelto.conf" ||
    fail "the design opened is not in the run's own recent list"

echo "x11 end-to-end: window $window, client $geometry, frame ${fw}x$fh at $fx,$fy in work area" \
    "${wa_w}x$wa_h at $wa_x,$wa_y, warning box ${bw}x$bh at $bx,$by, report copied" \
    "($(wc -c < "$work/clipboard.txt") bytes), screenshot $work/after_calculation.png," \
    "a design file opened from the command line and its report copied"
echo "1 passed, 0 failed"
