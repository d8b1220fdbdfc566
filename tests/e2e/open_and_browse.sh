#!/usr/bin/env bash
# End to end: starts the real orvella.exe under Wine, answers its file dialog with a metafile,
# checks the window title, steps through records with the keys, visits all six views and
# saves a screenshot of each view, then closes the program and checks its exit code.
# Usage: open_and_browse.sh ORVELLA_EXE BUILD_DIR [CORPUS_DIR]
set -euo pipefail

exe=$1
build=$2
corpus=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
shots=$build/screenshots
mkdir -p "$shots"
rm -f "$shots"/*.png

# The file to open: a corpus file, else a sample shipped beside the program.
file=""
if [ -n "$corpus" ] && [ -f "$corpus/good/test-001.emf" ]; then
    file=$corpus/good/test-001.emf
else
    file=$(ls "$build"/samples/*.emf 2>/dev/null | head -1 || true)
fi
if [ -z "$file" ]; then
    echo "e2e: no corpus file and no sample to open" >&2
    exit 77
fi
file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")
windows_path="Z:${file//\//\\}"

# A display of its own when there is none.
. "$here/../../scripts/display.sh"
wine_pid=""
cleanup() {
    [ -z "$wine_pid" ] || kill "$wine_pid" 2>/dev/null || true
    [ -z "${orvella_xvfb:-}" ] || kill "$orvella_xvfb" 2>/dev/null || true
    rm -f "${orvella_display_file:-}"
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

visible_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1
}
window_shown() {
    [ -n "$(visible_window "$1")" ]
}

# Waits up to $2 seconds for a visible window whose name matches $1; prints its id.
wait_for_window() {
    wait_until "$2" window_shown "$1" || return 1
    visible_window "$1"
}

window_md5() {
    import -display "$DISPLAY" -window "$1" png:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# Whether window $1 no longer has the md5 $2.
window_changed() {
    [ "$(window_md5 "$1")" != "$2" ]
}

# Saves the screen once the main window looks the same for half a second.
shot() {
    local before="" now
    for _ in $(seq 1 240); do
        now=$(window_md5 "$main")
        [ "$now" = "$before" ] && break
        before=$now
        sleep 0.25
    done
    [ "$now" = "$before" ] || fail "the window did not settle for $1"
    import -display "$DISPLAY" -window root "$shots/$1.png"
    echo "e2e: saved $shots/$1.png"
}

"$here/../../scripts/wine-run.sh" "--prefix=$build/wineprefix" "$exe" &
wine_pid=$!

# The prefix is booted before the program starts: its dialog comes up within seconds.
dialog=$(wait_for_window '^Open$' 60) || fail "the file dialog did not come up"
echo "e2e: file dialog is up; answering with $windows_path"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 15 "$windows_path"
xdotool key Return

title="$windows_path - Orvella"
main=$(wait_for_window ' - Orvella$' 60) || fail "no file was opened"
actual=$(xdotool getwindowname "$main")
[ "$actual" = "$title" ] || fail "title is \"$actual\", expected \"$title\""
echo "e2e: title is \"$actual\""

# The keys act while the main window has the focus, as it has after the dialog closed.
xdotool windowfocus --sync "$main"
xdotool key --delay 100 Home Right Right Right Down Next Left
shot 0-the-emf

# Each view by its key, Ctrl+1 to Ctrl+6, as the View menu shows them.
names=(0-the-emf 1-header 2-records 3-gdi-calls 4-filter 5-emfplus)
previous=$(window_md5 "$main")
for tab in 1 2 3 4 5 0; do
    xdotool windowfocus --sync "$main"
    xdotool key "ctrl+$((tab + 1))"
    # A large report takes a while to build.
    wait_until 60 window_changed "$main" "$previous" || fail "the ${names[$tab]} view did not show"
    shot "${names[$tab]}-tab"
    previous=$(window_md5 "$main")
done

# Every view looks different from the others.
distinct=$(md5sum "$shots"/*-tab.png | awk '{print $1}' | sort -u | wc -l)
[ "$distinct" -ge 5 ] || fail "the views did not change: only $distinct distinct screenshots"

# The close box ends the process with exit code 0.
xdotool windowfocus --sync "$main"
xdotool key alt+F4
for _ in $(seq 1 300); do
    kill -0 "$wine_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$wine_pid" 2>/dev/null && fail "the program did not end"
status=0
wait "$wine_pid" || status=$?
wine_pid=""
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
echo "e2e: the program ended with exit code 0"
