#!/usr/bin/env bash
# Measures Orvella: builds it natively with the benchmarks, runs them (loading, the three
# reports, the text view's line index and find, the call text by record family, the heap's
# peak), then times orvella-dump against winedump and emf2svg-conv on the same files
# (bench/compare.sh). With --wine it also builds for Windows and runs the window program's
# timing harness under Wine on the corpus's test-001.emf and test-031.emf and on the generated
# file of 250,000 records (several minutes). Other work on the machine slows every figure: the
# load average is printed before each part.
#
#     scripts/bench.sh [--wine]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
wine=0
for argument in "$@"; do
    case $argument in
        --wine) wine=1 ;;
        *)
            echo "usage: scripts/bench.sh [--wine]" >&2
            exit 2
            ;;
    esac
done

"$top/scripts/setup.sh"
corpus=${ORVELLA_CORPUS:-$top/../shared/emf-corpus}
files=()
for name in test-031 test-001; do
    if [ -f "$corpus/good/$name.emf" ]; then
        files+=("$corpus/good/$name.emf")
    fi
done

echo "== native build with the benchmarks"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release -DORVELLA_WERROR=ON -DORVELLA_BENCH=ON \
    >/dev/null
cmake --build build/native -j"$jobs" >/dev/null

echo "== benchmarks (load average$(uptime | sed 's/.*load average//'))"
build/native/bench/orvella_benchmarks --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true

echo "== orvella-dump against winedump and emf2svg-conv"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
build/native/bench/orvella_benchmarks --write-generated="$scratch/generated-250000.emf"
bench/compare.sh build/native/orvella-dump "${files[@]}" "$scratch/generated-250000.emf"

if [ "$wine" -eq 1 ] && [ ${#files[@]} -gt 0 ]; then
    echo "== the window program under Wine"
    . "$top/scripts/display.sh"
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
        -DORVELLA_WERROR=ON >/dev/null
    cmake --build build/win -j"$jobs" --target orvella_win32_timing >/dev/null
    echo "load average$(uptime | sed 's/.*load average//')"
    "$top/scripts/wine-run.sh" --prefix="$top/build/win/wineprefix" \
        build/win/bench/orvella_win32_timing.exe "${files[@]}" "$scratch/generated-250000.emf"
fi
