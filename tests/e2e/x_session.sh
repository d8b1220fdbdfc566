# What the end-to-end scripts share, sourced by them: a display of their own when there is
# none, the clean-up of the program and the display on exit, and waiting for windows.
# A script sets wine_pid when it starts the program, and may set scratch to a folder to remove.

xvfb_pid=""
wine_pid=""
scratch=""
cleanup() {
    if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then
        kill "$wine_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
    fi
    if [ -n "$scratch" ]; then
        rm -rf "$scratch"
    fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 150 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 >/dev/null 2>&1 &
            xvfb_pid=$!
            export DISPLAY=":$n"
            sleep 2
            break
        fi
    done
fi

# Waits up to $2 seconds for a visible window whose name matches $1; prints its id.
wait_for_window() {
    local pattern=$1 seconds=$2 id=""
    for _ in $(seq 1 $((seconds * 4))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.25
    done
    return 1
}
