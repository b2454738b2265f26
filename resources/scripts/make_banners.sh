#!/usr/bin/env bash
# Makes the three pictures of the main window in resources/data/:
#   main-banner-top.bmp     427 x 22, 24-bit: stretched across the top banner
#   main-banner-logo.bmp    63 x 41, 24-bit: shown at its own size in the banner
#   main-banner-bottom.jpg  1353 x 105: stretched across the bottom banner
# Needs ImageMagick 6 and the WenQuanYi Micro Hei font. The outputs are
# committed; the build does not run this.
set -euo pipefail
cd "$(dirname "$0")/../data"

convert=/usr/bin/convert
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# Top banner: a light sky gradient with faint diagonal light bands. It is
# stretched about 2.2 x 3.6 times, so it holds no detail that would blur.
"$convert" -size 22x427 gradient:'#e9f4fc-#bcdcf3' -rotate -90 \
    -fill 'rgba(255,255,255,0.35)' -stroke none \
    -draw 'polygon 250,0 262,0 250,22 238,22' \
    -draw 'polygon 272,0 278,0 266,22 260,22' \
    -draw 'polygon 330,0 346,0 334,22 318,22' \
    -strip -type TrueColor BMP3:main-banner-top.bmp

# The logo sits over the stretched top banner at x 80..136 of its 936 pixels;
# take the ground colour from that place so that the edges do not show.
ground=$("$convert" main-banner-top.bmp -format '%[pixel:p{49,18}]' info:)
"$convert" -size 63x41 xc:"$ground" \
    -fill '#2f7fd0' -stroke '#1f63a8' -strokewidth 1 -draw 'roundrectangle 2,3 52,37 8,8' \
    -fill white -stroke none -draw 'polygon 20,11 20,29 36,20' \
    -fill 'rgba(255,255,255,0.55)' -draw 'rectangle 7,8 10,11' -draw 'rectangle 7,18 10,21' \
    -draw 'rectangle 7,28 10,31' -draw 'rectangle 44,8 47,11' -draw 'rectangle 44,18 47,21' \
    -draw 'rectangle 44,28 47,31' \
    -strip -type TrueColor BMP3:main-banner-logo.bmp

# Bottom banner: a deeper blue band with the program's name and a line for
# the user; drawn large, shown at about two thirds of its size.
"$convert" -size 105x1353 gradient:'#3d8fd6-#1f5fa6' -rotate -90 \
    -fill 'rgba(255,255,255,0.10)' -draw 'circle 1180,52 1180,150' -draw 'circle 1290,10 1290,70' \
    -font "$font" -fill white -pointsize 44 -annotate +48+66 'Brisma' \
    -fill 'rgba(255,255,255,0.90)' -pointsize 26 \
    -annotate +270+62 '最新热门电影 · 蓝光高清 · 3D 电影 · 每日更新' \
    -fill 'rgba(255,255,255,0.75)' -pointsize 20 -annotate +270+92 '选择左侧分类，双击电影查看详情与下载地址' \
    -strip -quality 88 main-banner-bottom.jpg

identify main-banner-top.bmp main-banner-logo.bmp main-banner-bottom.jpg
