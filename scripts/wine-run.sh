#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: a prefix of the project's own (booted once,
# without offering Mono or Gecko), no Wine debug output, and the display the test script set.
set -euo pipefail

prefix=${ORVELLA_WINEPREFIX:-${TMPDIR:-/tmp}/orvella-wineprefix-$(id -u)}
case "${1:-}" in
    --prefix=*) prefix=${1#--prefix=}; shift ;;
esac
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

if [ -z "${DISPLAY:-}" ]; then
    echo "wine-run: no DISPLAY; scripts/test.sh starts an Xvfb for the Wine tests" >&2
    exit 1
fi

if [ ! -f "$prefix/system.reg" ]; then
    (
        flock 9
        if [ ! -f "$prefix/system.reg" ]; then
            wine wineboot --init >/dev/null 2>&1 || true
            wineserver --wait || true
        fi
    ) 9>"$prefix.lock"
fi

exec wine "$@"
