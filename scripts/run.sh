#!/usr/bin/env bash
# Installs what is missing, builds orvella.exe with MinGW-w64 and starts it under Wine with FILE
# (by default a shipped sample) opened from its command line. Without a display it says so, runs
# the program in a virtual display of its own, writes a screenshot of the window once the
# picture is drawn (build/win/orvella-screenshot.png) and closes the program again.
# Usage: scripts/run.sh [FILE]   (the build goes to build/win, or to $ORVELLA_BUILD_DIR)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVELLA_BUILD_DIR:-$top/build/win}
file=${1:-$top/samples/shapes.emf}
if [ ! -f "$file" ]; then
    echo "run: no such file: $file" >&2
    exit 2
fi
file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")

"$top/scripts/setup.sh"
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target orvella

# Wine reaches the whole Linux file system as drive Z:.
windows_path="Z:${file//\//\\}"
run_orvella() {
    "$top/scripts/wine-run.sh" "--prefix=$build/wineprefix" "$build/orvella.exe" "$windows_path"
}

if [ -n "${DISPLAY:-}" ]; then
    run_orvella
    exit
fi

shot=$build/orvella-screenshot.png
echo "run: there is no display; Orvella runs in a virtual one, and its window is saved as $shot"
. "$top/scripts/display.sh"
run_orvella &
orvella=$!
stop_orvella() {
    kill "$orvella" 2>/dev/null || true
    WINEPREFIX=$build/wineprefix wineserver -k 2>/dev/null || true
}
trap 'stop_orvella; kill "${orvella_xvfb:-}" 2>/dev/null || true; rm -f "${orvella_display_file:-}"' EXIT

# The window's title names the file once it is open; the picture is drawn when two looks at the
# screen half a second apart see the same pixels.
window=""
for _ in $(seq 1 1200); do
    window=$(xdotool search --onlyvisible --name " - Orvella$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$orvella" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "run: Orvella did not show the file within two minutes" >&2
    exit 1
fi
previous=""
for _ in $(seq 1 60); do
    sleep 0.5
    current=$(import -display "$DISPLAY" -window root png:- 2>/dev/null | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
done
import -display "$DISPLAY" -window root "$shot"
echo "run: Orvella showed $file; the screenshot is $shot"
