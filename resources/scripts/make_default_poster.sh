#!/usr/bin/env bash
# Makes resources/data/default_poster.jpg: the picture the detail window shows
# when a movie has no poster. A grey placeholder figure holds up a card that
# reads 暂无图片 ("no picture yet"). 213 x 160, baseline JPEG with three
# colour components, no metadata, so that every toolkit decodes it.
# Needs ImageMagick and fonts-wqy-microhei (both in scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

out=data/default_poster.jpg
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
outline='#7d8794'

convert -size 213x160 gradient:'#f1f4f8-#d9dfe7' \
    -stroke "$outline" -strokewidth 2 -fill '#b7c0cb' \
    -draw 'circle 62,44 62,27' \
    -draw 'roundrectangle 40,66 84,150 16,16' \
    -strokewidth 6 -draw 'stroke-linecap round line 78,84 102,90' \
    -draw 'stroke-linecap round line 80,106 102,102' \
    -strokewidth 2 -fill white -draw 'roundrectangle 100,52 200,118 6,6' \
    -fill '#b7c0cb' -draw 'circle 103,90 103,85' -draw 'circle 103,102 103,97' \
    -stroke none -fill '#4a5360' -font "$font" -pointsize 20 \
    -draw "text 112,94 '暂无图片'" \
    -type TrueColor -interlace none -strip -quality 85 -sampling-factor 2x2,1x1,1x1 \
    "jpeg:$out"

echo "wrote $out ($(stat -c %s "$out") bytes)"
