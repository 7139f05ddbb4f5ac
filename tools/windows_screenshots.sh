#!/bin/sh
# Photographs the Windows window: runs the end-to-end test of the windows build in a Wine
# virtual desktop on a virtual screen, which saves every window it passes as docs/windows-*.png.
#   tools/windows_screenshots.sh BUILD_DIR OUTPUT_DIR      (e.g. build/windows docs)
set -e
build=$(cd "${1:?usage: windows_screenshots.sh BUILD_DIR OUTPUT_DIR}" && pwd)
out=$(mkdir -p "${2:?usage: windows_screenshots.sh BUILD_DIR OUTPUT_DIR}" && cd "$2" && pwd)
export TAVLO_SCREENSHOT_DIR="$out" WINE_GUI_COMMAND="explorer /desktop=Tavlo,1280x1024"
"$(dirname "$0")/../cmake/wine-gui-run.sh" "$build/bin/win32_tests.exe" \
    --gtest_filter='Win32Window.*:Win32PatchDialog.*'
ls "$out"/windows-*.png
