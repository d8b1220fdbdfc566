#!/usr/bin/env bash
# Records the sample metafiles of samples/ anew: cross-builds the generator and runs it under
# Wine (with an Xvfb of its own when there is no display). The files are committed; the
# program and the tests use them without running this.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/win
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" --target orvella-samplegen -j2 >/dev/null
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :97 -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb' EXIT
    export DISPLAY=:97
    sleep 1
fi
mkdir -p "$top/samples"
"$top/scripts/wine-run.sh" --prefix="$build/wineprefix" "$build/orvella-samplegen.exe" \
    "Z:${top//\//\\}\\samples"
ls -l "$top/samples"
