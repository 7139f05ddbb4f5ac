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
# A Wine server ends three seconds after its last program, and a program that starts just then
# loses its connection ("wine client error ... Connection reset by peer"); one that stays for a
# minute keeps running from test to test (this starts none when one is running already). Its
# helper programs (services, devices, the desktop) start with its first program and live as long
# as it does, keeping that program's output open: started here, they hold no test's output, and
# CTest need not wait for them.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
