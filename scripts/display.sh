# Sourced by the scripts that run Windows programs under Wine: when there is no display,
# starts an Xvfb on a display number it picks itself (-displayfd, so that two runs never take
# the same one) and stops it when the script ends.
if [ -z "${DISPLAY:-}" ]; then
    orvella_display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$orvella_display_file" \
        >/dev/null 2>&1 &
    orvella_xvfb=$!
    trap 'kill "$orvella_xvfb" 2>/dev/null || true; rm -f "$orvella_display_file"' EXIT
    # Xvfb writes the number once it accepts connections.
    for _ in $(seq 1 300); do
        [ -s "$orvella_display_file" ] && break
        kill -0 "$orvella_xvfb" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$orvella_display_file" ]; then
        echo "display: Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=":$(head -1 "$orvella_display_file")"
fi
