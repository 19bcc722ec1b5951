# Sourced by the scripts that need an X server: start_xvfb [LOG [SCREEN]] starts a private Xvfb
# (screen SCREEN, 1024x768x24 unless given) on a free display number (from :90 up), waits until
# it answers, exports DISPLAY and sets XVFB_PID.
# -noreset: without it the server resets whenever its last client leaves, and a client that
# connects during the reset is refused.
start_xvfb() {
    local log=${1:-/dev/null} screen=${2:-1024x768x24} n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset > "$log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local _
        for _ in $(seq 200); do
            if xdpyinfo > /dev/null 2>&1; then
                unset QT_QPA_PLATFORM
                return 0
            fi
            kill -0 "$XVFB_PID" 2> /dev/null || break
            sleep 0.05
        done
        kill "$XVFB_PID" 2> /dev/null || true
    done
    echo "could not start Xvfb" >&2
    return 1
}
