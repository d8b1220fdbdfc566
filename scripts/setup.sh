#!/usr/bin/env bash
# Installs what Orvella needs to build, run and test on Debian 12, when it is missing:
# the native tool chain with GoogleTest and Google Benchmark, MinGW-w64 for the Windows
# build, Wine and Xvfb to run it, xdotool and ImageMagick for the end-to-end tests, and clang
# with its sanitizer runtime for the fuzzers. Run as root (or with sudo available).
set -euo pipefail

packages=(
    build-essential cmake git pkg-config
    googletest libgtest-dev libbenchmark-dev
    clang clang-format libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix
    wine wine64 fonts-wine fonts-liberation
    xvfb xauth xdotool imagemagick
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
run_as_root=()
if [ "$(id -u)" -ne 0 ]; then
    run_as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -q
"${run_as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
