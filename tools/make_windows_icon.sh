#!/usr/bin/env bash
# Writes the Windows icon resources/tavlo.ico again: the images of the committed icon in sizes it
# does not draw are kept byte for byte (the 16-colour 32 x 32 and 16 x 16 images and the 32-bit
# 16, 32 and 48 pixel ones), and the 24, 64 and 256 pixel images are drawn from the program's
# picture, packaging/org.tavlo.Tavlo.svg, by rsvg-convert (librsvg2-bin) and stored as PNG, as
# Windows reads them since Vista. Running it again gives the same file.
#   tools/make_windows_icon.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
icon=$root/resources/tavlo.ico
svg=$root/packaging/org.tavlo.Tavlo.svg
drawn_sizes=(24 64 256)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Little-endian numbers: read from a file at an offset, written as bytes.
read_le() {  # FILE OFFSET BYTES
    local value=0 shift_by=0 byte
    for byte in $(od -An -tu1 -v -j "$2" -N "$3" "$1"); do
        value=$((value | byte << shift_by))
        shift_by=$((shift_by + 8))
    done
    echo "$value"
}
write_le() {  # VALUE BYTES
    local i
    for ((i = 0; i < $2; i++)); do
        # shellcheck disable=SC2059 # the format is the byte's octal escape
        printf "\\$(printf '%03o' $((($1 >> (8 * i)) & 0xFF)))"
    done
}

# Each image as its directory fields (width height colours planes bits) and its bytes.
images=()
count=$(read_le "$icon" 4 2)
for ((i = 0; i < count; i++)); do
    entry=$((6 + 16 * i))
    width=$(read_le "$icon" "$entry" 1)
    height=$(read_le "$icon" $((entry + 1)) 1)
    size=$((width == 0 ? 256 : width))
    [[ " ${drawn_sizes[*]} " == *" $size "* ]] && continue
    bytes=$(read_le "$icon" $((entry + 8)) 4)
    offset=$(read_le "$icon" $((entry + 12)) 4)
    dd if="$icon" of="$work/image$i" iflag=skip_bytes,count_bytes skip="$offset" count="$bytes" \
        status=none
    images+=("$width $height $(read_le "$icon" $((entry + 2)) 1) $(read_le "$icon" $((entry + 4)) 2) $(read_le "$icon" $((entry + 6)) 2) $work/image$i")
done
for size in "${drawn_sizes[@]}"; do
    rsvg-convert --width "$size" --height "$size" --output "$work/drawn$size.png" "$svg"
    images+=("$((size % 256)) $((size % 256)) 0 1 32 $work/drawn$size.png")
done

# The icon file: its header, one directory entry per image, then the images in that order.
{
    write_le 0 2
    write_le 1 2  # an icon
    write_le "${#images[@]}" 2
    offset=$((6 + 16 * ${#images[@]}))
    for image in "${images[@]}"; do
        read -r width height colours planes bits file <<<"$image"
        bytes=$(stat -c %s "$file")
        write_le "$width" 1
        write_le "$height" 1
        write_le "$colours" 1
        write_le 0 1
        write_le "$planes" 2
        write_le "$bits" 2
        write_le "$bytes" 4
        write_le "$offset" 4
        offset=$((offset + bytes))
    done
    for image in "${images[@]}"; do
        cat "${image##* }"
    done
} >"$work/tavlo.ico"
mv "$work/tavlo.ico" "$icon"
echo "wrote $icon: ${#images[@]} images, $(stat -c %s "$icon") bytes"
