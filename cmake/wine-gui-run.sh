#!/bin/sh
# Runs a Windows program of the cross build that shows windows: under Wine, on a virtual screen
# of its own (Xvfb), in a Wine prefix of its own. A Wine server outlives its programs and keeps
# the display it started with; so programs without a display never meet it, and it is ended
# together with its screen. The display has TAVLO_WINE_DPI dots per inch (96 unless given; 144
# and 192 are Windows' 150 % and 200 %): Wine's LogPixels, set in the prefix before each run,
# which every program started afterwards reads.
#   wine-gui-run.sh PROGRAM.exe [ARGUMENTS...]   (WINE_GUI_COMMAND: e.g. "explorer /desktop=T,1024x768")
set -e
program=$1
build=$(cd "$(dirname "$program")" && pwd)
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build=$(dirname "$build"); done
export TAVLO_WINEPREFIX="$build/wineprefix-gui"
export TAVLO_WINE_DPI="${TAVLO_WINE_DPI:-96}"
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    if "$0" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD \
            /d "$TAVLO_WINE_DPI" /f >/dev/null 2>&1; then
        "$0" $WINE_GUI_COMMAND "$@"
        status=$?
    else
        echo "wine-gui-run.sh: cannot set the display to $TAVLO_WINE_DPI dpi" >&2
        status=1
    fi
    WINEPREFIX=$TAVLO_WINEPREFIX wineserver -k 2>/dev/null || true
    exit $status' "$here/wine-run.sh" "$@"
