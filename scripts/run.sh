#!/usr/bin/env bash
# Installs what is missing, builds Orvella and shows what it makes of a bundled sample: the
# call list that orvella-dump prints.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/native" -j"$(nproc)" --target orvella-dump
"$top/build/native/orvella-dump" calls "$top/samples/shapes.emf"
