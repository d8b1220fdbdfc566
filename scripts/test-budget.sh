#!/usr/bin/env bash
# Counts the lines of the tests against all code lines of the source folders (tests, fuzz,
# bench, tools and scripts included, and the resource script and configured templates; test
# data such as the kept fuzz inputs and the fuzz dictionaries left out) and fails when the tests
# are more than a third or less than a fifth of the code.
set -euo pipefail
cd "$(dirname "$0")/.."
folders=(text document calls emfplus reports textview state canvas app cli tests fuzz bench tools scripts cmake
    CMakeLists.txt)

# code_lines FOLDER...: the lines of the tracked code files under the folders that exist.
code_lines() {
    local present=()
    for folder in "$@"; do
        [ -e "$folder" ] && present+=("$folder")
    done
    [ "${#present[@]}" -gt 0 ] || { echo 0; return; }
    git ls-files -z -- "${present[@]}" |
        grep -z -E '(\.(cpp|h|sh|py|cmake|rc|in)|CMakeLists\.txt)$' |
        grep -z -v '^tests/regressions/' |
        xargs -0 cat | wc -l
}

tests=$(code_lines tests)
code=$(code_lines "${folders[@]}")
percent=$((100 * tests / code))
printf "tests: %s of %s code lines (%s%%)\n" "$tests" "$code" "$percent"
if [ $((3 * tests)) -gt "$code" ]; then
    echo "tests: above a third of the code" >&2
    exit 1
fi
if [ $((5 * tests)) -lt "$code" ]; then
    echo "tests: below a fifth of the code" >&2
    exit 1
fi
