#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# each, one after the other, for SECONDS (default 60), or until it has tried RUNS inputs when
# that comes first, from seeds made at run time: the shipped samples, the shared corpus when it
# is there, and records made with the test builders. A crash, a sanitizer report, a leak, a
# broken invariant, an input that runs over 10 s or a process above 2 GiB fails the run; the
# input is left in build/fuzz/findings/TARGET/ and the fuzzer's output in
# build/fuzz/logs/TARGET.log.
#
# usage: scripts/fuzz.sh [SECONDS [RUNS]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}
runs=${2:--1}
build="$top/build/fuzz"
corpus_folder=${ORVELLA_CORPUS:-"$top/../shared/emf-corpus"}

echo "== fuzz build"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVELLA_FUZZ=ON -DORVELLA_TESTS=OFF -DORVELLA_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_document fuzz_record fuzz_emfplus fuzz_emfplus_guard fuzz_canvas \
    orvella-fuzz-seeds

echo "== fuzz seeds"
sources=("$top/samples")
for part in good corrupted; do
    if [ -d "$corpus_folder/$part" ]; then
        sources+=("$corpus_folder/$part")
    fi
done
rm -rf "$build/seeds"
"$build/fuzz/orvella-fuzz-seeds" "$build/seeds" "${sources[@]}"
mkdir -p "$build/seeds/canvas"
# The guard takes the same comment data as the EMF+ decoder.
rm -rf "$build/seeds/emfplus_guard"
cp -r "$build/seeds/emfplus" "$build/seeds/emfplus_guard"

# run TARGET MAX_LEN [FLAGS...]: the fuzzer's own findings grow build/fuzz/corpus/TARGET from
# one run to the next; the seeds are read only.
run() {
    local target=$1 max_len=$2
    shift 2
    local work="$build/corpus/$target" findings="$build/findings/$target"
    local log="$build/logs/$target.log"
    mkdir -p "$work" "$findings" "$build/logs"
    echo "== fuzz $target for $seconds s$([ "$runs" -ge 0 ] && echo " or $runs inputs")"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -runs="$runs" -timeout=10 \
        -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$@" "$work" "$build/seeds/$target" >"$log" 2>&1; then
        grep -E -A 30 "ERROR:|runtime error:|invariant broken:" "$log" | head -40 || tail -40 "$log"
        echo "fuzz: $target found a fault; the input is in $findings/, the output in $log" >&2
        exit 1
    fi
    grep -E "^Done [0-9]+ runs|^stat::(number_of_executed_units|average_exec_per_sec)" "$log"
}

run document 4096 -dict="$top/fuzz/emf.dict"
run record 65536 -dict="$top/fuzz/emf.dict"
run emfplus 65536 -dict="$top/fuzz/emfplus.dict"
run emfplus_guard 65536 -dict="$top/fuzz/emfplus.dict"
run canvas 4096

echo "== fuzzing found nothing"
