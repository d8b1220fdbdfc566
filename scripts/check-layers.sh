#!/usr/bin/env bash
# Checks the layering of the sources: an include goes to the same layer or a lower one, and a
# portable file (any file but app/, tests/win32/ and those named *_win) includes no window code,
# neither a platform header nor a *_win header, but in an `#ifdef _WIN32` branch.
set -euo pipefail
cd "$(dirname "$0")/.."

# The layers from the bottom; folders on one line are one layer.
layers="text
document
calls
emfplus
reports textview state
canvas
app cli"

git ls-files -z -- '*.cpp' '*.h' | xargs -0 awk -v layers="$layers" '
BEGIN {
    n = split(layers, rows, "\n")
    for (i = 1; i <= n; ++i) {
        m = split(rows[i], names, " ")
        for (j = 1; j <= m; ++j) rank[names[j]] = i
    }
    platform = "^(windows|commctrl|commdlg|shellapi|shlobj|windowsx|wincodec|objbase|ole2|uxtheme|gdiplus[a-z]*)\\.h$"
    faults = 0
}
FNR == 1 {
    file = FILENAME
    split(file, parts, "/")
    folder = parts[1]
    portable = !(folder == "app" || file ~ /^tests\/win32\// || file ~ /_win\.(cpp|h)$/)
    depth = 0; windows_depth = 0
}
/^[ \t]*#[ \t]*if/ {
    ++depth
    if (windows_depth == 0 && $0 ~ /^[ \t]*#[ \t]*(ifdef[ \t]+_WIN32|if[ \t]+defined\(_WIN32\))/) windows_depth = depth
}
/^[ \t]*#[ \t]*(else|elif)/ { if (windows_depth == depth) windows_depth = -depth }
/^[ \t]*#[ \t]*endif/ { if (windows_depth == depth || windows_depth == -depth) windows_depth = 0; --depth }
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    line = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
    quote = substr(line, 1, 1)
    target = substr(line, 2)
    sub(/[">].*$/, "", target)
    in_windows = windows_depth > 0
    if (quote == "\"") {
        split(target, to, "/")
        if ((folder in rank) && (to[1] in rank) && rank[to[1]] > rank[folder]) {
            printf "%s:%d: includes %s, a higher layer\n", file, FNR, target; ++faults
        }
        if (portable && !in_windows && target ~ /_win\.h$/) {
            printf "%s:%d: a portable file includes window code (%s)\n", file, FNR, target; ++faults
        }
    } else if (portable && !in_windows && tolower(target) ~ platform) {
        printf "%s:%d: a portable file includes <%s>\n", file, FNR, target; ++faults
    }
}
END {
    if (faults > 0) { printf "layers: %d fault(s)\n", faults > "/dev/stderr"; exit 1 }
    print "layers: every include goes down or across, window code only in app/ and *_win files"
}'
