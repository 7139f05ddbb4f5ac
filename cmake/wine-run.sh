#!/bin/sh
# Runs a Windows program of the cross build under Wine, quietly, in a Wine prefix of the build
# tree's own, which the first run creates (a fresh machine needs nothing set up by hand).
# The build folder is found from the program's path (<build>/bin/x.exe or deeper).
set -e
program=$1
build=$(cd "$(dirname "$program")" && pwd)
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build=$(dirname "$build"); done
export WINEPREFIX="${TAVLO_WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/.tavlo-ready" ]; then
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.tavlo-ready" ]; then
            wineboot -i >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.tavlo-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
