# Sourced by the scripts that run Windows programs under Wine: when there is no display,
# starts an Xvfb on a free display number and stops it when the script ends.
if [ -z "${DISPLAY:-}" ]; then
    for number in $(seq 90 140); do
        if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
            Xvfb ":${number}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            orvella_xvfb=$!
            trap 'kill "$orvella_xvfb" 2>/dev/null || true' EXIT
            export DISPLAY=":${number}"
            for _ in $(seq 1 50); do
                [ -e "/tmp/.X11-unix/X${number}" ] && break
                sleep 0.1
            done
            break
        fi
    done
fi
