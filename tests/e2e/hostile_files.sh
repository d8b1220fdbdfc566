#!/usr/bin/env bash
# End to end with hostile files: starts the real orvella.exe under Wine once and opens, one
# after the other through its real file dialog, a set of generated hostile files and every
# file of the corrupted corpus. For each it steps through records with the keys, visits the
# tabs, and checks that the process is alive and its main window still answers: the title
# names the file (or, for a file the program refuses, still names the one before), the picture
# changes between the first and the last record, and Ctrl+O brings up the file dialog again.
# Usage: hostile_files.sh ORVELLA_EXE HOSTILE_WRITER_EXE BUILD_DIR [CORPUS_DIR]
set -euo pipefail

exe=$1
writer=$2
build=$3
corpus=${4:-}
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

# Generated files, each with whether the program shows it (empty: shown without records to step
# through): a header cut short, header sizes of
# 0xFFFFFFF8, record counts of 0 and 0x7FFFFFFF, a byte count far beyond the file, record sizes
# of 0 and 0xFFFFFFF8, records whose counts and offsets point outside themselves, and every
# record type filled with hostile values.
generated=(
    base:shown
    header-cut-at-87:refused
    header-size-4294967288:refused
    records-0:empty
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
if [ -n "$corpus" ] && [ -d "$corpus/corrupted" ]; then
    for file in "$corpus"/corrupted/*.emf; do
        files+=("$(cd "$(dirname "$file")" && pwd)/$(basename "$file"):either")
    done
fi

wait_until_gone() {
    local pattern=$1 seconds=$2
    for _ in $(seq 1 $((seconds * 4))); do
        if [ -z "$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null || true)" ]; then
            return 0
        fi
        sleep 0.25
    done
    return 1
}

fail() {
    echo "e2e: $1" >&2
    exit 1
}

alive() {
    kill -0 "$wine_pid" 2>/dev/null || fail "the program is gone after $2"
}

window_md5() {
    import -display "$DISPLAY" -window "$1" png:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# The picture and the call text of the first record differ from those of the last; the key is
# repeated for a while, since a long file paints its last record slowly.
expect_index_changes() {
    local main=$1 name=$2 first last
    xdotool key Home
    sleep 0.3
    first=$(window_md5 "$main")
    for _ in 1 2 3 4 5 6; do
        xdotool key End
        sleep 0.3
        last=$(window_md5 "$main")
        if [ "$last" != "$first" ]; then
            return 0
        fi
    done
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

dialog=$(wait_for_window '^Open$' 120) || fail "the file dialog did not come up"
title=""
count=0
for entry in "${files[@]}"; do
    file=${entry%:*}
    fate=${entry##*:}
    name=$(basename "$file")
    path=$(windows_path "$file")
    sleep 0.2
    xdotool windowfocus --sync "$dialog"
    xdotool type --delay 5 "$path"
    xdotool key Return
    wait_until_gone '^Open$' 60 || fail "$name: the file dialog did not close"
    alive "$name" "opening $name"

    main=$(wait_for_window ' - Orvella$|^Orvella$' 30) || fail "$name: no main window"
    # A file the program shows names itself in the title within moments; a refused one leaves
    # the title as it was.
    shown=0
    for _ in $(seq 1 20); do
        if [ "$(xdotool getwindowname "$main")" = "$path - Orvella" ]; then
            shown=1
            break
        fi
        sleep 0.25
    done
    xdotool windowfocus --sync "$main"
    xdotool key --delay 50 Home Right Right Right End Left
    visit_tabs "$main" "$(stat -c %s "$file")"
    if [ "$shown" = 1 ] && [ "$fate" != empty ]; then
        expect_index_changes "$main" "$name"
    fi
    # Ctrl+O is answered once everything before it is; the dialog it brings up proves the
    # main window still takes keys, and the title is final by then.
    xdotool windowfocus --sync "$main"
    xdotool key ctrl+o
    dialog=$(wait_for_window '^Open$' 120) || fail "$name: the main window no longer answers"
    alive "$name" "stepping through $name"

    actual=$(xdotool getwindowname "$main")
    if [ "$actual" = "$path - Orvella" ]; then
        shown=1
    elif [ "$shown" = 1 ] || { [ "$actual" != "$title" ] && [ -n "$title" ]; }; then
        fail "$name: the title is \"$actual\", neither the file's nor the one before"
    fi
    if { [ "$fate" = shown ] || [ "$fate" = empty ]; } && [ "$shown" = 0 ]; then
        fail "$name: not shown; the title is \"$actual\""
    fi
    if [ "$fate" = refused ] && [ "$shown" = 1 ]; then
        fail "$name: shown, but the program should refuse it"
    fi
    title=$actual
    count=$((count + 1))
    echo "e2e: $name $([ "$shown" = 1 ] && echo shown || echo refused), the window answers"
done

xdotool windowfocus "$dialog"
xdotool key Escape
wait_until_gone '^Open$' 30 || fail "the last file dialog did not cancel"
main=$(wait_for_window ' - Orvella$|^Orvella$' 30) || fail "no main window at the end"
xdotool windowfocus "$main"
xdotool key alt+F4
status=0
wait "$wine_pid" || status=$?
wine_pid=""
if [ "$status" -ne 0 ]; then
    fail "the program ended with exit code $status"
fi
echo "e2e: $count files opened; the program ended with exit code 0"
