# Sourced by the scripts that drive the real program under Xvfb: the desktop's language, `fail`,
# the window manager, the measuring of managed windows, and stopping it all on exit.

# A desktop whose messages are Japanese (LANGUAGE, so that the C library's locale needs no
# Japanese locale generated): every run of the window in the language the checks read.
unset LC_ALL LC_MESSAGES MIRELTO_LANG
export LANGUAGE=ja
fail() { echo "FAIL: $*" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

# The program, the manager and the server started (APP_PID, OPENBOX_PID, XVFB_PID), stopped.
stop_desktop() {
    local pid
    for pid in "${APP_PID:-}" "${OPENBOX_PID:-}" "${XVFB_PID:-}"; do
        [ -n "$pid" ] && kill "$pid" 2> /dev/null || true
    done
    APP_PID= OPENBOX_PID= XVFB_PID=
}
trap stop_desktop EXIT

# Starts openbox with a home of its own under $1 and sets OPENBOX_PID; returns once it names
# itself on the root window and has set the work area.
start_openbox() {
    command -v openbox > /dev/null || fail "openbox is not installed (scripts/install-deps.sh)"
    mkdir -p "$1/home"
    HOME="$1/home" XDG_CONFIG_HOME="$1/home/.config" XDG_CACHE_HOME="$1/home/.cache" \
        openbox --sm-disable > "$1/openbox.log" 2>&1 &
    OPENBOX_PID=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' &&
            xprop -root _NET_WORKAREA 2> /dev/null | grep -q '=' && break
        kill -0 "$OPENBOX_PID" 2> /dev/null || fail "openbox ended: $(cat "$1/openbox.log")"
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"
}

# The outer rectangle of a managed window, "left top width height": its client's place on the
# screen grown by the frame extents (left, right, top, bottom) that the manager set on it.
frame_of() {
    local extents x y w h l r t b
    for _ in $(seq 50); do
        extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2> /dev/null | sed -n 's/.*= //p')
        [ -n "$extents" ] && break
        sleep 0.1
    done
    [ -n "$extents" ] || fail "no frame extents on window $1"
    IFS=', ' read -r l r t b <<< "$extents"
    x=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
    w=$(xwininfo -id "$1" | sed -n 's/.*Width: *//p')
    h=$(xwininfo -id "$1" | sed -n 's/.*Height: *//p')
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# The work area openbox set, "left top width height".
work_area() {
    xprop -root _NET_WORKAREA | sed -n 's/.*= //p' | tr -d ',' | cut -d' ' -f1-4
}
