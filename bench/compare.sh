#!/usr/bin/env bash
# Times `orvella-dump records` and `orvella-dump calls` against the public tools a user would
# reach for instead, side by side on the same files in one run: Wine's `winedump FILE`
# (package wine64-tools) and `emf2svg-conv -v` (package emf2svg). The tools take turns, round
# after round, so that a busier moment of the machine falls on all of them alike; each
# figure is the median of the rounds. Prints the times and the ratios orvella-dump / tool.
# The tools are run for their time only: their output goes to /dev/null.
#
#     bench/compare.sh ORVELLA_DUMP [--rounds=N] [FILE...]
#
# Without files: the corpus's test-031.emf and test-001.emf, when the corpus is beside the
# checkout. Installs the two packages when they are missing (as root, or with sudo).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ]; then
    echo "usage: bench/compare.sh ORVELLA_DUMP [--rounds=N] [FILE...]" >&2
    exit 2
fi
dump=$1
shift
rounds=5
files=()
for argument in "$@"; do
    case $argument in
        --rounds=*) rounds=${argument#--rounds=} ;;
        *) files+=("$argument") ;;
    esac
done
if [ ${#files[@]} -eq 0 ]; then
    corpus=${ORVELLA_CORPUS:-$top/../shared/emf-corpus}
    for name in test-031 test-001; do
        if [ -f "$corpus/good/$name.emf" ]; then
            files+=("$corpus/good/$name.emf")
        fi
    done
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "compare: no file to time (no corpus beside the checkout)" >&2
    exit 1
fi

if ! command -v winedump >/dev/null || ! command -v emf2svg-conv >/dev/null; then
    echo "compare: installing wine64-tools and emf2svg"
    run_as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        run_as_root=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${run_as_root[@]}" apt-get update -q >/dev/null
    "${run_as_root[@]}" apt-get install -y -q --no-install-recommends wine64-tools emf2svg \
        >/dev/null
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Seconds one command takes, its output discarded.
seconds_of() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    local end=$EPOCHREALTIME
    echo "$start $end" | awk '{printf "%.4f", $2 - $1}'
}

median() {
    tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

echo "machine: $(nproc) cores, load average$(uptime | sed 's/.*load average//')"
printf '%-44s %9s %9s %9s %9s   %s\n' "file" "records" "calls" "winedump" "emf2svg" \
    "ratios (orvella-dump / tool)"
for file in "${files[@]}"; do
    records=() calls=() winedump_times=() emf2svg_times=()
    for ((round = 0; round < rounds; ++round)); do
        records+=("$(seconds_of "$dump" records "$file")")
        calls+=("$(seconds_of "$dump" calls "$file")")
        winedump_times+=("$(seconds_of winedump "$file")")
        emf2svg_times+=("$(seconds_of emf2svg-conv -v -i "$file" -o "$scratch/out.svg")")
    done
    r=$(echo "${records[*]}" | median)
    c=$(echo "${calls[*]}" | median)
    w=$(echo "${winedump_times[*]}" | median)
    e=$(echo "${emf2svg_times[*]}" | median)
    label="$(basename "$file") ($(stat -c %s "$file") bytes)"
    echo "$label $r $c $w $e" | awk '{
        printf "%-44s %8.3fs %8.3fs %8.3fs %8.3fs   records/winedump %.3f, calls/winedump %.3f, records/emf2svg %.3f, calls/emf2svg %.3f\n",
            $1 " " $2 " " $3, $4, $5, $6, $7, $4 / $6, $5 / $6, $4 / $7, $5 / $7 }'
done
echo "medians of $rounds rounds; the tools take turns within each round"
