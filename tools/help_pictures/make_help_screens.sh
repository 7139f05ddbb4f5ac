#!/usr/bin/env bash
# Photographs the main and patch dialogs for the help page and converts them to the page's
# GIF89a pictures at their exact sizes:
#   tools/help_pictures/make_help_screens.sh BUILD_FOLDER
# Prints the two image maps to paste into resources/help/index.htm.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

QT_QPA_PLATFORM=offscreen "$build/bin/tavlo-grab-help-screens" "$build/sample/sample.rgn" "$work"
for picture in screen1 screen2; do
    # One 256-colour palette without dithering keeps the dialogs' flat colours and sharp text.
    /usr/bin/convert "$work/$picture.png" +dither -colors 256 "GIF:$root/resources/help/img/$picture.gif"
    /usr/bin/identify "$root/resources/help/img/$picture.gif"
done
