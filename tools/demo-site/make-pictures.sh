#!/usr/bin/env bash
# Makes the demo site's posters and screenshots (committed in pictures/).
# Run by hand after changing the look; the build only embeds the output.
# Needs ImageMagick's convert. No font is used, so any machine gives the same
# pictures; -strip keeps dates and other metadata out of the files.
set -euo pipefail
cd "$(dirname "$0")/pictures"

poster() { # name top-colour bottom-colour shape-colour
    convert -size 240x340 "gradient:$2-$3" \
        -fill "$4" -stroke white -strokewidth 3 \
        -draw "circle 120,130 120,60" \
        -draw "rectangle 40,250 200,270" \
        -draw "rectangle 70,285 170,297" \
        -strip -quality 70 -sampling-factor 2x2 "$1"
}

screenshot() { # name left-colour right-colour
    convert -size 180x320 "gradient:$2-$3" -rotate 90 \
        -fill none -stroke white -strokewidth 2 \
        -draw "rectangle 20,20 300,160" \
        -draw "line 20,20 300,160" -draw "line 300,20 20,160" \
        -strip -quality 70 -sampling-factor 2x2 "$1"
}

poster poster-1.jpg '#1d3557' '#457b9d' '#e63946'
poster poster-2.jpg '#2d6a4f' '#95d5b2' '#ffb703'
poster poster-3.jpg '#3c096c' '#c77dff' '#f1faee'
poster poster-4.jpg '#6a040f' '#f48c06' '#023047'
screenshot shot-1.jpg '#264653' '#2a9d8f'
screenshot shot-2.jpg '#e76f51' '#f4a261'
