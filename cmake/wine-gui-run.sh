#!/bin/sh
# Runs a Windows program of the cross build that shows windows: under Wine, on a virtual screen
# of its own (Xvfb), in a Wine prefix of its own. A Wine server outlives its programs and keeps
# the display it started with; so programs without a display never meet it, and it is ended
# together with its screen.
#   wine-gui-run.sh PROGRAM.exe [ARGUMENTS...]   (WINE_GUI_COMMAND: e.g. "explorer /desktop=T,1024x768")
set -e
program=$1
build=$(cd "$(dirname "$program")" && pwd)
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build=$(dirname "$build"); done
export TAVLO_WINEPREFIX="$build/wineprefix-gui"
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$0" $WINE_GUI_COMMAND "$@"
    status=$?
    WINEPREFIX=$TAVLO_WINEPREFIX wineserver -k 2>/dev/null || true
    exit $status' "$here/wine-run.sh" "$@"
