#!/usr/bin/env bash
# Makes brisma.png, the 256 x 256 icon of the desktop entry: a blue rounded
# tile with a film strip's perforations and a play triangle, the same motif
# as the main window's logo. Needs ImageMagick 6; the output is committed.
set -euo pipefail
cd "$(dirname "$0")"

holes=()
for y in 48 96 144 192; do
    holes+=(-draw "roundrectangle 34,$y 54,$((y + 18)) 4,4"
        -draw "roundrectangle 202,$y 222,$((y + 18)) 4,4")
done

/usr/bin/convert -size 256x256 xc:none \
    -fill '#1f63a8' -draw 'roundrectangle 8,8 248,248 40,40' \
    -fill '#2f7fd0' -draw 'roundrectangle 8,8 248,236 40,40' \
    -fill 'rgba(255,255,255,0.55)' "${holes[@]}" \
    -fill white -draw 'polygon 96,70 96,190 190,130' \
    -strip PNG32:brisma.png

identify brisma.png
