#!/usr/bin/env bash
# Makes the cloud player's banner, resources/data/player_banner.jpg: 865 x 130,
# a light blue ground with three white icons, each beside a heading and a
# line of text. The window stretches it to 784 x 112, so strokes are drawn a
# little heavier than they need to be at full size.
# Needs ImageMagick 6 and the WenQuanYi Micro Hei font. The output is
# committed; the build does not run this.
set -euo pipefail
cd "$(dirname "$0")/../data"

convert=/usr/bin/convert
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
ground_top='#86d3f3'
ground_bottom='#5dbdea'
# Shapes cut out of a white icon take the ground colour at the icon's middle.
cut='#72c8ef'

args=()

upload_icon() { # a tray with an arrow rising out of it
    local x=$1
    args+=(-fill white -stroke none
        -draw "rectangle $((x + 6)),70 $((x + 11)),96"
        -draw "rectangle $((x + 6)),91 $((x + 66)),96"
        -draw "rectangle $((x + 61)),70 $((x + 66)),96"
        -draw "polygon $((x + 36)),30 $((x + 56)),54 $((x + 43)),54 $((x + 43)),84 $((x + 29)),84 $((x + 29)),54 $((x + 16)),54")
}

cloud_icon() { # a cloud with two opposed arrows: converting
    local x=$1
    args+=(-fill white -stroke none
        -draw "circle $((x + 24)),70 $((x + 24)),50"
        -draw "circle $((x + 44)),56 $((x + 44)),30"
        -draw "circle $((x + 62)),72 $((x + 62)),54"
        -draw "roundrectangle $((x + 4)),66 $((x + 80)),92 12,12"
        -fill "$cut"
        -draw "polygon $((x + 24)),66 $((x + 52)),66 $((x + 52)),60 $((x + 62)),69 $((x + 52)),78 $((x + 52)),72 $((x + 24)),72"
        -draw "polygon $((x + 60)),82 $((x + 34)),82 $((x + 34)),76 $((x + 24)),85 $((x + 34)),94 $((x + 34)),88 $((x + 60)),88")
}

play_icon() { # a play button in a ring
    local x=$1
    args+=(-fill none -stroke white -strokewidth 5
        -draw "circle $((x + 40)),63 $((x + 40)),30"
        -fill white -stroke none
        -draw "polygon $((x + 31)),46 $((x + 31)),80 $((x + 58)),63")
}

caption() { # a heading and a line of text to the right of an icon
    local x=$1 heading=$2 line=$3
    args+=(-fill white -stroke none -font "$font"
        -pointsize 26 -annotate "+$((x + 96))+58" "$heading"
        -pointsize 15 -annotate "+$((x + 97))+88" "$line")
}

# One column per step of the service, with thin separators between them.
args+=(-stroke 'rgba(255,255,255,0.45)' -strokewidth 1
    -draw 'line 296,28 296,102' -draw 'line 578,28 578,102')
upload_icon 24
caption 24 '提交任务' '支持下载链接、BT种子'
cloud_icon 316
caption 316 '云端转码' '服务器云端在线转码'
play_icon 598
caption 598 '在线播放下载' '支持各种移动设备'

"$convert" -size 865x130 gradient:"$ground_top-$ground_bottom" \
    "${args[@]}" -strip -quality 90 -sampling-factor 4:2:0 player_banner.jpg

identify player_banner.jpg
