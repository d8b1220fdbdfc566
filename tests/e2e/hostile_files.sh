#!/usr/bin/env bash
# End to end with hostile files: starts the real orvella.exe under Wine once and opens, one
# after the other through its real file dialog, a set of generated hostile files (the corpus's
# damaged files go through the real main window in the hostile-window test). For each it steps
# through records with the keys, visits the tabs, and checks that the process is alive and its
# main window still answers: the title names the file (or, for a file the program refuses,
# still names the one before), the picture changes between the first and the last record, and
# Ctrl+O brings up the file dialog again. The File menu's Exit ends the program.
# Usage: hostile_files.sh ORVELLA_EXE HOSTILE_WRITER_EXE BUILD_DIR
set -euo pipefail

exe=$1
writer=$2
build=$3
here=$(cd "$(dirname "$0")" && pwd)
wine_run=("$here/../../scripts/wine-run.sh" "--prefix=$build/wineprefix")

for tool in xdotool import md5sum; do
    if ! command -v "$tool" >/dev/null; then
        echo "e2e: $tool is not installed" >&2
        exit 77
    fi
done
if [ -z "${DISPLAY:-}" ] && ! command -v Xvfb >/dev/null; then
    echo "e2e: no display and no Xvfb" >&2
    exit 77
fi

. "$here/x_session.sh"
folder=$(mktemp -d)
scratch=$folder

windows_path() {
    echo "Z:${1//\//\\}"
}

# Generated files, each with whether the program shows it: a header cut short, header sizes of
# 0xFFFFFFF8, record counts of 0 and 0x7FFFFFFF, a byte count far beyond the file, record sizes
# of 0 and 0xFFFFFFF8, records whose counts and offsets point outside themselves, and every
# record type filled with hostile values.
generated=(
    base:shown
    header-cut-at-87:refused
    header-size-4294967288:refused
    records-0:refused
    records-2147483647:shown
    bytes-4294967295:shown
    record-size-0:shown
    record-size-4294967288:shown
    all-records:shown
    every-type-filled-7f:shown
    every-type-mixed-1:shown
)
names=()
for entry in "${generated[@]}"; do
    names+=("${entry%%:*}")
done
"${wine_run[@]}" "$writer" "$(windows_path "$folder")" "${names[@]}" >/dev/null
files=()
for entry in "${generated[@]}"; do
    files+=("$folder/${entry%%:*}.emf:${entry##*:}")
done

title_is() {
    [ "$(xdotool getwindowname "$1")" = "$2" ]
}

alive() {
    kill -0 "$wine_pid" 2>/dev/null || fail "the program is gone after $2"
}

# The picture and the call text of the first record differ from those of the last; a long file
# paints its last record slowly.
expect_index_changes() {
    local main=$1 name=$2 first
    xdotool key Home
    first=$(wait_until_still "$main" 60) || fail "$name: the window did not settle"
    xdotool key End
    wait_until_changed "$main" "$first" 120 ||
        fail "$name: the window did not change from its first record to its last"
}

# The tabs sit along the bottom edge of the window, 12 pixels above it. The Records and GDI
# calls views of a file over 512 KiB are left out: its reports take the rich edit minutes.
visit_tabs() {
    local main=$1 bytes=$2 tab_x=(33 90 145 209 269) HEIGHT WIDTH X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$main")"
    for tab in 1 2 3 4 0; do
        if [ "$bytes" -gt 524288 ] && { [ "$tab" = 2 ] || [ "$tab" = 3 ]; }; then
            continue
        fi
        xdotool mousemove --window "$main" "${tab_x[$tab]}" $((HEIGHT - 12)) click 1
        sleep 0.15
    done
}

"${wine_run[@]}" "$exe" &
wine_pid=$!

# The prefix is booted before the program starts: its dialog comes up within seconds.
dialog=$(wait_for_window '^Open$' 60) || fail "the file dialog did not come up"
title=""
count=0
for entry in "${files[@]}"; do
    file=${entry%:*}
    fate=${entry##*:}
    name=$(basename "$file")
    path=$(windows_path "$file")
    xdotool windowfocus --sync "$dialog"
    xdotool type --delay 5 "$path"
    xdotool key Return
    wait_until_gone '^Open$' 60 || fail "$name: the file dialog did not close"
    alive "$name" "opening $name"

    main=$(wait_for_window ' - Orvella$|^Orvella$' 30) || fail "$name: no main window"
    # A file the program shows names itself in the title within moments; a refused one leaves
    # the title as it was.
    shown=0
    if wait_until 5 title_is "$main" "$path - Orvella"; then
        shown=1
    fi
    xdotool windowfocus --sync "$main"
    xdotool key --delay 50 Home Right Right Right End Left
    visit_tabs "$main" "$(stat -c %s "$file")"
    if [ "$shown" = 1 ]; then
        expect_index_changes "$main" "$name"
    fi
    # Ctrl+O is answered once everything before it is; the dialog it brings up proves the
    # main window still takes keys, and the title is final by then.
    xdotool windowfocus --sync "$main"
    xdotool key ctrl+o
    dialog=$(wait_for_window '^Open$' 30) || fail "$name: the main window no longer answers"
    alive "$name" "stepping through $name"

    actual=$(xdotool getwindowname "$main")
    if [ "$actual" = "$path - Orvella" ]; then
        shown=1
    elif [ "$shown" = 1 ] || { [ "$actual" != "$title" ] && [ -n "$title" ]; }; then
        fail "$name: the title is \"$actual\", neither the file's nor the one before"
    fi
    if [ "$fate" = shown ] && [ "$shown" = 0 ]; then
        fail "$name: not shown; the title is \"$actual\""
    fi
    if [ "$fate" = refused ] && [ "$shown" = 1 ]; then
        fail "$name: shown, but the program should refuse it"
    fi
    title=$actual
    count=$((count + 1))
    echo "e2e: $name $([ "$shown" = 1 ] && echo shown || echo refused), the window answers"
done

xdotool windowfocus --sync "$dialog"
xdotool key Escape
wait_until_gone '^Open$' 30 || fail "the last file dialog did not cancel"
main=$(wait_for_window ' - Orvella$|^Orvella$' 30) || fail "no main window at the end"
echo "e2e: $count files opened"
# The File menu's Exit ends the process with exit code 0.
xdotool windowfocus --sync "$main"
xdotool key --delay 300 alt+f x
expect_clean_exit 30
