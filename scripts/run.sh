#!/usr/bin/env bash
# Installs what is missing, builds orvella.exe with MinGW-w64 and starts it under Wine. An
# Xvfb is started only when there is no display; the program opens its file dialog at once,
# in the samples folder beside the executable.
# Usage: scripts/run.sh [BUILD_DIR]   (default: build/win)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/win}

"$top/scripts/setup.sh"
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target orvella

. "$top/scripts/display.sh"
"$top/scripts/wine-run.sh" "--prefix=$build/wineprefix" "$build/orvella.exe"
