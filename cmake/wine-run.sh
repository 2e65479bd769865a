#!/bin/sh
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# Runs a Windows program under wine in the given prefix, making the prefix
# on first use. Concurrent first uses wait for one another.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/.resec-ready" ]; then
    mkdir -p "$prefix"
    (
        flock 9
        if [ ! -f "$prefix/.resec-ready" ]; then
            wineboot -i >/dev/null 2>&1
            wineserver -w
            touch "$prefix/.resec-ready"
        fi
    ) 9>"$prefix.lock"
fi
exec wine "$@"
