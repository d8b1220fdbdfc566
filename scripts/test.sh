#!/usr/bin/env bash
# Installs what is missing, builds Orvella and runs every test: the formatting check, the
# layering check, the native build (warnings are errors) with its unit tests, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, a minute of each fuzz target
# (scripts/fuzz.sh), and the Windows build whose tests run under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)

"$top/scripts/setup.sh"

echo "== formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== layers"
"$top/scripts/check-layers.sh"

# The budget is printed first and enforced at the end, so that a run over it still shows
# every test's result.
echo "== test budget"
budget=0
"$top/scripts/test-budget.sh" || budget=$?

echo "== native build and unit tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release -DORVELLA_WERROR=ON >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== sanitizer build and unit tests"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DORVELLA_SANITIZE=ON -DORVELLA_WERROR=ON >/dev/null
cmake --build build/asan -j"$jobs"
ctest --test-dir build/asan --output-on-failure -j"$jobs"

"$top/scripts/fuzz.sh" 60

echo "== Windows build and tests under Wine"
. "$top/scripts/display.sh"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" -DORVELLA_WERROR=ON \
    >/dev/null
cmake --build build/win -j"$jobs"
ctest --test-dir build/win --output-on-failure

if [ "$budget" -ne 0 ]; then
    echo "== every test passed, but the tests are outside their budget (see above)" >&2
    exit "$budget"
fi
echo "== all tests passed"
