# What the end-to-end scripts share, sourced by them: a display of their own when there is
# none, the clean-up of the program and the display on exit, and waiting for conditions.
# A script sets wine_pid when it starts the program, and may set scratch to a folder to remove.

xvfb_pid=""
wine_pid=""
scratch=""
display_file=$(mktemp)
cleanup() {
    if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then
        kill "$wine_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$display_file" ${scratch:+"$scratch"}
}
trap cleanup EXIT

fail() {
    echo "e2e: $1" >&2
    exit 1
}

# wait_until SECONDS COMMAND...: runs the command every tenth of a second until it succeeds
# (0) or the time is up (1). Gives up at once when the program has ended.
wait_until() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq 1 "$tries"); do
        "$@" && return 0
        if [ -n "$wine_pid" ] && ! kill -0 "$wine_pid" 2>/dev/null; then
            fail "the program ended while waiting for: $*"
        fi
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display number itself and writes it once it accepts connections.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    wait_until 30 test -s "$display_file" || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$display_file")"
fi

visible_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1
}
window_shown() {
    [ -n "$(visible_window "$1")" ]
}
window_gone() {
    [ -z "$(visible_window "$1")" ]
}

# Waits up to $2 seconds for a visible window whose name matches $1; prints its id.
wait_for_window() {
    wait_until "$2" window_shown "$1" || return 1
    visible_window "$1"
}

# Waits up to $2 seconds until no visible window's name matches $1.
wait_until_gone() {
    wait_until "$2" window_gone "$1"
}

window_md5() {
    import -display "$DISPLAY" -window "$1" png:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# Waits up to $2 seconds until window $1 looks the same for half a second; prints its md5.
wait_until_still() {
    local window=$1 tries=$(($2 * 4)) before="" now
    for _ in $(seq 1 "$tries"); do
        now=$(window_md5 "$window")
        if [ "$now" = "$before" ]; then
            echo "$now"
            return 0
        fi
        before=$now
        sleep 0.25
    done
    return 1
}

# Waits up to $3 seconds until window $1 no longer has the md5 $2.
wait_until_changed() {
    local window=$1 old=$2 tries=$(($3 * 4))
    for _ in $(seq 1 "$tries"); do
        [ "$(window_md5 "$window")" != "$old" ] && return 0
        sleep 0.25
    done
    return 1
}

# Waits up to $1 seconds for the program to end and fails unless its exit code is 0.
expect_clean_exit() {
    local status=0
    for _ in $(seq 1 $(($1 * 10))); do
        kill -0 "$wine_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$wine_pid" 2>/dev/null && fail "the program did not end"
    wait "$wine_pid" || status=$?
    wine_pid=""
    [ "$status" -eq 0 ] || fail "the program ended with exit code $status"
    echo "e2e: the program ended with exit code 0"
}
