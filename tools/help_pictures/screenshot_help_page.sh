#!/usr/bin/env bash
# Photographs the help page in headless Chromium, as a reader sees its first two screens:
#   tools/help_pictures/screenshot_help_page.sh docs/help-page.png
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$(realpath -m "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$root/resources/help" "$work/help"
# The page as the Linux program carries it: its Linux parts only.
cmake -DINPUT="$root/resources/help/index.htm" -DOUTPUT="$work/help/index.htm" -DPLATFORM=linux \
    -P "$root/cmake/PlatformParts.cmake"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --hide-scrollbars --window-size=900,2250 \
    --screenshot="$work/page.png" "file://$work/help/index.htm" 2>/dev/null
# A palette keeps the file small; the page has few colours apart from its background grain.
/usr/bin/convert "$work/page.png" +dither -colors 128 "PNG8:$out"
