#!/usr/bin/env bash
# Builds orvella.exe with MinGW-w64 and starts it under Wine, installing what is missing
# first (Debian packages). Starts an Xvfb only when there is no display; the program opens
# its file dialog at once.
# Usage: scripts/run.sh [BUILD_DIR]   (default: build-win beside this folder)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win}

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v make >/dev/null || need+=(make)
command -v g++ >/dev/null || need+=(g++)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v x86_64-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-x86-64)
[ -d /usr/src/googletest/googletest ] || need+=(googletest)
command -v wine >/dev/null || need+=(wine wine64)
if [ -z "${DISPLAY:-}" ]; then
    command -v Xvfb >/dev/null || need+=(xvfb)
fi
if [ ${#need[@]} -gt 0 ]; then
    echo "run: installing ${need[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${need[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
make -C "$build" -j2 orvella

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 149); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 >/dev/null 2>&1 &
            xvfb_pid=$!
            export DISPLAY=":$n"
            echo "run: no display; started Xvfb on $DISPLAY"
            sleep 2
            break
        fi
    done
    trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
fi

exec_status=0
"$root/scripts/wine-run.sh" "--prefix=$build/wineprefix" "$build/orvella.exe" || exec_status=$?
exit "$exec_status"
